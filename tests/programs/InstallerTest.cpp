// The shipped installer as a whole program, run silently into scratch
// folders: it installs both programs, writes the installation's keys of
// Config.ini, the player's uninstall entry (HKCU) and the
// shortcuts exactly where the uninstaller looks; it refuses folders whose
// removal would take more than the game; installing again keeps the
// client's own books. Each case starts and ends without an installation.
#include "base/Config.h"
#include "base/Product.h"
#include "net/UnixTime.h"
#include "tests/programs/support/Installation.h"
#include "tests/support/TestFiles.h"
#include "base/Scoped.h"
#include "ui/ScopedCom.h"

#include <aclapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <cwctype>
#include <set>
#include <string>
#include <vector>

namespace {

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(towlower(c));
    return text;
}

std::wstring RegText(const ScopedRegKey& key, const wchar_t* name) {
    wchar_t value[1024] = {};
    DWORD bytes = sizeof(value) - sizeof(wchar_t);
    if (RegGetValueW(key.Get(), nullptr, name, RRF_RT_REG_SZ, nullptr, value, &bytes) != ERROR_SUCCESS) {
        return L"<missing>";
    }
    return value;
}

DWORD RegNumber(const ScopedRegKey& key, const wchar_t* name) {
    DWORD value = 0;
    DWORD bytes = sizeof(value);
    RegGetValueW(key.Get(), nullptr, name, RRF_RT_REG_DWORD, nullptr, &value, &bytes);
    return value;
}

// Where a shortcut leads, or "" when it cannot be read.
std::wstring ShortcutTarget(const std::wstring& path) {
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.ReceiveVoid()))) {
        return L"";
    }
    ComPtr<IPersistFile> file;
    if (FAILED(link.As(file)) || FAILED(file->Load(path.c_str(), STGM_READ))) return L"";
    wchar_t target[MAX_PATH] = {};
    if (FAILED(link->GetPath(target, MAX_PATH, nullptr, 0))) return L"";
    return target;
}

// The targets of the shortcuts in a folder, lower case.
std::set<std::wstring> ShortcutTargetsIn(const std::wstring& folder) {
    std::set<std::wstring> targets;
    for (const std::wstring& name : FileNames(folder + L"\\*.lnk")) {
        targets.insert(Lower(ShortcutTarget(folder + L"\\" + name)));
    }
    return targets;
}

std::wstring ConfigValue(const std::wstring& folder, const wchar_t* section, const wchar_t* key) {
    wchar_t value[kConfigValueUnits];
    ReadConfigText((folder + L"\\" + kConfigFileName).c_str(), section, key, value);
    return value;
}

class Installer : public ::testing::Test {
protected:
    ScratchDir scratch;
    // Like the default folder, a name with a blank in it.
    std::wstring folder = scratch.File(kProductName);

    void SetUp() override { RemoveInstallation(); }
    void TearDown() override { RemoveInstallation(); }

    DWORD Install(const std::wstring& options, const std::wstring& target) {
        return RunInstaller(options, target, scratch.Path());
    }

    // Nothing of an installation is anywhere.
    void ExpectNothingInstalled(const std::wstring& target) {
        EXPECT_FALSE(FileExists(target + L"\\" + kClientExeName)) << target;
        EXPECT_FALSE(FileExists(target + L"\\" + kConfigFileName)) << target;
        EXPECT_FALSE(OpenUninstallKey(HKEY_CURRENT_USER)) << target;
        EXPECT_FALSE(FileExists(DesktopShortcut())) << target;
        EXPECT_FALSE(FileExists(ProductMenuFolder())) << target;
    }
};

TEST_F(Installer, SilentInstallPutsEverythingWhereBothProgramsLook) {
    const uint64_t before = UnixTimeNow();
    // Named in a roundabout way, recorded plainly.
    ASSERT_EQ(0u, Install(L"", scratch.File(L"sub\\..\\") + kProductName + L"\\"));
    const uint64_t after = UnixTimeNow();

    const std::wstring client = folder + L"\\" + kClientExeName;
    const std::wstring uninstaller = folder + L"\\" + kUninstallerExeName;
    EXPECT_EQ(ReadFileBytes(ExeDir() + L"\\" + kClientExeName), ReadFileBytes(client));
    EXPECT_EQ(ReadFileBytes(TreeBin(VSTORM_UNINSTALLER_TREE) + L"\\" + kUninstallerExeName),
              ReadFileBytes(uninstaller));

    // The build's ids, and the time as digits that a URL carries unchanged.
    EXPECT_EQ(VSTORM_AGENT_ID_TEXT, ConfigValue(folder, kSectionCommon, kKeyAgentId));
    EXPECT_EQ(VSTORM_SITE_ID_TEXT, ConfigValue(folder, kSectionCommon, kKeySiteId));
    const std::wstring installTime = ConfigValue(folder, kSectionInstall, kKeyInstallTime);
    ASSERT_FALSE(installTime.empty());
    EXPECT_EQ(std::wstring::npos, installTime.find_first_not_of(L"0123456789")) << installTime;
    EXPECT_GE(_wcstoui64(installTime.c_str(), nullptr, 10), before);
    EXPECT_LE(_wcstoui64(installTime.c_str(), nullptr, 10), after);
    EXPECT_EQ(L"", ConfigValue(folder, kSectionCommon, kKeyRunCount)) << "the client counts its runs";

    // The player's own rights, and the player's own entry: nothing in HKLM.
    const std::string setup = ReadFileBytes(InstallerPath());
    EXPECT_NE(std::string::npos, setup.find("level=\"asInvoker\""));
    EXPECT_EQ(std::string::npos, setup.find("requireAdministrator"));
    ScopedRegKey entry = OpenUninstallKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(entry);
    for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) EXPECT_FALSE(OpenUninstallKey(HKEY_LOCAL_MACHINE, view));
    EXPECT_EQ(kProductName, RegText(entry, L"DisplayName"));
    EXPECT_EQ(kMakerName, RegText(entry, L"Publisher"));
    EXPECT_EQ(L"" VSTORM_VERSION_TEXT_A, RegText(entry, L"DisplayVersion"));
    EXPECT_EQ(client + L",0", RegText(entry, L"DisplayIcon"));
    EXPECT_EQ(L"\"" + uninstaller + L"\"", RegText(entry, L"UninstallString"));
    EXPECT_EQ(folder, RegText(entry, L"InstallLocation"));
    const DWORD installedKiB =
        static_cast<DWORD>((ReadFileBytes(client).size() + ReadFileBytes(uninstaller).size()) / 1024);
    EXPECT_GE(RegNumber(entry, L"EstimatedSize"), installedKiB);
    EXPECT_LE(RegNumber(entry, L"EstimatedSize"), installedKiB + 4);

    EXPECT_EQ(Lower(client), Lower(ShortcutTarget(DesktopShortcut())));
    EXPECT_EQ(Lower(client), Lower(ShortcutTarget(ProductMenuFolder() + L"\\" + kShortcutFileName)));
    EXPECT_EQ((std::set<std::wstring>{Lower(client), Lower(uninstaller)}),
              ShortcutTargetsIn(ProductMenuFolder()));
}

TEST_F(Installer, InstallingAgainKeepsTheClientsBooksAndGoesWhereTheLastWent) {
    ASSERT_EQ(0u, Install(L"/UID=4711 /ADV=-25", folder));
    EXPECT_EQ(L"4711", ConfigValue(folder, kSectionCommon, kKeyAgentId));
    EXPECT_EQ(L"-25", ConfigValue(folder, kSectionCommon, kKeySiteId));
    const std::wstring firstTime = ConfigValue(folder, kSectionInstall, kKeyInstallTime);

    // What the client writes over its life.
    const std::wstring config = folder + L"\\" + kConfigFileName;
    WriteConfigText(config.c_str(), kSectionGameInfo, kKeyVersion, L"1.15");
    WriteConfigText(config.c_str(), kSectionCommon, kKeyRunCount, L"5");
    WriteConfigText(config.c_str(), kSectionCommon, kKeyUserName, L"player one");
    WriteConfigText(config.c_str(), kSectionExtension, kKeyOutTime, L"1700000000");

    // No /D=: the folder of the last installation, not the default one.
    ASSERT_EQ(0u, Install(L"/ADV=7", L""));
    EXPECT_FALSE(FileExists(DefaultInstallFolder()));
    EXPECT_EQ(L"5", ConfigValue(folder, kSectionCommon, kKeyRunCount));
    EXPECT_EQ(L"player one", ConfigValue(folder, kSectionCommon, kKeyUserName));
    EXPECT_EQ(L"1.15", ConfigValue(folder, kSectionGameInfo, kKeyVersion));
    EXPECT_EQ(L"1700000000", ConfigValue(folder, kSectionExtension, kKeyOutTime));
    EXPECT_EQ(VSTORM_AGENT_ID_TEXT, ConfigValue(folder, kSectionCommon, kKeyAgentId));
    EXPECT_EQ(L"7", ConfigValue(folder, kSectionCommon, kKeySiteId));
    EXPECT_GE(_wcstoui64(ConfigValue(folder, kSectionInstall, kKeyInstallTime).c_str(), nullptr, 10),
              _wcstoui64(firstTime.c_str(), nullptr, 10));
    EXPECT_TRUE(OpenUninstallKey(HKEY_CURRENT_USER));
}

TEST_F(Installer, RefusesFoldersWhoseRemovalWouldTakeMoreThanTheGame) {
    const std::wstring profile = ShellFolder(CSIDL_PROFILE);
    const std::vector<std::wstring> folders = {
        L"C:\\",
        ShellFolder(CSIDL_WINDOWS),
        Lower(ShellFolder(CSIDL_SYSTEM)),
        ShellFolder(CSIDL_PROGRAM_FILES),
        DefaultInstallFolder() + L"\\..",
        profile,
        profile.substr(0, profile.rfind(L'\\')),  // holds every profile
        ShellFolder(CSIDL_DESKTOPDIRECTORY),
        ShellFolder(CSIDL_PERSONAL),
        ShellFolder(CSIDL_APPDATA),
        ShellFolder(CSIDL_LOCAL_APPDATA),
        ShellFolder(CSIDL_COMMON_APPDATA),
        ShellFolder(CSIDL_PROGRAMS),
        ShellFolder(CSIDL_STARTMENU),
        L"Games\\" + std::wstring(kProductName),
    };
    for (const std::wstring& target : folders) {
        EXPECT_EQ(kInstallerRefused, Install(L"", target)) << target;
        ExpectNothingInstalled(target);
    }
    ScratchDir target;  // a link's
    ASSERT_TRUE(MakeSymbolicLink(folder, target.Path()));
    EXPECT_EQ(kInstallerRefused, Install(L"", folder));
    ExpectNothingInstalled(target.Path());
    RemoveSymbolicLink(folder);
}

TEST_F(Installer, RefusesAFolderOfOtherFilesAndABadId) {
    // The uninstaller would delete the notes with the game.
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(folder + L"\\notes.txt", "mine"));
    EXPECT_EQ(kInstallerRefused, Install(L"", folder));
    EXPECT_EQ("mine", ReadFileBytes(folder + L"\\notes.txt"));
    ExpectNothingInstalled(folder);
    // A Config.ini without the client is another program's.
    ASSERT_TRUE(MoveFileW((folder + L"\\notes.txt").c_str(), (folder + L"\\" + kConfigFileName).c_str()));
    EXPECT_EQ(kInstallerRefused, Install(L"", folder));
    EXPECT_FALSE(FileExists(folder + L"\\" + kClientExeName));

    const std::wstring fresh = scratch.File(L"fresh");
    for (const wchar_t* option : {L"/UID=12abc", L"/ADV=", L"/UID=0x10", L"/ADV=99999999999"}) {
        EXPECT_EQ(kInstallerRefused, Install(option, fresh)) << option;
        ExpectNothingInstalled(fresh);
    }
}

// Outside the profile: only the player, SYSTEM and Administrators, by a
// protected list that the programs inherit. A folder made in advance by
// another account is refused and left as it was.
bool KeepsProtectedLists(std::wstring folder) {
    ACL empty{};
    InitializeAcl(&empty, sizeof(empty), ACL_REVISION);
    SetNamedSecurityInfoW(folder.data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                          nullptr, nullptr, &empty, nullptr);
    PSECURITY_DESCRIPTOR received = nullptr;
    GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, nullptr, nullptr,
                          &received);
    ScopedLocalMemory descriptor(received);
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    return received && GetSecurityDescriptorControl(received, &control, &revision) && (control & SE_DACL_PROTECTED);
}

TEST_F(Installer, AFolderOutsideTheProfileIsThePlayersAloneAndAnotherAccountsIsRefused) {
    const std::wstring games = L"C:\\vstorm-test-games";
    RemoveTree(games);
    ASSERT_TRUE(CreateDirectoryW((games + L"-probe").c_str(), nullptr));
    const bool kept = KeepsProtectedLists(games + L"-probe");
    RemoveTree(games + L"-probe");
    if (!kept) GTEST_SKIP() << "this Wine keeps no access lists on files";
    ASSERT_TRUE(CreateDirectoryW(games.c_str(), nullptr));
    const std::wstring target = games + L"\\" + kProductName;
    ASSERT_EQ(0u, Install(L"", target));
    for (const std::wstring& path : {target, target + L"\\" + kClientExeName}) {
        PACL list = nullptr;
        PSECURITY_DESCRIPTOR received = nullptr;
        ASSERT_EQ(0u, GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                            nullptr, &list, nullptr, &received));
        ScopedLocalMemory descriptor(received);
        SECURITY_DESCRIPTOR_CONTROL control = 0;
        DWORD revision = 0;
        GetSecurityDescriptorControl(received, &control, &revision);
        EXPECT_EQ(path == target, (control & SE_DACL_PROTECTED) != 0) << "protected there, inherited below";
        // The player (the one SID that is neither), SYSTEM, Administrators.
        std::set<int> trustees;
        for (DWORD i = 0; list && i < list->AceCount; ++i) {
            ACCESS_ALLOWED_ACE* ace = nullptr;
            ASSERT_TRUE(GetAce(list, i, reinterpret_cast<void**>(&ace)));
            const PSID sid = &ace->SidStart;
            const bool system = IsWellKnownSid(sid, WinLocalSystemSid);
            trustees.insert(system ? 1 : IsWellKnownSid(sid, WinBuiltinAdministratorsSid) ? 2 : 0);
        }
        EXPECT_EQ((std::set<int>{0, 1, 2}), trustees);
        EXPECT_EQ(3u, list ? static_cast<unsigned>(list->AceCount) : 0u);
    }
    RemoveInstallation();

    const std::wstring foreign = games + L"\\foreign";
    ASSERT_TRUE(CreateDirectoryW(foreign.c_str(), nullptr));
    BYTE guests[SECURITY_MAX_SID_SIZE];
    DWORD guestsBytes = sizeof(guests);
    ASSERT_TRUE(CreateWellKnownSid(WinBuiltinGuestsSid, nullptr, guests, &guestsBytes));
    std::wstring path = foreign;
    ASSERT_EQ(0u, SetNamedSecurityInfoW(path.data(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, guests, nullptr,
                                        nullptr, nullptr));
    EXPECT_EQ(kInstallerRefused, Install(L"", foreign));
    ExpectNothingInstalled(foreign);
    RemoveTree(games);
}

}  // namespace
