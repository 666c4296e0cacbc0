#include "frames/Screenshot.h"

#include "tests/support/Painting.h"
#include "tests/support/RegistryValueOverride.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Two shots in one second: each gets a name of its own, the first stays.
TEST(Screenshot, NeverOverwritesAShotOfTheSameSecond) {
    ScratchDir pictures;
    RegistryValueOverride folder(L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
                                 L"My Pictures", pictures.Path(), REG_EXPAND_SZ);
    wchar_t first[MAX_PATH], second[MAX_PATH];
    ASSERT_EQ(Screenshot::Result::Saved, Screenshot::Take(RECT{0, 0, 40, 30}, first));
    ASSERT_TRUE(WriteFileBytes(first, "kept"));
    ASSERT_EQ(Screenshot::Result::Saved, Screenshot::Take(RECT{0, 0, 40, 30}, second));
    EXPECT_NE(std::wstring(first), second);
    EXPECT_EQ(1200u, PngRgb(second, SIZE{40, 30}).size());
    EXPECT_EQ("kept", ReadFileBytes(first));
}

}  // namespace
