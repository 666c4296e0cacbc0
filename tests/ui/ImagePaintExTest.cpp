#include "ui/ImagePaintEx.h"

#include "tests/support/Painting.h"
#include "tests/support/TestWindows.h"
#include "tests/support/WindowActions.h"
#include "ui/AppManager.h"
#include "ui/ImageCtrlEx.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr DWORD kListBackground = 0xFAFAFA;

bool Empty(RECT r) { return IsRectEmpty(&r) != FALSE; }

bool NeedsPaint(HWND window) {
    RECT update{};
    return GetUpdateRect(window, &update, FALSE) != FALSE;
}

class ImagePaintExTest : public ::testing::Test {
protected:
    CAppManager manager;
    ManagerScope scope{manager};
    CImageCtrlEx list;
    std::vector<int> clicked;

    // A topmost list of the rows' ids at (x, y), shown without activation.
    HWND Open(std::initializer_list<int> ids, int x = 300, int y = 200, int cx = 96, int cy = 120) {
        HWND hwnd = list.Create(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, nullptr, L"", WS_POPUP, x, y, cx,
                                cy, nullptr);
        for (int id : ids) list.painter.AddItem(id);
        list.painter.onItemClick = [this](CImageItem* item) { clicked.push_back(item->id); };
        ShowWindow(hwnd, SW_SHOWNOACTIVATE);
        UpdateWindow(hwnd);
        return hwnd;
    }

    CImageItem* Row(int id) { return list.painter.AddItem(id); }

    void TearDown() override {
        if (list.Hwnd()) DestroyWindow(list.Hwnd());
    }
};

TEST_F(ImagePaintExTest, RowsStackFromTheTopAndHiddenRowsTakeNoSpace) {
    Open({1, 2, 3});
    EXPECT_EQ(3u, list.painter.Items().size());
    EXPECT_EQ(Row(2), list.painter.Items()[1].get());
    EXPECT_EQ((RECT{0, 0, 96, 24}), list.painter.ItemRect(1));
    EXPECT_EQ((RECT{0, 24, 96, 48}), list.painter.ItemRect(2));
    EXPECT_EQ((RECT{0, 48, 96, 72}), Row(3)->band);
    EXPECT_EQ(72, list.painter.ContentHeight());

    Row(2)->visible = false;
    list.painter.Layout();
    EXPECT_TRUE(Empty(list.painter.ItemRect(2)));
    EXPECT_EQ((RECT{0, 24, 96, 48}), Row(3)->band);
    EXPECT_EQ(48, list.painter.ContentHeight());

    list.painter.itemHeight = 30;
    EXPECT_EQ((RECT{0, 48, 96, 78}), list.painter.AddItem(4)->band);
    EXPECT_TRUE(Empty(list.painter.ItemRect(99)));
}

TEST_F(ImagePaintExTest, HoverMovesStraightFromRowToRowAndIsPainted) {
    list.painter.SetHoverColor(0xFF00C000);
    HWND hwnd = Open({1, 2, 3});
    SendMouse(hwnd, WM_MOUSEMOVE, 40, 30);
    EXPECT_EQ(Row(2), list.painter.HotItem());
    EXPECT_TRUE(Row(2)->hot);
    SendMouse(hwnd, WM_MOUSEMOVE, 40, 50);
    EXPECT_EQ(Row(3), list.painter.HotItem());
    EXPECT_FALSE(Row(2)->hot);
    EXPECT_TRUE(Row(3)->hot);
    UpdateWindow(hwnd);
    auto shown = CaptureClient(hwnd);
    EXPECT_EQ(0x00C000u, Rgb(shown->Pixel(40, 60)));
    EXPECT_EQ(kListBackground, Rgb(shown->Pixel(40, 30)));

    SendMessageW(hwnd, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(nullptr, list.painter.HotItem());
    EXPECT_FALSE(Row(3)->hot);
    UpdateWindow(hwnd);
    EXPECT_EQ(kListBackground, Rgb(CaptureClient(hwnd)->Pixel(40, 60)));
}

TEST_F(ImagePaintExTest, ClickingTheSameRowTwiceCallsBackTwiceButRepaintsOnce) {
    HWND hwnd = Open({1, 2, 3});
    // Below the rows: nothing.
    SendMouse(hwnd, WM_LBUTTONUP, 10, 100);
    EXPECT_TRUE(clicked.empty());
    EXPECT_EQ(nullptr, list.painter.LastClicked());

    SendMouse(hwnd, WM_LBUTTONUP, 10, 30);
    EXPECT_EQ(std::vector<int>{2}, clicked);
    EXPECT_TRUE(Row(2)->selected);
    EXPECT_EQ(Row(2), list.painter.LastClicked());
    EXPECT_TRUE(NeedsPaint(hwnd));

    ValidateRect(hwnd, nullptr);
    SendMouse(hwnd, WM_LBUTTONUP, 50, 40);
    EXPECT_EQ((std::vector<int>{2, 2}), clicked);
    EXPECT_FALSE(NeedsPaint(hwnd));

    SendMouse(hwnd, WM_LBUTTONUP, 50, 60);
    EXPECT_EQ((std::vector<int>{2, 2, 3}), clicked);
    EXPECT_FALSE(Row(2)->selected);
    EXPECT_TRUE(Row(3)->selected);
    EXPECT_TRUE(NeedsPaint(hwnd));
}

TEST_F(ImagePaintExTest, ClickCallbackMayDestroyTheList) {
    HWND hwnd = Open({1, 2, 3});
    list.painter.onItemClick = [&](CImageItem* item) {
        clicked.push_back(item->id);
        DestroyWindow(hwnd);
    };
    SendMouse(hwnd, WM_LBUTTONUP, 10, 10);
    EXPECT_EQ(std::vector<int>{1}, clicked);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_TRUE(list.painter.Items().empty());
    EXPECT_EQ(nullptr, list.painter.Window());
}

TEST_F(ImagePaintExTest, HidingForgetsHoverAndSelection) {
    list.painter.SetSelectedColor(0xFF0000C0);
    HWND hwnd = Open({1, 2});
    SendMouse(hwnd, WM_LBUTTONUP, 10, 10);
    UpdateWindow(hwnd);
    EXPECT_EQ(0x0000C0u, Rgb(CaptureClient(hwnd)->Pixel(50, 10)));
    SendMouse(hwnd, WM_MOUSEMOVE, 10, 30);
    ShowWindow(hwnd, SW_HIDE);
    EXPECT_FALSE(Row(1)->selected);
    EXPECT_FALSE(Row(2)->hot);
    EXPECT_EQ(nullptr, list.painter.HotItem());
    EXPECT_FALSE(list.painter.Tracking());

    // Back again, the row under the cursor gets its hover look at once.
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    SendMouse(hwnd, WM_MOUSEMOVE, 10, 30);
    EXPECT_TRUE(Row(2)->hot);
}

class ChildListTest : public ImagePaintExTest {
protected:
    CWindowCtrl parent;

    // A 96 x 50 parent with a 96 x 120 list of four rows at (0, top).
    HWND OpenChild(int top = 0) {
        HWND outer = parent.Create(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, nullptr, L"", WS_POPUP, 300,
                                   200, 96, 50, nullptr);
        HWND hwnd = list.Create(0, nullptr, L"", WS_CHILD | WS_VISIBLE, 0, top, 96, 120, outer);
        for (int id : {1, 2, 3, 4}) list.painter.AddItem(id);
        list.painter.onItemClick = [this](CImageItem* item) { clicked.push_back(item->id); };
        ShowWindow(outer, SW_SHOWNOACTIVATE);
        return hwnd;
    }

    void TearDown() override {
        if (parent.Hwnd()) DestroyWindow(parent.Hwnd());
    }
};

TEST_F(ChildListTest, OnlyRowsWhoseTopLiesInTheParentCount) {
    HWND hwnd = OpenChild(0);
    EXPECT_TRUE(list.painter.IsShown(Row(3)->band));   // top 48 < 50
    EXPECT_FALSE(list.painter.IsShown(Row(4)->band));  // top 72
    SendMouse(hwnd, WM_LBUTTONUP, 10, 80);
    EXPECT_TRUE(clicked.empty());
    SendMouse(hwnd, WM_LBUTTONUP, 10, 60);
    EXPECT_EQ(std::vector<int>{3}, clicked);

    // Scrolled up by 30: a top above the parent does not count, even when
    // the rest of the row is visible.
    MoveWindow(hwnd, 0, -30, 96, 120, TRUE);
    EXPECT_FALSE(list.painter.IsShown(Row(1)->band));  // top -30
    EXPECT_FALSE(list.painter.IsShown(Row(2)->band));  // top -6
    EXPECT_TRUE(list.painter.IsShown(Row(3)->band));   // top 18
    SendMouse(hwnd, WM_MOUSEMOVE, 10, 40);
    SendMouse(hwnd, WM_LBUTTONUP, 10, 40);
    EXPECT_EQ(nullptr, list.painter.HotItem());
    EXPECT_EQ(std::vector<int>{3}, clicked);
}

}  // namespace
