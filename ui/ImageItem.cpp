#include "ui/ImageItem.h"

#include "ui/Drawing.h"
#include "ui/ImagePaintEx.h"

#include <algorithm>
#include <utility>

namespace {

bool Contains(const RECT& r, POINT p) { return PtInRect(&r, p) != FALSE; }

}  // namespace

CImageItem::CImageItem(CImagePaintEx* owner, int id, int height)
    : owner(owner), id(id), height(height) {}

CImageItem::~CImageItem() {
    hotButton = nullptr;
    buttons.clear();
    statics.clear();
    progressBars.clear();
    for (ChildWindow& child : childWindows) {
        if (HWND window = child.window->Hwnd()) DestroyWindow(window);
    }
    childWindows.clear();
}

RECT CImageItem::PlaceInBand(const RECT& rect, int rightAnchor, const RECT& band) {
    RECT r = rect;
    r.top += band.top;
    r.bottom += band.top;
    if (rightAnchor != -1) {
        const int oldRight = r.right;
        r.right = band.right - rightAnchor;
        r.left = std::max(band.left, r.left + r.right - oldRight);
    }
    r.right = std::min(r.right, band.right);
    r.bottom = std::min(r.bottom, band.bottom);
    return r;
}

RECT CImageItem::PlaceScaled(const RECT& rect, int rightAnchor, const RECT& band) const {
    const UINT dpi = owner->Dpi();
    return PlaceInBand(ScaleBy(rect, dpi), rightAnchor == -1 ? -1 : ScaleBy(rightAnchor, dpi), band);
}

void CImageItem::Paint(Gdiplus::Graphics& graphics, const RECT& rowBand) {
    // A clicked row without a colour of its own looks hovered.
    const Gdiplus::SolidBrush* fill = nullptr;
    if (selected && owner->SelectedBrush()) {
        fill = owner->SelectedBrush();
    } else if (selected || hot) {
        fill = owner->HoverBrush();
    }
    if (fill) graphics.FillRectangle(fill, ToRect(rowBand));

    // An element clipped away entirely is not drawn: an empty override
    // would make it fall back to its own, row-relative rectangle.
    for (const auto& button : buttons) {
        if (!button->visible) continue;
        const RECT r = PlaceScaled(button->rect, button->rightAnchor, rowBand);
        if (r.right > r.left && r.bottom > r.top) button->Paint(graphics, cursor, false, r);
    }
    for (const auto& element : statics) {
        if (!element->visible) continue;
        const RECT r = PlaceScaled(element->rect, element->rightAnchor, rowBand);
        if (r.right > r.left && r.bottom > r.top) element->Paint(graphics, r);
    }
    for (const auto& bar : progressBars) {
        if (bar->visible) bar->Paint(graphics, cursor, false, RECT{0, 0, 0, 0});
    }
}

bool CImageItem::HitTest(POINT point) {
    cursor = point;
    const RECT rowBand = owner->ItemRect(id);
    for (const auto& button : buttons) {
        if (!button->visible) continue;
        CImageButton* candidate = button.get();
        const bool inside =
            Contains(PlaceScaled(candidate->rect, candidate->rightAnchor, rowBand), point);
        if (hotButton) {
            if (inside) {
                if (candidate == hotButton) return false;
                hotButton = candidate;
                return true;
            }
            if (candidate == hotButton) {
                hotButton = nullptr;
                return true;
            }
        } else if (inside) {
            hotButton = candidate;
            return true;
        }
    }
    return false;
}

void CImageItem::Leave() {
    cursor.x = -1;
    hotButton = nullptr;
}

void CImageItem::Layout(const RECT& rowBand) {
    for (ChildWindow& child : childWindows) {
        HWND window = child.window->Hwnd();
        if (!window) continue;
        RECT r = ScaleBy(child.rect, owner->Dpi());
        OffsetRect(&r, rowBand.left, rowBand.top);
        r.right = std::min(r.right, rowBand.right);
        r.bottom = std::min(r.bottom, rowBand.bottom);
        MoveWindow(window, r.left, r.top, std::max(0, RectWidth(r)), std::max(0, RectHeight(r)),
                   TRUE);
    }
}

void CImageItem::OnHover() {}

CImageButton* CImageItem::AddButton(int buttonId, const RECT& rect, const wchar_t* text) {
    for (const auto& button : buttons) {
        if (button->id == buttonId) return button.get();
    }
    buttons.push_back(std::make_unique<CImageButton>(owner->Window(), buttonId, rect, text));
    buttons.back()->dpi = owner->Dpi();
    return buttons.back().get();
}

void CImageItem::AddChildWindow(std::unique_ptr<CWindowCtrl> window, const RECT& rect) {
    if (!window) return;
    childWindows.push_back(ChildWindow{std::move(window), rect});
    if (!IsRectEmpty(&band)) Layout(band);
}

void CImageItem::SetSelected(bool select) {
    if (select) {
        if (CImageItem* last = owner->LastClicked()) last->selected = false;
        selected = true;
    } else {
        selected = false;
    }
}
