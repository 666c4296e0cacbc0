// The client at the screen's DPI, run in a prefix of that DPI by
// tools/wine-dpi-run.sh: each window has its scaled size and answers a
// player's clicks at its scaled places. Where the launcher does not fit the
// work area at the DPI, everything comes at the largest scale that fits.
#include "frames/CloseMsgWnd.h"
#include "frames/FrameBack.h"
#include "frames/FrameGame.h"
#include "frames/FrameIds.h"
#include "net/Endpoints.h"
#include "tests/programs/support/ClientFolder.h"
#include "tests/support/OpenedUrls.h"
#include "tests/support/RealInput.h"
#include "ui/Drawing.h"
#include "ui/ScopedGdi.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

constexpr DWORD kDeadlineMs = 15000;

class VstormDpi : public ClientFolderTest {
protected:
    VstormDpi() : ClientFolderTest(L"vstorm_fake.exe") {}

    int Px(int value) const { return MulDiv(value, static_cast<int>(dpi), 96); }
    RECT Px(const RECT& r) const { return RECT{Px(r.left), Px(r.top), Px(r.right), Px(r.bottom)}; }
    // The 96-DPI size at the scale, give or take a pixel, inside the work area.
    void ExpectSize(HWND window, SIZE size) {
        const RECT r = WindowRect(window);
        EXPECT_NEAR(Px(size.cx), RectWidth(r), 1);
        EXPECT_NEAR(Px(size.cy), RectHeight(r), 1);
        EXPECT_TRUE(r.left >= work.left && r.top >= work.top && r.right <= work.right && r.bottom <= work.bottom);
    }
    HWND Shown(const wchar_t* className) {
        HWND found = nullptr;
        WaitFor([&] { return (found = FindProcessWindow(client.Id(), className, nullptr)) && IsWindowVisible(found); },
                kDeadlineMs);
        return found;
    }
    // Asks to close with the button at the client rectangle and answers.
    void CloseWith(HWND window, const RECT& button, const RECT& answer) {
        RealInput::Click(window, button);
        HWND question = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (question = client.Question()) && IsWindowVisible(question); }, kDeadlineMs));
        ExpectSize(question, SIZE{CloseMsgWnd::kWidth, CloseMsgWnd::kHeight});
        RealInput::Click(question, Px(answer));
    }

    RECT work{};
    UINT dpi = 96;
    ClientProcess client;
};

TEST_F(VstormDpi, EveryWindowHasItsScaledSizeAndAnswersClicksAtItsScaledPlaces) {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const char* taskbar = std::getenv("VSTORM_TEST_WORKAREA");
    if (taskbar && *taskbar) {
        ASSERT_GT(work.left, 0) << "no taskbar on the left";
    }
    dpi = static_cast<UINT>(GetDeviceCaps(ScopedWindowDc(nullptr).Get(), LOGPIXELSX));
    while (Px(CFrameBack::kWidth) > RectWidth(work) || Px(CFrameBack::kHeight) > RectHeight(work)) --dpi;
    const std::wstring game = std::wstring(kLandingPage) + L"play?act=gamelogin&server_id=5";
    ASSERT_TRUE(WritePages(L"page " + FirstLandingUrl() + L"\nclick " + game + L"\npage " + game + L"\n"));
    ASSERT_TRUE(client.Start(exe, dir.Path()));
    HWND frame = client.WaitForFrame();
    HWND back = client.BackFrame();
    ASSERT_TRUE(frame && back);
    ExpectSize(back, SIZE{CFrameBack::kWidth, CFrameBack::kHeight});
    EXPECT_NEAR(WindowRect(back).left - work.left, work.right - WindowRect(back).right, 1) << "centred in the work area";
    ExpectSize(frame, CFrameGame::kLoginSize);
    const RECT login = WindowRect(frame);
    EXPECT_NEAR(WindowRect(back).left + Px(CFrameBack::kGameFrameOffset.x), login.left, 1);
    EXPECT_NEAR(WindowRect(back).top + Px(CFrameBack::kGameFrameOffset.y), login.top, 1);

    OpenedUrls opened;
    ASSERT_TRUE(opened.Ready());
    RealInput::Click(back, Px(RECT{398, 95, 551, 144}));
    ASSERT_TRUE(opened.WaitForCount(1, kDeadlineMs)) << "the official site's link";
    CloseWith(back, Px(RECT{1118, 62, 1149, 93}), CloseMsgWnd::kCancelRect);
    ASSERT_TRUE(WaitFor([&] { return !client.Question(); }, kDeadlineMs));

    // The game fills the work area, its border a scaled margin around it.
    RealInput::Click(frame, POINT{RectWidth(login) / 2, RectHeight(login) / 2});
    ASSERT_TRUE(WaitFor([&] { const RECT r = WindowRect(frame); return IsZoomed(frame) && EqualRect(&work, &r); },
                        kDeadlineMs));
    RECT border = work;
    InflateRect(&border, Px(6), Px(6));
    EXPECT_TRUE(WaitFor([&] { const RECT r = WindowRect(back); return EqualRect(&border, &r) != FALSE; }, kDeadlineMs));

    // The tools menu (four rows, the second 刷新), then the tray's (its first row
    // brings back what the boss key hid): rows and widths scaled.
    const int right = RectWidth(work);
    RealInput::Click(frame, POINT{right - Px(112), Px(12)});
    HWND menu = Shown(CFrameGame::kMenuClassName);
    ASSERT_NE(nullptr, menu);
    EXPECT_NEAR(Px(96), RectWidth(WindowRect(menu)), 1);
    EXPECT_NEAR(4 * Px(24), RectHeight(WindowRect(menu)), 1);
    RealInput::Click(menu, POINT{Px(48), Px(36)});
    ASSERT_TRUE(WaitFor([&] { return !FindProcessWindow(client.Id(), CFrameGame::kMenuClassName, nullptr); },
                        kDeadlineMs));
    RealInput::Key('D', VK_MENU);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(frame); }, kDeadlineMs));
    RealInput::MoveTo(POINT{work.right - 20, work.bottom - 10});
    PostMessageW(frame, kTrayCallbackMessage, kTrayIconId, WM_RBUTTONUP);
    ASSERT_NE(nullptr, menu = Shown(CFrameGame::kMenuClassName));
    EXPECT_NEAR(2 * Px(24), RectHeight(WindowRect(menu)), 1);
    RealInput::Click(menu, POINT{Px(48), Px(12)});
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(frame) != FALSE; }, kDeadlineMs)) << "系统设置";

    CloseWith(frame, RECT{right - Px(26), 0, right - Px(1), Px(25)}, CloseMsgWnd::kOkRect);
    EXPECT_EQ(0u, client.WaitForExit());
    EXPECT_NE(std::string::npos, ReadFileBytes(dir.File(kFakeLogFile)).find("refresh\n"));
}

}  // namespace
