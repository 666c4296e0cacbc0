// Whether the folder the uninstaller runs from is an installation of ours.
// A copy of uninstall.exe can be started from any folder, and the folder it
// runs from is the one it removes; so it removes anything at all only when
// that folder holds the client and is the folder that the uninstall entry
// names (HKCU, where the installer writes it, or HKLM, where older
// installers did), both compared as final paths (FinalFolderPath). The
// final path found here is the one the worker and the self-removal script
// remove, so what was checked is what goes.
#pragma once

#include <windows.h>

#include <string>

struct Installation {
    std::wstring folder;             // FinalFolderPath of the installation
    bool currentUserEntry = false;   // the entry under HKCU names it
    bool localMachineEntry = false;  // the entry under HKLM (32-bit view) names it
};

// True, with installation filled, when folder is an installation of ours;
// false, with installation empty, otherwise.
bool FindInstallation(const wchar_t* folder, Installation& installation);

// Deletes the uninstall entries that name the installation and no other
// (another entry belongs to another installation). Failures are ignored:
// without administrator rights the HKLM entry stays.
void DeleteUninstallEntries(const Installation& installation);
