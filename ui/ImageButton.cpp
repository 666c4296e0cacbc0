#include "ui/ImageButton.h"

#include "ui/Dpi.h"
#include "ui/Drawing.h"
#include "ui/Fonts.h"
#include "base/TextBuf.h"

#include <utility>

namespace {

constexpr Gdiplus::ARGB kDefaultTextColor = 0xFF000000;

bool Contains(const RECT& r, POINT p) { return PtInRect(&r, p) != FALSE; }

void DrawStretched(Gdiplus::Graphics& graphics, Gdiplus::Image* image, const RECT& r) {
    if (image) graphics.DrawImage(image, ToRect(r));
}

}  // namespace

CImageButton::CImageButton(HWND owner, int id, const RECT& rect, const wchar_t* text)
    : id(id), rect(rect), owner(owner) {
    CopyText(this->text, text);
    CopyText(tooltipText, L"");
    textBrushes[kNormal] = MakeBrush(kDefaultTextColor);
}

CImageButton::~CImageButton() = default;

void CImageButton::Paint(Gdiplus::Graphics& graphics, POINT cursor, bool leftPressed,
                         const RECT& overrideRect) {
    if (!visible) return;
    const RECT d = overrideRect.right != overrideRect.left ? overrideRect : rect;
    // Nothing fits into an empty or inverted rectangle; GDI+ would mirror it.
    if (d.right <= d.left || d.bottom <= d.top) return;

    int state = kNormal;
    if (Contains(d, cursor)) state = leftPressed ? kPressed : kHover;
    if (selected) state = kPressed;

    Gdiplus::Image* normalImage = images[kNormal].Get();
    Gdiplus::Image* stateImage = normalImage;
    Gdiplus::Image* icon = iconImages[kNormal].Get();
    if (state == kHover) {
        if (images[kHover]) stateImage = images[kHover].Get();
    } else if (state == kPressed) {
        if (images[kPressed]) {
            stateImage = images[kPressed].Get();
        } else if (images[kHover]) {
            stateImage = images[kHover].Get();
        }
    }
    if (state != kNormal && iconImages[kHover]) icon = iconImages[kHover].Get();
    const Gdiplus::Pen* pen =
        framePens[state] ? framePens[state].get() : framePens[kNormal].get();
    const Gdiplus::Brush* background = backgroundBrushes[state]
                                           ? backgroundBrushes[state].get()
                                           : backgroundBrushes[kNormal].get();
    const Gdiplus::Brush* textBrush =
        textBrushes[state] ? textBrushes[state].get() : textBrushes[kNormal].get();

    const int width = RectWidth(d);
    const int height = RectHeight(d);
    if (background) {
        if (pen) {
            graphics.FillRectangle(background, d.left + 1, d.top + 1, width - 2, height - 2);
        } else {
            graphics.FillRectangle(background, d.left, d.top, width, height);
        }
    }

    switch (imageMode) {
    case 3:
        if (stateImage && imageOffset.x != 0) {
            graphics.DrawImage(stateImage, d.left + ScaleBy(imageOffset.x, dpi),
                               d.top + ScaleBy(imageOffset.y, dpi),
                               static_cast<INT>(stateImage->GetWidth()),
                               static_cast<INT>(stateImage->GetHeight()));
        } else {
            DrawStretched(graphics, stateImage, d);
        }
        break;
    case 4:
        DrawStretched(graphics, stateImage, d);
        if (normalImage && normalImage != stateImage) DrawStretched(graphics, normalImage, d);
        break;
    case 5:
        if (normalImage && normalImage != stateImage) DrawStretched(graphics, normalImage, d);
        DrawStretched(graphics, stateImage, d);
        break;
    default:
        break;
    }

    if (hasIcon && icon) {
        const RECT iconBox = ScaleBy(iconRect, dpi);
        graphics.DrawImage(icon, d.left + iconBox.left, d.top + iconBox.top, RectWidth(iconBox),
                           RectHeight(iconBox));
    }

    DrawText(graphics, d, textBrush);

    if (pen) {
        const INT l = d.left, t = d.top, r = d.right, b = d.bottom;
        const Gdiplus::Point frame[] = {{l, t + 1},     {l + 1, t},     {r - 2, t},
                                        {r - 1, t + 1}, {r - 1, b - 2}, {r - 2, b - 1},
                                        {l + 1, b - 1}, {l, b - 2},     {l, t + 1}};
        graphics.DrawLines(pen, frame, static_cast<INT>(sizeof(frame) / sizeof(frame[0])));
    }
}

void CImageButton::SetRect(const RECT& value) { rect = value; }

BYTE CImageButton::HitPart(POINT) { return 0; }

void CImageButton::DrawText(Gdiplus::Graphics& graphics, RECT box, const Gdiplus::Brush* brush) {
    if (!showText || text[0] == L'\0' || !brush) return;
    if (hasIcon && iconImages[kNormal]) box.left += ScaleBy(iconRect.right, dpi) - 1;
    const RECT padding = ScaleBy(textPadding, dpi);
    box.left += padding.left;
    box.top += padding.top;
    box.right -= padding.right;
    box.bottom -= padding.bottom + 1;

    int top = box.top;
    int height = box.bottom - box.top;
    const int maxHeight = ScaleBy(maxTextHeight, dpi);
    if (maxHeight != 0 && maxHeight < height) {
        top += (height - maxHeight) / 2;
        height = maxHeight;
    }
    if (fontDpi_ != dpi) defaultFont.reset();
    if (!customFont && !defaultFont) {
        defaultFont = MakeDefaultElementFont(dpi);
        fontDpi_ = dpi;
    }
    const Gdiplus::Font* font = customFont ? customFont.get() : defaultFont.get();
    DrawBoxedText(graphics, text, font, brush, textAlignment, box.left, top, box.right - box.left,
                  height);
}

void CImageButton::SetImages(int normalId, int hoverId, int pressedId, int checkedNormalId) {
    if (normalId == 0) return;
    imageIds_ = {normalId, hoverId, pressedId, checkedNormalId};
    for (OwnedImage& image : images) image.Reset();
    images[kNormal] = LoadPngResource(normalId, dpi);
    images[kHover] = LoadPngResource(hoverId, dpi);
    images[kPressed] = LoadPngResource(pressedId, dpi);
    images[kCheckedNormal] = LoadPngResource(checkedNormalId, dpi);
}

void CImageButton::SetImageStrip(int resourceId) {
    fourState = false;
    stripId_ = resourceId;
    stripImage = LoadPngResource(resourceId, dpi);
    images[kNormal].Reset();
    images[kHover].Reset();
    if (!stripImage) return;
    const int width = static_cast<int>(stripImage->GetWidth());
    const int height = static_cast<int>(stripImage->GetHeight());
    images[kNormal] = CropImage(stripImage.Get(), 0, width / 2, height);
    images[kHover] = CropImage(stripImage.Get(), width / 2, width / 2, height);
}

void CImageButton::SetChecked(bool value) {
    if (value == checked_) return;
    checked_ = value;
    if (fourState) {
        std::swap(images[kNormal], images[kCheckedNormal]);
        std::swap(images[kHover], images[kPressed]);
    } else {
        std::swap(images[kNormal], images[kPressed]);
    }
}

void CImageButton::SetTextColors(Gdiplus::ARGB normal, Gdiplus::ARGB hover, Gdiplus::ARGB pressed) {
    textBrushes[kNormal] = MakeBrush(normal);
    textBrushes[kHover] = MakeBrush(hover);
    textBrushes[kPressed] = MakeBrush(pressed);
}

void CImageButton::SetBackgroundColors(Gdiplus::ARGB normal, Gdiplus::ARGB hover,
                                       Gdiplus::ARGB pressed) {
    backgroundBrushes[kNormal] = MakeBrush(normal);
    backgroundBrushes[kHover] = MakeBrush(hover);
    backgroundBrushes[kPressed] = MakeBrush(pressed);
}

void CImageButton::SetFrameColors(Gdiplus::ARGB normal, Gdiplus::ARGB hover, Gdiplus::ARGB pressed) {
    framePens[kNormal] = MakePen(normal);
    framePens[kHover] = MakePen(hover);
    framePens[kPressed] = MakePen(pressed);
}

void CImageButton::SetText(const wchar_t* value) { CopyText(text, value); }

// The images come back unchecked; the checked swap is made again on them.
void CImageButton::SetDpi(UINT value) {
    if (value == dpi) return;
    dpi = value;
    const bool wasChecked = checked_;
    checked_ = false;
    if (imageIds_[kNormal] != 0) {
        const bool keepFourState = fourState;
        SetImages(imageIds_[kNormal], imageIds_[kHover], imageIds_[kPressed], imageIds_[kCheckedNormal]);
        fourState = keepFourState;
    }
    if (!fourState && stripId_ != 0) SetImageStrip(stripId_);
    SetChecked(wasChecked);
}
