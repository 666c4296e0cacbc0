#include "ui/ImageProgressbar.h"

#include "ui/Drawing.h"

#include <algorithm>

namespace {

constexpr Gdiplus::ARGB kWrapColor = 0xFF000000;

}  // namespace

CImageProgressbar::CImageProgressbar(HWND owner, const RECT& rect) : owner(owner), rect(rect) {}

CImageProgressbar::~CImageProgressbar() = default;

void CImageProgressbar::Paint(Gdiplus::Graphics& graphics, POINT, bool, const RECT& overrideRect) {
    if (!visible) return;
    const RECT r = overrideRect.left != overrideRect.right ? overrideRect : rect;
    const int width = RectWidth(r);
    const int height = RectHeight(r);
    if (width <= 0 || height <= 0) return;

    if (trackImage) graphics.DrawImage(trackImage.Get(), r.left, r.top, width, height);
    if (!fillImage) return;

    const int64_t position = position_.load();
    // A negative position would turn into an enormous width in the unsigned
    // division below; it shows an empty bar.
    if (position <= 0) return;
    // Positions so large that the product would wrap around fill everything.
    const uint64_t span = static_cast<uint64_t>(width);
    uint64_t fill = static_cast<uint64_t>(position) > UINT64_MAX / span
                        ? UINT64_MAX
                        : static_cast<uint64_t>(position) * span / 100u;
    // A fill past the right edge of the surface is never seen; cutting it
    // there keeps absurd positions from costing anything.
    Gdiplus::Rect visibleBounds;
    if (graphics.GetVisibleClipBounds(&visibleBounds) == Gdiplus::Ok) {
        const int64_t room = static_cast<int64_t>(visibleBounds.GetRight()) - r.left;
        if (room <= 0) return;
        fill = std::min<uint64_t>(fill, static_cast<uint64_t>(room));
    }
    fill = std::min<uint64_t>(fill, INT32_MAX);
    if (fill == 0) return;

    const INT fillHeight = static_cast<INT>(fillImage->GetHeight());
    const INT top = r.top + ((height - fillHeight) >> 1);
    Gdiplus::ImageAttributes attributes;
    attributes.SetWrapMode(Gdiplus::WrapModeTileFlipXY, Gdiplus::Color(kWrapColor));
    const INT fillWidth = static_cast<INT>(fill);
    graphics.DrawImage(fillImage.Get(), Gdiplus::Rect(r.left, top, fillWidth, fillHeight), 0, 0,
                       fillWidth, fillHeight, Gdiplus::UnitPixel, &attributes);
}

void CImageProgressbar::SetRect(const RECT& value) { rect = value; }

void CImageProgressbar::LoadImages(UINT dpi) {
    trackImage.Reset();
    fillImage.Reset();
    trackImage = LoadPngResource(trackImageId, dpi);
    fillImage = LoadPngResource(fillImageId, dpi);
}

void CImageProgressbar::SetPos(int64_t percent) {
    position_.store(percent);
    // A null window would invalidate every window of the desktop.
    if (repaintOnChange && owner) InvalidateRect(owner, &rect, TRUE);
}
