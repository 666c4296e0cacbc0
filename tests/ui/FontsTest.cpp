#include "ui/Fonts.h"

#include "tests/support/Painting.h"

#include <gtest/gtest.h>

namespace {

// Wide enough to hold the text at the given font; zero when nothing draws.
float MeasuredWidth(const Gdiplus::Font* font) {
    Canvas canvas(10, 10);
    Gdiplus::RectF bounds;
    canvas.Graphics().MeasureString(L"Tooltip text", -1, font, Gdiplus::PointF(0, 0), &bounds);
    return bounds.Width;
}

// Sized in pixels at the window's scale: 11 points are 11/72 of an inch.
TEST(Fonts, MissingFamiliesFallBackToAUsableFontOfTheSameSizeAtTheScale) {
    for (const wchar_t* family : {L"宋体", L"微软雅黑", L"Tahoma", L"No Such Family 42", L""}) {
        auto font = MakeFont(family, 11.0f, Gdiplus::FontStyleBold);
        ASSERT_NE(nullptr, font);
        EXPECT_TRUE(font->IsAvailable());
        EXPECT_FLOAT_EQ(11.0f * 96 / 72, font->GetSize());
        EXPECT_EQ(Gdiplus::UnitPixel, font->GetUnit());
        EXPECT_FLOAT_EQ(11.0f * 192 / 72, MakeFont(family, 11.0f, Gdiplus::FontStyleBold, 192)->GetSize());
        EXPECT_EQ(Gdiplus::FontStyleBold, font->GetStyle());
        EXPECT_GT(MeasuredWidth(font.get()), 20.0f);
    }
    auto element = MakeDefaultElementFont();
    ASSERT_NE(nullptr, element);
    EXPECT_FLOAT_EQ(12.0f, element->GetSize());
}

}  // namespace
