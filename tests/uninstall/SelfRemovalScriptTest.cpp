// The rules that keep the self-removal script from naming another folder
// than the install folder. What it does is the whole-program tests' part.
#include "uninstall/SelfRemovalScript.h"

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(SelfRemovalScript, PathsThatDoNotFitAreRefused) {
    const std::wstring longFolder = L"C:\\" + std::wstring(240, L'a');
    EXPECT_FALSE(WriteSelfRemovalScript(longFolder.c_str()));
    char text[kScriptTextBytes];
    const std::string hugeFolder = "C:\\" + std::string(600, 'a');
    EXPECT_FALSE(FormatSelfRemovalScript(hugeFolder.c_str(), text));
    EXPECT_STREQ("", text);

    char narrow[kScriptPathBytes];
    const std::wstring fits = L"C:\\" + std::wstring(kScriptPathBytes - 1 - 21 - 3, L'a');
    EXPECT_TRUE(ScriptFolderText(fits.c_str(), narrow));
    EXPECT_FALSE(ScriptFolderText((fits + L"a").c_str(), narrow));
    EXPECT_STREQ("", narrow);
}

TEST(SelfRemovalScript, FolderTextMustNameTheSameFolderWithoutExpansions) {
    char narrow[kScriptPathBytes];
    ASSERT_TRUE(ScriptFolderText(L"C:\\Games\\Orvane Stormvale (2)", narrow));
    EXPECT_STREQ("C:\\Games\\Orvane Stormvale (2)", narrow);
    for (const wchar_t* folder :
         {L"C:\\Games\\100%", L"C:\\Games\\a%TEMP%b", L"C:\\Games\\Hey!", L"C:\\Games\\a^b", L"C:\\Games\\a&b",
          L"C:\\Games\\\x5965\x51e1", L"C:\\Games\\\x0141\x00f3d\x017a", L""}) {
        EXPECT_FALSE(ScriptFolderText(folder, narrow)) << folder;
        EXPECT_STREQ("", narrow);
    }
    EXPECT_FALSE(ScriptFolderText(nullptr, narrow));
    // Converts exactly, yet cmd would read it in another code page.
    if (GetACP() != GetOEMCP()) {
        EXPECT_FALSE(ScriptFolderText(L"C:\\Games\\Caf\x00e9", narrow));
    }
}

TEST(SelfRemovalScript, NoScriptForAFolderHoldingALinkOrADangerousFolder) {
    ScratchDir decoy;
    ScratchDir dir;
    ASSERT_TRUE(MakeSymbolicLink(dir.File(L"link"), decoy.Path()));
    EXPECT_FALSE(StartSelfRemoval(dir.Path().c_str()));
    EXPECT_FALSE(FileExists(dir.File(L"orvane_uninstall.bat")));

    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    EXPECT_FALSE(StartSelfRemoval(windows));
    EXPECT_FALSE(StartSelfRemoval(L"C:\\"));
    EXPECT_FALSE(FileExists(std::wstring(windows) + L"\\orvane_uninstall.bat"));
    EXPECT_FALSE(FileExists(L"C:\\orvane_uninstall.bat"));
}

}  // namespace
