// Ownership of the HTML thread: the application starts it before the game
// frame exists and stops it after the frame's window has gone.
//
// Start returns only when the thread serves requests, so the frame's first
// request finds it ready. Stop asks the thread to quit (the frame may have
// done so already) and joins it; meanwhile it answers messages that the
// thread's windows send to this thread, because the HTML thread's views
// are children of this thread's windows. The manager outlives the thread
// and goes only with DestroyManager, after the views that used it.
//
// A page can keep the thread from ever leaving its loop: a script that
// never yields runs on it for good (the browser's own offer to stop the
// script is silenced). So the client waits a bounded time; a thread that
// outlasts it is given up, and nothing it may still use is destroyed.
#pragma once

#include "browser/HtmlAppManager.h"
#include "base/Scoped.h"

#include <memory>

// How long the closing client waits for the HTML thread to end.
constexpr DWORD kHtmlThreadStopMs = 3000;

class CHtmlThread {
public:
    CHtmlThread() = default;
    ~CHtmlThread();
    CHtmlThread(const CHtmlThread&) = delete;
    CHtmlThread& operator=(const CHtmlThread&) = delete;

    // Makes manager the process-wide HTML manager and runs it on a new
    // thread in OLE. False when the thread could not start or ended early.
    bool Start(std::unique_ptr<CHtmlAppManager> manager = std::make_unique<CHtmlAppManager>());
    // Posts WM_QUIT to the thread and waits until it has ended, at most
    // waitMs. True once it has ended, or when it never ran. A thread that
    // outlasts a bounded wait is given up: later calls wait no more, they
    // only look whether it has ended meanwhile.
    bool Stop(DWORD waitMs = INFINITE);
    // Stops the thread if need be, then destroys the manager. A thread
    // given up on keeps its manager: it may still be using it.
    void DestroyManager();

    CHtmlAppManager* Manager() const { return manager_.get(); }
    bool Running() const;

private:
    std::unique_ptr<CHtmlAppManager> manager_;
    ScopedKernelHandle thread_;
    bool givenUp_ = false;
};
