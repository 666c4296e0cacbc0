// IsSafeInstallFolder: no drive or share root, no known shell folder, no
// ancestor of one and no link to one passes; a folder of its own below
// them does.
#include "uninstall/SafeInstallFolder.h"

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>

namespace {

std::wstring Special(int csidl) {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_DONT_VERIFY, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

std::wstring Environment(const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    GetEnvironmentVariableW(name, value, MAX_PATH);
    return value;
}

std::wstring Parent(std::wstring path) {
    return path.substr(0, path.find_last_of(L'\\'));
}

TEST(SafeInstallFolder, RootsAndNonsenseAreRefused) {
    for (const wchar_t* folder :
         {L"", L"C:", L"C:\\", L"c:\\\\", L"D:\\", L"\\\\?\\C:\\", L"\\\\server\\share",
          L"\\\\server\\share\\", L"\\\\?\\UNC\\server\\share", L"\\\\.\\PhysicalDrive0", L"Games\\Orvane",
          L"\\Games\\Orvane", L"C:Games"}) {
        EXPECT_FALSE(IsSafeInstallFolder(folder)) << folder;
    }
    EXPECT_FALSE(IsSafeInstallFolder(nullptr));
}

TEST(SafeInstallFolder, KnownShellFoldersAreRefused) {
    std::wstring folders[] = {
        Special(CSIDL_WINDOWS),          Special(CSIDL_SYSTEM),         Special(CSIDL_PROGRAM_FILES),
        Environment(L"ProgramW6432"),    Environment(L"ProgramFiles(x86)"), Special(CSIDL_PROFILE),
        Special(CSIDL_DESKTOPDIRECTORY), Special(CSIDL_PERSONAL),       Special(CSIDL_APPDATA),
        Special(CSIDL_LOCAL_APPDATA),    Special(CSIDL_COMMON_APPDATA), Special(CSIDL_STARTMENU),
        Special(CSIDL_PROGRAMS),         Special(CSIDL_COMMON_PROGRAMS), Special(CSIDL_COMMON_DESKTOPDIRECTORY),
        Special(CSIDL_MYPICTURES),       Special(CSIDL_FONTS),          Special(CSIDL_STARTUP),
        Environment(L"TEMP"),
    };
    for (const std::wstring& folder : folders) {
        ASSERT_FALSE(folder.empty());
        EXPECT_FALSE(IsSafeInstallFolder(folder.c_str())) << folder;
        // Spelled otherwise: other case, a trailing backslash, the long prefix.
        std::wstring upper = folder;
        CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
        EXPECT_FALSE(IsSafeInstallFolder(upper.c_str())) << upper;
        EXPECT_FALSE(IsSafeInstallFolder((folder + L"\\").c_str())) << folder;
        EXPECT_FALSE(IsSafeInstallFolder((L"\\\\?\\" + folder).c_str())) << folder;
        EXPECT_FALSE(IsSafeInstallFolder((folder + L"\\sub\\..").c_str())) << folder;
    }
}

TEST(SafeInstallFolder, AncestorsOfKnownFoldersAreRefused) {
    // C:\users (holds every profile), C:\users\Public's parent, ...
    EXPECT_FALSE(IsSafeInstallFolder(Parent(Special(CSIDL_PROFILE)).c_str()));
    EXPECT_FALSE(IsSafeInstallFolder(Parent(Special(CSIDL_APPDATA)).c_str()));
    EXPECT_FALSE(IsSafeInstallFolder(Parent(Special(CSIDL_PROGRAMS)).c_str()));
}

TEST(SafeInstallFolder, OwnFoldersBelowThemPass) {
    EXPECT_TRUE(IsSafeInstallFolder((Special(CSIDL_PROGRAM_FILES) + L"\\Orvane Stormvale").c_str()));
    EXPECT_TRUE(IsSafeInstallFolder((Special(CSIDL_APPDATA) + L"\\Orvane Stormvale").c_str()));
    EXPECT_TRUE(IsSafeInstallFolder(L"C:\\Games\\Orvane Stormvale"));
    EXPECT_TRUE(IsSafeInstallFolder(L"\\\\server\\share\\Orvane"));
    ScratchDir dir;
    EXPECT_TRUE(IsSafeInstallFolder(dir.Path().c_str()));
}

// A link is named, not followed; a file, nothing or a pattern is no folder.
TEST(SafeInstallFolder, FinalFolderPathNamesTheEntryWhateverTheSpelling) {
    ScratchDir dir;
    const std::wstring final = FinalFolderPath(dir.Path().c_str()), link = dir.File(L"link");
    ASSERT_TRUE(CreateDirectoryW(dir.File(L"sub").c_str(), nullptr) && MakeSymbolicLink(link, dir.File(L"sub")) &&
                WriteFileBytes(dir.File(L"file"), "x"));
    EXPECT_EQ(final, FinalFolderPath((L"\\\\?\\" + dir.File(L"SUB\\..\\")).c_str()));
    EXPECT_EQ(final + L"\\link", FinalFolderPath((dir.Path() + L"\\LINK").c_str()));
    for (const wchar_t* name : {L"file", L"absent", L"l*"}) EXPECT_EQ(L"", FinalFolderPath(dir.File(name).c_str()));
    RemoveSymbolicLink(link);
}

TEST(SafeInstallFolder, ALinkToAKnownFolderIsRefused) {
    ScratchDir dir;
    const std::wstring link = dir.File(L"Orvane Stormvale");
    ASSERT_TRUE(MakeSymbolicLink(link, Special(CSIDL_PERSONAL)));
    EXPECT_FALSE(IsSafeInstallFolder(link.c_str()));
    EXPECT_FALSE(IsSafeInstallFolder((link + L"\\..\\Orvane Stormvale").c_str()));
}

}  // namespace
