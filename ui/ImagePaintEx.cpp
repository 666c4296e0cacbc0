#include "ui/ImagePaintEx.h"

#include "ui/Drawing.h"
#include "ui/SanDC.h"
#include "ui/ScopedGdi.h"

#include <windowsx.h>

#include <utility>

namespace {

constexpr DWORD kHoverTimeMs = 10;

bool Contains(const RECT& r, POINT p) { return PtInRect(&r, p) != FALSE; }

POINT PointOf(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

}  // namespace

CImagePaintEx::CImagePaintEx() = default;

CImagePaintEx::~CImagePaintEx() {
    hot_ = nullptr;
    lastClicked_ = nullptr;
    items_.clear();
}

bool CImagePaintEx::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_NCCREATE:
        MakeMissingBrushes();
        return false;
    case WM_DESTROY:
        Reset();
        return false;
    case WM_SIZE:
        Layout(RECT{0, 0, LOWORD(lParam), HIWORD(lParam)});
        return false;
    case WM_PAINT:
        Paint();
        return false;
    case WM_ERASEBKGND: {
        // A resized list is drawn at once into the erase DC instead of
        // showing a blank background until WM_PAINT.
        RECT client{};
        if (window_ && GetClientRect(window_, &client) && !EqualRect(&client, &lastClient_)) {
            if (!IsRectEmpty(&client)) PaintInto(reinterpret_cast<HDC>(wParam), client, client);
            lastClient_ = client;
        }
        return true;
    }
    case WM_SHOWWINDOW:
        if (!wParam) OnHide();
        return false;
    case WM_MOUSEMOVE:
        return OnMouseMove(PointOf(lParam));
    case WM_LBUTTONUP:
        return OnLButtonUp(PointOf(lParam));
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return false;
    default:
        return false;
    }
}

CImageItem* CImagePaintEx::AddItem(int id) {
    for (const auto& item : items_) {
        if (item->id == id) return item.get();
    }
    items_.push_back(std::make_unique<CImageItem>(this, id, itemHeight));
    CImageItem* item = items_.back().get();
    Layout();
    return item;
}

void CImagePaintEx::Clear() {
    hot_ = nullptr;
    lastClicked_ = nullptr;
    // Rows destroy their child windows; nothing may find them listed then.
    auto rows = std::move(items_);
    items_.clear();
    rows.clear();
    Layout();
}

RECT CImagePaintEx::ItemRect(int id) const {
    RECT client{};
    if (window_) GetClientRect(window_, &client);
    int top = 0;
    for (const auto& item : items_) {
        if (!item->visible) continue;
        if (item->id == id) return RECT{0, top, RectWidth(client), top + RowHeight(*item)};
        top += RowHeight(*item);
    }
    return RECT{0, 0, 0, 0};
}

int CImagePaintEx::ContentHeight() const {
    int height = 0;
    for (const auto& item : items_) {
        if (item->visible) height += RowHeight(*item);
    }
    return height;
}

// Only a child list can be scrolled out of view; a top-level list (a menu)
// shows all its rows. The unsigned comparison also rejects tops above the
// parent.
bool CImagePaintEx::IsShown(const RECT& band) const {
    if (!window_) return false;
    if (!(GetWindowLongPtrW(window_, GWL_STYLE) & WS_CHILD)) return true;
    HWND parent = GetParent(window_);
    if (!parent) return true;
    POINT corners[2] = {{band.left, band.top}, {band.left, band.bottom}};
    MapWindowPoints(window_, parent, corners, 2);
    RECT parentClient{};
    GetClientRect(parent, &parentClient);
    if (static_cast<UINT>(corners[0].y) >= static_cast<UINT>(parentClient.bottom)) return false;
    return corners[1].y != 0;
}

int CImagePaintEx::RowHeight(const CImageItem& item) const { return ScaleBy(item.height, dpi_); }

void CImagePaintEx::SetDpi(UINT dpi) {
    if (dpi == 0 || dpi == dpi_) return;
    dpi_ = dpi;
    for (const auto& item : items_) {
        for (const auto& button : item->buttons) button->SetDpi(dpi);
        for (const auto& element : item->statics) element->dpi = dpi;
    }
    Layout();
}

void CImagePaintEx::SetBackgroundColor(Gdiplus::ARGB argb) {
    backgroundColor_ = argb;
    backgroundBrush_ = MakeBrush(argb);
    fillBackground = true;
}

void CImagePaintEx::SetHoverColor(Gdiplus::ARGB argb) {
    hoverColor_ = argb;
    hoverBrush_ = MakeBrush(argb);
}

void CImagePaintEx::SetSelectedColor(Gdiplus::ARGB argb) {
    selectedColor_ = argb;
    selectedBrush_ = MakeBrush(argb);
}

void CImagePaintEx::MakeMissingBrushes() {
    if (!backgroundBrush_) backgroundBrush_ = MakeBrush(backgroundColor_);
    if (!hoverBrush_) hoverBrush_ = MakeBrush(hoverColor_);
    if (!selectedBrush_) selectedBrush_ = MakeBrush(selectedColor_);
}

void CImagePaintEx::Paint() {
    if (!window_) return;
    RECT update{};
    GetUpdateRect(window_, &update, FALSE);
    if (IsRectEmpty(&update)) return;
    ScopedPaint paint(window_);
    if (!paint.Get()) return;
    RECT client{};
    GetClientRect(window_, &client);
    PaintInto(paint.Get(), client, update);
}

void CImagePaintEx::PaintInto(HDC target, const RECT& client, const RECT& update) {
    if (!target) return;
    CSanDC buffer(target, client, update);
    if (!buffer.Get()) return;
    SetBkMode(buffer.Get(), TRANSPARENT);
    Gdiplus::Graphics graphics(buffer.Get());
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    if (fillBackground && backgroundBrush_) {
        graphics.FillRectangle(backgroundBrush_.get(), client.left - 1, client.top - 1,
                               RectWidth(client) + 1, RectHeight(client) + 1);
    }
    for (const auto& item : items_) {
        if (item->visible && IsShown(item->band)) item->Paint(graphics, item->band);
    }
}

void CImagePaintEx::Layout() {
    RECT client{};
    if (window_) GetClientRect(window_, &client);
    Layout(client);
}

void CImagePaintEx::Layout(const RECT& client) {
    int top = client.top;
    for (const auto& item : items_) {
        if (!item->visible) continue;
        const RECT band{client.left, top, client.right, top + RowHeight(*item)};
        top += RowHeight(*item);
        if (!EqualRect(&band, &item->band)) {
            item->band = band;
            item->Layout(band);
        }
    }
}

void CImagePaintEx::Forget(CImageItem* item) {
    item->hot = false;
    item->Leave();
}

// Moving straight from one row into the next makes the next one hot in the
// same move, so no row is left without its hover look under the cursor.
bool CImagePaintEx::OnMouseMove(POINT point) {
    cursor_ = point;
    if (!tracking_ && window_) {
        TRACKMOUSEEVENT request{sizeof(request), TME_HOVER | TME_LEAVE, window_, kHoverTimeMs};
        tracking_ = TrackMouseEvent(&request) != FALSE;
    }
    if (hot_ && IsShown(hot_->band)) {
        if (Contains(hot_->band, point)) {
            if (hot_->HitTest(point)) Invalidate(hot_->band);
            return false;
        }
        Invalidate(hot_->band);
        Forget(hot_);
        hot_ = nullptr;
    }
    CImageItem* row = RowAt(point);
    if (!row || row == hot_) return false;
    if (hot_) Forget(hot_);
    hot_ = row;
    row->hot = true;
    row->HitTest(point);
    Invalidate(row->band);
    row->OnHover();
    return false;
}

bool CImagePaintEx::OnLButtonUp(POINT point) {
    cursor_ = point;
    if (window_) SetFocus(window_);
    CImageItem* row = RowAt(point);
    if (!row) return false;
    row->HitTest(point);
    row->SetSelected(true);
    if (row != lastClicked_) {
        lastClicked_ = row;
        if (window_) InvalidateRect(window_, nullptr, TRUE);
    }
    // The callback may replace itself or destroy the window (and with it
    // every row): it runs from a copy, and nothing is touched after it.
    if (onItemClick) {
        ItemCallback callback = onItemClick;
        callback(row);
    }
    return false;
}

void CImagePaintEx::OnMouseLeave() {
    cursor_.x = -1;
    tracking_ = false;
    if (!hot_) return;
    CImageItem* row = hot_;
    hot_ = nullptr;
    Forget(row);
    if (IsShown(row->band)) Invalidate(row->band);
}

// A hidden list keeps no hover or selection look for its next showing, and
// its mouse tracking ended with it.
void CImagePaintEx::OnHide() {
    cursor_.x = -1;
    for (const auto& item : items_) {
        Forget(item.get());
        item->selected = false;
    }
    hot_ = nullptr;
    tracking_ = false;
}

CImageItem* CImagePaintEx::RowAt(POINT point) const {
    for (const auto& item : items_) {
        if (item->visible && IsShown(item->band) && Contains(item->band, point)) return item.get();
    }
    return nullptr;
}

void CImagePaintEx::Invalidate(const RECT& rect) {
    if (window_) InvalidateRect(window_, &rect, TRUE);
}

void CImagePaintEx::Reset() {
    hot_ = nullptr;
    lastClicked_ = nullptr;
    auto rows = std::move(items_);
    items_.clear();
    rows.clear();
    backgroundBrush_.reset();
    hoverBrush_.reset();
    selectedBrush_.reset();
    cursor_ = POINT{-1, -1};
    tracking_ = false;
    window_ = nullptr;
    lastClient_ = RECT{0, 0, 0, 0};
}
