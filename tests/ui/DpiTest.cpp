#include "ui/Dpi.h"

#include <gtest/gtest.h>

namespace {

bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

// A window of a 96-DPI size on a work area: at the DPI asked for when it
// fits, else at the largest scale that does, centred with the area's left
// and top counted.
TEST(Dpi, WindowsTakeTheLargestScaleThatFitsTheWorkArea) {
    struct Case {
        SIZE size;
        UINT wanted;
        RECT area;
        UINT dpi;
        RECT placed;
    };
    const Case cases[] = {
        {{1450, 641}, 96, {0, 0, 1600, 900}, 96, {75, 129, 1525, 770}},
        {{1450, 641}, 96, {0, 0, 1366, 768}, 90, {3, 83, 1362, 684}},
        {{1450, 641}, 144, {60, 0, 1280, 720}, 80, {66, 93, 1274, 627}},  // a taskbar on the left
        {{1450, 641}, 192, {0, 0, 3000, 1400}, 192, {50, 59, 2950, 1341}},
        {{435, 330}, 120, {0, 40, 1280, 720}, 120, {368, 173, 912, 586}},  // and on top
    };
    for (const Case& c : cases) {
        const UINT dpi = FitDpi(c.size, c.wanted, c.area);
        EXPECT_EQ(c.dpi, dpi) << c.area.right << "x" << c.area.bottom;
        EXPECT_TRUE(CentreIn(c.size, dpi, c.area) == c.placed) << c.area.right << "x" << c.area.bottom;
    }
    EXPECT_EQ(-1, ScaleBy(-1, 96));
    EXPECT_EQ(39, ScaleBy(25, 150));
}

}  // namespace
