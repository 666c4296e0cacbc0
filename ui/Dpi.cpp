#include "ui/Dpi.h"

#include "ui/Drawing.h"
#include "ui/ScopedGdi.h"

#include <algorithm>

namespace {

using GetDpiForWindowProc = UINT(WINAPI*)(HWND);

constexpr UINT kLowestDpi = kBaseDpi / 10;

GetDpiForWindowProc FindGetDpiForWindow() {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<GetDpiForWindowProc>(
                        reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")))
                  : nullptr;
}

}  // namespace

UINT SystemDpi() {
    ScopedWindowDc screen(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSX) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : kBaseDpi;
}

UINT WindowDpi(HWND window) {
    static const GetDpiForWindowProc getDpiForWindow = FindGetDpiForWindow();
    if (window && getDpiForWindow) {
        if (const UINT dpi = getDpiForWindow(window)) return dpi;
    }
    return SystemDpi();
}

int ScaleBy(int value, UINT dpi) {
    if (dpi == kBaseDpi) return value;
    return MulDiv(value, static_cast<int>(dpi), static_cast<int>(kBaseDpi));
}

RECT ScaleBy(const RECT& rect, UINT dpi) {
    return RECT{ScaleBy(rect.left, dpi), ScaleBy(rect.top, dpi), ScaleBy(rect.right, dpi),
                ScaleBy(rect.bottom, dpi)};
}

SIZE ScaleBy(SIZE size, UINT dpi) { return SIZE{ScaleBy(size.cx, dpi), ScaleBy(size.cy, dpi)}; }

RECT WorkAreaOf(HWND window) {
    HMONITOR monitor = window ? MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)
                              : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (monitor && GetMonitorInfoW(monitor, &info)) return info.rcWork;
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

UINT FitDpi(SIZE size, UINT wanted, const RECT& area) {
    UINT dpi = std::max(wanted, kLowestDpi);
    const auto fits = [&](UINT d) {
        const SIZE scaled = ScaleBy(size, d);
        return scaled.cx <= RectWidth(area) && scaled.cy <= RectHeight(area);
    };
    if (size.cx <= 0 || size.cy <= 0 || fits(dpi)) return dpi;
    // The first guess from the tighter side, then down to where rounding
    // lets it fit.
    const auto byWidth = static_cast<UINT>(std::max<LONG>(RectWidth(area), 0) * kBaseDpi / size.cx);
    const auto byHeight = static_cast<UINT>(std::max<LONG>(RectHeight(area), 0) * kBaseDpi / size.cy);
    dpi = std::max(std::min({dpi, byWidth + 1, byHeight + 1}), kLowestDpi);
    while (dpi > kLowestDpi && !fits(dpi)) --dpi;
    return dpi;
}

RECT CentreIn(SIZE size, UINT dpi, const RECT& area) {
    const SIZE scaled = ScaleBy(size, dpi);
    const LONG left = area.left + std::max<LONG>((RectWidth(area) - scaled.cx) / 2, 0);
    const LONG top = area.top + std::max<LONG>((RectHeight(area) - scaled.cy) / 2, 0);
    return RECT{left, top, left + scaled.cx, top + scaled.cy};
}
