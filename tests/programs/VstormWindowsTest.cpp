// The client's windows as a player meets them, with the test build whose
// browser controls are fakes: the launcher (back frame and login window),
// its links and close question, and the game window with full screen.
#include "frames/CloseMsgWnd.h"
#include "frames/FrameBack.h"
#include "frames/FrameGame.h"
#include "frames/FrameIds.h"
#include "net/Endpoints.h"
#include "net/UnixTime.h"
#include "tests/programs/support/ClientFolder.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/OpenedUrls.h"
#include "tests/support/RealInput.h"
#include "tests/support/WindowActions.h"
#include "ui/Drawing.h"
#include "base/TextBuf.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr DWORD kDeadlineMs = 15000;

RECT WorkArea() {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

std::string Narrow(const wchar_t* text) {
    char bytes[512];
    WideToAnsi(text, bytes, CP_UTF8);
    return bytes;
}

class VstormWindows : public ClientFolderTest {
protected:
    const std::wstring kGame = std::wstring(kLandingPage) + L"play?act=gamelogin&server_id=5";

    VstormWindows() : ClientFolderTest(L"vstorm_fake.exe") {}

    // The landing page, where the player's click enters a server.
    void SetUp() override {
        ClientFolderTest::SetUp();
        ASSERT_TRUE(WritePages(L"page " + FirstLandingUrl() + L"\nclick " + kGame + L"\npage " + kGame + L"\n"));
        ASSERT_TRUE(client.Start(exe, dir.Path()));
        frame = client.WaitForFrame();
        ASSERT_NE(nullptr, frame);
        back = client.BackFrame();
        ASSERT_NE(nullptr, back);
    }

    // Waits until the frame's window rectangle is r.
    bool FrameAt(const RECT& r) {
        return WaitFor([&] { return SameRect(WindowRect(frame), r); }, kDeadlineMs);
    }

    ClientProcess client;
    HWND frame = nullptr;
    HWND back = nullptr;
};

TEST_F(VstormWindows, LauncherSitsOnItsBackFrameAndFollowsIt) {
    const RECT work = WorkArea();
    const RECT backRect = WindowRect(back);
    EXPECT_EQ(CFrameBack::kWidth, RectWidth(backRect));
    EXPECT_EQ(CFrameBack::kHeight, RectHeight(backRect));
    EXPECT_EQ((RectWidth(work) - CFrameBack::kWidth) / 2, backRect.left);
    EXPECT_EQ((RectHeight(work) - CFrameBack::kHeight) / 2, backRect.top);
    const RECT expected{backRect.left + 377, backRect.top + 138, backRect.left + 377 + 788, backRect.top + 138 + 445};
    EXPECT_TRUE(SameRect(expected, WindowRect(frame)));

    // Only the login window has a taskbar button.
    EXPECT_TRUE(GetWindowLongPtrW(back, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(GetWindowLongPtrW(back, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_TRUE(GetWindowLongPtrW(frame, GWL_EXSTYLE) & WS_EX_APPWINDOW);

    // The picture shows around the login window (the desktop is black).
    EXPECT_TRUE(WaitFor([&] { return ScreenPixel(backRect.left + 60, backRect.top + 320) != 0; }, kDeadlineMs));

    // The player drags the picture: the login window follows.
    RealInput::Drag(back, POINT{60, 320}, POINT{20, 350});
    EXPECT_TRUE(FrameAt(RECT{expected.left - 40, expected.top + 30, expected.right - 40, expected.bottom + 30}));

    // Minimise takes both away; the taskbar's restore brings both back.
    RealInput::Click(back, RECT{1089, 62, 1117, 90});
    ASSERT_TRUE(WaitFor([&] { return IsIconic(frame) && !IsWindowVisible(back); }, kDeadlineMs));
    PostMessageW(frame, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsIconic(frame) && IsWindowVisible(back); }, kDeadlineMs));

    EXPECT_EQ(0u, client.Close());
}

TEST_F(VstormWindows, BackFrameLinksOpenTheirAddresses) {
    OpenedUrls opened;
    ASSERT_TRUE(opened.Ready());
    const RECT links[] = {{398, 95, 551, 144}, {842, 95, 995, 144}, {995, 95, 1148, 144}, {554, 95, 707, 144}};
    size_t count = 0;
    for (const RECT& link : links) {
        RealInput::Click(back, link);
        ASSERT_TRUE(opened.WaitForCount(++count, kDeadlineMs)) << count;
    }
    const std::vector<std::string> expected = {Narrow(kOfficialSiteUrl), Narrow(kForumUrl),
                                               Narrow(kCustomerServiceUrl), Narrow(kTopUpUrl)};
    EXPECT_EQ(expected, opened.Urls()) << "no user name known yet: the top-up address ends at its game id";
    EXPECT_EQ(0u, client.Close());
}

TEST_F(VstormWindows, CloseAsksFirstAndEndsWithTheExitReport) {
    LoopbackHttpServer stats(LoopbackHttpServer::Mode::Normal, StatsPort());
    ASSERT_TRUE(stats.Listening());
    const RECT close{1118, 62, 1149, 93};

    RealInput::Click(back, close);
    HWND question = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (question = client.Question()) != nullptr && IsWindowVisible(question); },
                        kDeadlineMs));
    RealInput::Click(question, CloseMsgWnd::kCancelRect);
    ASSERT_TRUE(WaitFor([&] { return client.Question() == nullptr; }, kDeadlineMs));
    EXPECT_TRUE(IsWindowVisible(frame));
    EXPECT_TRUE(IsWindowVisible(back));
    EXPECT_TRUE(client.Running());

    RealInput::Click(back, close);
    ASSERT_TRUE(WaitFor([&] { return (question = client.Question()) != nullptr && IsWindowVisible(question); },
                        kDeadlineMs));
    RealInput::Click(question, CloseMsgWnd::kOkRect);
    EXPECT_EQ(0u, client.WaitForExit());

    const std::vector<LoopbackHttpServer::Request> requests = stats.Requests();
    ASSERT_FALSE(requests.empty());
    EXPECT_NE(std::string::npos, requests.back().body.find("action=close")) << requests.back().body;
    const std::string books = ReadFileBytes(config);
    EXPECT_NE(std::string::npos, books.find("user_name=\r\n")) << books;
    EXPECT_EQ(std::string::npos, books.find("[Extension]")) << "nobody reached the game";
}

TEST_F(VstormWindows, GameModeOnceWithFullScreenAndItsBooks) {
    const RECT login = WindowRect(frame);
    RealInput::Key(VK_F10);
    Sleep(500);
    EXPECT_TRUE(SameRect(login, WindowRect(frame))) << "F10 does nothing before the game";

    // The player picks a server in the page: the document and, later, the
    // login timer both ask for the game, which comes once.
    const uint64_t before = UnixTimeNow();
    RealInput::Click(frame, POINT{394, 222});
    const RECT work = WorkArea();
    ASSERT_TRUE(FrameAt(work));
    EXPECT_TRUE(IsZoomed(frame));
    RECT border = work;
    InflateRect(&border, 6, 6);
    EXPECT_TRUE(WaitFor([&] { return SameRect(border, WindowRect(back)); }, kDeadlineMs)) << "the soft border";
    EXPECT_TRUE(GetWindowLongPtrW(back, GWL_EXSTYLE) & WS_EX_TRANSPARENT) << "which takes no clicks";

    HWND view = GetWindow(frame, GW_CHILD);
    ASSERT_NE(nullptr, view);
    const RECT underCaption{work.left, work.top + CFrameGame::kCaptionHeight, work.right, work.bottom};
    auto viewAt = [&](const RECT& r) {
        return WaitFor([&] { return SameRect(r, WindowRect(view)); }, kDeadlineMs);
    };
    EXPECT_TRUE(viewAt(underCaption)) << "the view lies under the caption bar";

    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RealInput::Key(VK_F10);
    ASSERT_TRUE(FrameAt(screen));
    EXPECT_TRUE(viewAt(screen)) << "full screen: the view takes the whole window";

    RealInput::Key(VK_ESCAPE);
    ASSERT_TRUE(FrameAt(work));
    EXPECT_TRUE(viewAt(underCaption)) << "the view goes back under the caption bar";
    Sleep(kLoginTimerMs);
    RealInput::Key(VK_ESCAPE);
    Sleep(500);
    EXPECT_TRUE(SameRect(work, WindowRect(frame))) << "Esc only leaves full screen; the timer's second ask did nothing";

    EXPECT_EQ(0u, client.Close());
    const uint64_t outTime = _wcstoui64(Value(kSectionExtension, kKeyOutTime).c_str(), nullptr, 10);
    EXPECT_GE(outTime, before);
    EXPECT_LE(outTime, UnixTimeNow());
    EXPECT_EQ(L"0", Value(kSectionExtension, kKeyCounts));
}

}  // namespace
