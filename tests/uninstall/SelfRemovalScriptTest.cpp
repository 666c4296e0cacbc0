// What the self-removal script and its command may name: never the folder
// as text, and never a folder that is not a plain safe installation. What
// they do is the whole-program tests' part.
#include "uninstall/SelfRemovalScript.h"

#include "tests/support/TestFiles.h"
#include "uninstall/CompatibilityMark.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(SelfRemovalScript, TheFolderIsNamedOnlyThroughTheVariable) {
    const std::string script = SelfRemovalScriptText();
    EXPECT_EQ(std::string::npos, script.find('\\')) << "no path in the script";
    EXPECT_NE(std::string::npos, script.find("\"%~dp0uninstall.exe\""));

    // The folder itself appears nowhere; the entries go only once it is gone.
    wchar_t line[kCommandUnits];
    ASSERT_TRUE(FormatRemovalCommand(L"C:\\cmd.exe", Installation{L"C:\\Games\\R&D %PATH% !x!", true, true}, line));
    const std::wstring gone = L" & if not exist \"%ORVANE_UNINSTALL_FOLDER%\" reg delete \"";
    const std::wstring entry = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvane Stormvale\" /f";
    EXPECT_EQ(L"\"C:\\cmd.exe\" /d /v:off /s /c \"\"%ORVANE_UNINSTALL_FOLDER%\\orvane_uninstall.bat\" & rd /s /q "
              L"\"%ORVANE_UNINSTALL_FOLDER%\"" + gone + L"HKCU" + entry + L" > nul 2>&1" + gone + L"HKLM" + entry +
                  L" /reg:32 > nul 2>&1" + gone + L"HKCU\\" + kCompatibilityPersistedKey +
                  L"\" /v \"%ORVANE_UNINSTALL_FOLDER%\\uninstall.exe\" /f > nul 2>&1\"",
              std::wstring(line));
}

TEST(SelfRemovalScript, NoScriptForAFolderHoldingALinkOrADangerousFolder) {
    ScratchDir decoy;
    ScratchDir dir;
    ASSERT_TRUE(MakeSymbolicLink(dir.File(L"link"), decoy.Path()));
    EXPECT_FALSE(StartSelfRemoval(Installation{dir.Path(), true, false}));
    EXPECT_FALSE(FileExists(dir.File(L"orvane_uninstall.bat")));

    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    EXPECT_FALSE(StartSelfRemoval(Installation{windows, true, false}));
    EXPECT_FALSE(StartSelfRemoval(Installation{L"C:\\", true, false}));
    EXPECT_FALSE(FileExists(std::wstring(windows) + L"\\orvane_uninstall.bat"));
    EXPECT_FALSE(FileExists(L"C:\\orvane_uninstall.bat"));
    const std::wstring longFolder = L"C:\\" + std::wstring(300, L'a');
    EXPECT_FALSE(WriteSelfRemovalScript(Installation{longFolder, true, false}));
}

}  // namespace
