#include "browser/HtmlThread.h"

#include <utility>

namespace {

DWORD WINAPI HtmlThreadMain(void* param) {
    auto* manager = static_cast<CHtmlAppManager*>(param);
    OleSession ole;
    if (ole.Result() == S_OK) {
        try {
            manager->Run();
        } catch (...) {
            // The thread ends; requests stay queued until the manager goes.
        }
    }
    return 0;
}

// Waits for handle to be signalled. Messages sent to this thread meanwhile
// are answered: the thread being waited for may be destroying child windows
// of this thread's windows, which sends to their parents.
void WaitAnsweringSentMessages(HANDLE handle) {
    for (;;) {
        const DWORD woken = MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_SENDMESSAGE);
        if (woken != WAIT_OBJECT_0 + 1) return;
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

}  // namespace

CHtmlThread::~CHtmlThread() { DestroyManager(); }

bool CHtmlThread::Start(std::unique_ptr<CHtmlAppManager> manager) {
    if (manager_ || !manager) return false;
    manager_ = std::move(manager);
    SetHtmlAppManager(manager_.get());
    thread_.Reset(CreateThread(nullptr, 0, HtmlThreadMain, manager_.get(), 0, nullptr));
    if (!thread_) return false;
    return manager_->WaitUntilServing(thread_.Get());
}

void CHtmlThread::Stop() {
    if (!thread_) return;
    manager_->Quit();
    WaitAnsweringSentMessages(thread_.Get());
    thread_.Reset();
}

void CHtmlThread::DestroyManager() {
    Stop();
    if (manager_ && HtmlAppManager() == manager_.get()) SetHtmlAppManager(nullptr);
    manager_.reset();
}
