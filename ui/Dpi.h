// Screen scale of the toolkit's windows.
//
// Every size and position the programs give the toolkit is a 96-DPI value;
// the toolkit turns it into device pixels with the scale of the window it
// belongs to, here and nowhere else. A window's scale is its monitor's DPI,
// or less when the window would not fit that monitor's work area at it.
// GetDpiForWindow is looked up at run time: systems before Windows 10 have
// only the system DPI.
#pragma once

#include <windows.h>

constexpr UINT kBaseDpi = 96;

// The system DPI (the screen's LOGPIXELSX); kBaseDpi when unknown.
UINT SystemDpi();
// The DPI of the window's monitor, else the system DPI.
UINT WindowDpi(HWND window);

// A 96-DPI length at dpi, rounded to the nearest pixel.
int ScaleBy(int value, UINT dpi);
RECT ScaleBy(const RECT& rect, UINT dpi);
SIZE ScaleBy(SIZE size, UINT dpi);

// The work area of the monitor nearest to the window, or the primary one
// without a window.
RECT WorkAreaOf(HWND window);

// The largest DPI, at most wanted, at which a window of the 96-DPI size
// lies wholly within area; never below a tenth of the base.
UINT FitDpi(SIZE size, UINT wanted, const RECT& area);

// The rectangle of that size at dpi, centred on area and kept inside it.
RECT CentreIn(SIZE size, UINT dpi, const RECT& area);
