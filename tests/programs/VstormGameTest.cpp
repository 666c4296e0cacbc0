// The client's behaviour in play, with the test build whose browser
// controls are fakes and whose pages come from a script: login and server
// tracking, pop-ups, every caption button and menu row clicked as a player
// clicks (RealInput), the boss key typed, and the tray icon's messages as
// the shell sends them.
#include "app/Statistics.h"
#include "frames/CloseMsgWnd.h"
#include "frames/FrameGame.h"
#include "frames/FrameIds.h"
#include "net/Endpoints.h"
#include "tests/programs/support/ClientFolder.h"
#include "tests/programs/support/FakeClient.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/OpenedUrls.h"
#include "tests/support/Painting.h"
#include "tests/support/RealInput.h"
#include "tests/support/RegistryValueOverride.h"
#include "tests/support/WindowActions.h"
#include "base/TextBuf.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
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

bool WindowAt(HWND window, const RECT& r) {
    const RECT now = WindowRect(window);
    return EqualRect(&now, &r) != FALSE;
}

// A caption button: its right edge lies offset pixels from the client's
// right edge.
struct Caption {
    int offset;
    int width;
};
constexpr Caption kClose{0, 25};
constexpr Caption kMaximizeOrRestore{25, 25};
constexpr Caption kMinimize{50, 25};
constexpr Caption kFullScreen{75, 25};
constexpr Caption kTools{100, 25};
constexpr Caption kSound{125, 25};
constexpr Caption kCustomerService{150, 41};
constexpr Caption kForum{195, 41};
constexpr Caption kOfficialSite{240, 41};
constexpr Caption kTopUp{285, 41};

constexpr wchar_t kUserShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// What the balloons on screen say (the shell shows each as a tooltip).
std::wstring Balloons() {
    std::wstring said;
    for (HWND tip = nullptr; (tip = FindWindowExW(nullptr, tip, L"tooltips_class32", nullptr));) {
        wchar_t text[MAX_PATH] = {};
        if (IsWindowVisible(tip)) {
            SendMessageTimeoutW(tip, WM_GETTEXT, MAX_PATH, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 1000, nullptr);
        }
        said += text;
    }
    return said;
}

class VstormGame : public ClientFolderTest {
protected:
    VstormGame() : ClientFolderTest(L"vstorm_fake.exe") {}

    static std::wstring LandingUrl() { return FirstLandingUrl(); }

    void Launch(const std::wstring& pages) {
        ASSERT_TRUE(WritePages(pages));
        ASSERT_TRUE(client.Start(exe, dir.Path()));
        frame = client.WaitForFrame();
        ASSERT_NE(nullptr, frame);
        shown = GetTickCount();
    }
    // Milliseconds from the frame's appearance to game mode as the player
    // sees it (maximised, the page under the caption), or the deadline.
    DWORD WaitForGame() {
        WaitFor([&] {
            HWND view = GetWindow(frame, GW_CHILD);
            return IsZoomed(frame) && view &&
                   WindowRect(view).top == WindowRect(frame).top + CFrameGame::kCaptionHeight;
        }, kDeadlineMs);
        return GetTickCount() - shown;
    }
    // In front, the page fitted under the caption (inside a one-pixel
    // border unless maximised).
    bool GameModeShown() {
        const int border = IsZoomed(frame) ? 0 : 1;
        const RECT r = WindowRect(frame);
        const RECT page{r.left + border, r.top + CFrameGame::kCaptionHeight, r.right - border, r.bottom - border};
        return GetForegroundWindow() == frame && WindowAt(GetWindow(frame, GW_CHILD), page);
    }
    // Straight from the landing page to a server.
    void LaunchIntoGame() {
        Launch(GamePages());
        ASSERT_LT(WaitForGame(), kDeadlineMs);
        ASSERT_TRUE(Until([&] { return GameModeShown(); }));
    }
    // Straight from the landing page of the run with this count to a server.
    static std::wstring GamePages(int runCount = 0) {
        wchar_t landing[kLandingUrlUnits];
        BuildLandingUrl(landing, L"", 0, 0, runCount);
        const std::wstring game = Page(L"play?act=gamelogin&server_id=9");
        return L"page " + std::wstring(landing) + L"\nthen " + game + L"\npage " + game + L"\n";
    }
    // The screen in rect once it holds still (the fake page paints nothing).
    std::vector<DWORD> SettledScreen(const RECT& rect) {
        std::vector<DWORD> last = ScreenRgb(rect), before;
        Until([&] { Sleep(200); before.swap(last); last = ScreenRgb(rect); return before == last; });
        return last;
    }
    POINT CaptionPoint(Caption button) {
        RECT client{};
        GetClientRect(frame, &client);
        return POINT{client.right - button.offset - button.width / 2, 12};
    }
    void Click(Caption button) { RealInput::Click(frame, CaptionPoint(button)); }
    // Opens the tools menu with a click on its button; the menu, or null.
    HWND OpenMenu() {
        Click(kTools);
        return WaitForMenu();
    }
    HWND WaitForMenu() {
        HWND menu = nullptr;
        WaitFor([&] {
            menu = FindProcessWindow(client.Id(), CFrameGame::kMenuClassName, nullptr);
            return menu && IsWindowVisible(menu);
        }, kDeadlineMs);
        return menu;
    }
    void PickRow(HWND menu, int row) { RealInput::Click(menu, POINT{48, 24 * row + 12}); }
    bool MenuGone() {
        return WaitFor([&] { return !FindProcessWindow(client.Id(), CFrameGame::kMenuClassName, nullptr); },
                       kDeadlineMs);
    }
    std::string FakeLog() { return ReadFileBytes(dir.File(kFakeLogFile)); }
    // The client's own audio session (FakeClient.h): 1 muted, 0 not.
    LRESULT Ask(WPARAM what) {
        DWORD_PTR answer = static_cast<DWORD_PTR>(-2);
        HWND probe = FindProcessWindow(client.Id(), kFakeAudioProbeClass, nullptr);
        SendMessageTimeoutW(probe, kFakeAudioQueryMessage, what, 0, SMTO_ABORTIFHUNG, 5000, &answer);
        return static_cast<LRESULT>(answer);
    }
    LRESULT SessionMute() { return Ask(0); }
    bool MuteBecomes(LRESULT muted) { return Until([&] { return SessionMute() == muted; }); }
    bool ZoomBecomes(LRESULT zoom) { return Until([&] { return Ask(1) == zoom; }); }
    std::vector<std::wstring> PlayerValues() {
        std::vector<std::wstring> values;
        for (const wchar_t* key : {kKeyMuted, kKeyZoom, kKeyWindow, kKeyMaximized}) values.push_back(Value(kSectionPlayer, key));
        return values;
    }
    bool Visible() { return IsWindowVisible(frame) != FALSE; }
    bool Until(std::function<bool()> done) { return WaitFor(done, kDeadlineMs); }

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
    Click(kTopUp);
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
    Click(kTopUp);
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

// The player's click in the page starts a script that never yields; the
// close comes from the taskbar, which needs nothing of the page's thread.
TEST_F(VstormGame, APageThatNeverYieldsCannotKeepTheClientFromEnding) {
    LoopbackHttpServer stats(LoopbackHttpServer::Mode::Normal, StatsPort());
    const std::wstring busy = Page(L"busy.html");
    Launch(L"page " + LandingUrl() + L"\nclick " + busy + L"\npage " + busy + L"\nhang\n");
    RealInput::Click(frame, POINT{394, 222});
    ASSERT_TRUE(WaitFor([&] {
        HWND view = GetWindow(frame, GW_CHILD);
        return view && !SendMessageTimeoutW(view, WM_NULL, 0, 0, SMTO_BLOCK, 1000, nullptr);
    }, kDeadlineMs)) << "the page holds its thread";
    EXPECT_EQ(0u, client.Close());
    EXPECT_TRUE(stats.WaitForRequests(2, kDeadlineMs)) << "the install report, then the exit report";
    EXPECT_EQ("", FakeLog()) << "the client ended without its HTML thread";
}

// Every button of the caption and every row of the tools menu, each with a
// real click, in one visit of the game.
TEST_F(VstormGame, EveryCaptionButtonAndToolRowAnswersARealClick) {
    LaunchIntoGame();
    OpenedUrls opened;
    ASSERT_TRUE(opened.Ready());
    size_t count = 0;
    for (Caption link : {kCustomerService, kForum, kOfficialSite, kTopUp}) {
        Click(link);
        ASSERT_TRUE(opened.WaitForCount(++count, kDeadlineMs)) << link.offset;
    }
    EXPECT_EQ((std::vector<std::string>{Narrow(kCustomerServiceUrl), Narrow(kForumUrl), Narrow(kOfficialSiteUrl),
                                        Narrow(kTopUpUrl) + "&user_name=&server_id=9"}),
              opened.Urls());

    // The player rests on the tools button until its tip shows, then
    // clicks: the press is the button's, not a move of the window.
    const POINT tools = RealInput::OnScreen(frame, CaptionPoint(kTools));
    ASSERT_TRUE(RealInput::RestOn(tools, [&] {
        HWND tip = FindProcessWindow(client.Id(), CImageTipCtrl::kClassName, nullptr);
        return tip && IsWindowVisible(tip);
    }, kDeadlineMs)) << "the tools button's tip";
    const RECT before = WindowRect(frame);
    RealInput::PressAt(tools);
    HWND menu = WaitForMenu();
    ASSERT_NE(nullptr, menu);
    EXPECT_TRUE(WindowAt(frame, before));
    PickRow(menu, 1);
    ASSERT_TRUE(MenuGone()) << "刷新, and the menu goes after a choice";
    menu = OpenMenu();
    ASSERT_NE(nullptr, menu);
    PickRow(menu, 2);
    ASSERT_TRUE(MenuGone()) << "the boss key's row only names the key";
    EXPECT_TRUE(Visible());

    // 清除缓存 ends with its notice, which holds the game until it is
    // answered.
    menu = OpenMenu();
    ASSERT_NE(nullptr, menu);
    PickRow(menu, 0);
    HWND notice = nullptr;
    ASSERT_TRUE(Until([&] {
        notice = FindProcessWindow(client.Id(), kMessageBoxClass, kProductName);
        return notice && IsWindowVisible(notice);
    }));
    RealInput::ClickCentre(GetDlgItem(notice, IDOK));
    ASSERT_TRUE(Until([&] { return !FindProcessWindow(client.Id(), kMessageBoxClass, kProductName); }));

    // The window buttons: minimise (back from the taskbar), restore,
    // maximise, full screen (Esc leaves it).
    const RECT maximised = WindowRect(frame);
    Click(kMinimize);
    ASSERT_TRUE(Until([&] { return IsIconic(frame) != FALSE; })) << "minimised";
    PostMessageW(frame, WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(Until([&] { return WindowAt(frame, maximised); })) << "back from the taskbar, maximised";
    Click(kMaximizeOrRestore);
    ASSERT_TRUE(Until([&] { return !IsZoomed(frame) && Visible() && !WindowAt(frame, maximised); }))
        << "restored";
    Click(kMaximizeOrRestore);
    ASSERT_TRUE(Until([&] { return IsZoomed(frame) && WindowAt(frame, maximised); })) << "maximised again";
    Click(kFullScreen);
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    ASSERT_TRUE(Until([&] { return WindowAt(frame, screen); })) << "full screen";
    RealInput::Key(VK_ESCAPE);
    ASSERT_TRUE(Until([&] { return WindowAt(frame, maximised); }));

    // Close asks first: Cancel keeps the game, OK ends it.
    for (const RECT& answer : {CloseMsgWnd::kCancelRect, CloseMsgWnd::kOkRect}) {
        Click(kClose);
        HWND question = nullptr;
        ASSERT_TRUE(Until([&] { return (question = client.Question()) && IsWindowVisible(question); }));
        RealInput::Click(question, POINT{(answer.left + answer.right) / 2, (answer.top + answer.bottom) / 2});
        ASSERT_TRUE(Until([&] { return !client.Question(); }));
    }
    EXPECT_EQ(0u, client.WaitForExit());
    EXPECT_NE(std::string::npos, FakeLog().find("refresh\n")) << "刷新 reloads the page";
}

TEST_F(VstormGame, BossKeyAndTrayHideAndBringBackTheGame) {
    LoopbackHttpServer stats(LoopbackHttpServer::Mode::Normal, StatsPort());
    LaunchIntoGame();
    HWND border = client.BackFrame();
    RealInput::Key('D', VK_MENU);
    ASSERT_TRUE(Until([&] { return !Visible(); })) << "into the tray";
    EXPECT_TRUE(Until([&] { return !IsWindowVisible(border); })) << "nothing of the game stays";
    RealInput::Key('D', VK_MENU);
    ASSERT_TRUE(Until([&] { return Visible(); })) << "and back";
    EXPECT_TRUE(Until([&] { return IsWindowVisible(border) != FALSE; }));

    Click(kMinimize);
    ASSERT_TRUE(Until([&] { return IsIconic(frame) != FALSE; }));
    RealInput::Key('D', VK_MENU);
    ASSERT_TRUE(Until([&] { return !Visible(); })) << "a minimised game hides too";

    // What the shell sends: a double click on the icon, a right click that
    // opens its menu where the player's cursor is, at the tray.
    PostMessageW(frame, kTrayCallbackMessage, kTrayIconId, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(Until([&] { return Visible(); })) << "a double click on the icon";
    const POINT tray{GetSystemMetrics(SM_CXSCREEN) - 20, GetSystemMetrics(SM_CYSCREEN) - 10};
    for (int row : {0, 1}) {
        RealInput::Key('D', VK_MENU);
        ASSERT_TRUE(Until([&] { return !Visible(); })) << "the next boss key hides it again";
        RealInput::MoveTo(tray);
        PostMessageW(frame, kTrayCallbackMessage, kTrayIconId, WM_RBUTTONUP);
        HWND menu = WaitForMenu();
        ASSERT_NE(nullptr, menu);
        PickRow(menu, row);
        if (row == 0) {
            ASSERT_TRUE(Until([&] { return Visible(); })) << "系统设置 brings the game back";
        }
    }
    // 关闭 ends the client without the question.
    EXPECT_EQ(0u, client.WaitForExit());
    ASSERT_TRUE(stats.WaitForRequests(2, kDeadlineMs));
    EXPECT_NE(std::string::npos, stats.Requests().back().body.find("&action=close&"));
}

}  // namespace

namespace {

// The player's choices in play and across restarts: sound on the real audio
// session (speaker, F8, boss key), zoom (Ctrl with wheel and keys), place;
// screenshots (F9, the tools menu) to Pictures, told of in balloons.
// Garbage is healed; a place on a screen that is gone is not used.
TEST_F(VstormGame, SoundZoomShotsAndPlaceAreThePlayers) {
    for (const auto& garbage : {std::make_pair(kKeyMuted, L"yes"), std::make_pair(kKeyZoom, L"130"),
                                std::make_pair(kKeyWindow, L"1,2,3"), std::make_pair(kKeyMaximized, L"7")}) {
        WriteConfigText(config.c_str(), kSectionPlayer, garbage.first, garbage.second);
    }
    LaunchIntoGame();
    EXPECT_EQ((std::vector<std::wstring>{L"0", L"100", L"", L"1"}), PlayerValues()) << "healed at once";
    EXPECT_EQ(-1, SessionMute()) << "a sounding start asks nothing of Core Audio";
    Click(kSound);
    ASSERT_TRUE(MuteBecomes(1)) << "the speaker";
    RealInput::Key(VK_F8);
    ASSERT_TRUE(MuteBecomes(0)) << "F8";
    RealInput::Key('D', VK_MENU);
    ASSERT_TRUE(Until([&] { return !Visible(); }));
    EXPECT_TRUE(MuteBecomes(1)) << "silent in the tray";
    RealInput::Key('D', VK_MENU);
    ASSERT_TRUE(Until([&] { return Visible() && GameModeShown(); }));
    EXPECT_TRUE(MuteBecomes(0)) << "the player's choice back";
    RealInput::Key(VK_F8);
    ASSERT_TRUE(MuteBecomes(1));

    const POINT page = RealInput::OnScreen(frame, POINT{400, 300});
    RealInput::Wheel(page, 1, VK_CONTROL);
    EXPECT_TRUE(ZoomBecomes(110));
    RealInput::Key(VK_OEM_PLUS, VK_CONTROL);
    EXPECT_TRUE(ZoomBecomes(125));
    RealInput::Key(VK_OEM_MINUS, VK_CONTROL);
    EXPECT_TRUE(ZoomBecomes(110));
    RealInput::Key('0', VK_CONTROL);
    EXPECT_TRUE(ZoomBecomes(100));
    RealInput::Wheel(page, 2, VK_CONTROL);
    EXPECT_TRUE(ZoomBecomes(125));
    Click(kMaximizeOrRestore);
    ASSERT_TRUE(Until([&] { return !IsZoomed(frame) && GameModeShown(); }));
    const RECT normal = WindowRect(frame);

    // Screenshots, restored so that the page lies clear of the shell's tray
    // and balloons.
    ScratchDir pictures;
    RegistryValueOverride folder(kUserShellFolders, L"My Pictures", pictures.Path(), REG_EXPAND_SZ);
    const std::wstring shots = pictures.File(kProductName);
    const RECT view = WindowRect(GetWindow(frame, GW_CHILD));
    const SIZE size{view.right - view.left, view.bottom - view.top};
    RealInput::MoveTo(RealInput::OnScreen(frame, POINT{400, 300}));
    // F9, then the tools menu's 截图 (a row below the others).
    std::vector<std::wstring> taken;
    for (size_t shot = 1; shot <= 2; ++shot) {
        const std::vector<DWORD> screen = SettledScreen(view);
        if (shot == 1) {
            RealInput::Key(VK_F9);
        } else {
            HWND menu = OpenMenu();
            ASSERT_NE(nullptr, menu);
            PickRow(menu, 3);
        }
        // The new file, once it is written whole.
        std::vector<DWORD> png;
        ASSERT_TRUE(Until([&] {
            for (const std::wstring& name : FileNames(shots + L"\\*.png")) {
                if (std::find(taken.begin(), taken.end(), name) == taken.end() &&
                    !(png = PngRgb(shots + L"\\" + name, size)).empty()) {
                    taken.push_back(name);
                }
            }
            return !png.empty();
        })) << shot;
        EXPECT_TRUE(png == screen || png == SettledScreen(view)) << "the page as the screen showed it";
        EXPECT_TRUE(Until([&] { return Balloons().find(shots + L"\\" + taken.back()) != std::wstring::npos; })) << shot;
    }

    // A file where the folder should be: a balloon, nothing written. (After
    // a menu pick Wine with no window manager gives the keyboard to the
    // desktop: the player clicks the game first.)
    ScratchDir blocked;
    ASSERT_TRUE(WriteFileBytes(blocked.File(kProductName), "x"));
    RegistryValueOverride unwritable(kUserShellFolders, L"My Pictures", blocked.Path(), REG_EXPAND_SZ);
    RealInput::Click(frame, POINT{400, 300});
    ASSERT_TRUE(Until([&] { return GetForegroundWindow() == frame; }));
    RealInput::Key(VK_F9);
    EXPECT_TRUE(Until([&] { return Balloons().find(L"图片文件夹无法写入") != std::wstring::npos; })) << Narrow(Balloons());
    EXPECT_EQ("x", ReadFileBytes(blocked.File(kProductName)));
    EXPECT_EQ(0u, client.Close());
    EXPECT_NE(std::string::npos, FakeLog().find("zoom 110\nzoom 125\nzoom 110\nzoom 100\nzoom 125\n")) << FakeLog();
    wchar_t kept[kWindowTextUnits];
    Format(kept, L"%ld,%ld,%ld,%ld", normal.left, normal.top, normal.right, normal.bottom);
    EXPECT_EQ((std::vector<std::wstring>{L"1", L"125", kept, L"0"}), PlayerValues());

    // Back as left: silent, zoomed, not maximised, in its (moved) place.
    const RECT placed{normal.left + 40, normal.top + 30, normal.right + 40, normal.bottom + 30};
    Format(kept, L"%ld,%ld,%ld,%ld", placed.left, placed.top, placed.right, placed.bottom);
    WriteConfigText(config.c_str(), kSectionPlayer, kKeyWindow, kept);
    Launch(GamePages(1));
    EXPECT_TRUE(MuteBecomes(1));
    ASSERT_TRUE(Until([&] { return !IsZoomed(frame) && GameModeShown() && WindowAt(frame, placed); }));
    EXPECT_EQ(0u, client.Close());
    EXPECT_EQ(FakeLog().find("zoom "), FakeLog().find("zoom 125\n")) << FakeLog();

    // A place on a screen that is gone: the default, maximised.
    WriteConfigText(config.c_str(), kSectionPlayer, kKeyWindow, L"5000,3000,6100,3800");
    Launch(GamePages(2));
    ASSERT_LT(WaitForGame(), kDeadlineMs);
    EXPECT_EQ(0u, client.Close());
    Format(kept, L"%ld,%ld,%ld,%ld", normal.left, normal.top, normal.right, normal.bottom);
    EXPECT_EQ(kept, PlayerValues()[2]) << "the default place, centred";
}

}  // namespace
