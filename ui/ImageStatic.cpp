#include "ui/ImageStatic.h"

#include "ui/Drawing.h"
#include "ui/Fonts.h"
#include "base/TextBuf.h"

namespace {

constexpr Gdiplus::ARGB kDefaultTextColor = 0xFF000000;
constexpr Gdiplus::ARGB kWrapColor = 0xFF000000;

}  // namespace

CImageStatic::CImageStatic()
    : textBrush(MakeBrush(kDefaultTextColor)) {
    CopyText(text, L"");
}

CImageStatic::~CImageStatic() = default;

void CImageStatic::Paint(Gdiplus::Graphics& graphics, const RECT& overrideRect) {
    if (!visible) return;
    const RECT r = overrideRect.right != overrideRect.left ? overrideRect : rect;
    const int width = RectWidth(r);
    const int height = RectHeight(r);
    if (width <= 0 || height <= 0) return;

    if (backgroundBrush) {
        graphics.FillRectangle(backgroundBrush.get(), r.left - 1, r.top - 1, width + 1, height + 1);
    }
    if (image) {
        if (!wrapEdges) {
            graphics.DrawImage(image.Get(), ToRect(r));
        } else {
            // Mirrored tiling keeps the edge pixels from blending with the
            // transparent outside when the image is stretched.
            Gdiplus::ImageAttributes attributes;
            attributes.SetWrapMode(Gdiplus::WrapModeTileFlipXY, Gdiplus::Color(kWrapColor));
            graphics.DrawImage(image.Get(), ToRect(r), 0, 0,
                               static_cast<INT>(image->GetWidth()),
                               static_cast<INT>(image->GetHeight()), Gdiplus::UnitPixel,
                               &attributes);
        }
    }
    if (text[0] != L'\0' && textBrush) {
        if (defaultFontDpi != dpi) defaultFont.reset();
        if (!customFont && !defaultFont) {
            defaultFont = MakeDefaultElementFont(dpi);
            defaultFontDpi = dpi;
        }
        const Gdiplus::Font* font = customFont ? customFont.get() : defaultFont.get();
        DrawBoxedText(graphics, text, font, textBrush.get(), textAlignment, r.left + ScaleBy(textOffset, dpi), r.top,
                      width, height);
    }
}

void CImageStatic::SetTextColor(Gdiplus::ARGB color) { textBrush = MakeBrush(color); }

void CImageStatic::SetBackgroundColor(Gdiplus::ARGB color) { backgroundBrush = MakeBrush(color); }

void CImageStatic::SetText(const wchar_t* value) { CopyText(text, value); }
