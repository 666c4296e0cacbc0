#include "browser/HtmlThread.h"

#include "ui/ScopedCom.h"

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

bool HasEnded(HANDLE thread) { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }

// Waits at most ms for handle to be signalled; true when it was. Messages
// sent to this thread meanwhile are answered: the thread being waited for
// may be destroying child windows of this thread's windows, which sends to
// their parents.
bool WaitAnsweringSentMessages(HANDLE handle, DWORD ms) {
    const ULONGLONG deadline = GetTickCount64() + ms;
    for (;;) {
        DWORD left = INFINITE;
        if (ms != INFINITE) {
            const ULONGLONG now = GetTickCount64();
            left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
        }
        const DWORD woken = MsgWaitForMultipleObjects(1, &handle, FALSE, left, QS_SENDMESSAGE);
        if (woken == WAIT_OBJECT_0) return true;
        if (woken != WAIT_OBJECT_0 + 1) return false;
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

// The handle stays until the manager goes: a message answered during the
// wait may stop the thread again, and must find the same handle.
bool CHtmlThread::Stop(DWORD waitMs) {
    if (!thread_ || HasEnded(thread_.Get())) return true;
    if (givenUp_) return false;
    manager_->Quit();
    givenUp_ = !WaitAnsweringSentMessages(thread_.Get(), waitMs);
    return !givenUp_;
}

bool CHtmlThread::Running() const { return thread_ && !HasEnded(thread_.Get()); }

void CHtmlThread::DestroyManager() {
    if (!Stop()) {
        // Left to the process's end, never freed under the thread.
        static_cast<void>(manager_.release());
        return;
    }
    thread_.Reset();
    if (manager_ && HtmlAppManager() == manager_.get()) SetHtmlAppManager(nullptr);
    manager_.reset();
}
