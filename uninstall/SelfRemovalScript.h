// The self-removal script. A running program cannot delete its
// own executable, so when the uninstall work is done the wizard writes a
// batch script into the install folder and starts it hidden: it deletes
// every file of the folder (itself included) and then the folder.
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

// The script's text for folder F (narrow, no trailing backslash), without
// the terminating zero byte that the file also holds; false, with an empty
// text, when it would not fit.
bool FormatSelfRemovalScript(const char* folder, char (&text)[kScriptTextBytes]);

// The folder as the script may name it: its ANSI code-page text, when that
// converts back to exactly the same folder, fits with the script's name in
// kScriptPathBytes, and holds no character that cmd would expand or take as
// a wildcard; outside ASCII also only when cmd reads the same code page.
// False (narrow empty) otherwise.
bool ScriptFolderText(const wchar_t* folder, char (&narrow)[kScriptPathBytes]);

// Writes "<folder>\orvane_uninstall.bat" (the text and its zero byte, mode
// "wb") and starts it hidden with the shell's "open" verb, also when the
// file could not be written (the launch then fails quietly). False, without
// writing or starting anything, when the script path would not fit.
bool WriteSelfRemovalScript(const char* folder);

// The end of an uninstallation for installFolder (the folder of the running
// uninstaller): the checks above, then WriteSelfRemovalScript. False when
// the folder is left as it is; nothing is shown either way.
bool StartSelfRemoval(const wchar_t* installFolder);
