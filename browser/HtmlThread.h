// Ownership of the HTML thread: the application starts it before the game
// frame exists and stops it after the frame's window has gone.
//
// Start returns only when the thread serves requests, so the frame's first
// request finds it ready. Stop asks the thread to quit (the frame may have
// done so already) and joins it; meanwhile it answers messages that the
// thread's windows send to this thread, because the HTML thread's views
// are children of this thread's windows. The manager outlives the thread
// and goes only with DestroyManager, after the views that used it.
#pragma once

#include "browser/HtmlAppManager.h"
#include "ui/Scoped.h"

#include <memory>

class CHtmlThread {
public:
    CHtmlThread() = default;
    ~CHtmlThread();
    CHtmlThread(const CHtmlThread&) = delete;
    CHtmlThread& operator=(const CHtmlThread&) = delete;

    // Makes manager the process-wide HTML manager and runs it on a new
    // thread in OLE. False when the thread could not start or ended early.
    bool Start(std::unique_ptr<CHtmlAppManager> manager = std::make_unique<CHtmlAppManager>());
    // Posts WM_QUIT to the thread and waits until it has ended. Does
    // nothing when it is not running.
    void Stop();
    // Stops the thread if need be, then destroys the manager.
    void DestroyManager();

    CHtmlAppManager* Manager() const { return manager_.get(); }
    bool Running() const { return thread_.IsValid(); }

private:
    std::unique_ptr<CHtmlAppManager> manager_;
    ScopedKernelHandle thread_;
};
