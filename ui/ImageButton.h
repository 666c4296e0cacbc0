// The clickable element of skinned windows and menu rows.
//
// A button is not a window: it lives in the element list of a painter
// (CImagePaint) or a menu row, which decides when it is hot or pressed and
// passes the cursor point and the pressed flag on every paint. It draws an
// optional background fill, one of its state images, an optional icon, its
// text and an optional one-pixel frame with cut corners. Hover and pressed
// looks fall back to the normal one wherever they are not set.
//
// Owners configure buttons by setting the public fields directly; the
// operations below are those that keep several fields consistent.
#pragma once

#include "ui/Dpi.h"
#include "ui/ImageLoader.h"

#include <windows.h>
#include <objidl.h>  // gdiplus.h needs it under WIN32_LEAN_AND_MEAN
#include <gdiplus.h>

#include <array>
#include <memory>

class CImageButton {
public:
    // Index of the state images, brushes and pens.
    enum StateIndex { kNormal = 0, kHover = 1, kPressed = 2, kCheckedNormal = 3 };
    // Element kinds.
    enum Kind { kPlain = 0, kComposite = 1, kLink = 2 };
    static constexpr size_t kTextUnits = 256;

    CImageButton(HWND owner, int id, const RECT& rect, const wchar_t* text);
    virtual ~CImageButton();

    CImageButton(const CImageButton&) = delete;
    CImageButton& operator=(const CImageButton&) = delete;

    // Draws the button in overrideRect when its right differs from its left,
    // else in its own rectangle; hover when that contains cursor, pressed
    // when it also has leftPressed or the button is selected.
    virtual void Paint(Gdiplus::Graphics& graphics, POINT cursor, bool leftPressed,
                       const RECT& overrideRect);
    virtual void SetRect(const RECT& rect);
    // The sub-part under point; plain buttons have none (0).
    virtual BYTE HitPart(POINT point);
    // Draws the text into rect (padding, icon and maximum height applied).
    // windows.h renames DrawText to DrawTextW, here and in every caller.
    virtual void DrawText(Gdiplus::Graphics& graphics, RECT rect,
                          const Gdiplus::Brush* brush);

    // Replaces all four state images, unless normalId is 0 (then nothing
    // changes). An id of 0 leaves that state without an image.
    void SetImages(int normalId, int hoverId, int pressedId, int checkedNormalId);
    // Normal and hover from the two halves of a two-state strip; ends the
    // four-state pairing. Pressed and checked-normal stay as they are.
    void SetImageStrip(int resourceId);
    // A change of the checked state swaps normal with checked-normal and
    // hover with pressed (four-state), or normal with pressed (two-state).
    void SetChecked(bool checked);
    bool Checked() const { return checked_; }
    // Brushes for the text of each state; a colour with alpha 0 gives none.
    void SetTextColors(Gdiplus::ARGB normal, Gdiplus::ARGB hover, Gdiplus::ARGB pressed);
    // The same for the background fill and the one-pixel frame.
    void SetBackgroundColors(Gdiplus::ARGB normal, Gdiplus::ARGB hover, Gdiplus::ARGB pressed);
    void SetFrameColors(Gdiplus::ARGB normal, Gdiplus::ARGB hover, Gdiplus::ARGB pressed);
    void SetText(const wchar_t* value);
    // Decodes the images again for the scale and keeps the checked state;
    // the text font follows on its next draw.
    void SetDpi(UINT value);

    BYTE currentPart = 0;           // last HitPart answer, kept by the painter
    bool selected = false;          // drawn pressed whatever the cursor does
    int rightAnchor = -1;           // distance from the parent's right edge; -1 none
    int bottomAnchor = -1;          // distance from the parent's bottom edge; -1 none
    POINT imageOffset{0, 0};        // mode 3 with x != 0: natural size at this offset
    RECT textPadding{0, 2, 0, 0};   // left, top, right, bottom
    bool fourState = true;
    bool showText = true;
    int kind = kPlain;
    int imageMode = 3;              // 3 stretched, 4 state then normal, 5 normal then state
    int id;
    RECT rect;                      // owner's client coordinates, device pixels
    RECT layoutRect{0, 0, 0, 0};    // the 96-DPI rectangle the painter was given
    UINT dpi = kBaseDpi;                  // scale of images, text, padding and offsets
    bool visible = true;
    bool inactive = false;          // no built-in click actions
    // Made when text is first drawn without a custom font: looking a family
    // up costs more than a window's first frame can spare.
    std::unique_ptr<Gdiplus::Font> defaultFont;
    std::shared_ptr<Gdiplus::Font> customFont;  // shared: owners may keep using it
    wchar_t text[kTextUnits];
    int maxTextHeight = 0;
    wchar_t tooltipText[kTextUnits];
    HWND owner;
    std::array<OwnedImage, 4> images;       // normal, hover, pressed, checked-normal
    OwnedImage stripImage;
    bool hasIcon = false;
    std::array<OwnedImage, 2> iconImages;   // normal, hover
    RECT iconRect{0, 0, 0, 0};              // relative to the button's top-left
    std::array<std::unique_ptr<Gdiplus::Pen>, 3> framePens;
    std::array<std::unique_ptr<Gdiplus::SolidBrush>, 3> backgroundBrushes;
    std::array<std::unique_ptr<Gdiplus::SolidBrush>, 3> textBrushes;
    int textAlignment = Gdiplus::StringAlignmentCenter;

private:
    bool checked_ = false;
    std::array<int, 4> imageIds_{};
    int stripId_ = 0;
    UINT fontDpi_ = 0;
};
