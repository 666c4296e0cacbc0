#include "ui/ImageTipCtrl.h"

#include "tests/support/Painting.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class TipTest : public ::testing::Test {
protected:
    CAppManager manager;
    ManagerScope scope{manager};
    PainterHost owner;
    CImageTipCtrl tip;
    HWND tipWindow = nullptr;

    void SetUp() override {
        owner.Open(50, 50, 200, 100);
        tipWindow = tip.Create(0, CImageTipCtrl::kClassName, nullptr, WS_POPUP | WS_CLIPCHILDREN,
                               0, 0, 0, 0, owner.Hwnd());
        ASSERT_NE(nullptr, tipWindow);
        SetCursorPos(300, 200);
    }
    void TearDown() override {
        if (IsWindow(tipWindow)) DestroyWindow(tipWindow);
        DestroyWindow(owner.Hwnd());
    }
    bool Shown() { return IsWindowVisible(tipWindow) != FALSE; }
    RECT Placed() {
        RECT r{};
        GetWindowRect(tipWindow, &r);
        return r;
    }
};

TEST_F(TipTest, AppearsHalfASecondAfterTheTextBesideTheCursor) {
    const DWORD start = GetTickCount();
    tip.SetTipText(L"Maximise");
    EXPECT_STREQ(L"Maximise", tip.TipText());
    PumpMessages(300);
    EXPECT_FALSE(Shown());
    ASSERT_TRUE(PumpUntil([&] { return Shown(); }, 1500));
    EXPECT_GE(GetTickCount() - start, 450u);
    RECT placed = Placed();
    EXPECT_EQ(315, placed.left);
    EXPECT_EQ(215, placed.top);
    EXPECT_GT(placed.right - placed.left, 20);
    // Other test programs on the display may move activation meanwhile;
    // what counts is that the tip never takes it.
    EXPECT_NE(tipWindow, GetActiveWindow());
    EXPECT_NE(tipWindow, GetForegroundWindow());

    // The same text while shown: the tip stays where it is.
    SetCursorPos(400, 300);
    tip.SetTipText(L"Maximise");
    PumpMessages(100);
    EXPECT_TRUE(Shown());
    EXPECT_EQ(placed, Placed());

    // Empty text hides the tip for good.
    tip.SetTipText(L"");
    EXPECT_FALSE(Shown());
    PumpMessages(600);
    EXPECT_FALSE(Shown());

    // Setting a text again while hidden restarts the delay.
    tip.SetTipText(L"Tools");
    PumpMessages(300);
    tip.SetTipText(L"Tools");
    PumpMessages(300);
    EXPECT_FALSE(Shown());
    EXPECT_TRUE(PumpUntil([&] { return Shown(); }, 1500));
    EXPECT_EQ(415, Placed().left);
}

TEST_F(TipTest, LongTextIsMeasuredAgainstA500PixelBoxAndFramed) {
    std::wstring text;
    while (text.size() < 400) text += L"full screen ";
    tip.SetTipText(text.c_str());
    EXPECT_EQ(CImageTipCtrl::kTextUnits - 1, std::wstring(tip.TipText()).size());
    SendMessageW(tipWindow, WM_TIMER, CImageTipCtrl::kShowTimerId, 0);
    ASSERT_TRUE(Shown());
    RECT placed = Placed();
    const int width = placed.right - placed.left;
    const int height = placed.bottom - placed.top;
    EXPECT_LE(width, 505);
    EXPECT_GT(width, 400);
    EXPECT_LE(height, 204);

    UpdateWindow(tipWindow);
    auto shown = CaptureClient(tipWindow);
    EXPECT_EQ(0x8A8A8Au, Rgb(shown->Pixel(0, height / 2)));
    EXPECT_EQ(0x8A8A8Au, Rgb(shown->Pixel(width - 1, height / 2)));
    EXPECT_EQ(0x8A8A8Au, Rgb(shown->Pixel(width / 2, 0)));
    EXPECT_EQ(0xFCFCFCu, Rgb(shown->Pixel(1, 1)));

    // Other timers are not the tip's.
    tip.SetTipText(L"");
    SendMessageW(tipWindow, WM_TIMER, 7, 0);
    EXPECT_FALSE(Shown());
}

}  // namespace
