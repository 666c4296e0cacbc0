#include "ui/SanDC.h"

#include "tests/support/Painting.h"

#include <gtest/gtest.h>

namespace {

TEST(SanDC, CopiesOnlyTheUpdateRectangleAtItsPlace) {
    Canvas target(60, 40, 0xFFFFFFFF);
    {
        CSanDC buffer(target.Dc(), RECT{0, 0, 60, 40}, RECT{10, 5, 30, 25});
        ASSERT_NE(nullptr, buffer.Get());
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        RECT all{0, 0, 60, 40};
        FillRect(buffer.Get(), &all, red);
        DeleteObject(red);
        EXPECT_EQ(kWhite, Rgb(target.Pixel(15, 15)));
    }
    EXPECT_EQ(kRed, Rgb(target.Pixel(10, 5)));
    EXPECT_EQ(kRed, Rgb(target.Pixel(29, 24)));
    EXPECT_EQ(kWhite, Rgb(target.Pixel(9, 5)));
    EXPECT_EQ(kWhite, Rgb(target.Pixel(30, 24)));
    EXPECT_EQ(kWhite, Rgb(target.Pixel(15, 25)));
    EXPECT_EQ(kWhite, Rgb(target.Pixel(50, 35)));

    // An empty client or update rectangle writes nothing.
    target.Clear(0xFFFFFFFF);
    {
        CSanDC noClient(target.Dc(), RECT{0, 0, 0, 0}, RECT{0, 0, 20, 20});
        CSanDC inverted(target.Dc(), RECT{0, 0, 20, 20}, RECT{15, 15, 5, 5});
        CSanDC noTarget(nullptr, RECT{0, 0, 20, 20}, RECT{0, 0, 20, 20});
        EXPECT_EQ(nullptr, noTarget.Get());
    }
    EXPECT_EQ(0, target.CountRgb(RECT{0, 0, 60, 40}, kBlack));
}

}  // namespace
