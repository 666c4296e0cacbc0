// The self-removal script. A running program cannot delete its
// own executable, so when the uninstall work is done the wizard writes a
// batch script into the install folder and starts it in a hidden cmd: the
// script waits until the uninstaller's executable can be deleted (it has
// exited) and deletes it; then the same cmd removes the folder with the
// script in it, by a command on its own command line, read before the
// script ran, and only once the folder is gone the uninstall entries that
// name it and the uninstaller's compatibility mark. cmd runs in the system folder, so it holds no part of the
// install folder.
//
// Wine 8's cmd keeps the script open while it runs it, so a script cannot
// remove its own folder there; Windows' cmd reads the script line by line
// and stops once it is deleted. Hence the removal on the command line.
//
// No folder name is ever written as narrow text or typed into a command:
// the script finds its folder from its own location ("%~dp0"), and the
// command line names it through an environment variable given to cmd,
// expanded once and quoted, so every character a folder name may hold
// (% ! ^ & ( ) and any outside the code pages) stays plain text. The script
// is written only for a safe install folder (IsSafeInstallFolder) with no
// link inside (Wine's "RD /S" follows links).
#pragma once

#include "uninstall/Installation.h"

#include <cstddef>

constexpr size_t kCommandUnits = 1024;
// Names the install folder for the script's cmd.
inline constexpr wchar_t kScriptFolderVariable[] = L"ORVANE_UNINSTALL_FOLDER";

// The script's text: CR LF lines of ASCII, no zero byte, no folder name.
const char* SelfRemovalScriptText();

// The hidden cmd's command line for cmd (its full path): the script, the
// folder's removal, and the deletion of the entries the installation has
// and of the compatibility mark, each only once the folder is gone. False when it does not fit.
bool FormatRemovalCommand(const wchar_t* cmd, const Installation& installation, wchar_t (&line)[kCommandUnits]);

// Writes "<folder>\orvane_uninstall.bat" and starts it as described above.
// The script is started only when this call created the file anew and
// wrote it whole: a file of that name that is there already (someone
// else's, perhaps) is deleted first, and when it cannot be, nothing is
// started. False when nothing was started.
bool WriteSelfRemovalScript(const Installation& installation);

// The end of an uninstallation: the folder checks above, then
// WriteSelfRemovalScript. A folder already gone (an installation that was a
// link) needs no script: its entries are deleted here. False when the folder
// stays as it is, and with it the entries.
bool StartSelfRemoval(const Installation& installation);
