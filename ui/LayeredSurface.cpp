#include "ui/LayeredSurface.h"

#include "ui/ScopedGdi.h"

#include <cstring>

UpdateLayeredWindowProc FindUpdateLayeredWindow() {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (!user32) return nullptr;
    return reinterpret_cast<UpdateLayeredWindowProc>(
        reinterpret_cast<void*>(GetProcAddress(user32, "UpdateLayeredWindow")));
}

bool LayeredSurface::Prepare(int width, int height) {
    if (width <= 0 || height <= 0) {
        Release();
        return false;
    }
    if (dib_ && width == width_ && height == height_) {
        GdiFlush();
        std::memset(bits_, 0, static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
        return true;
    }
    Release();
    ScopedWindowDc screen(nullptr);
    dc_.Reset(CreateCompatibleDC(screen.Get()));
    if (!dc_) return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    dib_.Reset(CreateDIBSection(dc_.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib_ || !bits) {
        Release();
        return false;
    }
    bits_ = static_cast<DWORD*>(bits);
    selected_.emplace(dc_.Get(), dib_.Get());
    width_ = width;
    height_ = height;
    return true;
}

bool LayeredSurface::Present(HWND window, UpdateLayeredWindowProc update, BYTE alpha) const {
    if (!update || !dib_ || !window) return false;
    RECT windowRect{};
    if (!GetWindowRect(window, &windowRect)) return false;
    GdiFlush();
    POINT destination{windowRect.left, windowRect.top};
    SIZE size{width_, height_};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
    ScopedWindowDc screen(nullptr);
    return update(window, screen.Get(), &destination, &size, dc_.Get(), &source, 0, &blend,
                  ULW_ALPHA) != FALSE;
}

bool LayeredSurface::Clip(const RECT& rect, RECT& clipped) const {
    const RECT whole{0, 0, width_, height_};
    return bits_ && IntersectRect(&clipped, &rect, &whole) != FALSE;
}

std::vector<DWORD> LayeredSurface::Copy(const RECT& rect) const {
    std::vector<DWORD> pixels;
    RECT r{};
    if (!Clip(rect, r)) return pixels;
    GdiFlush();
    const size_t width = static_cast<size_t>(r.right - r.left);
    pixels.resize(width * static_cast<size_t>(r.bottom - r.top));
    DWORD* out = pixels.data();
    for (int y = r.top; y < r.bottom; ++y, out += width) std::memcpy(out, Row(y) + r.left, width * 4);
    return pixels;
}

void LayeredSurface::Paste(const RECT& rect, const std::vector<DWORD>& pixels) {
    RECT r{};
    if (!Clip(rect, r)) return;
    const size_t width = static_cast<size_t>(r.right - r.left);
    if (pixels.size() != width * static_cast<size_t>(r.bottom - r.top)) return;
    GdiFlush();
    const DWORD* in = pixels.data();
    for (int y = r.top; y < r.bottom; ++y, in += width) std::memcpy(Row(y) + r.left, in, width * 4);
}

void LayeredSurface::Release() {
    selected_.reset();
    dib_.Reset();
    dc_.Reset();
    bits_ = nullptr;
    width_ = 0;
    height_ = 0;
}
