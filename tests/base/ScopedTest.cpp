#include "base/Scoped.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

bool HandleIsOpen(HANDLE h) {
    DWORD flags = 0;
    return GetHandleInformation(h, &flags) != FALSE;
}

TEST(Scoped, HandleClosesOnceWhenMovedAround) {
    HANDLE raw = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(nullptr, raw);
    {
        ScopedKernelHandle first(raw);
        ScopedKernelHandle second(std::move(first));
        EXPECT_FALSE(first.IsValid());
        EXPECT_EQ(raw, second.Get());
        ScopedKernelHandle third;
        third = std::move(second);
        EXPECT_TRUE(HandleIsOpen(raw));
    }
    EXPECT_FALSE(HandleIsOpen(raw));
}

TEST(Scoped, ReleaseGivesUpOwnership) {
    HANDLE raw = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    {
        ScopedKernelHandle owner(raw);
        EXPECT_EQ(raw, owner.Release());
    }
    EXPECT_TRUE(HandleIsOpen(raw));
    CloseHandle(raw);
}

}  // namespace
