#include "browser/HtmlAppManager.h"

#include "browser/MyHtml.h"

#include <atomic>
#include <vector>

namespace {

std::atomic<CHtmlAppManager*> g_htmlManager{nullptr};

}  // namespace

CHtmlAppManager* HtmlAppManager() { return g_htmlManager.load(); }

void SetHtmlAppManager(CHtmlAppManager* manager) { g_htmlManager.store(manager); }

CHtmlAppManager::CHtmlAppManager() : serving_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

CHtmlAppManager::~CHtmlAppManager() = default;

bool CHtmlAppManager::InitInstance() {
    // The queue must exist before anyone is told that the thread serves.
    MSG msg;
    PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    size_t unannounced = 0;
    {
        std::lock_guard<std::mutex> lock(requestLock_);
        servingThread_ = GetCurrentThreadId();
        unannounced = requests_.size();
    }
    for (size_t i = 0; i < unannounced; ++i) PostThreadMessageW(GetCurrentThreadId(), WM_HTMLREQUEST, 0, 0);
    if (serving_) SetEvent(serving_.Get());

    MessageLoop();

    {
        std::lock_guard<std::mutex> lock(requestLock_);
        servingThread_ = 0;
        closed_ = true;
    }
    // A second WM_QUIT (the frame's and the application's) must not end a
    // loop that a control runs while its window is destroyed.
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    CloseViews();
    return false;
}

bool CHtmlAppManager::PreTranslateMessage(MSG* msg) {
    if (msg->hwnd || msg->message != WM_HTMLREQUEST) return false;
    HtmlRequest request;
    bool taken = false;
    {
        std::lock_guard<std::mutex> lock(requestLock_);
        if (!requests_.empty()) {
            request = requests_.front();
            requests_.pop_front();
            taken = true;
        }
    }
    // The loop is no window procedure, but nothing may end it early either.
    try {
        if (taken && request.kind != 0) RunHtmlRequest(request);
    } catch (...) {
    }
    return true;
}

void CHtmlAppManager::PostHtmlRequest(const HtmlRequest& request) {
    DWORD target = 0;
    {
        std::lock_guard<std::mutex> lock(requestLock_);
        if (closed_) return;
        requests_.push_back(request);
        target = servingThread_;
    }
    // A failed post leaves the request for a later message.
    if (target) PostThreadMessageW(target, WM_HTMLREQUEST, 0, 0);
}

void CHtmlAppManager::RunHtmlRequest(const HtmlRequest& request) {
    CMyHtml* view = request.view;
    if (!view) return;
    const bool hasBrowser = view->browser.HostWindow() != nullptr;
    switch (request.kind) {
    case kHtmlRequestCreate:
        // The caller's class, name and style are not carried: a view is
        // always a visible child of the requested parent.
        if (!view->Hwnd()) {
            view->CWindowCtrl::Create(0, nullptr, L"", WS_CHILD | WS_VISIBLE, request.x, request.y,
                                      static_cast<int>(request.arg), request.arg2, request.window);
        }
        break;
    case kHtmlRequestNavigate:
    case kHtmlRequestSetSilent:
    case kHtmlRequestZoom:
        if (hasBrowser) {
            if (request.kind == kHtmlRequestNavigate) {
                view->NavigateToQueuedUrl(request.arg2);
            } else if (request.kind == kHtmlRequestSetSilent) {
                view->SetSilent(static_cast<int>(request.arg));
            } else {
                view->ExecZoom(static_cast<int>(request.arg));
            }
        } else if (!view->Hwnd()) {
            std::lock_guard<std::mutex> lock(requestLock_);
            waiting_.push_back(request);
        }
        break;
    case kHtmlRequestRefresh:
        if (hasBrowser) view->Refresh();
        break;
    default:
        break;
    }
}

bool CHtmlAppManager::OnHtmlThread() const { return ThreadId() != 0 && ThreadId() == GetCurrentThreadId(); }

bool CHtmlAppManager::WaitUntilServing(HANDLE thread) const {
    if (!serving_) return false;
    HANDLE handles[] = {serving_.Get(), thread};
    const DWORD count = thread ? 2 : 1;
    return WaitForMultipleObjects(count, handles, FALSE, INFINITE) == WAIT_OBJECT_0;
}

void CHtmlAppManager::Quit() {
    DWORD target = 0;
    {
        std::lock_guard<std::mutex> lock(requestLock_);
        target = servingThread_;
    }
    if (target) PostThreadMessageW(target, WM_QUIT, 0, 0);
}

void CHtmlAppManager::ResumeWaiting(CMyHtml* view) {
    size_t resumed = 0;
    DWORD target = 0;
    {
        std::lock_guard<std::mutex> lock(requestLock_);
        for (auto it = waiting_.begin(); it != waiting_.end();) {
            if (it->view == view) {
                if (!closed_) {
                    requests_.push_back(*it);
                    ++resumed;
                }
                it = waiting_.erase(it);
            } else {
                ++it;
            }
        }
        target = servingThread_;
    }
    if (!target) return;
    for (size_t i = 0; i < resumed; ++i) PostThreadMessageW(target, WM_HTMLREQUEST, 0, 0);
}

void CHtmlAppManager::Forget(CMyHtml* view) {
    std::lock_guard<std::mutex> lock(requestLock_);
    requests_.remove_if([view](const HtmlRequest& r) { return r.view == view; });
    waiting_.remove_if([view](const HtmlRequest& r) { return r.view == view; });
}

size_t CHtmlAppManager::PendingRequests() const {
    std::lock_guard<std::mutex> lock(requestLock_);
    return requests_.size() + waiting_.size();
}

// Views alive when the loop ends would otherwise keep their controls until
// after the thread has left OLE. Destroying a view gives its control back.
void CHtmlAppManager::CloseViews() {
    std::vector<HWND> windows;
    for (CWindowCtrl* control : Controls()) {
        if (control->Hwnd()) windows.push_back(control->Hwnd());
    }
    for (HWND window : windows) {
        if (IsWindow(window)) DestroyWindow(window);
    }
}
