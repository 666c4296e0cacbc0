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

#include "app/Product.h"

#include <windows.h>

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
