#include "ui/AppManager.h"

#include "tests/support/TestWindows.h"
#include "ui/WindowCtrl.h"

#include <gtest/gtest.h>

#include <future>
#include <string>
#include <thread>
#include <vector>

namespace {

using Log = std::vector<std::string>;

// A control or manager that notes pre-translation calls and may consume them.
template <typename Base>
class Filtering : public Base {
public:
    Filtering(Log& log, std::string name) : log_(log), name_(std::move(name)) {}
    bool consume = false;
    bool PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_APP) log_.push_back(name_);
        return msg->message == WM_APP && consume;
    }

private:
    Log& log_;
    std::string name_;
};

using FilteringControl = Filtering<CWindowCtrl>;
using FilteringManager = Filtering<CAppManager>;

TEST(AppManager, OneManagerPerThread) {
    CAppManager first, second;
    ManagerScope scope(first);
    ASSERT_TRUE(scope.Registered());
    EXPECT_FALSE(RegisterManager(&second));
    EXPECT_EQ(&first, FindManager(GetCurrentThreadId()));
    EXPECT_EQ(GetCurrentThreadId(), first.ThreadId());
}

TEST(AppManager, SingleManagerFastPathOnlyWhileAloneFromTheStart) {
    auto seenFromOtherThread = [] { return std::async(std::launch::async, [] { return CurrentManager(); }).get(); };
    CAppManager main;
    {
        ManagerScope scope(main);
        // Alone: a thread without a manager is served by the only one.
        EXPECT_EQ(&main, seenFromOtherThread());

        CAppManager other;
        std::promise<void> registered, finish;
        std::thread worker([&] {
            ManagerScope workerScope(other);
            registered.set_value();
            finish.get_future().wait();
        });
        registered.get_future().wait();
        EXPECT_EQ(nullptr, seenFromOtherThread());
        EXPECT_EQ(&main, CurrentManager());
        finish.set_value();
        worker.join();
        // Back to one manager, but not registered into an empty table.
        EXPECT_EQ(nullptr, seenFromOtherThread());
        EXPECT_EQ(&main, CurrentManager());
    }
    EXPECT_EQ(nullptr, CurrentManager());
}

TEST(AppManager, MessageLoopRefusedOffItsThreadAndWhileRunning) {
    CAppManager manager;
    EXPECT_FALSE(manager.MessageLoop());  // not registered
    ManagerScope scope(manager);
    EXPECT_FALSE(std::async(std::launch::async, [&] { return manager.MessageLoop(); }).get());

    CWindowCtrl window;
    HWND hwnd = window.Create(0, nullptr, L"", WS_POPUP, 0, 0, 10, 10, nullptr);
    bool nested = true;
    class Nesting : public CWindowCtrl {
    public:
        bool* nested = nullptr;
        void OnTimer(UINT_PTR) override {
            KillTimer(Hwnd(), 1);
            *nested = Manager()->MessageLoop();
            PostQuitMessage(0);
        }
    } nesting;
    nesting.nested = &nested;
    nesting.Create(0, nullptr, L"", WS_POPUP, 0, 0, 10, 10, nullptr);
    SetTimer(nesting.Hwnd(), 1, 1, nullptr);
    EXPECT_TRUE(manager.MessageLoop());
    EXPECT_FALSE(nested);
    EXPECT_FALSE(manager.LoopRunning());
    DestroyWindow(hwnd);
    DestroyWindow(nesting.Hwnd());
}

TEST(AppManager, PreTranslationWalksAncestorsThenManagerThenChain) {
    Log log;
    FilteringManager manager(log, "manager");
    FilteringManager chained(log, "chained");
    manager.nextFilter = &chained;
    ManagerScope scope(manager);

    FilteringControl top(log, "top"), leaf(log, "leaf");
    HWND topWindow = top.Create(0, nullptr, L"", WS_POPUP, 0, 0, 100, 100, nullptr);
    // An unregistered window between the two is skipped by the walk.
    HWND middle = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 50, 50, topWindow, nullptr,
                                  nullptr, nullptr);
    HWND leafWindow = leaf.Create(0, nullptr, L"", WS_CHILD, 0, 0, 10, 10, middle);
    ASSERT_NE(nullptr, leafWindow);

    PostMessageW(leafWindow, WM_APP, 0, 0);
    PostQuitMessage(0);
    EXPECT_TRUE(manager.MessageLoop());
    EXPECT_EQ((Log{"leaf", "top", "manager", "chained"}), log);

    log.clear();
    top.consume = true;
    PostMessageW(leafWindow, WM_APP, 0, 0);
    PostQuitMessage(0);
    manager.MessageLoop();
    EXPECT_EQ((Log{"leaf", "top"}), log);

    DestroyWindow(topWindow);
}

// Runs Run on a thread of its own and says whether it came back in time.
template <typename Manager>
bool RunReturnsWithin(Manager& manager, DWORD ms) {
    std::thread runner([&] { manager.Run(); });
    auto done = std::async(std::launch::async, [&] { runner.join(); });
    bool returned = done.wait_for(std::chrono::milliseconds(ms)) == std::future_status::ready;
    if (!returned) {
        PostThreadMessageW(manager.ThreadId(), WM_QUIT, 0, 0);
        done.wait();
    }
    return returned;
}

TEST(AppManager, RunWithoutWindowEntersNoLoop) {
    class NoWindow : public CAppManager {
    public:
        bool initialised = false;
        bool InitInstance() override { return initialised = true; }
    } manager;
    EXPECT_TRUE(RunReturnsWithin(manager, 3000));
    EXPECT_TRUE(manager.initialised);
    EXPECT_EQ(nullptr, FindManager(manager.ThreadId()));
}

TEST(AppManager, RunLoopsWhileWindowsExistUntilQuit) {
    class WithWindow : public CAppManager {
    public:
        CWindowCtrl window;
        bool InitInstance() override {
            window.Create(0, nullptr, L"", WS_POPUP, 0, 0, 10, 10, nullptr);
            PostQuitMessage(0);
            return true;
        }
    } manager;
    EXPECT_TRUE(RunReturnsWithin(manager, 3000));
    EXPECT_FALSE(manager.LoopRunning());
}

TEST(AppManager, RunIsRefusedWhenTheThreadHasAManager) {
    class Counting : public CAppManager {
    public:
        int inits = 0;
        bool InitInstance() override {
            ++inits;
            return false;
        }
    } first, second;
    ManagerScope scope(first);
    second.Run();
    EXPECT_EQ(0, second.inits);
    EXPECT_EQ(&first, FindManager(GetCurrentThreadId()));
}

}  // namespace
