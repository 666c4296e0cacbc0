#include "ui/ImageButton.h"

#include "tests/data/PaintTestImages.h"
#include "tests/support/Painting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <string>

namespace {

constexpr RECT kRect{10, 10, 30, 30};
constexpr POINT kAway{-1, -1};
constexpr POINT kInside{15, 15};
constexpr RECT kNoOverride{0, 0, 0, 0};

// The look of a button drawn on a fresh white canvas.
class ButtonTest : public ::testing::Test {
protected:
    CImageButton button{nullptr, 1, kRect, L""};
    Canvas canvas{60, 60};

    void Draw(POINT cursor = kAway, bool pressed = false, const RECT& override = kNoOverride) {
        canvas.Clear(0xFFFFFFFF);
        button.Paint(canvas.Graphics(), cursor, pressed, override);
    }
    // The colour at the centre of the button.
    DWORD Centre() { return Rgb(canvas.Pixel(20, 20)); }
    bool Untouched() { return canvas.CountRgb(RECT{0, 0, 60, 60}, kWhite) == 60 * 60; }
};

// The smallest rectangle holding every pixel that is not white.
RECT InkBounds(Canvas& canvas) {
    RECT bounds{canvas.Width(), canvas.Height(), -1, -1};
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            if (Rgb(canvas.Pixel(x, y)) == kWhite) continue;
            bounds.left = std::min<LONG>(bounds.left, x);
            bounds.top = std::min<LONG>(bounds.top, y);
            bounds.right = std::max<LONG>(bounds.right, x + 1);
            bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
        }
    }
    return bounds;
}

TEST_F(ButtonTest, StateFollowsCursorPressAndSelectionWithFallbacks) {
    button.SetImages(IMG_RED, IMG_GREEN, IMG_BLUE, IMG_RED);
    Draw();
    EXPECT_EQ(kRed, Centre());
    Draw(kInside);
    EXPECT_EQ(kGreen, Centre());
    Draw(kInside, true);
    EXPECT_EQ(kBlue, Centre());
    Draw(kAway, true);
    EXPECT_EQ(kRed, Centre());
    button.selected = true;
    Draw();
    EXPECT_EQ(kBlue, Centre());
    // The override rectangle decides both where and whether hovered.
    button.selected = false;
    Draw(POINT{45, 45}, false, RECT{40, 40, 50, 50});
    EXPECT_EQ(kGreen, Rgb(canvas.Pixel(45, 45)));
    EXPECT_EQ(kWhite, Centre());

    // Pressed falls back to hover, then to normal.
    button.SetImages(IMG_RED, IMG_GREEN, 0, 0);
    Draw(kInside, true);
    EXPECT_EQ(kGreen, Centre());

    // Only a normal image: the same look in every state...
    button.SetImages(IMG_RED, 0, 0, 0);
    for (bool pressed : {false, true}) {
        Draw(kInside, pressed);
        EXPECT_EQ(kRed, Centre());
    }
    // ...unless a state has its own frame or fill.
    button.imageMode = 0;
    button.SetBackgroundColors(0xFFFFFF00, 0, 0xFF0000FF);
    Draw(kInside);
    EXPECT_EQ(kYellow, Centre());
    Draw(kInside, true);
    EXPECT_EQ(kBlue, Centre());
    button.SetFrameColors(0, 0xFF00FF00, 0);
    Draw(kInside);
    EXPECT_EQ(kGreen, Rgb(canvas.Pixel(11, 10)));
    Draw();
    EXPECT_EQ(kYellow, Rgb(canvas.Pixel(11, 10)));
}

TEST_F(ButtonTest, ImageModesAndOffsetPlaceTheImages) {
    // Normal: left half red, right half transparent; hover: green.
    button.SetImages(IMG_HALF_RED, IMG_GREEN, 0, 0);
    auto leftRight = [&] {
        return std::make_pair(Rgb(canvas.Pixel(12, 20)), Rgb(canvas.Pixel(27, 20)));
    };
    button.imageMode = 3;
    Draw(kInside);
    EXPECT_EQ(std::make_pair(kGreen, kGreen), leftRight());
    button.imageMode = 4;
    Draw(kInside);
    EXPECT_EQ(std::make_pair(kRed, kGreen), leftRight());
    Draw();
    EXPECT_EQ(std::make_pair(kRed, kWhite), leftRight());
    button.imageMode = 5;
    Draw(kInside);
    EXPECT_EQ(std::make_pair(kGreen, kGreen), leftRight());

    // Mode 3 with an x offset: the image at its natural size.
    button.SetImages(IMG_MAGENTA_6X4, 0, 0, 0);
    button.imageMode = 3;
    button.imageOffset = POINT{2, 3};
    Draw();
    EXPECT_EQ(6 * 4, canvas.CountRgb(RECT{0, 0, 60, 60}, kMagenta));
    EXPECT_EQ(6 * 4, canvas.CountRgb(RECT{12, 13, 18, 17}, kMagenta));
    // A zero x offset stretches as usual, whatever y is.
    button.imageOffset = POINT{0, 3};
    Draw();
    EXPECT_EQ(kMagenta, Centre());
    EXPECT_EQ(kMagenta, Rgb(canvas.Pixel(12, 12)));
    EXPECT_EQ(kMagenta, Rgb(canvas.Pixel(25, 25)));
}

TEST_F(ButtonTest, SetImagesAndStripsReplaceTheStateImages) {
    button.SetImageStrip(IMG_ODD_STRIP);
    EXPECT_FALSE(button.fourState);
    ASSERT_TRUE(button.images[CImageButton::kNormal]);
    EXPECT_EQ(10u, button.images[CImageButton::kNormal]->GetWidth());
    EXPECT_EQ(10u, button.images[CImageButton::kHover]->GetWidth());
    EXPECT_FALSE(button.images[CImageButton::kPressed]);

    Draw();
    EXPECT_EQ(kRed, Centre());
    EXPECT_EQ(0, canvas.CountRgb(kRect, kBlue));
    Draw(kInside);
    EXPECT_EQ(kGreen, Centre());
    EXPECT_EQ(0, canvas.CountRgb(kRect, kBlue));
    Draw(kInside, true);
    EXPECT_EQ(kGreen, Centre());

    // Strips too narrow to halve, missing or broken leave no images.
    for (int strip : {IMG_NARROW_STRIP, IMG_MISSING, IMG_NOT_A_PNG}) {
        button.SetImages(IMG_RED, IMG_GREEN, 0, 0);
        button.SetImageStrip(strip);
        EXPECT_FALSE(button.images[CImageButton::kNormal]);
        EXPECT_FALSE(button.images[CImageButton::kHover]);
        Draw(kInside);
        EXPECT_TRUE(Untouched());
    }

    // A normal id of 0 keeps the images, whatever the other ids are.
    button.SetImages(IMG_RED, IMG_GREEN, IMG_BLUE, IMG_YELLOW);
    Gdiplus::Image* normal = button.images[CImageButton::kNormal].Get();
    button.SetImages(0, IMG_BLUE, IMG_BLUE, IMG_BLUE);
    EXPECT_EQ(normal, button.images[CImageButton::kNormal].Get());
    Draw(kInside);
    EXPECT_EQ(kGreen, Centre());
}

TEST_F(ButtonTest, CheckedStateSwapsTheImagesOnce) {
    // Unchecked: red, hover green, pressed blue; checked look yellow.
    button.SetImages(IMG_RED, IMG_GREEN, IMG_BLUE, IMG_YELLOW);
    button.SetChecked(true);
    button.SetChecked(true);
    EXPECT_TRUE(button.Checked());
    Draw();
    EXPECT_EQ(kYellow, Centre());
    Draw(kInside);
    EXPECT_EQ(kBlue, Centre());
    Draw(kInside, true);
    EXPECT_EQ(kGreen, Centre());

    button.SetChecked(false);
    EXPECT_FALSE(button.Checked());
    Draw();
    EXPECT_EQ(kRed, Centre());
    Draw(kInside);
    EXPECT_EQ(kGreen, Centre());

    // Two-state: normal swaps with pressed.
    button.SetImages(IMG_RED, IMG_GREEN, IMG_BLUE, IMG_YELLOW);
    button.fourState = false;
    button.SetChecked(true);
    button.SetChecked(true);
    Draw();
    EXPECT_EQ(kBlue, Centre());
    Draw(kInside, true);
    EXPECT_EQ(kRed, Centre());
    Draw(kInside);
    EXPECT_EQ(kGreen, Centre());
    button.SetChecked(false);
    Draw();
    EXPECT_EQ(kRed, Centre());
}

// Text drawn into a wide, empty button at the top-left of a canvas.
class ButtonTextTest : public ::testing::Test {
protected:
    CImageButton button{nullptr, 1, RECT{0, 0, 200, 30}, L"WWWW"};
    Canvas canvas{220, 40};

    RECT DrawLabel(POINT cursor = kAway) {
        canvas.Clear(0xFFFFFFFF);
        button.Paint(canvas.Graphics(), cursor, false, kNoOverride);
        return InkBounds(canvas);
    }
};

TEST_F(ButtonTextTest, TextFollowsPaddingAlignmentIconAndStateBrushes) {
    button.textAlignment = Gdiplus::StringAlignmentNear;
    button.textPadding = RECT{40, 2, 0, 0};
    RECT ink = DrawLabel();
    ASSERT_GE(ink.right, 0) << "no text drawn";
    EXPECT_GE(ink.left, 40);
    EXPECT_LT(ink.left, 46);

    button.textAlignment = Gdiplus::StringAlignmentFar;
    button.textPadding = RECT{0, 2, 30, 0};
    ink = DrawLabel();
    EXPECT_LE(ink.right, 170);
    EXPECT_GT(ink.right, 162);

    // Top padding and the one pixel taken off the bottom: the box is
    // y 18 to 27 and the text is clipped to it.
    button.textAlignment = Gdiplus::StringAlignmentCenter;
    button.textPadding = RECT{0, 18, 0, 2};
    ink = DrawLabel();
    EXPECT_GE(ink.top, 18);
    EXPECT_LE(ink.bottom, 27);

    // A maximum height keeps only the lines that fit into it; this button
    // is narrow enough to wrap the text into several lines.
    button.SetRect(RECT{0, 0, 40, 34});
    button.SetText(L"WW WW WW WW");
    button.textPadding = RECT{0, 0, 0, 0};
    const RECT tall = DrawLabel();
    ASSERT_GE(tall.right, 0);
    button.maxTextHeight = 16;
    const RECT low = DrawLabel();
    ASSERT_GE(low.right, 0);
    EXPECT_LT(low.bottom - low.top, tall.bottom - tall.top);
    EXPECT_LE(low.bottom - low.top, 16);

    // An icon moves the text to its right edge.
    button.SetRect(RECT{0, 0, 200, 30});
    button.SetText(L"WWWW");
    button.maxTextHeight = 0;
    button.textAlignment = Gdiplus::StringAlignmentNear;
    button.textPadding = RECT{3, 2, 0, 0};
    button.hasIcon = true;
    button.iconRect = RECT{2, 2, 22, 22};
    button.iconImages[0] = LoadPngResource(IMG_ICON_CYAN);
    button.iconImages[1] = LoadPngResource(IMG_ICON_MAGENTA);
    DrawLabel();
    // The 8 x 8 icon is stretched to 20 x 20 at (2, 2).
    EXPECT_EQ(kCyan, Rgb(canvas.Pixel(12, 12)));
    EXPECT_EQ(kWhite, Rgb(canvas.Pixel(23, 12)));
    int textLeft = canvas.Width();
    for (int y = 0; y < 30; ++y) {
        for (int x = 23; x < 200; ++x) {
            if (Rgb(canvas.Pixel(x, y)) != kWhite) textLeft = std::min(textLeft, x);
        }
    }
    // 22 - 1 + 3 of padding.
    EXPECT_GE(textLeft, 24);
    EXPECT_LT(textLeft, 30);

    DrawLabel(POINT{5, 5});
    EXPECT_EQ(kMagenta, Rgb(canvas.Pixel(12, 12)));

    // Each state has its own text brush; without one no text is drawn.
    button.hasIcon = false;
    button.SetTextColors(0xFFFF0000, 0xFF0000FF, 0);
    DrawLabel();
    EXPECT_GT(canvas.CountRgb(RECT{0, 0, 200, 30}, kRed), 0);
    DrawLabel(POINT{100, 15});
    EXPECT_GT(canvas.CountRgb(RECT{0, 0, 200, 30}, kBlue), 0);
    EXPECT_EQ(0, canvas.CountRgb(RECT{0, 0, 200, 30}, kRed));

    button.SetTextColors(0x00FF0000, 0xFF0000FF, 0);
    EXPECT_LT(DrawLabel().right, 0);
    EXPECT_GE(DrawLabel(POINT{100, 15}).right, 0);

    button.SetTextColors(0xFF000000, 0, 0);
    button.showText = false;
    EXPECT_LT(DrawLabel().right, 0);
    button.showText = true;
    button.SetText(L"");
    EXPECT_LT(DrawLabel().right, 0);
}

TEST_F(ButtonTest, FrameLiesInsideRightAndBottomWithCutCorners) {
    button.SetFrameColors(0xFF0000FF, 0, 0);
    button.SetBackgroundColors(0xFFFFFF00, 0, 0);
    Draw();
    // Edges: top y 10 and left x 10; right x 29 and bottom y 29.
    for (int i = 11; i <= 28; ++i) {
        EXPECT_EQ(kBlue, Rgb(canvas.Pixel(i, 10))) << i;
        EXPECT_EQ(kBlue, Rgb(canvas.Pixel(i, 29))) << i;
        EXPECT_EQ(kBlue, Rgb(canvas.Pixel(10, i))) << i;
        EXPECT_EQ(kBlue, Rgb(canvas.Pixel(29, i))) << i;
    }
    for (POINT corner : {POINT{10, 10}, POINT{29, 10}, POINT{10, 29}, POINT{29, 29}}) {
        EXPECT_EQ(kWhite, Rgb(canvas.Pixel(corner.x, corner.y)));
    }
    // The fill stays one pixel inside when there is a frame.
    EXPECT_EQ(kYellow, Rgb(canvas.Pixel(11, 11)));
    EXPECT_EQ(kYellow, Rgb(canvas.Pixel(28, 28)));
    EXPECT_EQ(kWhite, Rgb(canvas.Pixel(30, 20)));

    button.framePens[0].reset();
    Draw();
    EXPECT_EQ(kYellow, Rgb(canvas.Pixel(10, 10)));
    EXPECT_EQ(kYellow, Rgb(canvas.Pixel(29, 29)));
    EXPECT_EQ(kWhite, Rgb(canvas.Pixel(30, 30)));
}

TEST_F(ButtonTest, BadInputDrawsWhatItCan) {
    std::wstring longText;
    while (longText.size() < 10000) longText += L"ab ";
    button.SetText(longText.c_str());
    EXPECT_EQ(CImageButton::kTextUnits - 1, std::wcslen(button.text));
    CImageButton made(nullptr, 2, kRect, longText.c_str());
    EXPECT_EQ(CImageButton::kTextUnits - 1, std::wcslen(made.text));
    made.SetImages(IMG_RED, 0, 0, 0);
    canvas.Clear(0xFFFFFFFF);
    made.Paint(canvas.Graphics(), kInside, true, kNoOverride);
    EXPECT_GT(canvas.CountRgb(kRect, kRed), 200);

    // Missing images leave the text.
    button.SetImages(IMG_MISSING, IMG_TRUNCATED, IMG_NOT_A_PNG, 0);
    button.SetText(L"WW");
    Draw();
    EXPECT_GE(InkBounds(canvas).right, 0);
    EXPECT_EQ(0, canvas.CountRgb(kRect, kRed));

    // Empty and inverted rectangles draw nothing at all.
    button.SetImages(IMG_RED, IMG_GREEN, 0, 0);
    button.SetBackgroundColors(0xFFFFFF00, 0, 0);
    button.SetFrameColors(0xFF0000FF, 0, 0);
    for (RECT bad : {RECT{10, 10, 10, 30}, RECT{30, 30, 10, 10}, RECT{10, 10, 30, -5}}) {
        button.SetRect(bad);
        Draw(kInside, true);
        EXPECT_TRUE(Untouched());
    }
    button.SetRect(kRect);
    button.visible = false;
    Draw(kInside);
    EXPECT_TRUE(Untouched());
}

}  // namespace
