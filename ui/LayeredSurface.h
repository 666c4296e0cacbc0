// Per-pixel-alpha drawing of layered windows: a 32-bit DIB in a memory DC
// that GDI+ draws into, handed to the window with UpdateLayeredWindow.
//
// UpdateLayeredWindow is looked up at run time in a user32 that is already
// loaded; without it a layered window simply stays undrawn.
#pragma once

#include "ui/ScopedGdi.h"

#include <windows.h>

#include <optional>
#include <vector>

using UpdateLayeredWindowProc = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                              BLENDFUNCTION*, DWORD);

// UpdateLayeredWindow of the loaded user32.dll, or null.
UpdateLayeredWindowProc FindUpdateLayeredWindow();

class LayeredSurface {
public:
    LayeredSurface() = default;
    ~LayeredSurface() { Release(); }
    LayeredSurface(const LayeredSurface&) = delete;
    LayeredSurface& operator=(const LayeredSurface&) = delete;

    // A fully transparent width by height surface compatible with the
    // screen; the DIB is reused when the size is unchanged. False when the
    // size is not positive or the DIB cannot be made.
    bool Prepare(int width, int height);

    // Shows the surface as the window's content at the window's screen
    // position, with the given constant alpha on top of the per-pixel alpha.
    bool Present(HWND window, UpdateLayeredWindowProc update, BYTE alpha) const;

    void Release();

    HDC Dc() const { return dc_.Get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The pixels, premultiplied BGRA, bottom row first.
    const DWORD* Pixels() const { return bits_; }

    // The pixels of rect, as far as it lies on the surface, row by row;
    // Paste puts pixels taken from the same rectangle back.
    std::vector<DWORD> Copy(const RECT& rect) const;
    void Paste(const RECT& rect, const std::vector<DWORD>& pixels);

private:
    // rect cut to the surface; false when nothing of it is left.
    bool Clip(const RECT& rect, RECT& clipped) const;
    DWORD* Row(int y) const { return bits_ + static_cast<size_t>(height_ - 1 - y) * static_cast<size_t>(width_); }

    // Declared in the order of making: the DIB leaves the DC before either
    // goes.
    ScopedMemoryDc dc_;
    ScopedBitmap dib_;
    std::optional<ScopedSelectObject> selected_;
    DWORD* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};
