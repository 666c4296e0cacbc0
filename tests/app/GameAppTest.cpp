#include "app/GameApp.h"

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(GameApp, VersionTextIsTwoDecimals) {
    wchar_t version[16];
    FormatClientVersion(version);
    EXPECT_STREQ(L"1.15", version);
}

TEST(GameApp, ProgramDirIsTheWholeFolderOrNothing) {
    wchar_t dir[MAX_PATH];
    EXPECT_TRUE(ProgramDirOf(L"C:\\Games\\Orvane\\vstorm.exe", dir));
    EXPECT_STREQ(L"C:\\Games\\Orvane", dir);

    // A folder too long for its field is not cut into its parent.
    const std::wstring parent = L"C:\\" + std::wstring(200, L'p');
    const std::wstring folder = parent + L"\\" + std::wstring(MAX_PATH - parent.size() - 1, L'f');
    EXPECT_FALSE(ProgramDirOf((folder + L"\\vstorm.exe").c_str(), dir));
    EXPECT_STREQ(L"", dir);
    EXPECT_TRUE(ProgramDirOf((folder.substr(0, MAX_PATH - 1) + L"\\vstorm.exe").c_str(), dir));
    EXPECT_EQ(folder.substr(0, MAX_PATH - 1), std::wstring(dir));
}

TEST(GameApp, UserNameKeepsNoControlCharacters) {
    gameApp app;
    app.SetUserName(L"ab\r\n[x]\tc\x7F\x85");
    EXPECT_STREQ(L"ab[x]c", app.userName);
    EXPECT_STREQ("ab[x]c", app.userNameAnsi);
}

TEST(GameApp, UserNameCannotInjectConfigLines) {
    gameApp app;
    app.SetUserName(L"evil\r\n[Common]\r\nRunCount=99");
    ScratchDir dir;
    std::wstring path = dir.File(L"Config.ini");
    ASSERT_TRUE(WriteConfigInt(path.c_str(), kSectionCommon, kKeyRunCount, 3));
    ASSERT_TRUE(WriteConfigText(path.c_str(), kSectionCommon, kKeyUserName, app.userName));
    EXPECT_EQ(3, ReadConfigInt(path.c_str(), kSectionCommon, kKeyRunCount));
    wchar_t value[kConfigValueUnits];
    ReadConfigText(path.c_str(), kSectionCommon, kKeyUserName, value);
    EXPECT_STREQ(L"evil[Common]RunCount=99", value);
}

TEST(GameApp, UserNameIsCutTo63UnitsAndReplacedWhole) {
    gameApp app;
    std::wstring longName(100, L'n');
    app.SetUserName(longName.c_str());
    EXPECT_EQ(std::wstring(63, L'n'), std::wstring(app.userName));
    EXPECT_EQ(std::string(63, 'n'), std::string(app.userNameAnsi));

    app.SetUserName(L"short");
    EXPECT_STREQ(L"short", app.userName);
    EXPECT_STREQ("short", app.userNameAnsi);
    app.SetUserName(nullptr);
    EXPECT_STREQ(L"", app.userName);
    EXPECT_STREQ("", app.userNameAnsi);
}

TEST(GameApp, AnsiUserNameIsAlwaysTerminated) {
    gameApp app;
    // 62 letters and a surrogate pair: the pair would be cut in half at 63.
    std::wstring name = std::wstring(62, L'a') + L"\xD83D\xDE00";
    app.SetUserName(name.c_str());
    EXPECT_EQ(std::wstring(62, L'a'), std::wstring(app.userName));
    EXPECT_LT(strlen(app.userNameAnsi), sizeof(app.userNameAnsi));
}

}  // namespace
