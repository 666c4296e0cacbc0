#include "ui/WindowCtrl.h"

#include "ui/AppManager.h"
#include "ui/Dpi.h"
#include "base/TextBuf.h"

#include <windowsx.h>

namespace {

constexpr wchar_t kDefaultClassName[] = L"ImageWnd";

}  // namespace

CWindowCtrl::CWindowCtrl() { CopyText(className_, kDefaultClassName); }

// After WM_NCDESTROY the object may outlive its manager (an HTML view whose
// thread has ended): it must not reach back into it.
void CWindowCtrl::Disconnect() {
    hwnd_ = nullptr;
    manager_ = nullptr;
}

CWindowCtrl::~CWindowCtrl() {
    if (manager_) manager_->ForgetControl(this);
    HWND window = hwnd_;
    hwnd_ = nullptr;
    if (window && IsWindow(window)) PostMessageW(window, WM_CLOSE, 0, 0);
}

HWND CWindowCtrl::Create(DWORD exStyle, const wchar_t* className, const wchar_t* windowName,
                         DWORD style, const RECT& rect, HWND parent) {
    return Create(exStyle, className, windowName, style, rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top, parent);
}

HWND CWindowCtrl::Create(DWORD exStyle, const wchar_t* className, const wchar_t* windowName,
                         DWORD style, int x, int y, int cx, int cy, HWND parent) {
    CAppManager* manager = FindManager(GetCurrentThreadId());
    if (!manager) return nullptr;
    if (hwnd_ && IsWindow(hwnd_)) return hwnd_;
    if (className && *className) CopyText(className_, className);
    if (!EnsureClassRegistered(className_)) return hwnd_;
    manager_ = manager;
    TakeDpi(parent);
    hwnd_ = CreateWindowExW(exStyle, className_, windowName, style, x, y, cx, cy, parent, nullptr,
                            ModuleInstance(), this);
    return hwnd_;
}

int CWindowCtrl::DoModal(const wchar_t* templateName, HWND parent) {
    CAppManager* manager = FindManager(GetCurrentThreadId());
    if (!manager) return 0;
    if (hwnd_ && IsWindow(hwnd_)) return dialogResult_;
    EnsureClassRegistered(className_);
    manager_ = manager;
    TakeDpi(parent);
    dialogResult_ = static_cast<int>(DialogBoxParamW(ModuleInstance(), templateName, parent,
                                                     DialogProc, reinterpret_cast<LPARAM>(this)));
    return dialogResult_;
}

void CWindowCtrl::SetClassName(const wchar_t* name) {
    if (name) CopyText(className_, name);
}

void CWindowCtrl::TakeDpi(HWND parent) {
    if (chosenDpi_ != 0) {
        dpi_ = chosenDpi_;
        chosenDpi_ = 0;
        return;
    }
    dpi_ = parent ? ScaleOf(parent) : SystemDpi();
}

UINT ScaleOf(HWND window) {
    CAppManager* manager = CurrentManager();
    if (CWindowCtrl* control = window && manager ? manager->FindControl(window) : nullptr) return control->Dpi();
    return window ? WindowDpi(window) : SystemDpi();
}

int CWindowCtrl::Scale(int value) const { return ScaleBy(value, dpi_); }
RECT CWindowCtrl::Scale(const RECT& rect) const { return ScaleBy(rect, dpi_); }
SIZE CWindowCtrl::Scale(SIZE size) const { return ScaleBy(size, dpi_); }

RECT CWindowCtrl::LayoutClient() const {
    RECT client{};
    if (hwnd_) GetClientRect(hwnd_, &client);
    const int d = static_cast<int>(dpi_);
    const int base = static_cast<int>(kBaseDpi);
    return RECT{MulDiv(client.left, base, d), MulDiv(client.top, base, d), MulDiv(client.right, base, d),
                MulDiv(client.bottom, base, d)};
}

bool CWindowCtrl::PreTranslateMessage(MSG*) { return false; }
LRESULT CWindowCtrl::OnMessage(UINT, WPARAM, LPARAM) { return 0; }
void CWindowCtrl::OnCreate(CREATESTRUCTW*) {}
void CWindowCtrl::OnDestroy() {}
void CWindowCtrl::OnMove(int, int) {}
void CWindowCtrl::OnSize(UINT, int, int) {}
void CWindowCtrl::OnWindowPosChanging(WINDOWPOS*) {}
LRESULT CWindowCtrl::OnNcHitTest(POINT) { return HTCLIENT; }
void CWindowCtrl::OnGetMinMaxInfo(MINMAXINFO*) {}
void CWindowCtrl::OnShowWindow(BOOL, int) {}
void CWindowCtrl::OnTimer(UINT_PTR) {}
void CWindowCtrl::OnDpiChanged(UINT dpi, const RECT& suggested) {
    dpi_ = dpi;
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}
void CWindowCtrl::OnSetCursor(WPARAM) { SetCursor(LoadCursorW(nullptr, IDC_ARROW)); }

// The handlers that windows and dialogs share; false when msg has none.
bool CWindowCtrl::CallHandler(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_DESTROY:
        OnDestroy();
        return true;
    case WM_MOVE:
        OnMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return true;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return true;
    case WM_SHOWWINDOW:
        OnShowWindow(static_cast<BOOL>(wParam), static_cast<int>(lParam));
        return true;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        return true;
    case WM_WINDOWPOSCHANGING:
        OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(lParam));
        return true;
    case WM_TIMER:
        OnTimer(wParam);
        return true;
    case WM_DPICHANGED:
        if (lParam) OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return true;
    default:
        return false;
    }
}

// Default processing uses the hwnd the message came with, never a member:
// at WM_NCDESTROY the object is already disconnected, and a handler may have
// destroyed the object itself.
LRESULT CWindowCtrl::Route(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (LRESULT handled = OnMessage(msg, wParam, lParam)) return handled;
    switch (msg) {
    case WM_CREATE:
        OnCreate(reinterpret_cast<CREATESTRUCTW*>(lParam));
        break;
    case WM_SETCURSOR:
        OnSetCursor(wParam);
        break;
    case WM_NCHITTEST:
        return OnNcHitTest(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    default:
        if (CallHandler(msg, wParam, lParam) && msg == WM_TIMER) return 1;
        break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// Dialogs get the same handlers, but answer the dialog manager: TRUE with
// DWLP_MSGRESULT when handled, FALSE for its default processing. Hit testing
// and the cursor stay with the dialog manager.
INT_PTR CWindowCtrl::RouteDialog(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (LRESULT handled = OnMessage(msg, wParam, lParam)) {
        SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, handled);
        return TRUE;
    }
    switch (msg) {
    case WM_INITDIALOG:
        OnCreate(nullptr);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(hwnd, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    default:
        return CallHandler(msg, wParam, lParam) && msg == WM_TIMER;
    }
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // No exception may unwind through the system's frames.
    try {
        CAppManager* manager = CurrentManager();
        if (!manager) return DefWindowProcW(hwnd, msg, wParam, lParam);

        CWindowCtrl* control = manager->FindControl(hwnd);
        if (msg == WM_NCCREATE) {
            auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
            if (cs && cs->lpCreateParams) {
                control = static_cast<CWindowCtrl*>(cs->lpCreateParams);
                control->hwnd_ = hwnd;
                control->manager_ = manager;
                manager->AddControl(control);
            }
        } else if (msg == WM_NCDESTROY) {
            if (CWindowCtrl* removed = manager->RemoveControl(hwnd)) removed->Disconnect();
        }

        if (control) return control->Route(hwnd, msg, wParam, lParam);
        manager->OnUnhandledMessage(hwnd, msg, wParam, lParam);
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    } catch (...) {
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    try {
        CAppManager* manager = CurrentManager();
        if (!manager) return FALSE;

        CWindowCtrl* control = manager->FindControl(hwnd);
        if (msg == WM_INITDIALOG && lParam) {
            control = reinterpret_cast<CWindowCtrl*>(lParam);
            control->hwnd_ = hwnd;
            control->manager_ = manager;
            manager->AddControl(control);
        } else if (msg == WM_NCDESTROY) {
            if (CWindowCtrl* removed = manager->RemoveControl(hwnd)) removed->Disconnect();
        }

        if (control) return control->RouteDialog(hwnd, msg, wParam, lParam);
        return FALSE;
    } catch (...) {
        return FALSE;
    }
}
