// GDI+ fonts for the toolkit's elements and windows.
//
// Every element and window makes its fonts here, so that a family missing on
// the player's machine ("宋体" on a Western system, "微软雅黑" before Vista)
// gives the generic sans-serif family instead of a font that GDI+ refuses to
// draw with.
#pragma once

#include <windows.h>
#include <objidl.h>  // gdiplus.h needs it under WIN32_LEAN_AND_MEAN
#include <gdiplus.h>

#include "ui/Dpi.h"

#include <memory>

// The font of the family at the given size in points, at dpi (sized in
// pixels: the window's scale, not the device's, decides); the generic sans-serif
// family when the family is not installed, and the face the system
// substitutes for its GUI font when even that is missing. Null only on a
// system without usable fonts.
std::unique_ptr<Gdiplus::Font> MakeFont(const wchar_t* family, Gdiplus::REAL points,
                                        INT style = Gdiplus::FontStyleRegular, UINT dpi = kBaseDpi);

// The default element font: "宋体", 9 points, regular.
std::unique_ptr<Gdiplus::Font> MakeDefaultElementFont(UINT dpi = kBaseDpi);
