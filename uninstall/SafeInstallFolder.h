// The one decision whether a folder may be removed as an installation
// folder of ours. The uninstaller removes only the folder it runs from, and
// only when that is a registered installation (uninstall/Installation.h);
// this rule is the second line of defence behind that. The installer asks
// the same question, through the same code, before it installs into a
// folder (installer/FolderRule.cpp, an NSIS plug-in that links this rule).
//
// The installer also gives a folder outside the player's profile an access
// list of its own here (ProtectInstallFolder), so that no other account can
// change the programs the player runs.
//
// Depends on Win32 only (kernel32, shell32, ole32 for the known-folder
// paths, advapi32 for access lists), the header-only handle wrappers of
// base/Scoped.h and the names of base/Product.h, so the installer's plug-in
// can link it alone (vstorm_folder_rule).
#pragma once

#include <string>

// False for every folder whose removal could take what is not ours:
//   - no folder, a relative path, a drive root ("C:\"), a share root
//     ("\\server\share") or a device path;
//   - the Windows and system folders, either Program Files, the temporary
//     folder, the user profile and every other known shell folder
//     (Desktop, Documents, AppData, ProgramData, the Start menu, Downloads,
//     Public, ...), of this user and of all users;
//   - any ancestor of one of those;
//   - a folder that is, or lies behind, a link (junction or symbolic link)
//     whose target is one of the above.
// A subfolder of a known folder (as "C:\Program Files\Orvane Stormvale")
// is safe. Comparisons ignore case, trailing backslashes, short (8.3) names
// and "\\?\" prefixes. A folder that is itself a link to a safe place
// passes: removing it (RemoveTree) takes the link and nothing behind it.
bool IsSafeInstallFolder(const wchar_t* folder);

// True when path itself is a link (a reparse point: junction or symbolic
// link), as its directory entry says; Wine reports Unix links only there.
bool IsLinkPath(const wchar_t* path);

// Where the folder's own directory entry lies: the links on the way to it
// followed, the folder itself not (a folder that is a link gives the link's
// path). Full, long names as the file system spells them, without a "\\?\"
// prefix or trailing backslash; empty when it is no existing folder. Two
// names of one installation give the same text.
std::wstring FinalFolderPath(const wchar_t* folder);

// True when folder holds the client's executable as a file.
bool HoldsClient(const std::wstring& folder);

// What the installer makes of a folder it is asked to install into.
enum class InstallTargetVerdict {
    kFine,
    kProtected,  // refused by IsSafeInstallFolder (or not absolute)
    kLink,       // itself a link: its target's contents would be the game's
    kOccupied,   // holds files but not the client: someone else's
    kForeign,    // exists and belongs to another account
};

// Judges folder for the installer: IsSafeInstallFolder, then no link, then
// missing or owned by the player, then empty or holding the client (a
// Config.ini alone is not ours).
// fullForm receives the folder in its full, long form when it is fine.
InstallTargetVerdict JudgeInstallTarget(const wchar_t* folder, std::wstring& fullForm);

// Gives folder (an existing folder the installer has judged fine) a
// protected access list when it lies outside the player's profile: full
// control for the player, SYSTEM and Administrators, nothing inherited from
// above; what is in it and what comes later inherits that. A folder inside
// the profile keeps the profile's list. False when the list could not be set.
bool ProtectInstallFolder(const wchar_t* folder);
