// The client at the screen's DPI, run in a prefix of that DPI by
// tools/wine-dpi-run.sh: the launcher, the close question, the game's
// caption and its menus have their scaled sizes and answer a player's
// clicks at their scaled places. Where the launcher does not fit the work
// area at the DPI, all of it comes at the largest scale that fits, inside
// the work area (with VSTORM_TEST_TASKBAR_LEFT, the screen has a taskbar on
// the left).
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

RECT WindowRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

bool Inside(const RECT& r, const RECT& area) {
    return r.left >= area.left && r.top >= area.top && r.right <= area.right && r.bottom <= area.bottom;
}

class VstormDpi : public ClientFolderTest {
protected:
    VstormDpi() : ClientFolderTest(L"vstorm_fake.exe") {}

    void SetUp() override {
        ClientFolderTest::SetUp();
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        if (std::getenv("VSTORM_TEST_TASKBAR_LEFT")) {
            ASSERT_GT(work.left, 0) << "no taskbar on the left";
        }
        ScopedWindowDc screen(nullptr);
        dpi = static_cast<UINT>(GetDeviceCaps(screen.Get(), LOGPIXELSX));
        while (Px(CFrameBack::kWidth) > RectWidth(work) || Px(CFrameBack::kHeight) > RectHeight(work)) --dpi;
    }
    int Px(int value) const { return MulDiv(value, static_cast<int>(dpi), 96); }
    RECT Px(const RECT& r) const { return RECT{Px(r.left), Px(r.top), Px(r.right), Px(r.bottom)}; }
    // The window's size is the 96-DPI one at the scale, give or take a pixel.
    void ExpectSize(HWND window, int width, int height, const char* what) {
        const RECT r = WindowRect(window);
        EXPECT_NEAR(Px(width), RectWidth(r), 1) << what;
        EXPECT_NEAR(Px(height), RectHeight(r), 1) << what;
        EXPECT_TRUE(Inside(r, work)) << what;
    }
    HWND WaitForWindow(const wchar_t* className) {
        HWND found = nullptr;
        WaitFor([&] { return (found = FindProcessWindow(client.Id(), className, nullptr)) && IsWindowVisible(found); },
                kDeadlineMs);
        return found;
    }
    bool Gone(const wchar_t* className) {
        return WaitFor([&] { return !FindProcessWindow(client.Id(), className, nullptr); }, kDeadlineMs);
    }
    // Asks to close with the button at client rectangle button and
    // answers with the (96-DPI) answer.
    void CloseWith(HWND window, const RECT& button, const RECT& answer) {
        RealInput::Click(window, button);
        HWND question = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (question = client.Question()) && IsWindowVisible(question); }, kDeadlineMs));
        ExpectSize(question, CloseMsgWnd::kWidth, CloseMsgWnd::kHeight, "the close question");
        RealInput::Click(question, Px(answer));
    }

    RECT work{};
    UINT dpi = 96;
    ClientProcess client;
};

TEST_F(VstormDpi, EveryWindowHasItsScaledSizeAndAnswersClicksAtItsScaledPlaces) {
    const std::wstring game = std::wstring(kLandingPage) + L"play?act=gamelogin&server_id=5";
    ASSERT_TRUE(WritePages(L"page " + FirstLandingUrl() + L"\nclick " + game + L"\npage " + game + L"\n"));
    ASSERT_TRUE(client.Start(exe, dir.Path()));
    HWND frame = client.WaitForFrame();
    ASSERT_NE(nullptr, frame);
    HWND back = client.BackFrame();
    ASSERT_NE(nullptr, back);

    ExpectSize(back, CFrameBack::kWidth, CFrameBack::kHeight, "the launcher");
    ExpectSize(frame, CFrameGame::kLoginSize.cx, CFrameGame::kLoginSize.cy, "the login window");
    const RECT launcher = WindowRect(back);
    const RECT login = WindowRect(frame);
    EXPECT_NEAR(launcher.left + Px(CFrameBack::kGameFrameOffset.x), login.left, 1);
    EXPECT_NEAR(launcher.top + Px(CFrameBack::kGameFrameOffset.y), login.top, 1);

    OpenedUrls opened;
    ASSERT_TRUE(opened.Ready());
    RealInput::Click(back, Px(RECT{398, 95, 551, 144}));
    ASSERT_TRUE(opened.WaitForCount(1, kDeadlineMs)) << "the official site's link";
    CloseWith(back, Px(RECT{1118, 62, 1149, 93}), CloseMsgWnd::kCancelRect);
    ASSERT_TRUE(WaitFor([&] { return !client.Question(); }, kDeadlineMs));

    // The game fills the work area, its border a scaled margin around it.
    RealInput::Click(frame, POINT{RectWidth(login) / 2, RectHeight(login) / 2});
    ASSERT_TRUE(WaitFor([&] { return IsZoomed(frame) && SameRect(work, WindowRect(frame)); }, kDeadlineMs));
    RECT border = work;
    InflateRect(&border, Px(6), Px(6));
    EXPECT_TRUE(WaitFor([&] { return SameRect(border, WindowRect(back)); }, kDeadlineMs)) << "the soft border";

    // The tools button opens its menu of scaled rows; 刷新 is the second.
    RealInput::Click(frame, POINT{RectWidth(work) - Px(100) - Px(12), Px(12)});
    HWND menu = WaitForWindow(CFrameGame::kMenuClassName);
    ASSERT_NE(nullptr, menu);
    const RECT menuRect = WindowRect(menu);
    EXPECT_NEAR(Px(96), RectWidth(menuRect), 1);
    EXPECT_NEAR(3 * Px(24), RectHeight(menuRect), 1);
    RealInput::Click(menu, POINT{Px(48), Px(24) + Px(12)});
    ASSERT_TRUE(Gone(CFrameGame::kMenuClassName)) << "a row answered";

    // Hidden by the boss key, back through the tray menu's first row.
    RealInput::Key('D', VK_MENU);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(frame); }, kDeadlineMs));
    RealInput::MoveTo(POINT{work.right - 20, work.bottom - 10});
    PostMessageW(frame, kTrayCallbackMessage, kTrayIconId, WM_RBUTTONUP);
    menu = WaitForWindow(CFrameGame::kMenuClassName);
    ASSERT_NE(nullptr, menu);
    EXPECT_NEAR(2 * Px(24), RectHeight(WindowRect(menu)), 1);
    RealInput::Click(menu, POINT{Px(48), Px(12)});
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(frame) != FALSE; }, kDeadlineMs)) << "系统设置";

    const int right = RectWidth(work);
    CloseWith(frame, RECT{right - Px(26), 0, right - Px(1), Px(25)}, CloseMsgWnd::kOkRect);
    EXPECT_EQ(0u, client.WaitForExit());
    EXPECT_NE(std::string::npos, ReadFileBytes(dir.File(kFakeLogFile)).find("refresh\n"));
}

}  // namespace
