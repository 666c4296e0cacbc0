#include "browser/MyHtml.h"

#include "browser/HtmlAppManager.h"
#include "base/TextBuf.h"

#include <cwchar>

namespace {

constexpr wchar_t kFlashWindowClass[] = L"MacromediaFlashPlayerActiveX";

// In login mode the browser reaches this far below the view, which clips it.
constexpr int kLoginExtraHeight = 4;

struct ChildSearch {
    const wchar_t* title;
    const wchar_t* className;
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchChild(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<ChildSearch*>(param);
    constexpr int kTextUnits = 256;
    // The title is read only when asked for: reading it from a window of
    // another thread waits for that thread.
    if (search->title && *search->title) {
        wchar_t title[kTextUnits] = {};
        GetWindowTextW(window, title, kTextUnits);
        if (wcscmp(title, search->title) != 0) return TRUE;
    }
    if (search->className && *search->className) {
        wchar_t className[kTextUnits] = {};
        GetClassNameW(window, className, kTextUnits);
        if (wcscmp(className, search->className) != 0) return TRUE;
    }
    if (search->processId) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        if (processId != search->processId) return TRUE;
    }
    search->found = window;
    return FALSE;
}

}  // namespace

HWND FindChildWindow(HWND parent, const wchar_t* title, const wchar_t* className, DWORD processId) {
    // Without a parent EnumChildWindows would walk every top-level window.
    if (!parent) return nullptr;
    ChildSearch search{title, className, processId, nullptr};
    EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindFlashWindow(HWND parent) { return FindChildWindow(parent, L"", kFlashWindowClass, 0); }

CMyHtml::CMyHtml() { wmemset(urlBuffer_, L'\0', kUrlUnits); }

CMyHtml::~CMyHtml() {
    if (CHtmlAppManager* manager = HtmlAppManager()) manager->Forget(this);
}

HWND CMyHtml::Create(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style, int x, int y,
                     int cx, int cy, HWND parent) {
    CHtmlAppManager* manager = HtmlAppManager();
    if (!manager || manager->OnHtmlThread()) {
        return CWindowCtrl::Create(exStyle, className, windowName, style, x, y, cx, cy, parent);
    }
    HtmlRequest request;
    request.window = parent;
    request.kind = kHtmlRequestCreate;
    request.arg = cx;
    request.arg2 = cy;
    request.x = x;
    request.y = y;
    request.view = this;
    manager->PostHtmlRequest(request);
    return nullptr;
}

bool CMyHtml::PreTranslateMessage(MSG* msg) {
    if (gameMode == 1 && (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN)) {
        switch (msg->wParam) {
        case VK_TAB:
            if (HWND flash = FindFlashWindow(Hwnd())) SetFocus(flash);
            break;
        case VK_ESCAPE:
            PostMessageW(GetParent(Hwnd()), kFrameCommandMessage, kFrameCommandLeaveFullScreen, 0);
            break;
        case VK_F10:
            PostMessageW(GetParent(Hwnd()), kFrameCommandMessage, kFrameCommandToggleFullScreen, 0);
            break;
        default:
            break;
        }
    }
    // The game keys are not consumed here: the page sees them too.
    return browser.TranslateKey(msg) == S_OK;
}

void CMyHtml::OnCreate(CREATESTRUCTW*) {
    browser.CreateBrowser(Hwnd());
    if (CHtmlAppManager* manager = HtmlAppManager()) manager->ResumeWaiting(this);
}

// The control is given back here, on the HTML thread while it is still in
// OLE; the view object itself is destroyed later, on another thread.
void CMyHtml::OnDestroy() { browser.DestroyBrowser(); }

void CMyHtml::OnSize(UINT, int, int) {
    RECT view{};
    if (Hwnd()) GetClientRect(Hwnd(), &view);
    HWND browserWindow = browser.GetBrowserWindow();
    if (!browserWindow) return;
    const int width = view.right - view.left;
    const int height = view.bottom - view.top;
    MoveWindow(browserWindow, view.left, view.top, width, height + (gameMode ? 0 : kLoginExtraHeight), TRUE);
    // The Flash player always fills the whole view, whatever the page's
    // own layout says.
    if (HWND flash = FindFlashWindow(browserWindow)) MoveWindow(flash, view.left, view.top, width, height, TRUE);
}

void CMyHtml::Navigate(const wchar_t* url, int flags) {
    if (!url) return;
    CHtmlAppManager* manager = HtmlAppManager();
    if (!manager || manager->OnHtmlThread()) {
        browser.Navigate(url, flags);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(urlLock_);
        CopyText(urlBuffer_, url);
    }
    HtmlRequest request;
    request.window = Hwnd();
    request.kind = kHtmlRequestNavigate;
    request.arg = reinterpret_cast<INT_PTR>(urlBuffer_);
    request.arg2 = flags;
    request.view = this;
    manager->PostHtmlRequest(request);
}

void CMyHtml::NavigateToQueuedUrl(int flags) {
    wchar_t url[kUrlUnits];
    {
        std::lock_guard<std::mutex> lock(urlLock_);
        CopyText(url, urlBuffer_);
    }
    browser.Navigate(url, flags);
}

bool CMyHtml::PostedToHtmlThread(int kind, INT_PTR arg) {
    CHtmlAppManager* manager = HtmlAppManager();
    if (!manager || manager->OnHtmlThread()) return false;
    HtmlRequest request;
    request.window = Hwnd();
    request.kind = kind;
    request.arg = arg;
    request.view = this;
    manager->PostHtmlRequest(request);
    return true;
}

void CMyHtml::Refresh() {
    if (PostedToHtmlThread(kHtmlRequestRefresh, 0)) return;
    if (IWebBrowser2* webBrowser = browser.WebBrowser()) webBrowser->Refresh();
}

void CMyHtml::SetZoom(int percent) {
    if (PostedToHtmlThread(kHtmlRequestZoom, percent)) return;
    IWebBrowser2* webBrowser = browser.WebBrowser();
    if (!webBrowser) return;
    VARIANT zoom;
    VariantInit(&zoom);
    zoom.vt = VT_I4;
    zoom.lVal = percent;
    webBrowser->ExecWB(OLECMDID_OPTICAL_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, &zoom, nullptr);
}

void CMyHtml::SetSilent(int value) {
    if (PostedToHtmlThread(kHtmlRequestSetSilent, value)) return;
    if (IWebBrowser2* webBrowser = browser.WebBrowser()) webBrowser->put_Silent(value ? VARIANT_TRUE : VARIANT_FALSE);
}
