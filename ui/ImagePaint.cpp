#include "ui/ImagePaint.h"

#include "ui/Drawing.h"
#include "ui/SanDC.h"
#include "ui/ScopedGdi.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

namespace {

constexpr RECT kNoRect{-1, -1, -1, -1};
constexpr POINT kAway{-1, -1};
constexpr DWORD kHoverTimeMs = 10;

bool Contains(const RECT& r, POINT p) { return PtInRect(&r, p) != FALSE; }

bool Meets(const RECT& element, const RECT* update) {
    if (!update) return true;
    RECT common;
    return IntersectRect(&common, &element, update) != FALSE;
}

POINT PointOf(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

template <typename Element>
auto FindById(const std::vector<std::unique_ptr<Element>>& list, int id) {
    return std::find_if(list.begin(), list.end(),
                        [id](const std::unique_ptr<Element>& e) { return e->id == id; });
}

}  // namespace

CImagePaint::CImagePaint() = default;

CImagePaint::~CImagePaint() {
    hot_ = nullptr;
    buttons_.clear();
    statics_.clear();
    bars_.clear();
}

bool CImagePaint::OnClick(CImageButton* button) {
    if (onClick && !onClick(button)) return false;
    // The callback may have removed the button or destroyed the window.
    if (!Owns(button) || !button->visible || button->inactive) return true;
    switch (button->id) {
    case kCloseId:
        if (window_) DestroyWindow(window_);
        return false;
    case kMinimizeId:
        if (window_) ShowWindow(window_, SW_MINIMIZE);
        break;
    case kMaximizeId:
    case kRestoreId:
        ToggleMaximize();
        break;
    default:
        break;
    }
    return true;
}

bool CImagePaint::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        if (!backgroundBrush_) backgroundBrush_ = MakeBrush(backgroundColor);
        return false;
    case WM_DESTROY:
        Reset();
        return false;
    case WM_SIZE:
        Relayout(RECT{0, 0, LOWORD(lParam), HIWORD(lParam)});
        return false;
    case WM_PAINT:
        Paint();
        return false;
    case WM_ERASEBKGND: {
        RECT client{};
        if (window_ && GetClientRect(window_, &client) && !IsRectEmpty(&client)) Paint();
        return true;
    }
    case WM_SHOWWINDOW:
        if (wParam) {
            if (layered_) Redraw();
        } else {
            cursor_ = kAway;
            hot_ = nullptr;
        }
        return false;
    case WM_SETCURSOR:
        return OnSetCursor();
    case WM_MOUSEMOVE:
        return OnMouseMove(PointOf(lParam));
    case WM_LBUTTONDOWN:
        return OnLButtonDown(PointOf(lParam));
    case WM_LBUTTONUP:
        return OnLButtonUp(PointOf(lParam));
    case WM_LBUTTONDBLCLK:
        // The second press of a quick double click on a button is a press
        // of that button, not a maximise of the window under it.
        if (ButtonAt(PointOf(lParam))) return OnLButtonDown(PointOf(lParam));
        if (captionDrag && PointOf(lParam).y <= ScaleBy(kCaptionBand, dpi_)) ToggleMaximize();
        return false;
    case WM_RBUTTONDOWN:
        return OnRButtonDown(PointOf(lParam));
    case WM_RBUTTONUP:
        return OnRButtonUp(PointOf(lParam));
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return false;
    case WM_CAPTURECHANGED:
        OnCaptureChanged(reinterpret_cast<HWND>(lParam));
        return false;
    default:
        return false;
    }
}

bool CImagePaint::OnMouseMove(POINT point) {
    cursor_ = point;
    if (!tracking_ && window_) {
        TRACKMOUSEEVENT request{sizeof(request), TME_HOVER | TME_LEAVE, window_, kHoverTimeMs};
        tracking_ = TrackMouseEvent(&request) != FALSE;
    }
    if (hot_ && tracking_ && Contains(hot_->rect, point)) {
        if (hot_->kind == CImageButton::kComposite) {
            const BYTE part = hot_->HitPart(point);
            if (part != hot_->currentPart) Repaint(hot_->rect);
            hot_->currentPart = part;
        }
        return false;
    }
    // No hover changes while a button is held.
    if (leftPressed_) return false;

    CImageButton* found = tracking_ ? ButtonAt(point) : nullptr;
    SetHot(found);
    if (found && onHover && !onHover(found)) return true;
    return false;
}

CImageButton* CImagePaint::ButtonAt(POINT point) const {
    for (const auto& button : buttons_) {
        if (!IsInert(button->id) && button->visible && Contains(button->rect, point)) return button.get();
    }
    return nullptr;
}

void CImagePaint::SetHot(CImageButton* button) {
    CImageButton* previous = hot_;
    hot_ = button;
    // A layered window is drawn whole: one redraw shows both changes.
    if (layered_) {
        if (previous || button) Redraw();
    } else {
        if (previous) Repaint(previous->rect);
        if (button && button != previous) Repaint(button->rect);
    }
}

// A press acts on the button under the point it carries. The hover state
// may be stale: a leave can arrive between the last move and the press
// (mouse tracking that misjudges the cursor, a window shown or hidden over
// it), and a player's press on a button must never become a caption drag.
bool CImagePaint::OnLButtonDown(POINT point) {
    cursor_ = point;
    if (CImageButton* button = ButtonAt(point)) {
        if (button != hot_) SetHot(button);
        pressedRect_ = button->rect;
        leftPressed_ = true;
        button->currentPart = button->HitPart(point);
        Repaint(button->rect);
        if (onLButtonDown && !onLButtonDown(button)) return true;
        if (!captured_ && window_ && IsWindow(window_)) {
            SetCapture(window_);
            captured_ = true;
        }
        return false;
    }
    if (InCaption(point) && captionDrag && window_) {
        // The message carries screen coordinates; the system's move loop
        // starts from this point.
        POINT screen = point;
        ClientToScreen(window_, &screen);
        PostMessageW(window_, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(screen.x, screen.y));
    }
    pressedRect_ = kNoRect;
    return false;
}

bool CImagePaint::InCaption(POINT point) const {
    if (IsRectEmpty(&captionRect)) return point.y <= ScaleBy(kCaptionBand, dpi_);
    return Contains(ScaleBy(captionRect, dpi_), point);
}

bool CImagePaint::OnLButtonUp(POINT point) {
    cursor_ = point;
    ReleaseMouse();
    leftPressed_ = false;
    if (CImageButton* button = hot_) {
        const RECT buttonRect = button->rect;
        if (Contains(pressedRect_, point)) {
            if (!OnClick(button)) return true;
        } else if (!Contains(buttonRect, point)) {
            cursor_ = kAway;
            hot_ = nullptr;
        }
        Repaint(buttonRect);
    }
    pressedRect_ = kNoRect;
    return false;
}

bool CImagePaint::OnRButtonDown(POINT point) {
    cursor_ = point;
    if (CImageButton* button = ButtonAt(point)) {
        if (button != hot_) SetHot(button);
        rightPressed_ = true;
        rightPressedRect_ = hot_->rect;
        if (onRButtonDown && !onRButtonDown(hot_)) return true;
        if (!captured_ && window_ && IsWindow(window_)) {
            SetCapture(window_);
            captured_ = true;
        }
        return false;
    }
    rightPressedRect_ = kNoRect;
    return false;
}

bool CImagePaint::OnRButtonUp(POINT point) {
    cursor_ = point;
    ReleaseMouse();
    rightPressed_ = false;
    if (hot_) {
        if (Contains(rightPressedRect_, point)) {
            if (onRButtonUp && !onRButtonUp(hot_)) return true;
        } else if (!Contains(hot_->rect, point)) {
            cursor_ = kAway;
            hot_ = nullptr;
        }
    }
    rightPressed_ = false;
    rightPressedRect_ = kNoRect;
    return false;
}

void CImagePaint::OnMouseLeave() {
    cursor_ = kAway;
    tracking_ = false;
    if (leftPressed_ || !hot_) return;
    // A maximised window's buttons touch the screen edge, where the cursor
    // may leave the window while still over a button.
    if (window_ && IsZoomed(window_)) {
        POINT now{};
        if (GetCursorPos(&now) && ScreenToClient(window_, &now) && Contains(hot_->rect, now)) {
            cursor_ = now;
        }
    }
    const RECT rect = hot_->rect;
    hot_ = nullptr;
    Repaint(rect);
}

bool CImagePaint::OnSetCursor() {
    if (!window_) return false;
    POINT point{};
    if (!GetCursorPos(&point) || !ScreenToClient(window_, &point)) return false;
    for (const auto& button : buttons_) {
        if (button->kind == CImageButton::kLink && button->visible &&
            Contains(button->rect, point)) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return true;
        }
    }
    return false;
}

// The capture can be taken away (another window, a system dialog) while a
// button is held; without its release the button would stay pressed and
// block hover changes until the next click.
void CImagePaint::OnCaptureChanged(HWND newCapture) {
    if (!captured_ || newCapture == window_) return;
    captured_ = false;
    rightPressed_ = false;
    rightPressedRect_ = kNoRect;
    if (!leftPressed_) return;
    leftPressed_ = false;
    pressedRect_ = kNoRect;
    if (hot_) Repaint(hot_->rect);
}

void CImagePaint::ReleaseMouse() {
    if (!captured_) return;
    captured_ = false;
    ReleaseCapture();
}

bool CImagePaint::Owns(const CImageButton* button) const {
    if (!button) return false;
    return std::any_of(buttons_.begin(), buttons_.end(),
                       [button](const std::unique_ptr<CImageButton>& b) { return b.get() == button; });
}

void CImagePaint::Repaint(const RECT& rect) {
    if (layered_) {
        Redraw();
    } else if (window_) {
        InvalidateRect(window_, &rect, TRUE);
    }
}

CImageButton* CImagePaint::AddButton(int id, const RECT& rect, int normalId, int hoverId,
                                     int pressedId, int checkedNormalId) {
    Invalidate();
    if (CImageButton* existing = FindButton(id)) {
        existing->SetImages(normalId, hoverId, pressedId, checkedNormalId);
        existing->SetText(L"");
        existing->layoutRect = rect;
        existing->SetRect(ScaleBy(rect, dpi_));
        return existing;
    }
    auto button = std::make_unique<CImageButton>(window_, id, ScaleBy(rect, dpi_), L"");
    button->layoutRect = rect;
    button->dpi = dpi_;
    button->SetImages(normalId, hoverId, pressedId, checkedNormalId);
    buttons_.push_back(std::move(button));
    return buttons_.back().get();
}

CImageButton* CImagePaint::FindButton(int id) const {
    auto it = FindById(buttons_, id);
    return it == buttons_.end() ? nullptr : it->get();
}

bool CImagePaint::RemoveButton(int id) {
    auto it = FindById(buttons_, id);
    if (it == buttons_.end()) return false;
    if (hot_ == it->get()) hot_ = nullptr;
    buttons_.erase(it);
    Invalidate();
    return true;
}

CImageStatic* CImagePaint::AddStatic(const RECT& rect, int imageId, int id, bool wrapEdges) {
    Invalidate();
    CImageStatic* element = FindStatic(id);
    if (!element) {
        statics_.push_back(std::make_unique<CImageStatic>());
        element = statics_.back().get();
    }
    element->layoutRect = rect;
    element->rect = ScaleBy(rect, dpi_);
    element->dpi = dpi_;
    element->wrapEdges = wrapEdges;
    element->id = id;
    element->imageId = imageId;
    element->image = LoadPngResource(imageId, dpi_);
    return element;
}

CImageStatic* CImagePaint::FindStatic(int id) const {
    auto it = FindById(statics_, id);
    return it == statics_.end() ? nullptr : it->get();
}

bool CImagePaint::RemoveStatic(int id) {
    auto it = FindById(statics_, id);
    if (it == statics_.end()) return false;
    statics_.erase(it);
    Invalidate();
    return true;
}

CImageProgressbar* CImagePaint::AddProgressBar(const RECT& rect, int trackImageId, int fillImageId) {
    Invalidate();
    auto it = FindById(bars_, CImageProgressbar::kId);
    if (it == bars_.end()) it = bars_.insert(it, std::make_unique<CImageProgressbar>(window_, ScaleBy(rect, dpi_)));
    CImageProgressbar* bar = it->get();
    bar->layoutRect = rect;
    bar->SetRect(ScaleBy(rect, dpi_));
    bar->trackImageId = trackImageId;
    bar->fillImageId = fillImageId;
    bar->LoadImages(dpi_);
    return bar;
}

void CImagePaint::SetBackgroundColor(Gdiplus::ARGB argb) {
    backgroundBrush_ = MakeBrush(argb);
    fillBackground = true;
    Invalidate();
}

void CImagePaint::EnableLayered() {
    if (layered_ || !window_) return;
    fillBackground = false;
    layered_ = true;
    alpha = 255;
    if (GetModuleHandleW(L"user32.dll")) {
        const LONG_PTR exStyle = GetWindowLongPtrW(window_, GWL_EXSTYLE);
        SetWindowLongPtrW(window_, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
        updateLayered_ = FindUpdateLayeredWindow();
    }
    Invalidate();
    Redraw();
}

void CImagePaint::Redraw() {
    if (!updateLayered_ || !window_) return;
    RECT client{};
    if (!GetClientRect(window_, &client)) return;
    std::vector<size_t> changed;
    if (!FindChangedButtons(client, changed)) {
        if (!ComposeLayered(client)) return;
    } else if (!changed.empty()) {
        RecomposeButtons(changed);
    } else if (presented_ && presentedAlpha_ == alpha) {
        // The system keeps the frame it was given: nothing to hand over.
        return;
    }
    // A callback may have destroyed the window while it drew.
    if (!window_) return;
    presented_ = surface_.Present(window_, updateLayered_, alpha);
    presentedAlpha_ = alpha;
}

bool CImagePaint::ButtonLook::operator==(const ButtonLook& other) const {
    return EqualRect(&rect, &other.rect) && visible == other.visible && state == other.state &&
           part == other.part && checked == other.checked && showText == other.showText &&
           images == other.images && text == other.text;
}

// The state as CImageButton::Paint picks it from what the painter hands it.
CImagePaint::ButtonLook CImagePaint::LookOf(const CImageButton& button) const {
    const POINT cursor = IsInert(button.id) ? kAway : cursor_;
    int state = CImageButton::kNormal;
    if (Contains(button.rect, cursor)) state = leftPressed_ ? CImageButton::kPressed : CImageButton::kHover;
    if (button.selected) state = CImageButton::kPressed;
    return ButtonLook{button.rect,
                      button.visible,
                      state,
                      button.currentPart,
                      button.Checked(),
                      button.showText,
                      {button.images[0].Get(), button.images[1].Get(), button.images[2].Get(),
                       button.images[3].Get()},
                      button.text};
}

bool CImagePaint::FindChangedButtons(const RECT& client, std::vector<size_t>& changed) {
    if (!composed_ || !bars_.empty() || surface_.Width() != RectWidth(client) ||
        surface_.Height() != RectHeight(client) || kept_.size() != buttons_.size()) {
        return false;
    }
    for (size_t i = 0; i < buttons_.size(); ++i) {
        const CImageButton& button = *buttons_[i];
        KeptButton& kept = kept_[i];
        // The pixels kept under a button that moved are not those under it now.
        if (kept.button != &button || !EqualRect(&kept.look.rect, &button.rect)) return false;
        ButtonLook look = LookOf(button);
        if (!(look == kept.look)) {
            kept.look = std::move(look);
            changed.push_back(i);
        }
    }
    return true;
}

bool CImagePaint::ComposeLayered(const RECT& client) {
    kept_.clear();
    presented_ = false;
    if (!surface_.Prepare(RectWidth(client), RectHeight(client))) return false;
    // Set before the callbacks run: one of them may invalidate again.
    composed_ = true;
    SetBkMode(surface_.Dc(), TRANSPARENT);
    Gdiplus::Graphics graphics(surface_.Dc());
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    PaintBase(graphics, client, nullptr);
    graphics.Flush(Gdiplus::FlushIntentionSync);
    for (const auto& button : buttons_) {
        kept_.push_back(KeptButton{button.get(), LookOf(*button), surface_.Copy(button->rect)});
    }
    PaintTop(graphics, nullptr);
    return true;
}

// Each changed button's rectangle in turn gets back the pixels under it and
// then everything drawn over them, clipped to it: the same pixels as a whole
// composition gives, also where changed buttons overlap.
void CImagePaint::RecomposeButtons(const std::vector<size_t>& changed) {
    Gdiplus::Graphics graphics(surface_.Dc());
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    for (size_t i : changed) {
        // Copied: a callback may change the kept frame.
        const RECT rect = kept_[i].look.rect;
        graphics.Flush(Gdiplus::FlushIntentionSync);
        surface_.Paste(rect, kept_[i].under);
        graphics.SetClip(ToRect(rect));
        PaintTop(graphics, &rect);
        if (!composed_) return;
    }
}

void CImagePaint::Paint() {
    if (!window_) return;
    RECT update{};
    GetUpdateRect(window_, &update, FALSE);
    ScopedPaint paint(window_);
    // A layered window shows what UpdateLayeredWindow gave it; an empty
    // update (the erase that BeginPaint itself sends) has nothing to draw.
    if (layered_ || IsRectEmpty(&update) || !paint.Get()) return;
    RECT client{};
    GetClientRect(window_, &client);
    CSanDC buffer(paint.Get(), client, update);
    if (!buffer.Get()) return;
    SetBkMode(buffer.Get(), TRANSPARENT);
    Gdiplus::Graphics graphics(buffer.Get());
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    PaintElements(graphics, client, &update);
}

void CImagePaint::PaintElements(Gdiplus::Graphics& graphics, const RECT& client,
                                const RECT* update) {
    PaintBase(graphics, client, update);
    PaintTop(graphics, update);
}

void CImagePaint::PaintBase(Gdiplus::Graphics& graphics, const RECT& client, const RECT* update) {
    if (fillBackground && backgroundBrush_) {
        graphics.FillRectangle(backgroundBrush_.get(), client.left - 1, client.top - 1,
                               RectWidth(client) + 1, RectHeight(client) + 1);
    }
    if (onPaintBackground) onPaintBackground(graphics);
    for (const auto& element : statics_) {
        if (Meets(element->rect, update)) element->Paint(graphics, element->rect);
    }
}

void CImagePaint::PaintTop(Gdiplus::Graphics& graphics, const RECT* update) {
    for (const auto& button : buttons_) {
        if (!Meets(button->rect, update)) continue;
        // Inert buttons never look hovered or pressed by the cursor.
        const POINT cursor = IsInert(button->id) ? kAway : cursor_;
        button->Paint(graphics, cursor, leftPressed_, button->rect);
    }
    for (const auto& button : buttons_) {
        if (button->kind == CImageButton::kComposite && button->selected &&
            Meets(button->rect, update)) {
            const POINT cursor = IsInert(button->id) ? kAway : cursor_;
            button->Paint(graphics, cursor, leftPressed_, button->rect);
        }
    }
    for (const auto& bar : bars_) {
        if (Meets(bar->rect, update)) bar->Paint(graphics, cursor_, leftPressed_, bar->rect);
    }
    if (onPaintForeground) onPaintForeground(graphics);
}

void CImagePaint::Relayout(const RECT& client) {
    const int width = RectWidth(client);
    const int height = RectHeight(client);
    for (const auto& button : buttons_) {
        RECT r = button->rect;
        bool moved = false;
        const int rightAnchor = ScaleBy(button->rightAnchor, dpi_);
        const int bottomAnchor = ScaleBy(button->bottomAnchor, dpi_);
        if (button->rightAnchor != -1 && width - rightAnchor != r.right) {
            const int buttonWidth = RectWidth(r);
            r.right = width - rightAnchor;
            r.left = r.right - buttonWidth;
            moved = true;
        }
        if (button->bottomAnchor != -1 && height - bottomAnchor != r.bottom) {
            const int buttonHeight = RectHeight(r);
            r.bottom = height - bottomAnchor;
            r.top = r.bottom - buttonHeight;
            moved = true;
        }
        if (moved) button->SetRect(r);
    }
    // Redraw finds a moved button by its rectangle; a moved static changes
    // what lies under the buttons.
    bool staticsMoved = false;
    for (const auto& element : statics_) {
        RECT& r = element->rect;
        const RECT before = r;
        const int rightAnchor = ScaleBy(element->rightAnchor, dpi_);
        if (element->rightAnchor != -1 && width - rightAnchor != r.right) {
            const int right = width - rightAnchor;
            r.left = element->fixedLeft != -1 ? ScaleBy(element->fixedLeft, dpi_) : r.left + (right - r.right);
            r.right = right;
        }
        if (element->bottomAnchor != -1) {
            const int bottom = height - ScaleBy(element->bottomAnchor, dpi_);
            r.top = element->fixedTop != -1 ? ScaleBy(element->fixedTop, dpi_) : r.top + (bottom - r.bottom);
            r.bottom = bottom;
        }
        staticsMoved = staticsMoved || !EqualRect(&before, &r);
    }
    if (staticsMoved) Invalidate();
    if (layered_) {
        Redraw();
    } else if (window_) {
        InvalidateRect(window_, &client, TRUE);
    }
}

void CImagePaint::SetDpi(UINT dpi) {
    if (dpi == 0 || dpi == dpi_) return;
    dpi_ = dpi;
    for (const auto& button : buttons_) {
        button->SetRect(ScaleBy(button->layoutRect, dpi));
        button->SetDpi(dpi);
    }
    for (const auto& element : statics_) {
        element->rect = ScaleBy(element->layoutRect, dpi);
        element->dpi = dpi;
        element->image = LoadPngResource(element->imageId, dpi);
    }
    for (const auto& bar : bars_) {
        bar->SetRect(ScaleBy(bar->layoutRect, dpi));
        bar->LoadImages(dpi);
    }
    Invalidate();
    RECT client{};
    if (window_ && GetClientRect(window_, &client)) Relayout(client);
}

void CImagePaint::ToggleMaximize() {
    CImageButton* maximize = FindButton(kMaximizeId);
    CImageButton* restore = FindButton(kRestoreId);
    if (!maximize || !restore || !window_) return;
    if (IsZoomed(window_)) {
        maximize->visible = true;
        restore->visible = false;
        ShowWindow(window_, SW_RESTORE);
    } else {
        restore->visible = true;
        maximize->visible = false;
        ShowWindow(window_, SW_MAXIMIZE);
    }
}

void CImagePaint::Reset() {
    hot_ = nullptr;
    buttons_.clear();
    statics_.clear();
    bars_.clear();
    cursor_ = kAway;
    window_ = nullptr;
    backgroundBrush_.reset();
    layered_ = false;
    updateLayered_ = nullptr;
    // The window is gone: nothing is held or tracked any more.
    captured_ = false;
    leftPressed_ = false;
    rightPressed_ = false;
    tracking_ = false;
    pressedRect_ = kNoRect;
    rightPressedRect_ = kNoRect;
    kept_.clear();
    composed_ = false;
    presented_ = false;
    surface_.Release();
}
