#include "ui/ImageItem.h"

#include "tests/support/Painting.h"
#include "tests/support/TestWindows.h"
#include "tests/support/WindowActions.h"
#include "ui/AppManager.h"
#include "ui/ImageCtrlEx.h"

#include <gtest/gtest.h>

namespace {


TEST(ImageItemPlacement, RightAnchorPushesAgainstTheBandKeepingTheWidth) {
    const RECT band{0, 48, 96, 72};
    EXPECT_EQ((RECT{66, 48, 86, 72}), CImageItem::PlaceInBand(RECT{0, 0, 20, 24}, 10, band));
    EXPECT_EQ((RECT{66, 49, 86, 72}), CImageItem::PlaceInBand(RECT{300, 1, 320, 30}, 10, band));
    // Wider than the band: the left edge stops at the band's.
    EXPECT_EQ((RECT{0, 48, 86, 72}), CImageItem::PlaceInBand(RECT{0, 0, 120, 24}, 10, band));
    // Unanchored: moved down and clipped.
    EXPECT_EQ((RECT{1, 49, 94, 72}), CImageItem::PlaceInBand(RECT{1, 1, 94, 94}, -1, band));
}

class ImageItemTest : public ::testing::Test {
protected:
    CAppManager manager;
    ManagerScope scope{manager};
    CImageCtrlEx list;
    HWND hwnd = nullptr;

    void SetUp() override {
        hwnd = list.Create(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, nullptr, L"", WS_POPUP, 300, 200, 96,
                           72, nullptr);
        ASSERT_NE(nullptr, hwnd);
    }
    void TearDown() override {
        if (list.Hwnd()) DestroyWindow(list.Hwnd());
    }
};

TEST_F(ImageItemTest, ElementsAreDrawnInTheBandAndRightAnchorTenEndsAtEightySix) {
    list.painter.AddItem(1);
    CImageItem* row = list.painter.AddItem(2);
    CImageButton* button = row->AddButton(7, RECT{0, 0, 20, 24}, L"");
    button->rightAnchor = 10;
    button->SetBackgroundColors(0xFFFF0000, 0xFFFF0000, 0xFFFF0000);
    row->statics.push_back(std::make_unique<CImageStatic>());
    CImageStatic* mark = row->statics.back().get();
    mark->rect = RECT{2, 4, 12, 20};
    mark->SetBackgroundColor(0xFF0000FF);
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd);
    auto shown = CaptureClient(hwnd);
    const int y = 24 + 12;
    EXPECT_EQ(kRed, Rgb(shown->Pixel(85, y)));
    EXPECT_EQ(kRed, Rgb(shown->Pixel(66, y)));
    EXPECT_NE(kRed, Rgb(shown->Pixel(86, y)));
    EXPECT_NE(kRed, Rgb(shown->Pixel(65, y)));
    EXPECT_EQ(kBlue, Rgb(shown->Pixel(6, y)));
    EXPECT_NE(kBlue, Rgb(shown->Pixel(6, 24 + 22)));
}

TEST_F(ImageItemTest, HitTestReportsOnlyChangesOfTheHotButton) {
    list.painter.AddItem(1);
    CImageItem* row = list.painter.AddItem(2);
    CImageButton* left = row->AddButton(1, RECT{0, 0, 40, 24}, L"a");
    CImageButton* right = row->AddButton(2, RECT{50, 0, 90, 24}, L"b");
    EXPECT_EQ(left, row->AddButton(1, RECT{0, 0, 1, 1}, L"again"));
    EXPECT_TRUE(row->HitTest(POINT{10, 30}));
    EXPECT_EQ(left, row->hotButton);
    EXPECT_FALSE(row->HitTest(POINT{12, 30}));
    // Leaving the hot button is decided when the walk reaches it, before
    // the button further down the list is looked at.
    EXPECT_TRUE(row->HitTest(POINT{60, 30}));
    EXPECT_EQ(nullptr, row->hotButton);
    EXPECT_TRUE(row->HitTest(POINT{60, 30}));
    EXPECT_EQ(right, row->hotButton);
    EXPECT_TRUE(row->HitTest(POINT{45, 30}));
    EXPECT_EQ(nullptr, row->hotButton);
    EXPECT_FALSE(row->HitTest(POINT{45, 30}));
    // Against the row's own band: y = 10 lies in the first row.
    EXPECT_FALSE(row->HitTest(POINT{10, 10}));
}

TEST_F(ImageItemTest, ChildWindowsFollowTheBandAndDieWithTheRow) {
    list.painter.AddItem(1);
    CImageItem* row = list.painter.AddItem(2);
    auto child = std::make_unique<CWindowCtrl>();
    HWND childWindow = child->Create(0, nullptr, L"", WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, hwnd);
    ASSERT_NE(nullptr, childWindow);
    row->AddChildWindow(std::move(child), RECT{10, 2, 200, 20});
    RECT r{};
    GetWindowRect(childWindow, &r);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ((RECT{10, 26, 96, 44}), r);

    list.painter.Items()[0]->visible = false;
    list.painter.Layout();
    GetWindowRect(childWindow, &r);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ((RECT{10, 2, 96, 20}), r);

    list.painter.Clear();
    EXPECT_FALSE(IsWindow(childWindow));
}

}  // namespace
