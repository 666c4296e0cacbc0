#include "frames/Screenshot.h"

#include "base/Product.h"
#include "tests/support/Painting.h"
#include "tests/support/RegistryValueOverride.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The names of this second and the next are taken: the shot gets a name of
// its own, and the files there stay as they were.
TEST(Screenshot, NeverOverwritesAShotOfTheSameSecond) {
    ScratchDir pictures;
    RegistryValueOverride folder(L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
                                 L"My Pictures", pictures.Path(), REG_EXPAND_SZ);
    const std::wstring shots = pictures.File(kProductName);
    ASSERT_TRUE(CreateDirectoryW(shots.c_str(), nullptr));
    SYSTEMTIME now{};
    GetLocalTime(&now);
    FILETIME t{};
    SystemTimeToFileTime(&now, &t);
    ULARGE_INTEGER second{{t.dwLowDateTime, t.dwHighDateTime}};
    std::wstring taken[2];
    for (std::wstring& name : taken) {
        t = FILETIME{second.LowPart, second.HighPart};
        FileTimeToSystemTime(&t, &now);
        wchar_t text[Screenshot::kNameUnits];
        Screenshot::FileName(now, 1, text);
        ASSERT_TRUE(WriteFileBytes(name = shots + L"\\" + text, "kept"));
        second.QuadPart += 10000000ULL;
    }
    wchar_t path[MAX_PATH];
    ASSERT_EQ(Screenshot::Result::Saved, Screenshot::Take(RECT{0, 0, 40, 30}, path));
    EXPECT_EQ(L" (2).png", std::wstring(path).substr(shots.size() + 20)) << path;
    EXPECT_EQ(1200u, PngRgb(path, SIZE{40, 30}).size());
    for (const std::wstring& name : taken) EXPECT_EQ("kept", ReadFileBytes(name));
}

}  // namespace
