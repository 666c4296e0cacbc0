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
    std::wstring taken[2];
    SYSTEMTIME now{};
    GetLocalTime(&now);
    for (std::wstring& name : taken) {
        wchar_t text[Screenshot::kNameUnits];
        Screenshot::FileName(now, 1, text);
        name = shots + L"\\" + text;
        ASSERT_TRUE(WriteFileBytes(name, "kept"));
        FILETIME t{};
        SystemTimeToFileTime(&now, &t);
        ULARGE_INTEGER next{{t.dwLowDateTime, t.dwHighDateTime}};
        next.QuadPart += 10000000ULL;
        t = FILETIME{next.LowPart, next.HighPart};
        FileTimeToSystemTime(&t, &now);
    }
    wchar_t path[MAX_PATH];
    ASSERT_EQ(Screenshot::Result::Saved, Screenshot::Take(RECT{0, 0, 40, 30}, path));
    EXPECT_EQ(L" (2).png", std::wstring(path).substr(shots.size() + 20)) << path;
    EXPECT_EQ(1200u, PngRgb(path, SIZE{40, 30}).size());
    for (const std::wstring& name : taken) EXPECT_EQ("kept", ReadFileBytes(name));
}

}  // namespace
