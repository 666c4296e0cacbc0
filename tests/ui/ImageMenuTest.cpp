#include "ui/ImageMenu.h"

#include "tests/support/Painting.h"
#include "tests/support/TestWindows.h"
#include "tests/support/WindowActions.h"
#include "ui/AppManager.h"
#include "ui/Drawing.h"

#include <gtest/gtest.h>

#include <vector>

namespace {


class ImageMenuTest : public ::testing::Test {
protected:
    CAppManager manager;
    ManagerScope scope{manager};
    CImageMenu menu;
    std::vector<int> clicked;

    // Rows as the game frame makes them: one text button each.
    void AddRows(std::initializer_list<int> ids) {
        for (int id : ids) {
            CImageItem* row = menu.painter.AddItem(id);
            CImageButton* button = row->AddButton(id, RECT{1, 1, 94, 94}, L"item");
            button->SetTextColors(0xFF0C0C0C, 0xFF0C0C0C, 0xFF0C0C0C);
        }
        menu.painter.onItemClick = [this](CImageItem* item) { clicked.push_back(item->id); };
    }

    HWND Shadow() const { return menu.shadow ? menu.shadow->Hwnd() : nullptr; }
};

TEST_F(ImageMenuTest, ThreeRowsPopUpNinetySixBySeventyTwoWithAShadow) {
    AddRows({1, 2, 3});
    menu.Popup(POINT{200, 150});
    HWND hwnd = menu.Hwnd();
    ASSERT_NE(nullptr, hwnd);
    EXPECT_STREQ(L"ImageMenu", menu.ClassName());
    EXPECT_EQ((RECT{200, 150, 296, 222}), WindowRect(hwnd));
    ASSERT_NE(nullptr, Shadow());
    EXPECT_EQ((RECT{194, 144, 302, 228}), WindowRect(Shadow()));
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_TRUE(IsWindowVisible(Shadow()));
    EXPECT_EQ(hwnd, GetForegroundWindow());
    EXPECT_EQ(Shadow(), GetWindow(hwnd, GW_OWNER));
    EXPECT_NE(0, GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_NE(0, GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_NE(0, GetWindowLongPtrW(Shadow(), GWL_EXSTYLE) & WS_EX_TOPMOST);

    UpdateWindow(hwnd);
    EXPECT_EQ(0xEDF3FAu, Rgb(CaptureClient(hwnd)->Pixel(95, 40)));
}

TEST_F(ImageMenuTest, ClickingOutsideHidesTheMenuAndItsShadowUntilTheNextPopup) {
    CWindowCtrl other;
    HWND otherWindow =
        other.Create(0, nullptr, L"other", WS_POPUP | WS_VISIBLE, 500, 400, 100, 100, nullptr);
    AddRows({1, 2});
    menu.Popup(POINT{200, 150});
    SetCursorPos(550, 450);
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, clicks, sizeof(INPUT));
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(menu.Hwnd()); }, 2000));
    EXPECT_FALSE(IsWindowVisible(Shadow()));

    // The next popup shows the same window again, its shadow around it.
    HWND first = menu.Hwnd();
    menu.Popup(POINT{210, 160});
    EXPECT_EQ(first, menu.Hwnd());
    EXPECT_TRUE(IsWindowVisible(menu.Hwnd()));
    EXPECT_TRUE(IsWindowVisible(Shadow()));
    EXPECT_EQ((RECT{204, 154, 312, 214}), WindowRect(Shadow()));
    DestroyWindow(otherWindow);
}

TEST_F(ImageMenuTest, ARowCommandMayDestroyTheMenuAndTheNextPopupMakesItAgain) {
    AddRows({1, 2, 3});
    menu.painter.onItemClick = [this](CImageItem* item) {
        clicked.push_back(item->id);
        ShowWindow(menu.Hwnd(), SW_HIDE);
        DestroyWindow(menu.Hwnd());
    };
    menu.Popup(POINT{200, 150});
    HWND first = menu.Hwnd();
    HWND firstShadow = Shadow();
    SendMouse(first, WM_LBUTTONUP, 20, 30);
    EXPECT_EQ(std::vector<int>{2}, clicked);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(nullptr, menu.Hwnd());
    EXPECT_TRUE(menu.painter.Items().empty());

    // At once, before the old shadow's close arrives: the new menu must
    // survive it.
    AddRows({4, 5});
    menu.Popup(POINT{200, 150});
    HWND second = menu.Hwnd();
    ASSERT_NE(nullptr, second);
    PumpMessages(30);
    EXPECT_TRUE(IsWindowVisible(second));
    EXPECT_FALSE(IsWindow(firstShadow));
    EXPECT_EQ((RECT{200, 150, 296, 198}), WindowRect(second));
}

TEST_F(ImageMenuTest, ShadowFollowsAChangeOfRowsAtTheSamePoint) {
    AddRows({1, 2, 3});
    menu.Popup(POINT{200, 150});
    ShowWindow(menu.Hwnd(), SW_HIDE);
    menu.painter.Items()[1]->visible = false;
    menu.painter.Layout();
    menu.Popup(POINT{200, 150});
    EXPECT_EQ((RECT{200, 150, 296, 198}), WindowRect(menu.Hwnd()));
    EXPECT_EQ((RECT{194, 144, 302, 204}), WindowRect(Shadow()));
}

TEST_F(ImageMenuTest, EmptyOrMisplacedMenusStillPopUp) {
    CImageMenu empty;
    empty.Popup(POINT{200, 150});
    ASSERT_NE(nullptr, empty.Hwnd());
    EXPECT_EQ((RECT{200, 150, 296, 150}), WindowRect(empty.Hwnd()));
    PumpMessages(10);

    // Off every monitor: on the nearest one.
    AddRows({1, 2, 3});
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    menu.Popup(POINT{-5000, 30000});
    EXPECT_EQ((RECT{0, height - 72, 96, height}), WindowRect(menu.Hwnd()));
    menu.Popup(POINT{100000, -100});
    EXPECT_EQ((RECT{width - 96, 0, width, 72}), WindowRect(menu.Hwnd()));
}

TEST_F(ImageMenuTest, DestroyingTheMenuObjectClosesBothWindows) {
    HWND hwnd = nullptr;
    HWND shadow = nullptr;
    {
        CImageMenu local;
        local.painter.AddItem(1);
        local.Popup(POINT{200, 150});
        hwnd = local.Hwnd();
        shadow = local.shadow->Hwnd();
    }
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(IsWindow(shadow));
}

}  // namespace
