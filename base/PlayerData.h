// The player's own data, kept in the player's profile under
// %LOCALAPPDATA%\<product name>: the log and crash dump folders, and, when an
// uninstallation keeps the player's data, the kept part of Config.ini, which
// the next installation's first run takes back. The operator's books (run
// count, install time, agent and site ids) are never kept, so a new
// installation is counted as one.
//
// Nothing here deletes a file it did not name itself: the kept file, the
// trace logs and the dumps by their own patterns, then the folders only
// when they are empty.
#pragma once

#include <windows.h>

inline constexpr wchar_t kLogsFolderName[] = L"logs";
inline constexpr wchar_t kCrashesFolderName[] = L"crashes";

// %LOCALAPPDATA%\<product name>, with the name appended when one is given
// ("...\logs"). False, with an empty path, when the profile has no such
// folder or the path does not fit.
bool PlayerDataPath(const wchar_t* name, wchar_t (&path)[MAX_PATH]);

// True when the folder was made now or is there already.
bool MakeFolder(const wchar_t* path);

// Copies the player's keys and sections of configPath into the kept file,
// replacing an older one. False when nothing could be kept.
bool KeepPlayerData(const wchar_t* configPath);

// Writes what the kept file holds into configPath where configPath has no
// value of its own, then deletes the kept file. False when there was none.
bool RestorePlayerData(const wchar_t* configPath);

// Deletes the kept file, the trace logs and the dumps, and the folders they
// leave empty; the trace of this process stops first, so nothing comes back.
void PurgePlayerData();
