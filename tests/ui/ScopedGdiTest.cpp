#include "ui/ScopedGdi.h"

#include <gtest/gtest.h>

namespace {

TEST(ScopedGdi, SelectObjectGuardRestoresThePreviousObject) {
    ScopedWindowDc screen(nullptr);
    ScopedMemoryDc dc(CreateCompatibleDC(screen.Get()));
    ScopedBitmap first(CreateCompatibleBitmap(screen.Get(), 4, 4));
    ScopedBitmap second(CreateCompatibleBitmap(screen.Get(), 4, 4));
    HGDIOBJ original = GetCurrentObject(dc.Get(), OBJ_BITMAP);
    {
        ScopedSelectObject selectFirst(dc.Get(), first.Get());
        EXPECT_EQ(first.Get(), GetCurrentObject(dc.Get(), OBJ_BITMAP));
        {
            ScopedSelectObject selectSecond(dc.Get(), second.Get());
            EXPECT_EQ(second.Get(), GetCurrentObject(dc.Get(), OBJ_BITMAP));
        }
        EXPECT_EQ(first.Get(), GetCurrentObject(dc.Get(), OBJ_BITMAP));
    }
    EXPECT_EQ(original, GetCurrentObject(dc.Get(), OBJ_BITMAP));
}

}  // namespace
