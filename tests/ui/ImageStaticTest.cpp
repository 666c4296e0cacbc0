#include "ui/ImageStatic.h"

#include "tests/data/PaintTestImages.h"
#include "tests/support/Painting.h"

#include <gtest/gtest.h>

namespace {

constexpr RECT kNoOverride{0, 0, 0, 0};

class StaticTest : public ::testing::Test {
protected:
    CImageStatic element;
    Canvas canvas{80, 50};

    void Draw(const RECT& override = kNoOverride) {
        canvas.Clear(0xFFFFFFFF);
        element.Paint(canvas.Graphics(), override);
    }
    int NotWhite() { return 80 * 50 - canvas.CountRgb(RECT{0, 0, 80, 50}, kWhite); }
};

TEST_F(StaticTest, PaintsFillImageAndTextUnlessHiddenOrEmpty) {
    element.rect = RECT{10, 10, 30, 30};
    element.SetBackgroundColor(0xFFFFFF00);
    Draw();
    EXPECT_EQ(kYellow, Rgb(canvas.Pixel(9, 9)));
    EXPECT_EQ(kYellow, Rgb(canvas.Pixel(29, 29)));
    EXPECT_EQ(kWhite, Rgb(canvas.Pixel(30, 29)));
    EXPECT_EQ(kWhite, Rgb(canvas.Pixel(8, 9)));

    element.image = LoadPngResource(IMG_RED);
    Draw(RECT{40, 10, 70, 40});
    EXPECT_EQ(kRed, Rgb(canvas.Pixel(55, 25)));
    EXPECT_EQ(kWhite, Rgb(canvas.Pixel(20, 20)));

    // Wrap edges keep the stretched border opaque.
    element.backgroundBrush.reset();
    element.rect = RECT{0, 0, 40, 30};
    Draw();
    EXPECT_NE(kRed, Rgb(canvas.Pixel(39, 29))) << "the plain stretch blends its last pixels";
    element.wrapEdges = true;
    Draw();
    EXPECT_EQ(kRed, Rgb(canvas.Pixel(39, 29)));
    EXPECT_EQ(kRed, Rgb(canvas.Pixel(0, 0)));
    EXPECT_EQ(kWhite, Rgb(canvas.Pixel(40, 29)));

    // Text: offset, alignment and brush.
    element.image.Reset();
    element.rect = RECT{0, 0, 80, 30};
    element.SetText(L"WW");
    element.textAlignment = Gdiplus::StringAlignmentNear;
    element.textOffset = 30;
    Draw();
    int left = 80;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 80; ++x) {
            if (Rgb(canvas.Pixel(x, y)) != kWhite) left = std::min(left, x);
        }
    }
    EXPECT_GE(left, 30);
    EXPECT_LT(left, 36);

    element.SetTextColor(0xFF0000FF);
    Draw();
    EXPECT_GT(canvas.CountRgb(RECT{0, 0, 80, 30}, kBlue), 0);
    element.SetTextColor(0x000000FF);
    Draw();
    EXPECT_EQ(0, NotWhite());

    // Hidden, empty or inverted statics draw nothing.
    element.rect = RECT{10, 10, 30, 30};
    element.SetBackgroundColor(0xFFFFFF00);
    element.image = LoadPngResource(IMG_RED);
    element.SetText(L"text");
    element.visible = false;
    Draw();
    EXPECT_EQ(0, NotWhite());
    element.visible = true;
    for (RECT bad : {RECT{10, 10, 10, 30}, RECT{30, 30, 10, 10}}) {
        element.rect = bad;
        Draw();
        EXPECT_EQ(0, NotWhite());
    }
}

}  // namespace
