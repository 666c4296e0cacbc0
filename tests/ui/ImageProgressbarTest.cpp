#include "ui/ImageProgressbar.h"

#include "tests/data/PaintTestImages.h"
#include "tests/support/Painting.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

constexpr RECT kBar{32, 280, 403, 284};
constexpr DWORD kTrack = 0xA0A0A0;
constexpr POINT kAway{-1, -1};
constexpr RECT kNoOverride{0, 0, 0, 0};

// The uninstaller's bar: a 500 x 4 track squeezed to 371 x 4 and a
// 371 x 3 gradient fill, dark on the left.
class ProgressbarTest : public ::testing::Test {
protected:
    CImageProgressbar bar{nullptr, kBar};
    Canvas canvas{420, 300};

    void SetUp() override {
        bar.trackImageId = IMG_TRACK;
        bar.fillImageId = IMG_FILL;
        bar.LoadImages();
    }
    void Draw() {
        canvas.Clear(0xFFFFFFFF);
        bar.Paint(canvas.Graphics(), kAway, false, kNoOverride);
    }
    // Columns of the fill row (y 281) that are not track grey.
    int FilledColumns() {
        int count = 0;
        for (int x = 0; x < canvas.Width(); ++x) {
            DWORD c = Rgb(canvas.Pixel(x, 281));
            if (c != kTrack && c != kWhite) ++count;
        }
        return count;
    }
};

TEST_F(ProgressbarTest, ShowsTheLeftPartOfTheFillUnscaled) {
    ASSERT_TRUE(bar.trackImage);
    ASSERT_TRUE(bar.fillImage);
    EXPECT_EQ(2285, bar.id);
    EXPECT_EQ(0, bar.Pos());

    Draw();
    EXPECT_EQ(0, FilledColumns());
    EXPECT_EQ(371 * 4, canvas.CountRgb(kBar, kTrack));

    bar.SetPos(10);
    Draw();
    EXPECT_EQ(37, FilledColumns());
    EXPECT_EQ(0xC04000u, Rgb(canvas.Pixel(32, 280)));
    EXPECT_NE(kTrack, Rgb(canvas.Pixel(68, 282)));
    EXPECT_EQ(kTrack, Rgb(canvas.Pixel(69, 281)));
    // The fill is 3 high on a 4-high track: its last row stays track.
    EXPECT_EQ(kTrack, Rgb(canvas.Pixel(40, 283)));
    // Unscaled: column 36 is still near the dark end of the gradient.
    EXPECT_LT((Rgb(canvas.Pixel(68, 281)) >> 16) & 0xFF, 0xD0u);

    bar.SetPos(100);
    Draw();
    EXPECT_EQ(371, FilledColumns());
    EXPECT_EQ(0xFFC080u, Rgb(canvas.Pixel(402, 281)));
}

TEST_F(ProgressbarTest, HiddenBarsDrawNothingButStillInvalidate) {
    CAppManager manager;
    ManagerScope scope(manager);
    PainterHost host;
    HWND window = host.Open(0, 0, 420, 300);
    ASSERT_NE(nullptr, window);
    PumpMessages(20);
    CImageProgressbar owned(window, kBar);
    owned.fillImageId = IMG_FILL;
    owned.LoadImages();
    owned.visible = false;
    owned.SetPos(50);
    RECT update{};
    EXPECT_TRUE(GetUpdateRect(window, &update, FALSE));
    EXPECT_TRUE(EqualRect(&update, &kBar));
    canvas.Clear(0xFFFFFFFF);
    owned.Paint(canvas.Graphics(), kAway, false, kNoOverride);
    EXPECT_EQ(420 * 300, canvas.CountRgb(RECT{0, 0, 420, 300}, kWhite));

    ValidateRect(window, nullptr);
    owned.repaintOnChange = false;
    owned.SetPos(60);
    EXPECT_FALSE(GetUpdateRect(window, &update, FALSE));
    DestroyWindow(window);

    // Positions out of range stay safe.
    bar.SetPos(-5);
    Draw();
    EXPECT_EQ(0, FilledColumns());
    // Above 100 the fill runs past the track, mirrored, up to the edge.
    bar.SetPos(150);
    Draw();
    EXPECT_EQ(420 - 32, FilledColumns());
    bar.SetPos(INT64_MAX);
    Draw();
    EXPECT_EQ(420 - 32, FilledColumns());
    // Missing images: nothing but what exists.
    bar.fillImage.Reset();
    Draw();
    EXPECT_EQ(0, FilledColumns());
    EXPECT_EQ(371 * 4, canvas.CountRgb(kBar, kTrack));
    bar.SetRect(RECT{40, 280, 40, 284});
    bar.trackImage = LoadPngResource(IMG_TRACK);
    Draw();
    EXPECT_EQ(0, canvas.CountRgb(RECT{0, 0, 420, 300}, kTrack));
}

}  // namespace
