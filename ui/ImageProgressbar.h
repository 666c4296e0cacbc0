// A windowless progress bar element: an image track stretched over the
// rectangle and the left part of a fill image, as wide as the position
// demands, drawn at its natural height and centred on the track.
//
// The owner thread paints it; SetPos may be called from any thread (the
// uninstall worker does) and only writes the position and invalidates.
#pragma once

#include "ui/Dpi.h"
#include "ui/ImageLoader.h"

#include <windows.h>
#include <objidl.h>  // gdiplus.h needs it under WIN32_LEAN_AND_MEAN
#include <gdiplus.h>

#include <atomic>
#include <cstdint>

class CImageProgressbar {
public:
    static constexpr int kId = 2285;

    CImageProgressbar(HWND owner, const RECT& rect);
    virtual ~CImageProgressbar();

    CImageProgressbar(const CImageProgressbar&) = delete;
    CImageProgressbar& operator=(const CImageProgressbar&) = delete;

    // The cursor point and pressed flag are unused; the signature matches
    // the other elements'.
    virtual void Paint(Gdiplus::Graphics& graphics, POINT cursor, bool pressed,
                       const RECT& overrideRect);
    // Stores the rectangle without repainting.
    virtual void SetRect(const RECT& rect);

    // Frees both images and loads the track and the fill again, at dpi.
    void LoadImages(UINT dpi = kBaseDpi);
    // Stores the percentage (not clamped) and, with repaint on change,
    // invalidates the rectangle.
    void SetPos(int64_t percent);
    int64_t Pos() const { return position_.load(); }

    HWND owner;
    RECT rect;                      // device pixels
    RECT layoutRect{0, 0, 0, 0};    // the 96-DPI rectangle the painter was given
    int id = kId;
    // The caller's images: the toolkit knows no program's resources.
    int trackImageId = 0;
    int fillImageId = 0;
    OwnedImage trackImage;
    OwnedImage fillImage;
    bool visible = true;
    bool repaintOnChange = true;

private:
    std::atomic<int64_t> position_{0};
};
