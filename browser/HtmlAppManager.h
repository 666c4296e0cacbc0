// The HTML thread's application object and its request queue.
//
// The game page lives on a thread of its own. CHtmlAppManager runs that
// thread's message loop and a queue through which other threads ask for
// work on a view's browser: create the view's window, navigate, reload, set
// Silent, zoom. A request is appended under a lock and announced with one thread
// message WM_HTMLREQUEST; each message runs the oldest request. The lock is
// never held while a request runs, so a running request may post more.
//
// A navigation, Silent or zoom request for a view whose window is still to come
// waits beside the queue and goes to its end once the view's browser has
// been made; requests that find no browser for a view that has a window are
// dropped (its browser could not be made). Requests posted before the
// thread serves are announced when it starts; after it has quit they are
// dropped, as are those still queued when the manager goes.
#pragma once

#include "ui/AppManager.h"
#include "base/Scoped.h"

#include <windows.h>

#include <cstddef>
#include <list>
#include <mutex>

class CMyHtml;

// The thread message that announces one request (wParam and lParam 0).
constexpr UINT WM_HTMLREQUEST = 8913;

// Request kinds.
constexpr int kHtmlRequestCreate = 1001;
constexpr int kHtmlRequestNavigate = 1003;
constexpr int kHtmlRequestRefresh = 1004;
constexpr int kHtmlRequestSetSilent = 1005;
// The zoom in percent for the view's current document.
constexpr int kHtmlRequestZoom = 1006;

struct HtmlRequest {
    HWND window = nullptr;  // create: the parent; otherwise the view's own window
    int kind = 0;
    INT_PTR arg = 0;        // create: width; navigate: the view's URL buffer; set Silent: the value; zoom: percent
    CMyHtml* view = nullptr;
    int arg2 = 0;           // create: height; navigate: navigation flags
    int x = 0;              // create: left
    int y = 0;              // create: top
};

class CHtmlAppManager : public CAppManager {
public:
    CHtmlAppManager();
    ~CHtmlAppManager() override;

    // Serves requests until WM_QUIT, then destroys the windows of views
    // still alive, on this thread while it is still in OLE. Returns false,
    // so Run does not loop a second time.
    bool InitInstance() override;
    // Runs one request for each WM_HTMLREQUEST.
    bool PreTranslateMessage(MSG* msg) override;

    void PostHtmlRequest(const HtmlRequest& request);
    void RunHtmlRequest(const HtmlRequest& request);

    // True on the thread that registered this manager.
    bool OnHtmlThread() const;
    // Waits until the thread serves requests (true) or thread has ended.
    bool WaitUntilServing(HANDLE thread) const;
    // Asks the thread to leave its loop, unless it has already.
    void Quit();

    // Puts the requests that waited for view's browser back in the queue.
    void ResumeWaiting(CMyHtml* view);
    // Drops every request for view (the object is going).
    void Forget(CMyHtml* view);

    size_t PendingRequests() const;

private:
    void CloseViews();

    mutable std::mutex requestLock_;
    std::list<HtmlRequest> requests_;
    std::list<HtmlRequest> waiting_;
    DWORD servingThread_ = 0;  // set while the loop serves
    bool closed_ = false;      // the loop has ended
    ScopedKernelHandle serving_;
};

// The process-wide HTML manager, null when there is none.
CHtmlAppManager* HtmlAppManager();
void SetHtmlAppManager(CHtmlAppManager* manager);
