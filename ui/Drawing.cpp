#include "ui/Drawing.h"

std::unique_ptr<Gdiplus::SolidBrush> MakeBrush(Gdiplus::ARGB color) {
    if (!IsDrawnColor(color)) return nullptr;
    return std::make_unique<Gdiplus::SolidBrush>(Gdiplus::Color(color));
}

std::unique_ptr<Gdiplus::Pen> MakePen(Gdiplus::ARGB color, Gdiplus::REAL width) {
    if (!IsDrawnColor(color)) return nullptr;
    return std::make_unique<Gdiplus::Pen>(Gdiplus::Color(color), width);
}

Gdiplus::Status DrawRoundedOutline(Gdiplus::Graphics& graphics, const Gdiplus::Pen* pen, int left,
                                   int top, int right, int bottom, int radius) {
    if (!pen) return Gdiplus::InvalidParameter;
    if (right < left || bottom < top) return Gdiplus::InvalidParameter;
    Gdiplus::GraphicsPath path;
    const int diameter = 2 * radius;
    if (radius < 1) {
        path.AddRectangle(Gdiplus::Rect(left, top, right - left, bottom - top));
    } else {
        path.AddArc(left, top, diameter, diameter, 180.0f, 90.0f);
        path.AddLine(left + radius, top, right - radius, top);
        path.AddArc(right - diameter, top, diameter, diameter, 270.0f, 90.0f);
        path.AddLine(right, top + radius, right, bottom - radius);
        path.AddArc(right - diameter, bottom - diameter, diameter, diameter, 0.0f, 90.0f);
        path.AddLine(right - radius, bottom, left + radius, bottom);
        path.AddArc(left, bottom - diameter, diameter, diameter, 90.0f, 90.0f);
        path.AddLine(left, bottom - radius, left, top + radius);
        path.CloseFigure();
    }
    return graphics.DrawPath(pen, &path);
}

void SetUpTextFormat(Gdiplus::StringFormat& format, int alignment) {
    format.SetAlignment(static_cast<Gdiplus::StringAlignment>(alignment));
    format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    format.SetTrimming(Gdiplus::StringTrimmingEllipsisWord);
}

Gdiplus::Status DrawBoxedText(Gdiplus::Graphics& graphics, const wchar_t* text,
                              const Gdiplus::Font* font, const Gdiplus::Brush* brush, int alignment,
                              int x, int y, int width, int height) {
    if (!text || !font || !brush || width <= 0 || height <= 0) return Gdiplus::InvalidParameter;
    Gdiplus::StringFormat format;
    SetUpTextFormat(format, alignment);
    const Gdiplus::RectF box(static_cast<Gdiplus::REAL>(x), static_cast<Gdiplus::REAL>(y),
                             static_cast<Gdiplus::REAL>(width), static_cast<Gdiplus::REAL>(height));
    return graphics.DrawString(text, -1, font, box, &format, brush);
}
