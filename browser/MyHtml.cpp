#include "browser/MyHtml.h"

#include "browser/HtmlAppManager.h"
#include "base/TextBuf.h"

#include <windowsx.h>

#include <cstdlib>
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

WPARAM GameKeyCommand(WPARAM virtualKey) {
    switch (virtualKey) {
    case VK_ESCAPE:
        return kFrameCommandLeaveFullScreen;
    case VK_F10:
        return kFrameCommandToggleFullScreen;
    case VK_F8:
        return kFrameCommandToggleSound;
    case VK_F9:
        return kFrameCommandScreenshot;
    default:
        return 0;
    }
}

bool IsZoomStep(int percent) {
    for (int step : kZoomSteps) {
        if (step == percent) return true;
    }
    return false;
}

int NextZoomStep(int percent, int direction) {
    constexpr size_t kCount = sizeof(kZoomSteps) / sizeof(kZoomSteps[0]);
    size_t nearest = 0;
    for (size_t i = 1; i < kCount; ++i) {
        if (std::abs(kZoomSteps[i] - percent) < std::abs(kZoomSteps[nearest] - percent)) nearest = i;
    }
    if (kZoomSteps[nearest] != percent) return kZoomSteps[nearest];
    if (direction > 0 && nearest + 1 < kCount) return kZoomSteps[nearest + 1];
    if (direction < 0 && nearest > 0) return kZoomSteps[nearest - 1];
    return percent;
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
        if (msg->wParam == VK_TAB) {
            if (HWND flash = FindFlashWindow(Hwnd())) SetFocus(flash);
        } else if (const WPARAM command = GameKeyCommand(msg->wParam)) {
            PostMessageW(GetParent(Hwnd()), kFrameCommandMessage, command, 0);
        }
    }
    if (TakeZoomInput(*msg)) return true;
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

void CMyHtml::SetSilent(int value) {
    if (PostedToHtmlThread(kHtmlRequestSetSilent, value)) return;
    if (IWebBrowser2* webBrowser = browser.WebBrowser()) webBrowser->put_Silent(value ? VARIANT_TRUE : VARIANT_FALSE);
}

void CMyHtml::SetZoom(int percent) {
    if (!IsZoomStep(percent)) return;
    zoom_ = percent;
    SendZoom();
}

void CMyHtml::SetDpiZoom(int percent) {
    if (percent <= 0) return;
    dpiZoom_ = percent;
    SendZoom();
}

int CMyHtml::EffectiveZoom() const { return MulDiv(dpiZoom_.load(), zoom_.load(), kDefaultZoom); }

void CMyHtml::SendZoom() {
    const int percent = EffectiveZoom();
    if (!PostedToHtmlThread(kHtmlRequestZoom, percent)) ExecZoom(percent);
}

void CMyHtml::ZoomBy(int steps) {
    int percent = zoom_;
    for (int i = 0; i < std::abs(steps); ++i) percent = NextZoomStep(percent, steps);
    SetZoom(percent);
}

// A new document is at 100 % already.
void CMyHtml::ApplyZoom() {
    if (zoom_ != kDefaultZoom || dpiZoom_ != kDefaultZoom) ExecZoom(EffectiveZoom());
}

void CMyHtml::ExecZoom(int percent) {
    IWebBrowser2* webBrowser = browser.WebBrowser();
    if (!webBrowser) return;
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_I4;
    value.lVal = percent;
    webBrowser->ExecWB(OLECMDID_OPTICAL_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, &value, nullptr);
}

bool CMyHtml::TakeZoomInput(const MSG& msg) {
    if (msg.message == WM_MOUSEWHEEL) {
        RECT view{};
        const POINT cursor{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
        if (!(GET_KEYSTATE_WPARAM(msg.wParam) & MK_CONTROL) || !Hwnd() || !GetWindowRect(Hwnd(), &view) ||
            !PtInRect(&view, cursor)) {
            return false;
        }
        const int turned = wheelRest_.exchange(0) + GET_WHEEL_DELTA_WPARAM(msg.wParam);
        const int notches = turned / WHEEL_DELTA;
        wheelRest_ = turned - notches * WHEEL_DELTA;
        if (notches) ZoomBy(notches);
        return true;
    }
    // A window without the keyboard focus gets its keys as system keys.
    if ((msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) || !(GetKeyState(VK_CONTROL) & 0x8000)) {
        return false;
    }
    switch (msg.wParam) {
    case VK_OEM_PLUS:
    case VK_ADD:
        ZoomBy(1);
        return true;
    case VK_OEM_MINUS:
    case VK_SUBTRACT:
        ZoomBy(-1);
        return true;
    case '0':
    case VK_NUMPAD0:
        SetZoom(kDefaultZoom);
        return true;
    default:
        return false;
    }
}
