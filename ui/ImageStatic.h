// The non-interactive element of painters and menu rows: an image stretched
// into its rectangle (optionally through a mirrored tiling of its edges),
// with an optional background fill and optional text. Anchored to the right
// and bottom edges like buttons; with a fixed left or top it stretches
// instead of moving.
#pragma once

#include "ui/Dpi.h"
#include "ui/ImageLoader.h"

#include <windows.h>
#include <objidl.h>  // gdiplus.h needs it under WIN32_LEAN_AND_MEAN
#include <gdiplus.h>

#include <memory>

class CImageStatic {
public:
    static constexpr size_t kTextUnits = 256;

    CImageStatic();
    virtual ~CImageStatic();

    CImageStatic(const CImageStatic&) = delete;
    CImageStatic& operator=(const CImageStatic&) = delete;

    // Draws into overrideRect when its right differs from its left, else into
    // the static's own rectangle.
    void Paint(Gdiplus::Graphics& graphics, const RECT& overrideRect);

    // Brushes from ARGB values; alpha 0 leaves the static without one.
    void SetTextColor(Gdiplus::ARGB color);
    void SetBackgroundColor(Gdiplus::ARGB color);
    void SetText(const wchar_t* value);

    int rightAnchor = -1;     // distance from the parent's right edge; -1 none
    int bottomAnchor = -1;    // distance from the parent's bottom edge; -1 none
    int fixedLeft = -1;       // with a right anchor: the left edge stays here
    int fixedTop = -1;        // with a bottom anchor: the top edge stays here
    std::unique_ptr<Gdiplus::SolidBrush> textBrush;
    std::unique_ptr<Gdiplus::SolidBrush> backgroundBrush;
    int textOffset = 0;       // added to the left edge of the text box
    bool wrapEdges = false;   // draw through TileFlipXY image attributes
    RECT rect{0, 0, 0, 0};    // device pixels
    RECT layoutRect{0, 0, 0, 0};  // the 96-DPI rectangle the painter was given
    UINT dpi = kBaseDpi;            // scale of the image and the text
    OwnedImage image;
    int imageId = 0;
    int id = 0;
    wchar_t text[kTextUnits];
    // Made when text is first drawn without a custom font.
    std::unique_ptr<Gdiplus::Font> defaultFont;
    UINT defaultFontDpi = 0;
    std::shared_ptr<Gdiplus::Font> customFont;  // shared: owners may keep using it
    bool visible = true;
    int textAlignment = Gdiplus::StringAlignmentCenter;
};
