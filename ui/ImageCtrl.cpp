#include "ui/ImageCtrl.h"

#include "ui/AppManager.h"
#include "ui/Dpi.h"
#include "ui/Drawing.h"

#include <windowsx.h>

namespace {

// The caption-less look: no caption, but clipped children, a maximise box
// (so that the system maximises the window) and the class-specific bit.
constexpr LONG_PTR kRemovedStyle = WS_CAPTION;
constexpr LONG_PTR kAddedStyle = 0x02010100;
constexpr DWORD kModalStyle =
    WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD kIconVersion = 0x00030000;

}  // namespace

CImageCtrl::CImageCtrl() { SetClassName(kClassName); }

CImageCtrl::~CImageCtrl() {
    if (shadow) {
        if (HWND window = shadow->Hwnd()) DestroyWindow(window);
        shadow.reset();
    }
}

bool CImageCtrl::OnItemLButtonDown(CImageButton*) { return true; }
bool CImageCtrl::OnItemClick(CImageButton*) { return true; }
bool CImageCtrl::OnItemHover(CImageButton*) { return true; }
bool CImageCtrl::OnItemRButtonDown(CImageButton*) { return true; }
bool CImageCtrl::OnItemRButtonUp(CImageButton*) { return true; }
void CImageCtrl::OnPaintBackground(Gdiplus::Graphics&) {}
void CImageCtrl::OnPaintForeground(Gdiplus::Graphics&) {}

LRESULT CImageCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_NCCREATE:
        BindPainter();
        painter.SetDpi(Dpi());
        break;
    case WM_NCHITTEST: {
        POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ScreenToClient(Hwnd(), &point);
        return HitTestClient(point);
    }
    case WM_GETMINMAXINFO:
        ApplyMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        break;
    case WM_WINDOWPOSCHANGING:
        if (minSize.cx != 0 && minSize.cy != 0) {
            auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
            const SIZE least = Scale(minSize);
            if (pos->cx < least.cx) pos->cx = least.cx;
            if (pos->cy < least.cy) pos->cy = least.cy;
        }
        break;
    case WM_SIZE:
        if (shaped) ApplyRegion();
        PlaceShadow(true);
        break;
    case WM_MOVE:
        PlaceShadow(false);
        break;
    case WM_DESTROY:
        CloseShadow();
        modalRunning = false;
        break;
    default:
        break;
    }
    return painter.HandleMessage(msg, wParam, lParam) ? 1 : 0;
}

void CImageCtrl::BindPainter() {
    HWND window = Hwnd();
    painter.SetWindow(window);
    painter.onLButtonDown = [this](CImageButton* b) { return OnItemLButtonDown(b); };
    painter.onClick = [this](CImageButton* b) { return OnItemClick(b); };
    painter.onHover = [this](CImageButton* b) { return OnItemHover(b); };
    painter.onRButtonDown = [this](CImageButton* b) { return OnItemRButtonDown(b); };
    painter.onRButtonUp = [this](CImageButton* b) { return OnItemRButtonUp(b); };
    painter.onPaintBackground = [this](Gdiplus::Graphics& g) { OnPaintBackground(g); };
    painter.onPaintForeground = [this](Gdiplus::Graphics& g) { OnPaintForeground(g); };
    MakeCaptionless(window);
}

void CImageCtrl::MakeCaptionless(HWND window) {
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    SetWindowLongPtrW(window, GWL_STYLE, (style & ~kRemovedStyle) | kAddedStyle);
}

// The corner tests come first and are not symmetric: x == Bx still counts
// as the left edge in the bottom band, but not in the top band.
LRESULT CImageCtrl::HitTestClient(POINT p) const {
    if (!resizable) return HTCLIENT;
    RECT client{};
    GetClientRect(Hwnd(), &client);
    const int w = RectWidth(client);
    const int h = RectHeight(client);
    const int bx = Scale(borderWidth);
    const int by = Scale(borderHeight);
    if (p.x < bx && p.y < by) return HTTOPLEFT;
    if (p.x <= bx && p.y >= h - by) return HTBOTTOMLEFT;
    if (p.x > w - bx && p.y < by) return HTTOPRIGHT;
    if (p.x >= w - bx && p.y >= h - by) return HTBOTTOMRIGHT;
    if (p.x < bx) return HTLEFT;
    if (p.x >= w - bx) return HTRIGHT;
    if (p.y < by) return HTTOP;
    if (p.y > h - by) return HTBOTTOM;
    return HTCLIENT;
}

// Only the primary monitor's work area is known to leave the task bar free;
// elsewhere the system's own maximised size stands.
void CImageCtrl::ApplyMinMaxInfo(MINMAXINFO* info) const {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    HMONITOR handle = MonitorFromWindow(Hwnd(), MONITOR_DEFAULTTONEAREST);
    if (handle && GetMonitorInfoW(handle, &monitor) && (monitor.dwFlags & MONITORINFOF_PRIMARY)) {
        const RECT& work = monitor.rcWork;
        info->ptMaxPosition = POINT{work.left, work.top};
        info->ptMaxSize = POINT{RectWidth(work), RectHeight(work)};
    }
    const SIZE least = Scale(minSize);
    info->ptMinTrackSize = POINT{least.cx, least.cy};
}

// A maximised window fills its area edge to edge; otherwise the top corners
// lose one pixel and the bottom corners two.
void CImageCtrl::ApplyRegion() const {
    HWND window = Hwnd();
    RECT client{};
    if (!GetClientRect(window, &client)) return;
    const int w = RectWidth(client);
    const int h = RectHeight(client);
    ScopedRegion region;
    if (IsZoomed(window)) {
        region.Reset(CreateRectRgn(0, 0, w, h));
    } else {
        const POINT corners[] = {{0, 1},     {1, 0},     {w - 1, 0}, {w, 1},
                                 {w, h - 2}, {w - 2, h}, {2, h},     {0, h - 2}};
        region.Reset(CreatePolygonRgn(corners, ARRAYSIZE(corners), WINDING));
    }
    if (!region) return;
    // The system owns a region it accepted; only a refused one is ours.
    if (SetWindowRgn(window, region.Get(), TRUE)) region.Release();
}

void CImageCtrl::PlaceShadow(bool render) {
    if (!shadow || !shadow->Hwnd()) return;
    shadow->PlaceAround(Hwnd());
    if (render) shadow->Render(255);
}

void CImageCtrl::CloseShadow() {
    if (!shadow) return;
    if (HWND window = shadow->Hwnd()) {
        ShowWindow(window, SW_HIDE);
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
}

// The shadow is shown without activation: an active shadow would take the
// keyboard from the window it decorates.
void CImageCtrl::OnShowWindow(BOOL show, int) {
    if (!shadow || !shadow->Hwnd()) return;
    HWND window = shadow->Hwnd();
    if (show) {
        ShowWindow(window, SW_SHOWNA);
        return;
    }
    ShowWindow(window, SW_HIDE);
    if (HWND parent = GetParent(window)) SetForegroundWindow(parent);
}

bool CImageCtrl::RunModalLoop() {
    CAppManager* manager = Manager();
    HWND window = Hwnd();
    if (!manager || manager->ThreadId() != GetCurrentThreadId() || modalRunning) return false;
    if (!window || !IsWindow(window)) return false;
    modalRunning = true;
    MSG msg;
    for (;;) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            // The quit request belongs to the enclosing loop as well.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1) break;
        if (!manager->PreTranslate(&msg, false)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (!modalRunning || Hwnd() != window || !IsWindow(window)) break;
    }
    modalRunning = false;
    return true;
}

int CImageCtrl::ShowModal() {
    if (Hwnd()) return -1;
    painter.captionDrag = true;
    shaped = true;
    const RECT work = WorkAreaOf(nullptr);
    const bool sized = minSize.cx != 0 && minSize.cy != 0;
    const UINT dpi = sized ? FitDpi(minSize, SystemDpi(), work) : SystemDpi();
    const RECT place = sized ? CentreIn(minSize, dpi, work) : work;
    if (!MakeShadowWindow(place.left, place.top)) return -1;
    SetDpi(dpi);
    if (!Create(WS_EX_APPWINDOW, nullptr, nullptr, kModalStyle, place, shadow->Hwnd())) {
        return -1;
    }
    RunModalLoop();
    return modalResult;
}

bool CImageCtrl::MakeShadowWindow(int x, int y) {
    if (!shadow) shadow = std::make_unique<CShadowCtrl>();
    if (HWND stale = shadow->Hwnd()) DestroyWindow(stale);
    return shadow->Create(0, nullptr, nullptr, WS_POPUP | WS_VISIBLE, x, y, 0, 0, nullptr) !=
           nullptr;
}

void CImageCtrl::SetIcon(HICON icon, bool big) {
    HWND window = Hwnd();
    if (!window || !icon) return;
    ScopedIcon copy(CopyIcon(icon));
    if (!copy) return;
    ScopedIcon& stored = big ? bigIcon_ : smallIcon_;
    const HICON given = copy.Get();
    auto previous = reinterpret_cast<HICON>(SendMessageW(
        window, WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(given)));
    // The icon the window gives back is freed only now that the window no
    // longer shows it, and only once: our old copy goes with its slot, an
    // icon someone else set goes here.
    ScopedIcon replaced(previous != smallIcon_.Get() && previous != bigIcon_.Get() ? previous : nullptr);
    stored = std::move(copy);
}

void CImageCtrl::OnDpiChanged(UINT dpi, const RECT& suggested) {
    // The system's suggestion for a maximised window is its restored size;
    // the window keeps filling the monitor it went to.
    ApplyDpi(dpi, IsZoomed(Hwnd()) ? WorkAreaOf(Hwnd()) : suggested);
}

void CImageCtrl::ApplyDpi(UINT dpi, const RECT& place) {
    painter.SetDpi(dpi);
    CWindowCtrl::OnDpiChanged(dpi, place);
    if (bigIconSize_ > 0) LoadIconFromResource(true, bigIconSize_);
    if (smallIconSize_ > 0) LoadIconFromResource(false, smallIconSize_);
    if (shaped) ApplyRegion();
    PlaceShadow(true);
}

bool CImageCtrl::LoadIconFromResource(bool big, int logicalSize) {
    if (!Hwnd() || logicalSize <= 0) return false;
    (big ? bigIconSize_ : smallIconSize_) = logicalSize;
    ScopedIcon icon = LoadGroupIcon(Scale(logicalSize));
    if (!icon) return false;
    SetIcon(icon.Get(), big);
    return true;
}

ScopedIcon LoadGroupIcon(int size) {
    if (size <= 0) return ScopedIcon();
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC group = FindResourceW(module, MAKEINTRESOURCEW(CImageCtrl::kIconGroupId), RT_GROUP_ICON);
    HGLOBAL groupData = group ? LoadResource(module, group) : nullptr;
    auto* directory = groupData ? static_cast<BYTE*>(LockResource(groupData)) : nullptr;
    if (!directory) return ScopedIcon();
    const int iconId = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
    if (iconId == 0) return ScopedIcon();
    HRSRC image = FindResourceW(module, MAKEINTRESOURCEW(iconId), RT_ICON);
    HGLOBAL imageData = image ? LoadResource(module, image) : nullptr;
    auto* bits = imageData ? static_cast<BYTE*>(LockResource(imageData)) : nullptr;
    const DWORD bytes = image ? SizeofResource(module, image) : 0;
    if (!bits || bytes == 0) return ScopedIcon();
    return ScopedIcon(CreateIconFromResourceEx(bits, bytes, TRUE, kIconVersion, size, size, LR_DEFAULTCOLOR));
}
