// The client's behaviour in play, with the test build whose browser
// controls are fakes and whose pages come from a script: login and server
// tracking, pop-ups, the caption's links and tools, the boss key and the
// tray icon.
#include "app/Statistics.h"
#include "frames/FrameGame.h"
#include "frames/FrameIds.h"
#include "net/Endpoints.h"
#include "tests/support/ClientFolder.h"
#include "tests/support/FakeClient.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/OpenedUrls.h"
#include "tests/support/WindowActions.h"
#include "ui/TextBuf.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr DWORD kDeadlineMs = 15000;
constexpr wchar_t kMessageBoxClass[] = L"#32770";

std::string Narrow(const std::wstring& text) {
    char bytes[2048];
    WideToAnsi(text.c_str(), bytes, CP_UTF8);
    return bytes;
}

// A page address on the landing host.
std::wstring Page(const wchar_t* path) { return std::wstring(kLandingPage) + path; }

// Alt+D as the player types it.
void PressBossKey() {
    INPUT keys[4] = {};
    const WORD codes[4] = {VK_MENU, 'D', 'D', VK_MENU};
    for (int i = 0; i < 4; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = codes[i];
        keys[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(4, keys, sizeof(INPUT));
}

class VstormGame : public ClientFolderTest {
protected:
    VstormGame() : ClientFolderTest(L"vstorm_fake.exe") {}

    // The landing address of a first start in this folder.
    static std::wstring LandingUrl() {
        wchar_t url[kLandingUrlUnits];
        BuildLandingUrl(url, L"", 0, 0, 0);
        return url;
    }

    void Launch(const std::wstring& pages) {
        ASSERT_TRUE(WriteFileBytes(dir.File(kFakePagesFile), Narrow(pages)));
        ASSERT_TRUE(client.Start(exe, dir.Path()));
        frame = client.WaitForFrame();
        ASSERT_NE(nullptr, frame);
        shown = GetTickCount();
    }
    // Milliseconds from the frame's appearance to game mode (maximised), or
    // the deadline.
    DWORD WaitForGame() {
        WaitFor([&] { return IsZoomed(frame) != FALSE; }, kDeadlineMs);
        return GetTickCount() - shown;
    }
    void EnterGame() {
        PostMessageW(frame, kFrameCommandMessage, kFrameCommandEnterGameMode, 0);
        ASSERT_LT(WaitForGame(), kDeadlineMs);
    }
    // A click on the caption button whose right edge lies offset pixels
    // from the client's right edge.
    void ClickCaption(int offset, int width) {
        RECT client{};
        GetClientRect(frame, &client);
        PostClickAt(frame, client.right - offset - width / 2, 12);
    }
    void ClickTopUp() { ClickCaption(260, 41); }
    // Opens a menu (tools button, or the tray icon's right click) and picks
    // its row.
    HWND OpenMenu(bool tray) {
        if (tray) {
            PostMessageW(frame, kTrayCallbackMessage, kTrayIconId, WM_RBUTTONUP);
        } else {
            ClickCaption(100, 25);
        }
        HWND menu = nullptr;
        WaitFor([&] {
            menu = FindProcessWindow(client.Id(), CFrameGame::kMenuClassName, nullptr);
            return menu && IsWindowVisible(menu);
        }, kDeadlineMs);
        return menu;
    }
    void PickRow(HWND menu, int row) { PostClickAt(menu, 48, 24 * row + 12); }
    std::string FakeLog() { return ReadFileBytes(dir.File(kFakeLogFile)); }
    bool Visible() { return IsWindowVisible(frame) != FALSE; }

    ClientProcess client;
    HWND frame = nullptr;
    DWORD shown = 0;
};

TEST_F(VstormGame, LoginPageNamesThePlayerAndAGameLoginEntersTheGameAtOnce) {
    LoopbackHttpServer stats(LoopbackHttpServer::Mode::Normal, StatsPort());
    const std::wstring game = Page(L"play?act=gamelogin&server_id=123&x=1");
    Launch(L"page " + LandingUrl() + L"\nthen " + Page(L"xf.html") + L"\n" +
           L"page " + Page(L"xf.html") + L"\nelement login_user Alice Smith\nthen " + game + L"\n" +
           L"page " + game + L"\ntitle Stormvale Server 123\n");
    // Document complete does not wait for the login timer (1.5 s) before
    // the maximise timer (0.5 s).
    EXPECT_LT(WaitForGame(), 1900u);
    // The page title is written in white on the dark caption bar, from x 22.
    EXPECT_TRUE(WaitFor([&] {
        for (int x = 22; x < 200; ++x) {
            const DWORD c = ScreenPixel(x, 13);
            if ((c & 0xFF) > 0xC0 && ((c >> 8) & 0xFF) > 0xC0 && ((c >> 16) & 0xFF) > 0xC0) return true;
        }
        return false;
    }, kDeadlineMs)) << "the title in the caption";

    OpenedUrls opened;
    ASSERT_TRUE(opened.Ready());
    ClickTopUp();
    ASSERT_TRUE(opened.WaitForCount(1, kDeadlineMs));
    EXPECT_EQ(Narrow(kTopUpUrl) + "&user_name=Alice%20Smith&server_id=123", opened.Urls()[0]);

    EXPECT_EQ(0u, client.Close());
    EXPECT_EQ(L"Alice Smith", Value(kSectionCommon, kKeyUserName));
    ASSERT_TRUE(stats.WaitForRequests(2, kDeadlineMs));
    EXPECT_NE(std::string::npos, stats.Requests().back().body.find("&user_name=Alice%20Smith")) << "the exit report";
    const std::string log = FakeLog();
    EXPECT_EQ(0u, log.find("navigate " + Narrow(LandingUrl()) + "\n")) << log;
}

TEST_F(VstormGame, NavigationAloneEntersTheGameAfterTheLoginTimer) {
    const std::wstring game = Page(L"play?act=gamelogin&server_id=77");
    Launch(L"page " + LandingUrl() + L"\nthen " + game + L"\npage " + game + L"\nincomplete\n");
    EXPECT_GE(WaitForGame(), 1900u) << "1.5 s of the login timer, then 0.5 s of the maximise timer";

    OpenedUrls opened;
    ClickTopUp();
    ASSERT_TRUE(opened.WaitForCount(1, kDeadlineMs));
    EXPECT_EQ(Narrow(kTopUpUrl) + "&user_name=&server_id=77", opened.Urls()[0]) << "nobody logged in";
    EXPECT_EQ(0u, client.Close());
}

TEST_F(VstormGame, TheViewAndItsFramesGoOnlyToWebPages) {
    const std::wstring game = Page(L"play?act=gamelogin&server_id=5");
    std::wstring pages = L"page " + LandingUrl() + L"\n";
    for (const wchar_t* url : {L"file:///C:/x.html", L"\\\\127.0.0.1\\share\\x.html", L"res://ieframe.dll/x.htm",
                               L"ms-settings:privacy", L"orvane-launcher://run", L"about:settings"}) {
        pages += L"frame " + std::wstring(url) + L"\nthen " + url + L"\n";
    }
    Launch(pages + L"frame about:blank\nthen " + game + L"\n");
    ASSERT_LT(WaitForGame(), kDeadlineMs) << "the web page after the refused ones";
    EXPECT_EQ(0u, client.Close());
    EXPECT_EQ(Narrow(L"navigate " + LandingUrl() + L"\nnavigate about:blank\nnavigate " + game + L"\n"), FakeLog());
}

TEST_F(VstormGame, OnlyWebPopupsReachTheBrowser) {
    OpenedUrls opened;
    const std::vector<std::wstring> web = {Page(L"news.html"), L"https://127.0.0.1:1/event"};
    std::wstring pages = L"page " + LandingUrl() + L"\n";
    for (const wchar_t* url : {L"file:///C:/windows/system32/calc.exe", L"javascript:alert(1)",
                               L"ms-msdt:/id PCWDiagnostic", L"\\\\server\\share\\run.exe"}) {
        pages += L"popup " + std::wstring(url) + L"\n";
    }
    for (const std::wstring& url : web) pages += L"popup " + url + L"\nunasked-popup " + url + L"/again\n";
    Launch(pages);
    ASSERT_TRUE(opened.WaitForCount(2, kDeadlineMs));
    Sleep(500);
    std::vector<std::string> urls = opened.Urls();
    std::sort(urls.begin(), urls.end());
    EXPECT_EQ((std::vector<std::string>{Narrow(web[0]), Narrow(web[1])}), urls);
    EXPECT_EQ(0u, client.Close());
    EXPECT_EQ(std::string::npos, FakeLog().find("opened ")) << "the browser opened no window of its own";
}

TEST_F(VstormGame, APageThatNeverYieldsCannotKeepTheClientFromEnding) {
    LoopbackHttpServer stats(LoopbackHttpServer::Mode::Normal, StatsPort());
    Launch(L"page " + LandingUrl() + L"\nhang\n");
    ASSERT_TRUE(WaitFor([&] {
        HWND view = GetWindow(frame, GW_CHILD);
        return view && !SendMessageTimeoutW(view, WM_NULL, 0, 0, SMTO_BLOCK, 1000, nullptr);
    }, kDeadlineMs)) << "the page holds its thread";
    EXPECT_EQ(0u, client.Close());
    EXPECT_TRUE(stats.WaitForRequests(2, kDeadlineMs)) << "the install report, then the exit report";
    EXPECT_EQ("", FakeLog()) << "the client ended without its HTML thread";
}

TEST_F(VstormGame, CaptionLinksAndToolMenu) {
    Launch(L"");
    EnterGame();
    OpenedUrls opened;
    // Customer service, forum, official site, top-up: right edges 125,
    // 170, 215 and 260 pixels from the client's right.
    size_t count = 0;
    for (int offset : {125, 170, 215, 260}) {
        ClickCaption(offset, 41);
        ASSERT_TRUE(opened.WaitForCount(++count, kDeadlineMs)) << offset;
    }
    EXPECT_EQ((std::vector<std::string>{Narrow(kCustomerServiceUrl), Narrow(kForumUrl), Narrow(kOfficialSiteUrl),
                                        Narrow(kTopUpUrl) + "&user_name="}),
              opened.Urls());

    HWND menu = OpenMenu(false);
    ASSERT_NE(nullptr, menu);
    PickRow(menu, 1);
    ASSERT_TRUE(WaitFor([&] { return !FindProcessWindow(client.Id(), CFrameGame::kMenuClassName, nullptr); },
                        kDeadlineMs)) << "the menu goes after a choice";

    // Clearing twice in quick succession: one clearing, one notice.
    for (int i = 0; i < 2; ++i) {
        menu = OpenMenu(false);
        ASSERT_NE(nullptr, menu);
        PickRow(menu, 0);
    }
    HWND notice = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (notice = FindProcessWindow(client.Id(), kMessageBoxClass, kProductName)); },
                        kDeadlineMs));
    Sleep(1000);
    int notices = 0;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        wchar_t cls[32] = {};
        GetClassNameW(w, cls, 32);
        if (pid == client.Id() && wcscmp(cls, kMessageBoxClass) == 0 && IsWindowVisible(w)) ++notices;
    }
    EXPECT_EQ(1, notices);
    PostMessageW(notice, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !FindProcessWindow(client.Id(), kMessageBoxClass, kProductName); },
                        kDeadlineMs));

    EXPECT_EQ(0u, client.Close());
    EXPECT_NE(std::string::npos, FakeLog().find("refresh\n")) << "刷新 reloads the page";
}

TEST_F(VstormGame, BossKeyAndTrayHideAndBringBackTheGame) {
    LoopbackHttpServer stats(LoopbackHttpServer::Mode::Normal, StatsPort());
    Launch(L"");
    EnterGame();
    HWND border = client.BackFrame();
    PressBossKey();
    ASSERT_TRUE(WaitFor([&] { return !Visible(); }, kDeadlineMs)) << "into the tray";
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(border); }, kDeadlineMs)) << "nothing of the game stays";
    PressBossKey();
    ASSERT_TRUE(WaitFor([&] { return Visible(); }, kDeadlineMs)) << "and back";
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(border) != FALSE; }, kDeadlineMs));

    ShowWindow(frame, SW_MINIMIZE);
    ASSERT_TRUE(WaitFor([&] { return IsIconic(frame) != FALSE; }, kDeadlineMs));
    PressBossKey();
    ASSERT_TRUE(WaitFor([&] { return !Visible(); }, kDeadlineMs)) << "a minimised game hides too";

    PostMessageW(frame, kTrayCallbackMessage, kTrayIconId, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(WaitFor([&] { return Visible(); }, kDeadlineMs)) << "a double click on the icon";
    PressBossKey();
    ASSERT_TRUE(WaitFor([&] { return !Visible(); }, kDeadlineMs)) << "the next boss key hides it again";

    // 关闭 in the tray menu ends the client without the question.
    HWND menu = OpenMenu(true);
    ASSERT_NE(nullptr, menu);
    PickRow(menu, 1);
    EXPECT_EQ(0u, client.WaitForExit());
    ASSERT_TRUE(stats.WaitForRequests(2, kDeadlineMs));
    EXPECT_NE(std::string::npos, stats.Requests().back().body.find("&action=close&"));
}

}  // namespace
