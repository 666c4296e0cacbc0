// The product's identity: every name that the client, the uninstaller and
// the installer must agree on. The brand's names, game id and version come
// from the brand file through base/Version.h; the installer reads all of
// these through a file generated from this header at configure time, so
// each is written here once and nowhere else.
#pragma once

#include "base/Version.h"

// The product's display name: the client's main window title, the uninstall
// registry entry, the desktop shortcut and the Start-menu folder.
inline constexpr wchar_t kProductName[] = VSTORM_PRODUCT_NAME;
// The maker: the Start-menu group folder and the publisher shown in the
// system's program list.
inline constexpr wchar_t kMakerName[] = VSTORM_MAKER_NAME;
// The class of the client's main window (and of its close question). Other
// programs find a running client by this class together with the title.
inline constexpr wchar_t kClientWindowClass[] = L"orvanestormvale";
// Held by a running client.
inline constexpr wchar_t kInstanceMutexName[] = L"ovstorm";

inline constexpr wchar_t kClientExeName[] = L"vstorm.exe";
inline constexpr wchar_t kUninstallerExeName[] = L"uninstall.exe";
// The batch script the uninstaller leaves in the install folder to delete
// itself and the folder. A file of that name that the uninstaller did not
// just write is never started.
inline constexpr wchar_t kUninstallScriptName[] = L"orvane_uninstall.bat";

// The game's id in every statistics report and in the top-up link.
inline constexpr int kGameId = VSTORM_GAME_ID;

// The uninstall entry: a subkey named kProductName of this key under
// HKEY_CURRENT_USER, where the installer (which runs with the player's own
// rights) writes it. Older installers wrote it under HKEY_LOCAL_MACHINE, in
// the 32-bit registry view.
inline constexpr wchar_t kUninstallParentKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
// The entry's value naming the installation's folder: the uninstaller
// removes only the folder it names.
inline constexpr wchar_t kInstallLocationValue[] = L"InstallLocation";
inline constexpr wchar_t kShortcutFileName[] = VSTORM_SHORTCUT_NAME;

// Config.ini beside the programs: its name, sections and keys.
inline constexpr wchar_t kConfigFileName[] = L"Config.ini";

inline constexpr wchar_t kSectionGameInfo[] = L"GameInfo";
inline constexpr wchar_t kSectionCommon[] = L"Common";
inline constexpr wchar_t kSectionInstall[] = L"Install";
inline constexpr wchar_t kSectionExtension[] = L"Extension";
// The player's own choices: sound, page zoom, where the game window was.
inline constexpr wchar_t kSectionPlayer[] = L"Player";

inline constexpr wchar_t kKeyVersion[] = L"Version";
inline constexpr wchar_t kKeyAgentId[] = L"UID";
inline constexpr wchar_t kKeySiteId[] = L"ADV";
inline constexpr wchar_t kKeyRunCount[] = L"RunCount";
inline constexpr wchar_t kKeyBossModifiers[] = L"fsModifiers";
inline constexpr wchar_t kKeyBossKey[] = L"vkCode";
inline constexpr wchar_t kKeyUserName[] = L"user_name";
inline constexpr wchar_t kKeyInstallTime[] = L"InstallTime";
inline constexpr wchar_t kKeyOutTime[] = L"out_time";
inline constexpr wchar_t kKeyCounts[] = L"Counts";
inline constexpr wchar_t kKeyMuted[] = L"Muted";
inline constexpr wchar_t kKeyZoom[] = L"Zoom";
inline constexpr wchar_t kKeyWindow[] = L"Window";
inline constexpr wchar_t kKeyMaximized[] = L"Maximized";
