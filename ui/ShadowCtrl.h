// The drop shadow of skinned windows: a separate layered popup, larger than
// its owner by `size` pixels on every side, that draws three translucent
// grey rounded outlines with per-pixel alpha, at the scale of the window it
// decorates (size, radius and pens are 96-DPI values). It never paints through
// WM_PAINT: the owner places it (PlaceAround) whenever it moves or resizes
// and asks it to Render.
#pragma once

#include "ui/Dpi.h"
#include "ui/LayeredSurface.h"
#include "ui/WindowCtrl.h"

#include <windows.h>
#include <objidl.h>  // gdiplus.h needs it under WIN32_LEAN_AND_MEAN
#include <gdiplus.h>

#include <array>
#include <memory>

class CShadowCtrl : public CWindowCtrl {
public:
    static constexpr wchar_t kClassName[] = L"ShadowCtrl";

    CShadowCtrl();
    ~CShadowCtrl() override;

    void OnCreate(CREATESTRUCTW* cs) override;
    void OnDestroy() override;
    void OnShowWindow(BOOL show, int status) override;
    // Draws the outlines into the window with the given constant alpha;
    // nothing without UpdateLayeredWindow.
    virtual void Render(BYTE alpha);

    // Draws the three outlines of a width by height shadow window.
    void PaintOutlines(Gdiplus::Graphics& graphics, int width, int height);
    // The popup menu's lighter grey; remakes the pens.
    void SetMenuColors();
    // Moves the shadow window to owner's window rectangle enlarged by size
    // on every side (an empty rectangle is not enlarged).
    void PlaceAround(HWND owner);

    int size = 6;
    int cornerRadius = 3;
    // Outer, middle and inner outline.
    std::array<Gdiplus::ARGB, 3> colors{0x0F8A8A8A, 0x328A8A8A, 0x648A8A8A};

private:
    void MakePens();

    UINT scale_ = kBaseDpi;  // the owner's, taken when placed around it
    UpdateLayeredWindowProc updateLayered_ = nullptr;
    std::array<std::unique_ptr<Gdiplus::Pen>, 3> pens_;
};
