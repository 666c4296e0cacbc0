#include "tests/support/Painting.h"

#include <windowsx.h>

#include <cstring>

Canvas::Canvas(int width, int height, DWORD argb) : width_(width), height_(height) {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    dib_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<DWORD*>(bits);
    old_ = SelectObject(dc_, dib_);
    Clear(argb);
    graphics_ = std::make_unique<Gdiplus::Graphics>(dc_);
    graphics_->SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
}

Canvas::~Canvas() {
    graphics_.reset();
    SelectObject(dc_, old_);
    DeleteObject(dib_);
    DeleteDC(dc_);
}

void Canvas::Clear(DWORD argb) {
    GdiFlush();
    for (int i = 0; i < width_ * height_; ++i) bits_[i] = argb;
}

DWORD Canvas::Pixel(int x, int y) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    if (graphics_) graphics_->Flush(Gdiplus::FlushIntentionSync);
    GdiFlush();
    return bits_[y * width_ + x];
}

int Canvas::CountRgb(const RECT& area, DWORD rgb) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (Rgb(Pixel(x, y)) == rgb) ++count;
        }
    }
    return count;
}

std::unique_ptr<Canvas> CaptureClient(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    auto canvas = std::make_unique<Canvas>(client.right, client.bottom, 0);
    HDC source = GetDC(window);
    BitBlt(canvas->Dc(), 0, 0, client.right, client.bottom, source, 0, 0, SRCCOPY);
    ReleaseDC(window, source);
    return canvas;
}

std::vector<DWORD> ScreenRgb(const RECT& rect) {
    Canvas canvas(rect.right - rect.left, rect.bottom - rect.top, 0);
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.Dc(), 0, 0, canvas.Width(), canvas.Height(), screen, rect.left, rect.top, SRCCOPY | CAPTUREBLT);
    ReleaseDC(nullptr, screen);
    std::vector<DWORD> pixels;
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) pixels.push_back(Rgb(canvas.Pixel(x, y)));
    }
    return pixels;
}

std::vector<DWORD> PngRgb(const std::wstring& path, SIZE size) {
    Gdiplus::Bitmap png(path.c_str());
    std::vector<DWORD> pixels;
    if (png.GetLastStatus() != Gdiplus::Ok || static_cast<LONG>(png.GetWidth()) != size.cx ||
        static_cast<LONG>(png.GetHeight()) != size.cy) {
        return pixels;
    }
    Gdiplus::Color color;
    for (int y = 0; y < size.cy; ++y) {
        for (int x = 0; x < size.cx; ++x) pixels.push_back(png.GetPixel(x, y, &color) == Gdiplus::Ok ? Rgb(color.GetValue()) : ~0u);
    }
    return pixels;
}

HWND PainterHost::Open(int x, int y, int cx, int cy, DWORD exStyle) {
    HWND window = Create(exStyle, L"PainterHost", L"painter", WS_POPUP, x, y, cx, cy, nullptr);
    // Shown without activation: Wine then leaves the window to itself
    // instead of waiting seconds at DestroyWindow for a window manager.
    if (window) ShowWindow(window, SW_SHOWNOACTIVATE);
    return window;
}

HWND PainterHost::OpenChild(HWND parent, int cx, int cy) {
    return Create(0, L"PainterHost", L"painter", WS_CHILD | WS_VISIBLE, 0, 0, cx, cy, parent);
}

LRESULT PainterHost::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) painter.SetWindow(Hwnd());
    if (msg == WM_NCLBUTTONDOWN && wParam == HTCAPTION) {
        captionMoves.push_back(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 1;
    }
    if (msg == WM_PAINT) ++paints;
    const bool handled = painter.HandleMessage(msg, wParam, lParam);
    if (msg == WM_CREATE && onCreate) onCreate(*this);
    return handled ? 1 : 0;
}

LRESULT SendMouse(HWND window, UINT msg, int x, int y, WPARAM keys) {
    POINT screen{x, y};
    ClientToScreen(window, &screen);
    SetCursorPos(screen.x, screen.y);
    return SendMessageW(window, msg, keys, MAKELPARAM(x, y));
}
