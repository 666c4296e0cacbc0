// The self-removal script. A running program cannot delete its
// own executable, so when the uninstall work is done the wizard writes a
// batch script into the install folder and starts it in a hidden cmd: the
// script waits until the uninstaller's executable can be deleted (it has
// exited) and deletes it; then the same cmd removes the folder with the
// script in it, by a command on its own command line, read before the
// script ran. cmd runs in the system folder, so it holds no part of the
// install folder.
//
// Wine 8's cmd keeps the script open while it runs it, so a script cannot
// remove its own folder there; Windows' cmd reads the script line by line
// and stops once it is deleted. Hence the removal on the command line.
//
// cmd reads the script in the console's code page and expands "%" (and "!"
// under delayed expansion), and "?" and "*" are wildcards for DEL, while
// the folder arrives as UTF-16. So the script is written only for a folder
// whose narrow text names exactly that folder and holds none of those
// characters, only for a safe install folder (IsSafeInstallFolder), and
// only when no link lies inside it (Wine's "RD /S" follows links).
#pragma once

#include <cstddef>

constexpr size_t kScriptPathBytes = 260;
constexpr size_t kScriptTextBytes = 1024;

// The script's text for folder F (narrow, no trailing backslash): CR LF
// lines, no zero byte. False, with an empty text, when it would not fit.
bool FormatSelfRemovalScript(const char* folder, char (&text)[kScriptTextBytes]);

// The folder as the script may name it: its ANSI code-page text, when that
// converts back to exactly the same folder, fits with the script's name in
// kScriptPathBytes, and holds no character that cmd would expand or take as
// a wildcard; outside ASCII also only when cmd reads the same code page.
// False (narrow empty) otherwise.
bool ScriptFolderText(const wchar_t* folder, char (&narrow)[kScriptPathBytes]);

// Writes "<folder>\orvane_uninstall.bat" and starts it as described above.
// The script is started only when this call created the file anew and
// wrote it whole: a file of that name that is there already (someone
// else's, perhaps) is deleted first, and when it cannot be, nothing is
// started. False when nothing was started.
bool WriteSelfRemovalScript(const wchar_t* folder);

// The end of an uninstallation for installFolder (the final path of the
// installation): the folder checks above, then WriteSelfRemovalScript.
// False when the folder is left as it is; nothing is shown either way.
bool StartSelfRemoval(const wchar_t* installFolder);
