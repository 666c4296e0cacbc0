#include "ui/ImageLoader.h"
#include "ui/PngPrefetch.h"

#include "tests/data/PaintTestImages.h"
#include "tests/support/Painting.h"

#include <gtest/gtest.h>


namespace {

DWORD ImagePixel(Gdiplus::Image* image, int x, int y) {
    Gdiplus::Color color;
    static_cast<Gdiplus::Bitmap*>(image)->GetPixel(x, y, &color);
    return color.GetValue();
}

TEST(LoadPngResource, DecodesTheResourceOrGivesNothing) {
    OwnedImage red = LoadPngResource(IMG_RED);
    ASSERT_TRUE(red);
    EXPECT_EQ(20u, red->GetWidth());
    EXPECT_EQ(20u, red->GetHeight());

    OwnedImage high = LoadPngResource(0x70000 | IMG_GREEN);
    ASSERT_TRUE(high);
    Canvas canvas(20, 20);
    canvas.Graphics().DrawImage(high.Get(), 0, 0, 20, 20);
    EXPECT_EQ(kGreen, Rgb(canvas.Pixel(10, 10)));

    // Id 0, missing resources and broken data give no image.
    EXPECT_FALSE(LoadPngResource(0));
    EXPECT_FALSE(LoadPngResource(IMG_MISSING));
    EXPECT_FALSE(LoadPngResource(IMG_TRUNCATED));
    EXPECT_FALSE(LoadPngResource(IMG_NOT_A_PNG));

}

// Images decoded ahead on the worker are the resources' own pixels, handed
// out once; what is not decoded ahead, or no longer, decodes as ever, and
// images nobody took go with the object.
TEST(PngPrefetch, HandsOutEachImageDecodedAheadOnce) {
    OwnedImage taken;
    OwnedImage again;
    {
        PngPrefetch ahead({IMG_HALF_RED, IMG_MISSING, IMG_BLUE});
        PngPrefetch another({IMG_RED});
        EXPECT_FALSE(PngPrefetch::Take(IMG_RED, again)) << "one object at a time decodes ahead";
        EXPECT_TRUE(PngPrefetch::Take(IMG_HALF_RED, taken));
        EXPECT_FALSE(PngPrefetch::Take(IMG_HALF_RED, again));
        EXPECT_TRUE(PngPrefetch::Take(IMG_MISSING, again));
        EXPECT_FALSE(again);
    }
    ASSERT_TRUE(taken);
    EXPECT_EQ(static_cast<Gdiplus::PixelFormat>(PixelFormat32bppPARGB), taken->GetPixelFormat());
    EXPECT_EQ(ImagePixel(DecodePngResource(IMG_HALF_RED).Get(), 5, 5), ImagePixel(taken.Get(), 5, 5));
    EXPECT_FALSE(PngPrefetch::Take(IMG_BLUE, again));
    EXPECT_TRUE(LoadPngResource(IMG_BLUE));
}

TEST(CropImage, CutsAnArgbPartOrRefuses) {
    OwnedImage strip = LoadPngResource(IMG_ODD_STRIP);
    ASSERT_TRUE(strip);
    OwnedImage left = CropImage(strip.Get(), 0, 10, 10);
    OwnedImage right = CropImage(strip.Get(), 10, 10, 10);
    ASSERT_TRUE(left);
    ASSERT_TRUE(right);
    EXPECT_EQ(static_cast<Gdiplus::PixelFormat>(PixelFormat32bppARGB), left->GetPixelFormat());
    EXPECT_EQ(10u, right->GetWidth());
    EXPECT_EQ(0xFFFF0000, ImagePixel(left.Get(), 0, 0));
    EXPECT_EQ(0xFFFF0000, ImagePixel(left.Get(), 9, 9));
    EXPECT_EQ(0xFF00FF00, ImagePixel(right.Get(), 0, 0));
    EXPECT_EQ(0xFF00FF00, ImagePixel(right.Get(), 9, 9));

    // Empty sizes and parts outside the source give nothing.
    EXPECT_FALSE(CropImage(nullptr, 0, 10, 10));
    EXPECT_FALSE(CropImage(strip.Get(), 0, 0, 10));
    EXPECT_FALSE(CropImage(strip.Get(), 0, 10, -1));
    EXPECT_FALSE(CropImage(strip.Get(), -1, 10, 10));
    EXPECT_FALSE(CropImage(strip.Get(), 15, 10, 10));
    EXPECT_FALSE(CropImage(strip.Get(), 0, 10, 11));
}

}  // namespace
