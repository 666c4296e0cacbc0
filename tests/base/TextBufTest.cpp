#include "base/TextBuf.h"

#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <string>

namespace {

// A buffer with guard units on both sides, to see writes past either end.
template <size_t N>
struct Guarded {
    wchar_t before[4];
    wchar_t buf[N];
    wchar_t after[4];
    Guarded() {
        wmemset(before, L'#', 4);
        wmemset(buf, L'?', N);
        wmemset(after, L'#', 4);
    }
    bool GuardsIntact() const {
        for (int i = 0; i < 4; ++i) {
            if (before[i] != L'#' || after[i] != L'#') return false;
        }
        return true;
    }
};

TEST(TextBuf, FormatFitsAndTerminates) {
    wchar_t buf[32];
    EXPECT_TRUE(Format(buf, L"%s\\%s=%d", L"C:\\games", L"Config.ini", -7));
    EXPECT_STREQ(L"C:\\games\\Config.ini=-7", buf);
}

TEST(TextBuf, FormatCutsAtTheEndWithoutOverflow) {
    Guarded<8> g;
    EXPECT_FALSE(Format(g.buf, L"%s", L"0123456789abcdef"));
    EXPECT_STREQ(L"0123456", g.buf);
    EXPECT_TRUE(g.GuardsIntact());

    Guarded<8> exact;
    EXPECT_FALSE(Format(exact.buf, L"%s", L"01234567"));  // 8 units need 9
    EXPECT_STREQ(L"0123456", exact.buf);
    EXPECT_TRUE(Format(exact.buf, L"%s", L"0123456"));
    EXPECT_TRUE(exact.GuardsIntact());
}

TEST(TextBuf, FormatNeverLeavesHalfASurrogatePair) {
    wchar_t buf[4];
    // "ab" then U+1F600 (two units): the pair does not fit in the last slot.
    EXPECT_FALSE(Format(buf, L"%s", L"ab\xD83D\xDE00z"));
    EXPECT_STREQ(L"ab", buf);
}

TEST(TextBuf, FormatWritesUnsigned64AndNarrowText) {
    char buf[64];
    EXPECT_TRUE(Format(buf, "t=%I64u&u=%s", 1765432109ULL, "00:1A"));
    EXPECT_STREQ("t=1765432109&u=00:1A", buf);

    char small[6];
    EXPECT_FALSE(Format(small, "%s", "abcdefgh"));
    EXPECT_STREQ("abcde", small);
}

TEST(TextBuf, CopyTextClearsTheWholeBufferAndTakesNullAsEmpty) {
    wchar_t buf[8];
    wmemset(buf, L'x', 8);
    EXPECT_TRUE(CopyText(buf, L"ab"));
    for (int i = 2; i < 8; ++i) EXPECT_EQ(L'\0', buf[i]);
    EXPECT_TRUE(CopyText(buf, nullptr));
    EXPECT_STREQ(L"", buf);
}

TEST(TextBuf, CopyTextOntoItselfKeepsTheText) {
    wchar_t buf[8];
    CopyText(buf, L"Image");
    EXPECT_TRUE(CopyText(buf, buf));
    EXPECT_STREQ(L"Image", buf);
    EXPECT_TRUE(CopyText(buf, buf + 2));
    EXPECT_STREQ(L"age", buf);
}

TEST(TextBuf, WideToAnsiCutsDoubleByteTextAtWholeCharacters) {
    // 63 CJK characters need 126 bytes in code page 936; 31 fit in 63.
    std::wstring name(63, L'\x4E2D');
    char buf[64];
    memset(buf, 'X', sizeof(buf));
    size_t length = WideToAnsi(name.c_str(), buf, 936);
    EXPECT_EQ(62u, length);
    EXPECT_EQ('\0', buf[62]);
    EXPECT_EQ(std::wstring(31, L'\x4E2D'), AnsiToWide(buf, 936));

    // One ASCII letter first: 1 + 31 * 2 = 63 bytes fill the buffer exactly.
    std::wstring mixed = L"a" + name;
    length = WideToAnsi(mixed.c_str(), buf, 936);
    EXPECT_EQ(63u, length);
    EXPECT_EQ(L"a" + std::wstring(31, L'\x4E2D'), AnsiToWide(buf, 936));
}

TEST(TextBuf, WideToAnsiHandlesEmptyAndLongInput) {
    char buf[4];
    memset(buf, 'X', sizeof(buf));
    EXPECT_EQ(0u, WideToAnsi(L"", buf));
    EXPECT_EQ('\0', buf[0]);
    EXPECT_EQ(0u, WideToAnsi(nullptr, buf));

    std::wstring huge(10000, L'z');
    EXPECT_EQ(3u, WideToAnsi(huge.c_str(), buf));
    EXPECT_STREQ("zzz", buf);
}

TEST(TextBuf, AnsiToWideRoundTrip) {
    EXPECT_EQ(L"PostData", AnsiToWide("PostData"));
    EXPECT_EQ(L"", AnsiToWide(nullptr));
}

}  // namespace
