// Config.ini beside the executable: the installer's marketing identifiers,
// the install time, the run counter, the last user name and exit time.
//
// There is no configuration object. Whoever touches the file builds its path
// with MakeConfigPath and reads or writes single keys through the platform's
// profile functions, which create the file, section or key when missing.
// Reads use an empty default and a 64-unit buffer, so at most 63 characters
// arrive; integers are read as a base-10 strtol does (leading blanks, an
// optional sign, digits; anything else ends the number, nothing is 0).
#pragma once

#include <windows.h>

constexpr wchar_t kConfigFileName[] = L"Config.ini";

constexpr wchar_t kSectionGameInfo[] = L"GameInfo";
constexpr wchar_t kSectionCommon[] = L"Common";
constexpr wchar_t kSectionInstall[] = L"Install";
constexpr wchar_t kSectionExtension[] = L"Extension";

constexpr wchar_t kKeyVersion[] = L"Version";
constexpr wchar_t kKeyAgentId[] = L"UID";
constexpr wchar_t kKeySiteId[] = L"ADV";
constexpr wchar_t kKeyRunCount[] = L"RunCount";
constexpr wchar_t kKeyBossModifiers[] = L"fsModifiers";
constexpr wchar_t kKeyBossKey[] = L"vkCode";
constexpr wchar_t kKeyUserName[] = L"user_name";
constexpr wchar_t kKeyInstallTime[] = L"InstallTime";
constexpr wchar_t kKeyOutTime[] = L"out_time";
constexpr wchar_t kKeyCounts[] = L"Counts";

constexpr size_t kConfigValueUnits = 64;

// programDir, "\", "Config.ini" ("%s\%s", cut to MAX_PATH units).
void MakeConfigPath(const wchar_t* programDir, wchar_t (&path)[MAX_PATH]);

// The integer value of text as strtol(text, nullptr, 10) gives it.
int ParseConfigInt(const wchar_t* text);

void ReadConfigText(const wchar_t* path, const wchar_t* section, const wchar_t* key,
                    wchar_t (&value)[kConfigValueUnits]);
int ReadConfigInt(const wchar_t* path, const wchar_t* section, const wchar_t* key);

// False when the platform could not write (a read-only file or folder).
bool WriteConfigText(const wchar_t* path, const wchar_t* section, const wchar_t* key,
                     const wchar_t* value);
bool WriteConfigInt(const wchar_t* path, const wchar_t* section, const wchar_t* key, int value);
