// The installer and what an installation makes outside its folder, for
// tests that install and then look, start or uninstall.
#pragma once

#include "base/Scoped.h"

#include <windows.h>

#include <string>

// The installer's exit code for a folder or an option it refuses.
constexpr DWORD kInstallerRefused = 2;

std::wstring ShellFolder(int csidl);
// Where the uninstaller looks for the desktop shortcut and the Start-menu
// folder (the maker's group and the product's folder in it).
std::wstring DesktopShortcut();
std::wstring MakerMenuFolder();
std::wstring ProductMenuFolder();
// The installer's choice when it is given no folder and finds no earlier
// installation.
std::wstring DefaultInstallFolder();

// The uninstall entry under HKCU (the installer's) or HKLM, in one registry
// view (KEY_WOW64_32KEY or _64KEY); invalid when it is not there.
ScopedRegKey OpenUninstallKey(HKEY root, REGSAM view = KEY_WOW64_32KEY);

// The installer that is shipped.
std::wstring InstallerPath();
// Runs it silently from workDir: "/S", the options, and
// "/D=" folder unless folder is empty. Returns its exit code.
DWORD RunInstaller(const std::wstring& options, const std::wstring& folder, const std::wstring& workDir);

// Removes the uninstall entries (HKCU, and HKLM in both views), the shortcuts, the Start-menu
// folders and the default folder: no installation is left but in scratch
// folders.
void RemoveInstallation();
