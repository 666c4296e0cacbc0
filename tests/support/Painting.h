// Painting helpers for tests: an off-screen 32-bit canvas whose pixels can
// be read, and a window that hosts a CImagePaint the way skinned windows do
// (bound at WM_NCCREATE, every message handed to the painter).
#pragma once

#include "ui/ImagePaint.h"
#include "ui/WindowCtrl.h"

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

// RECT comparisons in assertions.
inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline void PrintTo(const RECT& r, std::ostream* os) {
    *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

// Opaque colours as 0xRRGGBB, for comparing pixels.
constexpr DWORD kRed = 0xFF0000;
constexpr DWORD kGreen = 0x00FF00;
constexpr DWORD kBlue = 0x0000FF;
constexpr DWORD kYellow = 0xFFFF00;
constexpr DWORD kMagenta = 0xFF00FF;
constexpr DWORD kCyan = 0x00FFFF;
constexpr DWORD kWhite = 0xFFFFFF;
constexpr DWORD kBlack = 0x000000;

inline DWORD Rgb(DWORD argb) { return argb & 0xFFFFFF; }
inline DWORD Alpha(DWORD argb) { return argb >> 24; }

// A top-down 32-bit DIB in a memory DC with a GDI+ Graphics on it.
class Canvas {
public:
    Canvas(int width, int height, DWORD argb = 0xFFFFFFFF);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    Gdiplus::Graphics& Graphics() { return *graphics_; }
    HDC Dc() const { return dc_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void Clear(DWORD argb);
    // The stored value (premultiplied BGRA read as 0xAARRGGBB); (0, 0) is
    // the top-left pixel. Outside the canvas: 0.
    DWORD Pixel(int x, int y);
    // How many pixels of the rectangle have this colour (alpha ignored).
    int CountRgb(const RECT& area, DWORD rgb);

private:
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP dib_ = nullptr;
    HGDIOBJ old_ = nullptr;
    DWORD* bits_ = nullptr;
    std::unique_ptr<Gdiplus::Graphics> graphics_;
};

// Reads the window's client area as it is shown (non-layered windows).
std::unique_ptr<Canvas> CaptureClient(HWND window);

// The screen's pixels in rect, and a PNG file's (empty unless of size), as
// 0xRRGGBB row by row.
std::vector<DWORD> ScreenRgb(const RECT& rect);
std::vector<DWORD> PngRgb(const std::wstring& path, SIZE size);

class PainterHost : public CWindowCtrl {
public:
    CImagePaint painter;
    // Runs at WM_CREATE after the painter saw it; adds elements.
    std::function<void(PainterHost&)> onCreate;
    // Screen points of the caption moves the painter asked for. They are
    // not passed on: a real move loop would wait for the mouse.
    std::vector<POINT> captionMoves;
    int paints = 0;

    // A visible topmost popup at (x, y) of cx by cy, shown without
    // activation.
    HWND Open(int x, int y, int cx, int cy, DWORD exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
    // A child at the parent's top-left. Children maximise inside their
    // parent, which Wine does without a window manager's help (a maximised
    // top-level window costs seconds when it is destroyed).
    HWND OpenChild(HWND parent, int cx, int cy);
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

// Puts the real cursor over the client point (Wine's leave tracking follows
// it), then sends the mouse message with the point.
LRESULT SendMouse(HWND window, UINT msg, int x, int y, WPARAM keys = 0);
