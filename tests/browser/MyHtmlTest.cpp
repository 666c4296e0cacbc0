// The HTML view on a thread that is its own HTML thread (the HTML manager
// is registered here), with the fake control: sizing of the browser and the
// Flash player, the game keys, and the browser's life with the window.
#include "browser/MyHtml.h"

#include "browser/HtmlAppManager.h"
#include "tests/support/FakeWebBrowser.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

#include <string>

namespace {

RECT RectInParent(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

class ViewOnHtmlThread : public ::testing::Test {
protected:
    CHtmlAppManager manager;
    ManagerScope scope{manager};
    FakeWebBrowserRegistration fake;
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 50, 50, 500, 400, nullptr, nullptr,
                                  nullptr, nullptr);
    CMyHtml view;

    void SetUp() override {
        ASSERT_TRUE(scope.Registered());
        FakeWeb::Reset();
        SetHtmlAppManager(&manager);
        ASSERT_TRUE(view.Create(0, nullptr, L"", WS_CHILD | WS_VISIBLE, 0, 0, 300, 200, parent));
    }
    void TearDown() override {
        DestroyWindow(parent);
        SetHtmlAppManager(nullptr);
        EXPECT_EQ(nullptr, view.Hwnd());
        EXPECT_EQ(0, FakeWeb::LiveObjects()) << "the view's OnDestroy gives the control back";
        EXPECT_EQ(0, FakeWeb::LiveWindows());
    }

    HWND PageWindow() { return GetWindow(GetWindow(view.browser.GetBrowserWindow(), GW_CHILD), GW_CHILD); }

    // A key as the thread's message loop offers it: from the page window up.
    bool PressKey(HWND target, WPARAM key, UINT message = WM_KEYDOWN) {
        MSG msg{};
        msg.hwnd = target;
        msg.message = message;
        msg.wParam = key;
        return manager.PreTranslate(&msg, false);
    }

    bool FrameCommandPosted(WPARAM* command) {
        MSG msg;
        if (!PeekMessageW(&msg, parent, kFrameCommandMessage, kFrameCommandMessage, PM_REMOVE)) return false;
        *command = msg.wParam;
        return true;
    }
};

TEST_F(ViewOnHtmlThread, TheBrowserRunsFourPixelsLongerUntilTheGameRuns) {
    HWND browserWindow = view.browser.GetBrowserWindow();
    ASSERT_TRUE(browserWindow);
    RECT rect = RectInParent(browserWindow);
    EXPECT_EQ(300, rect.right - rect.left);
    EXPECT_EQ(204, rect.bottom - rect.top);

    view.gameMode = 1;
    MoveWindow(view.Hwnd(), 0, 0, 320, 240, TRUE);
    rect = RectInParent(browserWindow);
    EXPECT_EQ(0, rect.left);
    EXPECT_EQ(0, rect.top);
    EXPECT_EQ(320, rect.right - rect.left);
    EXPECT_EQ(240, rect.bottom - rect.top);
}

TEST_F(ViewOnHtmlThread, TheFlashPlayerFillsTheWholeView) {
    FakePage page;
    page.flash = true;
    FakeWeb::SetPage(L"http://127.0.0.1/game", page);
    view.Navigate(L"http://127.0.0.1/game", 2);
    HWND flash = FindFlashWindow(view.Hwnd());
    ASSERT_TRUE(flash);
    EXPECT_EQ(flash, FindFlashWindow(view.browser.GetBrowserWindow()));

    view.OnSize(SIZE_RESTORED, 0, 0);
    RECT rect = RectInParent(flash);
    EXPECT_EQ(0, rect.left);
    EXPECT_EQ(0, rect.top);
    EXPECT_EQ(300, rect.right);
    EXPECT_EQ(200, rect.bottom) << "no extra pixels for the player";
    PumpMessages(20);
}

TEST_F(ViewOnHtmlThread, TabFocusesTheFlashPlayerOnlyWhenThereIsOne) {
    view.gameMode = 1;
    HWND page = PageWindow();
    SetFocus(page);
    EXPECT_FALSE(PressKey(page, VK_TAB));
    EXPECT_EQ(page, GetFocus()) << "no Flash window: focus stays";
    ASSERT_EQ(1u, FakeWeb::OfferedKeys().size()) << "the key still goes to the browser";

    FakePage flashPage;
    flashPage.flash = true;
    FakeWeb::SetPage(L"http://127.0.0.1/game", flashPage);
    view.Navigate(L"http://127.0.0.1/game", 2);
    HWND flash = FindFlashWindow(view.Hwnd());
    ASSERT_TRUE(flash);
    EXPECT_FALSE(PressKey(page, VK_TAB));
    EXPECT_EQ(flash, GetFocus());

    view.gameMode = 0;
    SetFocus(page);
    PressKey(page, VK_TAB);
    EXPECT_EQ(page, GetFocus()) << "no game keys on the login pages";
    PumpMessages(20);
}

TEST_F(ViewOnHtmlThread, EscAndF10AskTheFrameForFullScreenOnlyInTheGame) {
    HWND page = PageWindow();
    WPARAM command = 0;
    PressKey(page, VK_ESCAPE);
    PressKey(page, VK_F10, WM_SYSKEYDOWN);
    EXPECT_FALSE(FrameCommandPosted(&command));

    view.gameMode = 1;
    EXPECT_FALSE(PressKey(page, VK_ESCAPE)) << "the page sees the key too";
    ASSERT_TRUE(FrameCommandPosted(&command));
    EXPECT_EQ(kFrameCommandLeaveFullScreen, command);
    PressKey(page, VK_F10, WM_SYSKEYDOWN);
    ASSERT_TRUE(FrameCommandPosted(&command));
    EXPECT_EQ(kFrameCommandToggleFullScreen, command);
    PressKey(page, VK_F10, WM_KEYUP);
    EXPECT_FALSE(FrameCommandPosted(&command));

    EXPECT_TRUE(PressKey(page, VK_F5)) << "what the browser translates is consumed";
}

TEST_F(ViewOnHtmlThread, ASecondBrowserWaitsForTheViewsDestruction) {
    EXPECT_TRUE(view.browser.Active());
    EXPECT_FALSE(view.browser.CreateBrowser(view.Hwnd()));
    EXPECT_EQ(1, FakeWeb::LiveObjects());

    DestroyWindow(view.Hwnd());
    EXPECT_FALSE(view.browser.Active());
    EXPECT_EQ(0, FakeWeb::LiveObjects());
    EXPECT_EQ(0, view.browser.RefCount());

    ASSERT_TRUE(view.Create(0, nullptr, L"", WS_CHILD | WS_VISIBLE, 0, 0, 300, 200, parent));
    EXPECT_TRUE(view.browser.Active());
    EXPECT_EQ(1, FakeWeb::LiveObjects());
}

TEST_F(ViewOnHtmlThread, CallsOnTheHtmlThreadRunAtOnce) {
    view.Navigate(L"http://127.0.0.1/now", 2);
    view.SetSilent(1);
    view.Refresh();
    EXPECT_EQ(std::vector<std::wstring>{L"http://127.0.0.1/now"}, FakeWeb::Navigations());
    EXPECT_EQ(VARIANT_TRUE, FakeWeb::SilentValue());
    EXPECT_EQ(1, FakeWeb::Refreshes());
    EXPECT_EQ(0u, manager.PendingRequests());
    PumpMessages(20);
}

TEST(FindChildWindow, MatchesTitleClassAndProcessExactly) {
    HWND top = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND middle = CreateWindowExW(0, L"BUTTON", L"Play", WS_CHILD, 0, 0, 5, 5, top, nullptr, nullptr, nullptr);
    HWND inner = CreateWindowExW(0, L"STATIC", L"Play", WS_CHILD, 0, 0, 5, 5, middle, nullptr, nullptr, nullptr);

    EXPECT_EQ(middle, FindChildWindow(top, L"Play", L"", 0));
    EXPECT_EQ(inner, FindChildWindow(top, L"Play", L"Static", 0));
    EXPECT_EQ(nullptr, FindChildWindow(top, L"play", L"", 0)) << "case-sensitive";
    EXPECT_EQ(middle, FindChildWindow(top, L"", L"", GetCurrentProcessId()));
    EXPECT_EQ(nullptr, FindChildWindow(top, L"", L"", GetCurrentProcessId() + 1));
    EXPECT_EQ(nullptr, FindFlashWindow(top));
    EXPECT_EQ(nullptr, FindChildWindow(nullptr, L"", L"Static", 0)) << "no parent: no search of the desktop";
    DestroyWindow(top);
}

}  // namespace
