#include "ui/ImageMenu.h"

#include <algorithm>

CImageMenu::CImageMenu() { SetClassName(kClassName); }

CImageMenu::~CImageMenu() {
    if (shadow) {
        if (HWND window = shadow->Hwnd()) DestroyWindow(window);
        shadow.reset();
    }
}

LRESULT CImageMenu::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    const bool deactivated = (msg == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE) ||
                             (msg == WM_NCACTIVATE && !wParam);
    if (deactivated && Hwnd() && IsWindowVisible(Hwnd())) ShowWindow(Hwnd(), SW_HIDE);
    return CImageCtrlEx::OnMessage(msg, wParam, lParam);
}

// The menu must lie above every window, a full-screen game included. Its
// shadow was made topmost before it (Popup): making an owner topmost while
// its owned window is being created lifts only the owned window here, so
// each is made topmost on its own. Nothing may take activation here: the
// menu is not even visible yet.
void CImageMenu::OnCreate(CREATESTRUCTW*) {
    HWND window = Hwnd();
    SetWindowLongPtrW(window, GWL_STYLE, GetWindowLongPtrW(window, GWL_STYLE) | WS_CLIPCHILDREN);
    const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    SetWindowLongPtrW(window, GWL_EXSTYLE,
                      (exStyle & ~static_cast<LONG_PTR>(WS_EX_APPWINDOW)) | WS_EX_TOOLWINDOW);
    MakeTopmost(window);
    painter.SetBackgroundColor(kBackgroundColor);
}

void CImageMenu::MakeTopmost(HWND window) {
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CImageMenu::OnDestroy() {
    if (!shadow) return;
    if (HWND window = shadow->Hwnd()) {
        ShowWindow(window, SW_HIDE);
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
}

void CImageMenu::OnMove(int, int) { PlaceShadow(); }

// The rows may have changed since the last popup at the same point: the
// shadow follows the size as well as the position.
void CImageMenu::OnSize(UINT, int, int) { PlaceShadow(); }

// The shadow is shown without activation: an active shadow would deactivate
// the menu, which then hides itself.
void CImageMenu::OnShowWindow(BOOL show, int) {
    if (show) SetForegroundWindow(Hwnd());
    if (shadow && shadow->Hwnd()) ShowWindow(shadow->Hwnd(), show ? SW_SHOWNA : SW_HIDE);
}

void CImageMenu::PlaceShadow() {
    if (!shadow || !shadow->Hwnd()) return;
    shadow->PlaceAround(Hwnd());
    shadow->Render(255);
}

void CImageMenu::Popup(POINT point, UINT dpi) {
    if (!Hwnd()) {
        const UINT scale = dpi != 0 ? dpi : SystemDpi();
        if (!shadow) shadow = std::make_unique<CShadowCtrl>();
        shadow->SetMenuColors();
        // A shadow left from an earlier menu window still has that window's
        // WM_CLOSE on its way; the new menu must not be owned by it.
        if (HWND stale = shadow->Hwnd()) DestroyWindow(stale);
        if (shadow->Create(0, nullptr, nullptr, WS_POPUP | WS_VISIBLE, point.x, point.y, 0, 0,
                           nullptr)) {
            MakeTopmost(shadow->Hwnd());
        }
        SetDpi(scale);
        Create(0, nullptr, nullptr, WS_POPUP, point.x, point.y, Scale(kWidth), 0, shadow->Hwnd());
    }
    HWND window = Hwnd();
    if (!window) return;
    // Measured at the menu's own scale, which its window has by now.
    const int width = Scale(kWidth);
    const int height = painter.ContentHeight();
    // A menu is no use where no screen shows it.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (GetMonitorInfoW(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& area = monitor.rcMonitor;
        point.x = std::max(area.left, std::min(point.x, area.right - width));
        point.y = std::max(area.top, std::min(point.y, area.bottom - height));
    }
    MoveWindow(window, point.x, point.y, width, height, TRUE);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
}
