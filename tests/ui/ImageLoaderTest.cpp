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

// Each DPI gets the 100 % size times dpi / 96 from the exact scale's art,
// else the next larger; resampled opaque art stays opaque to its edges.
TEST(LoadPngResource, ChoosesTheArtOfTheScaleOrTheNextLarger) {
    struct Case { int id; UINT dpi; UINT width; UINT height; DWORD rgb; };
    const Case cases[] = {
        {IMG_SCALED, 96, 20, 10, kRed},
        {IMG_SCALED, 0, 20, 10, kRed},
        {IMG_SCALED, 120, 25, 13, kGreen},  // no 125 % art
        {IMG_SCALED, 144, 30, 15, kGreen},
        {IMG_SCALED, 168, 35, 18, kBlue},  // the 175 % art is broken
        {IMG_SCALED, 288, 60, 30, kBlue},
        {IMG_RED, 144, 30, 30, kRed},  // only 100 % art: stretched rather than nothing
        {IMG_SCALED, 0xFFFFFFFFu, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("id " + std::to_string(c.id) + " at " + std::to_string(c.dpi) + " dpi");
        OwnedImage image = LoadPngResource(c.id, c.dpi);
        ASSERT_EQ(c.width != 0, static_cast<bool>(image));
        if (!image) continue;
        EXPECT_EQ(c.width, image->GetWidth());
        EXPECT_EQ(c.height, image->GetHeight());
        EXPECT_EQ(static_cast<Gdiplus::PixelFormat>(PixelFormat32bppPARGB), image->GetPixelFormat());
        EXPECT_EQ(0xFF000000 | c.rgb, ImagePixel(image.Get(), 0, 0));
        EXPECT_EQ(0xFF000000 | c.rgb, ImagePixel(image.Get(), c.width - 1, c.height - 1));
    }
}

// Images decoded ahead on the worker are the resources' own pixels, handed
// out once; what is not decoded ahead, or no longer, decodes as ever, and
// images nobody took go with the object.
TEST(PngPrefetch, HandsOutEachImageDecodedAheadOnce) {
    OwnedImage taken;
    OwnedImage again;
    {
        PngPrefetch ahead({IMG_HALF_RED, IMG_MISSING, IMG_BLUE}, 144);
        PngPrefetch another({IMG_RED});
        EXPECT_FALSE(PngPrefetch::Take(IMG_RED, 96, again)) << "one object at a time decodes ahead";
        EXPECT_FALSE(PngPrefetch::Take(IMG_HALF_RED, 96, again)) << "decoded ahead at another DPI";
        EXPECT_TRUE(PngPrefetch::Take(IMG_HALF_RED, 144, taken));
        EXPECT_FALSE(PngPrefetch::Take(IMG_HALF_RED, 144, again));
        EXPECT_TRUE(PngPrefetch::Take(IMG_MISSING, 144, again));
        EXPECT_FALSE(again);
    }
    ASSERT_TRUE(taken);
    EXPECT_EQ(30u, taken->GetWidth());
    EXPECT_EQ(ImagePixel(DecodePngResource(IMG_HALF_RED, 144).Get(), 5, 5), ImagePixel(taken.Get(), 5, 5));
    EXPECT_FALSE(PngPrefetch::Take(IMG_BLUE, 144, again));
    EXPECT_TRUE(LoadPngResource(IMG_BLUE, 144));
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
