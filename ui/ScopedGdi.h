// Ownership of GDI objects, DCs, icons and the GDI+ session of a thread,
// on base/Scoped.h's handle: every wrapper releases in its destructor.
#pragma once

#include "base/Scoped.h"

#include <windows.h>
#include <objidl.h>  // gdiplus.h needs it under WIN32_LEAN_AND_MEAN
#include <gdiplus.h>

using ScopedBitmap = ScopedHandle<NullHandleTraits<HBITMAP, ::DeleteObject>>;
using ScopedBrush = ScopedHandle<NullHandleTraits<HBRUSH, ::DeleteObject>>;
using ScopedRegion = ScopedHandle<NullHandleTraits<HRGN, ::DeleteObject>>;
using ScopedMemoryDc = ScopedHandle<NullHandleTraits<HDC, ::DeleteDC>>;
using ScopedIcon = ScopedHandle<NullHandleTraits<HICON, ::DestroyIcon>>;
// A font family of the flat GDI+ API.
using ScopedGdipFontFamily =
    ScopedHandle<NullHandleTraits<Gdiplus::GpFontFamily*, Gdiplus::DllExports::GdipDeleteFontFamily>>;

// A DC from GetDC, given back with ReleaseDC to the same window.
class ScopedWindowDc {
public:
    explicit ScopedWindowDc(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
    ~ScopedWindowDc() {
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    ScopedWindowDc(const ScopedWindowDc&) = delete;
    ScopedWindowDc& operator=(const ScopedWindowDc&) = delete;

    HDC Get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint/EndPaint for one WM_PAINT.
class ScopedPaint {
public:
    explicit ScopedPaint(HWND window) noexcept : window_(window) { dc_ = ::BeginPaint(window, &ps_); }
    ~ScopedPaint() { ::EndPaint(window_, &ps_); }
    ScopedPaint(const ScopedPaint&) = delete;
    ScopedPaint& operator=(const ScopedPaint&) = delete;

    HDC Get() const noexcept { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT ps_{};
    HDC dc_ = nullptr;
};

// Selects an object into a DC and puts the previous one back.
class ScopedSelectObject {
public:
    ScopedSelectObject(HDC dc, HGDIOBJ object) noexcept
        : dc_(dc), previous_(dc && object ? ::SelectObject(dc, object) : nullptr) {}
    ~ScopedSelectObject() {
        if (*this) ::SelectObject(dc_, previous_);
    }
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

    // True when the object went into the DC.
    explicit operator bool() const noexcept { return previous_ && previous_ != HGDI_ERROR; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// GdiplusStartup/GdiplusShutdown for one user of GDI+.
class GdiplusSession {
public:
    GdiplusSession() noexcept {
        Gdiplus::GdiplusStartupInput input;
        status_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr);
    }
    ~GdiplusSession() {
        if (status_ == Gdiplus::Ok) Gdiplus::GdiplusShutdown(token_);
    }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

    bool Started() const noexcept { return status_ == Gdiplus::Ok; }

private:
    ULONG_PTR token_ = 0;
    Gdiplus::Status status_ = Gdiplus::GenericError;
};
