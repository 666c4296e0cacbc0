// The one decision whether a folder may be removed as an installation
// folder of ours. The uninstaller takes its install folder from where its
// own executable lies, so a copy started from a drive root, the Windows
// folder or the user's Documents would otherwise empty that folder. The
// installer asks the same question before it installs into a folder.
//
// Depends on Win32 only (kernel32, shell32, ole32 for the known-folder
// paths) and the header-only handle wrappers of ui/Scoped.h, so the
// installer can compile this file with that header.
#pragma once

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
// and "\\?\" prefixes.
bool IsSafeInstallFolder(const wchar_t* folder);

// True when path itself is a link (a reparse point: junction or symbolic
// link), as its directory entry says; Wine reports Unix links only there.
bool IsLinkPath(const wchar_t* path);
