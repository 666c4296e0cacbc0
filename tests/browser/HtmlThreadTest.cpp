// The HTML thread as the client runs it: a view created and commanded from
// this thread through the request queue, the browser's events on the HTML
// thread, and a start and a stop that lose no request and leave nothing
// behind. The fake control serves pages; one test drives the real control.
#include "browser/HtmlThread.h"

#include "browser/MyHtml.h"
#include "tests/support/FakeWebBrowser.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

bool ThreadHasEnded(DWORD threadId) {
    HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, threadId);
    if (!thread) return true;
    const bool ended = WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
    CloseHandle(thread);
    return ended;
}

// What the handlers saw, written on the HTML thread and read here.
class EventLog {
public:
    void Add(std::wstring entry) {
        std::lock_guard<std::mutex> lock(lock_);
        entries_.push_back(std::move(entry));
        threads_.push_back(GetCurrentThreadId());
    }
    std::vector<std::wstring> Entries() const {
        std::lock_guard<std::mutex> lock(lock_);
        return entries_;
    }
    std::vector<DWORD> Threads() const {
        std::lock_guard<std::mutex> lock(lock_);
        return threads_;
    }
    bool WaitFor(const std::wstring& entry, DWORD ms = 5000) const {
        return PumpUntil(
            [&] {
                for (const std::wstring& e : Entries()) {
                    if (e == entry) return true;
                }
                return false;
            },
            ms);
    }

private:
    mutable std::mutex lock_;
    std::vector<std::wstring> entries_;
    std::vector<DWORD> threads_;
};

std::wstring Text(BSTR text) { return text ? std::wstring(text) : std::wstring(L"(none)"); }

class HtmlThreadWithFake : public ::testing::Test {
protected:
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr,
                                  nullptr, nullptr);
    CHtmlThread thread;
    CMyHtml view;  // destroyed before the thread object, after Stop
    EventLog log;
    DWORD htmlThreadId = 0;

    void SetUp() override { FakeWeb::Reset(); }

    void StartThread() {
        ASSERT_TRUE(thread.Start(std::make_unique<FakeBrowserThreadManager<CHtmlAppManager>>()));
        htmlThreadId = thread.Manager()->ThreadId();
        EXPECT_NE(GetCurrentThreadId(), htmlThreadId);
    }

    // As the game frame does: create the view, then install handlers.
    void CreateView() {
        EXPECT_EQ(nullptr, view.Create(0, nullptr, L"", WS_CHILD | WS_VISIBLE, 0, 0, 640, 480, parent));
        view.browser.SetNavigateCompleteHandler([this](const wchar_t* url) { log.Add(L"nav " + std::wstring(url)); });
    }

    void StopAndCheckNothingIsLeft() {
        thread.Stop();
        EXPECT_TRUE(ThreadHasEnded(htmlThreadId));
        EXPECT_EQ(nullptr, view.Hwnd());
        EXPECT_EQ(0, FakeWeb::LiveObjects());
        EXPECT_EQ(0, FakeWeb::LiveWindows());
        EXPECT_EQ(0, view.browser.RefCount());
    }

    void TearDown() override {
        thread.Stop();
        DestroyWindow(parent);
    }
};

TEST_F(HtmlThreadWithFake, EventsReachTheHandlersOnTheHtmlThread) {
    FakePage login;
    login.title = L"Server list";
    login.elements[L"login_user"].innerText = L"player1";
    login.popups = {L"http://127.0.0.1/ad"};
    FakeWeb::SetPage(L"http://127.0.0.1/xf.html?act=gamelogin&server_id=123&x=1", login);
    StartThread();

    ASSERT_EQ(nullptr, view.Create(0, nullptr, L"", WS_CHILD | WS_VISIBLE, 0, 0, 640, 480, parent));
    view.browser.SetNavigateCompleteHandler([this](const wchar_t* url) { log.Add(L"nav " + std::wstring(url)); });
    view.browser.SetNewWindowHandler([this](IDispatch**, VARIANT_BOOL* cancel, DWORD, const wchar_t*, const wchar_t* url) {
        log.Add(L"new " + std::wstring(url));
        *cancel = VARIANT_TRUE;
    });
    // Reads the page as the login tracking does: title and an element.
    view.browser.SetDocumentCompleteHandler([this](IDispatch*, const wchar_t* url) {
        ComPtr<IHTMLDocument2> document = view.browser.GetDocument2();
        ComPtr<IHTMLDocument3> document3 = view.browser.GetDocument3();
        BSTR title = nullptr;
        if (document) document->get_title(&title);
        ComPtr<IHTMLElement> element;
        ScopedBstr id(SysAllocString(L"login_user"));
        if (document3) document3->getElementById(id.Get(), element.Receive());
        BSTR user = nullptr;
        if (element) element->get_innerText(&user);
        log.Add(L"doc " + std::wstring(url) + L" title=" + Text(title) + L" user=" + Text(user));
        SysFreeString(title);
        SysFreeString(user);
    });
    view.Navigate(L"http://127.0.0.1/xf.html?act=gamelogin&server_id=123&x=1", 2);
    view.SetSilent(1);

    ASSERT_TRUE(log.WaitFor(L"new http://127.0.0.1/ad"));
    const std::vector<std::wstring> expected = {
        L"nav http://127.0.0.1/xf.html?act=gamelogin&server_id=123&x=1",
        L"doc http://127.0.0.1/xf.html?act=gamelogin&server_id=123&x=1 title=Server list user=player1",
        L"new http://127.0.0.1/ad",
    };
    EXPECT_EQ(expected, log.Entries());
    for (DWORD id : log.Threads()) EXPECT_EQ(htmlThreadId, id);
    EXPECT_EQ(htmlThreadId, FakeWeb::ControlThread());
    EXPECT_TRUE(FakeWeb::OpenedWindows().empty()) << "the pop-up was cancelled";
    EXPECT_TRUE(PumpUntil([] { return FakeWeb::SilentValue() == VARIANT_TRUE; }, 2000));
    StopAndCheckNothingIsLeft();
}

TEST_F(HtmlThreadWithFake, RequestsPostedBeforeTheThreadRunsAreNotLost) {
    auto manager = std::make_unique<FakeBrowserThreadManager<CHtmlAppManager>>();
    SetHtmlAppManager(manager.get());
    view.Navigate(L"http://127.0.0.1/early", 2);
    CreateView();
    EXPECT_EQ(2u, manager->PendingRequests());
    ASSERT_TRUE(thread.Start(std::move(manager)));
    htmlThreadId = thread.Manager()->ThreadId();

    ASSERT_TRUE(log.WaitFor(L"nav http://127.0.0.1/early"));
    EXPECT_EQ(std::vector<std::wstring>{L"http://127.0.0.1/early"}, FakeWeb::Navigations());
    StopAndCheckNothingIsLeft();
}

TEST_F(HtmlThreadWithFake, ANavigationBeforeTheViewExistsRunsOnceTheBrowserDoes) {
    StartThread();
    view.Navigate(L"http://127.0.0.1/landing", 2);
    view.Refresh();
    view.SetSilent(1);
    PumpMessages(50);
    EXPECT_TRUE(FakeWeb::Navigations().empty());
    CreateView();

    ASSERT_TRUE(log.WaitFor(L"nav http://127.0.0.1/landing"));
    EXPECT_EQ(std::vector<std::wstring>{L"http://127.0.0.1/landing"}, FakeWeb::Navigations());
    EXPECT_TRUE(PumpUntil([] { return FakeWeb::SilentValue() == VARIANT_TRUE; }, 2000));
    EXPECT_EQ(0, FakeWeb::Refreshes()) << "a refresh without a browser is dropped";
    EXPECT_EQ(0u, thread.Manager()->PendingRequests());

    view.Refresh();
    EXPECT_TRUE(PumpUntil([] { return FakeWeb::Refreshes() == 1; }, 2000));
    StopAndCheckNothingIsLeft();
}

TEST_F(HtmlThreadWithFake, TwoQuickNavigationsBothLoadTheLaterUrl) {
    StartThread();
    view.Navigate(L"http://127.0.0.1/first", 2);
    view.Navigate(L"http://127.0.0.1/second", 2);
    CreateView();
    ASSERT_TRUE(PumpUntil([] { return FakeWeb::Navigations().size() == 2; }, 5000));
    const std::vector<std::wstring> expected(2, L"http://127.0.0.1/second");
    EXPECT_EQ(expected, FakeWeb::Navigations());
    StopAndCheckNothingIsLeft();
}

TEST_F(HtmlThreadWithFake, ALongUrlIsCutTo2047Units) {
    StartThread();
    CreateView();
    std::wstring url = L"http://127.0.0.1/" + std::wstring(3000, L'a');
    view.Navigate(url.c_str(), 2);
    ASSERT_TRUE(PumpUntil([] { return FakeWeb::Navigations().size() == 1; }, 5000));
    EXPECT_EQ(url.substr(0, 2047), FakeWeb::Navigations()[0]);
    StopAndCheckNothingIsLeft();
}

TEST_F(HtmlThreadWithFake, AViewWhoseBrowserFailedDropsItsRequests) {
    FakeWeb::SetFault(FakeBrowserFault::Activate);
    StartThread();
    CreateView();
    view.Navigate(L"http://127.0.0.1/never", 2);
    view.SetSilent(1);
    ASSERT_TRUE(PumpUntil([this] { return thread.Manager()->PendingRequests() == 0; }, 5000))
        << "requests for a browser that will never exist must not circle";
    EXPECT_TRUE(FakeWeb::Navigations().empty());
    StopAndCheckNothingIsLeft();
}

TEST_F(HtmlThreadWithFake, RequestsLeftAtShutDownAreDropped) {
    StartThread();
    view.Navigate(L"http://127.0.0.1/waiting", 2);
    ASSERT_TRUE(PumpUntil([this] { return thread.Manager()->PendingRequests() == 1; }, 2000));
    StopAndCheckNothingIsLeft();

    view.Navigate(L"http://127.0.0.1/late", 2);
    CreateView();
    EXPECT_EQ(1u, thread.Manager()->PendingRequests()) << "nothing is queued after the thread has quit";
    thread.Stop();
    thread.DestroyManager();
    EXPECT_EQ(nullptr, HtmlAppManager());
}

TEST_F(HtmlThreadWithFake, QuittingWhileRequestsArriveLeavesNothingBehind) {
    StartThread();
    CreateView();
    ASSERT_TRUE(PumpUntil([] { return FakeWeb::LiveWindows() == 3; }, 5000));
    std::atomic<bool> stop{false};
    std::thread sender([&] {
        for (int i = 0; !stop && i < 2000; ++i) {
            view.Navigate(L"http://127.0.0.1/busy", 2);
            view.Refresh();
        }
    });
    PumpMessages(30);
    thread.Stop();
    stop = true;
    sender.join();
    StopAndCheckNothingIsLeft();
}

TEST_F(HtmlThreadWithFake, StoppingTwiceOrAfterTheFramesQuitIsHarmless) {
    StartThread();
    CreateView();
    ASSERT_TRUE(PumpUntil([] { return FakeWeb::LiveWindows() == 3; }, 5000));
    // The game frame stops the thread this way when its window goes.
    PostThreadMessageW(htmlThreadId, WM_QUIT, 0, 0);
    StopAndCheckNothingIsLeft();
    thread.Stop();
    EXPECT_FALSE(thread.Running());
}

TEST(HtmlThread, ANeverStartedThreadStopsQuietly) {
    CHtmlThread thread;
    thread.Stop();
    thread.DestroyManager();
    EXPECT_EQ(nullptr, thread.Manager());
}

// The system's control under Wine renders nothing, but it really sends the
// request for a navigation.
TEST(HtmlThreadRealControl, NavigationReachesTheServerWithTheExactUrl) {
    LoopbackHttpServer server;
    ASSERT_TRUE(server.Listening());
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr,
                                  nullptr, nullptr);
    CHtmlThread thread;
    {
        CMyHtml view;
        ASSERT_TRUE(thread.Start());
        view.Create(0, nullptr, L"", WS_CHILD | WS_VISIBLE, 0, 0, 640, 480, parent);
        const std::string path = "/landing.html?installtime=1700000000&agent_id=7&runcount=1&mac=00-11-22";
        const std::string origin = server.Origin();
        const std::wstring url(origin.begin(), origin.end());
        view.Navigate((url + std::wstring(path.begin(), path.end())).c_str(), 2);
        view.SetSilent(1);

        EXPECT_TRUE(PumpUntil([&] { return !server.Requests().empty(); }, 20000));
        const auto requests = server.Requests();
        ASSERT_FALSE(requests.empty());
        EXPECT_EQ("GET", requests[0].method);
        EXPECT_EQ(path, requests[0].target);
        EXPECT_EQ(origin.substr(7), requests[0].Header("Host"));
        thread.Stop();
        EXPECT_EQ(nullptr, view.Hwnd());
    }
    thread.DestroyManager();
    DestroyWindow(parent);
}

}  // namespace
