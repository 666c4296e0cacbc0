// Small GDI+ helpers shared by the elements and windows of the toolkit:
// brushes and pens from ARGB values, rectangles, and the rounded outline of
// the shadow and border windows.
#pragma once

#include <windows.h>
#include <objidl.h>  // gdiplus.h needs it under WIN32_LEAN_AND_MEAN
#include <gdiplus.h>

#include <memory>

// A colour with alpha 0 means that nothing is drawn: no brush or pen.
inline bool IsDrawnColor(Gdiplus::ARGB color) { return (color >> 24) != 0; }

std::unique_ptr<Gdiplus::SolidBrush> MakeBrush(Gdiplus::ARGB color);
std::unique_ptr<Gdiplus::Pen> MakePen(Gdiplus::ARGB color, Gdiplus::REAL width = 1.0f);

inline int RectWidth(const RECT& r) { return r.right - r.left; }
inline int RectHeight(const RECT& r) { return r.bottom - r.top; }
inline Gdiplus::Rect ToRect(const RECT& r) { return Gdiplus::Rect(r.left, r.top, RectWidth(r), RectHeight(r)); }

// Draws the closed outline (left, top)-(right, bottom) with corners rounded
// by quarter arcs of the given radius, starting with the top-left arc; a
// radius below 1 gives square corners.
Gdiplus::Status DrawRoundedOutline(Gdiplus::Graphics& graphics, const Gdiplus::Pen* pen, int left,
                                   int top, int right, int bottom, int radius);

// The toolkit's one text layout: horizontal alignment as given (0 near,
// 1 centre, 2 far), vertically centred, cut with an ellipsis at a word
// boundary.
void SetUpTextFormat(Gdiplus::StringFormat& format, int alignment);

// Draws text in the box (x, y, width, height) with that layout. Nothing is
// drawn into an empty box: GDI+ would read a zero size as "no limit".
Gdiplus::Status DrawBoxedText(Gdiplus::Graphics& graphics, const wchar_t* text,
                              const Gdiplus::Font* font, const Gdiplus::Brush* brush, int alignment,
                              int x, int y, int width, int height);
