#include "frames/CloseMsgWnd.h"

#include "base/Product.h"
#include "res/VstormResources.h"
#include "ui/Drawing.h"

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

}  // namespace

CloseMsgWnd::CloseMsgWnd() { SetClassName(kClientWindowClass); }

int CloseMsgWnd::ShowCloseConfirm(HWND parent) {
    // Asked again while this very question is open: its loop goes on, and
    // this call has no answer of its own.
    if (modalRunning) return IDCANCEL;
    modalResult = IDCANCEL;
    minSize = SIZE{kWidth, kHeight};
    // A parent that is gone cannot own a window; the question is still
    // asked, without owner.
    if (parent && !IsWindow(parent)) parent = nullptr;
    RECT area{};
    if (parent) GetWindowRect(parent, &area);
    // At the parent's scale, or smaller where that does not fit the screen.
    const UINT dpi = FitDpi(minSize, parent ? ScaleOf(parent) : SystemDpi(), WorkAreaOf(parent));
    const SIZE size = ScaleBy(minSize, dpi);
    const int left = area.left + (RectWidth(area) - size.cx) / 2;
    const int top = area.top + (RectHeight(area) - size.cy) / 2;
    if (!Hwnd()) {
        SetDpi(dpi);
        // No class name given: the object's own (the base would copy its
        // buffer onto itself).
        Create(0, nullptr, nullptr, kStyle, left, top, size.cx, size.cy, parent);
    } else {
        MoveWindow(Hwnd(), left, top, size.cx, size.cy, TRUE);
    }
    HWND window = Hwnd();
    if (!window) return modalResult;
    if (parent && IsWindowEnabled(parent)) {
        EnableWindow(parent, FALSE);
        disabledOwner_ = parent;
    }
    if (RunModalLoop() && IsWindow(window)) {
        // The loop ended without an answer (the thread is quitting): the
        // question goes with it.
        DestroyWindow(window);
    }
    EnableOwner();
    return modalResult;
}

// The owner is enabled again while the question still exists, so that the
// system gives the activation back to it rather than to another program.
LRESULT CloseMsgWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) EnableOwner();
    return CImageCtrl::OnMessage(msg, wParam, lParam);
}

void CloseMsgWnd::EnableOwner() {
    if (!disabledOwner_) return;
    if (IsWindow(disabledOwner_)) EnableWindow(disabledOwner_, TRUE);
    disabledOwner_ = nullptr;
}

// The question ends up centred on the work area of its monitor; the place
// ShowCloseConfirm chose over the parent holds only while the window is
// being made.
void CloseMsgWnd::OnCreate(CREATESTRUCTW*) {
    painter.EnableLayered();
    painter.captionDrag = true;
    painter.captionRect = RECT{0, 0, kWidth, kHeight};
    if (HWND window = Hwnd()) {
        ShowWindow(window, SW_HIDE);
        const RECT place = CentreIn(SIZE{kWidth, kHeight}, Dpi(), WorkAreaOf(window));
        MoveWindow(window, place.left, place.top, RectWidth(place), RectHeight(place), TRUE);
    }
    painter.AddButton(kOkId, kOkRect, IDB_CLOSE_OK, IDB_CLOSE_OK_HOVER, IDB_CLOSE_OK_HOVER,
                      IDB_CLOSE_OK);
    painter.AddButton(kCancelId, kCancelRect, IDB_CLOSE_CANCEL, IDB_CLOSE_CANCEL_HOVER,
                      IDB_CLOSE_CANCEL_HOVER, IDB_CLOSE_CANCEL);
    painter.AddStatic(RECT{0, 0, kWidth, kHeight}, IDB_CLOSE_PANEL, kBackgroundId, false);
}

bool CloseMsgWnd::OnItemClick(CImageButton* button) {
    if (!button) return true;
    switch (button->id) {
    case kOkId:
        modalResult = IDOK;
        break;
    case kCancelId:
        modalResult = IDCANCEL;
        break;
    default:
        return true;
    }
    modalRunning = false;
    DestroyWindow(Hwnd());
    return false;
}
