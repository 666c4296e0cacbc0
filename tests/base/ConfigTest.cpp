#include "base/Config.h"

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <string>
#include <thread>

namespace {

TEST(Config, IntegersReadAsBase10Strtol) {
    struct Case {
        const wchar_t* text;
        int value;
    } cases[] = {
        {L"", 0},         {L"abc", 0},       {L"-1", -1},          {L" 12x", 12},
        {L"+7", 7},       {L"\t 42", 42},    {L"0x10", 0},         {L"- 5", 0},
        {L"007", 7},      {L"99999999999", INT_MAX},                {L"-99999999999", INT_MIN},
    };
    for (const Case& c : cases) EXPECT_EQ(c.value, ParseConfigInt(c.text)) << std::wstring(c.text).size();
    EXPECT_EQ(0, ParseConfigInt(nullptr));
}

TEST(Config, PathIsProgramDirBackslashConfigIni) {
    wchar_t path[MAX_PATH];
    MakeConfigPath(L"C:\\Games\\Orvane", path);
    EXPECT_STREQ(L"C:\\Games\\Orvane\\Config.ini", path);

    // A path that does not fit is no path: a cut one would name another
    // file, or a file in another folder.
    std::wstring deep(MAX_PATH - 11, L'd');
    EXPECT_FALSE(MakeConfigPath(deep.c_str(), path));
    EXPECT_STREQ(L"", path);
    EXPECT_TRUE(MakeConfigPath(deep.substr(1).c_str(), path));
    EXPECT_EQ(static_cast<size_t>(MAX_PATH - 1), wcslen(path));
    EXPECT_FALSE(MakeConfigPath(L"", path));
    EXPECT_FALSE(MakeConfigPath(nullptr, path));
}

TEST(Config, NoPathReadsEmptyAndWritesNothing) {
    wchar_t value[kConfigValueUnits];
    ReadConfigText(L"", kSectionInstall, kKeyInstallTime, value);
    EXPECT_STREQ(L"", value);
    EXPECT_EQ(0, ReadConfigInt(L"", kSectionCommon, kKeyRunCount));
    EXPECT_FALSE(WriteConfigInt(L"", kSectionCommon, kKeyRunCount, 1));
    EXPECT_FALSE(WriteConfigText(nullptr, kSectionCommon, kKeyUserName, L"x"));
}

TEST(Config, LockNameIsOneForEachFolderWhateverItsCase) {
    wchar_t a[kConfigLockNameUnits], b[kConfigLockNameUnits], c[kConfigLockNameUnits];
    MakeConfigLockName(L"C:\\Games\\Orvane", a);
    MakeConfigLockName(L"c:\\games\\ORVANE", b);
    MakeConfigLockName(L"C:\\Games\\Orvane2", c);
    EXPECT_STREQ(a, b);
    EXPECT_STRNE(a, c);
    EXPECT_EQ(nullptr, wcschr(a, L'\\'));
}

// The lock is a kernel object, so threads stand in for the processes.
TEST(Config, LockMakesTheSecondTurnWaitForTheFirst) {
    ScratchDir dir;
    std::atomic<bool> firstDone{false};
    std::atomic<bool> secondSawFirstDone{false};
    std::thread second;
    {
        CConfigLock first(dir.Path().c_str());
        ASSERT_TRUE(first.Held());
        second = std::thread([&] {
            CConfigLock turn(dir.Path().c_str());
            secondSawFirstDone = turn.Held() && firstDone;
        });
        Sleep(200);
        firstDone = true;
    }
    second.join();
    EXPECT_TRUE(secondSawFirstDone);

    // Another folder's lock is another lock.
    ScratchDir other;
    CConfigLock mine(dir.Path().c_str());
    std::thread([&] { EXPECT_TRUE(CConfigLock(other.Path().c_str()).Held()); }).join();
}

class ConfigFileTest : public ::testing::Test {
protected:
    ScratchDir dir;
    std::wstring path = dir.File(L"Config.ini");
};

TEST_F(ConfigFileTest, MissingFileReadsEmptyAndZero) {
    wchar_t value[kConfigValueUnits];
    ReadConfigText(path.c_str(), kSectionInstall, kKeyInstallTime, value);
    EXPECT_STREQ(L"", value);
    EXPECT_EQ(0, ReadConfigInt(path.c_str(), kSectionCommon, kKeyRunCount));
    EXPECT_FALSE(FileExists(path));
}

TEST_F(ConfigFileTest, WritesCreateFileSectionAndKey) {
    EXPECT_TRUE(WriteConfigText(path.c_str(), kSectionGameInfo, kKeyVersion, L"1.15"));
    EXPECT_TRUE(WriteConfigInt(path.c_str(), kSectionCommon, kKeyRunCount, -3));
    EXPECT_EQ(-3, ReadConfigInt(path.c_str(), kSectionCommon, kKeyRunCount));
    std::string text = ReadFileBytes(path);
    EXPECT_NE(std::string::npos, text.find("[GameInfo]"));
    EXPECT_NE(std::string::npos, text.find("Version=1.15"));
    EXPECT_NE(std::string::npos, text.find("RunCount=-3"));
}

TEST_F(ConfigFileTest, LongValuesAreCutTo63) {
    std::wstring longValue(200, L'v');
    ASSERT_TRUE(WriteConfigText(path.c_str(), kSectionInstall, kKeyInstallTime, longValue.c_str()));
    wchar_t value[kConfigValueUnits];
    ReadConfigText(path.c_str(), kSectionInstall, kKeyInstallTime, value);
    EXPECT_EQ(std::wstring(63, L'v'), std::wstring(value));
}

TEST_F(ConfigFileTest, BinaryJunkReadsWithoutOverflow) {
    std::string junk;
    for (int i = 0; i < 4096; ++i) junk.push_back(static_cast<char>((i * 131 + 7) & 0xFF));
    junk += "\n[Common]\nRunCount=5\n";
    ASSERT_TRUE(WriteFileBytes(path, junk));
    wchar_t value[kConfigValueUnits];
    ReadConfigText(path.c_str(), kSectionCommon, kKeyAgentId, value);
    EXPECT_LT(wcslen(value), kConfigValueUnits);
    EXPECT_EQ(5, ReadConfigInt(path.c_str(), kSectionCommon, kKeyRunCount));
}

TEST_F(ConfigFileTest, FailedWritesAreReportedAndChangeNothing) {
    // A folder that does not exist stands for one the user may not write
    // to (the tests run as an administrator, whom attributes do not stop).
    std::wstring unwritable = dir.File(L"missing\\Config.ini");
    EXPECT_FALSE(WriteConfigInt(unwritable.c_str(), kSectionCommon, kKeyRunCount, 5));
    EXPECT_EQ(0, ReadConfigInt(unwritable.c_str(), kSectionCommon, kKeyRunCount));
    EXPECT_FALSE(FileExists(unwritable));
}

}  // namespace
