// Config.ini beside the executable: the installer's marketing identifiers,
// the install time, the run counter, the last user name and exit time.
//
// There is no configuration object. Whoever touches the file builds its path
// with MakeConfigPath and reads or writes single keys through the platform's
// profile functions, which create the file, section or key when missing.
// Reads use an empty default and a 64-unit buffer, so at most 63 characters
// arrive; integers are read as a base-10 strtol does (leading blanks, an
// optional sign, digits; anything else ends the number, nothing is 0).
//
// A program folder whose Config.ini path does not fit MAX_PATH has no
// Config.ini: its path is empty, every read gives the empty default and no
// write reaches a file. A cut path would name another file or folder.
#pragma once

#include "base/Product.h"
#include "base/Scoped.h"

#include <windows.h>

constexpr size_t kConfigValueUnits = 64;
// How long a start waits for another client of the same folder to finish
// its turn with Config.ini; the turns last a few profile reads and writes.
constexpr DWORD kConfigLockWaitMs = 5000;
constexpr size_t kConfigLockNameUnits = 64;

// programDir, "\", "Config.ini" ("%s\%s"). False, with an empty path,
// when programDir is empty or the path does not fit.
bool MakeConfigPath(const wchar_t* programDir, wchar_t (&path)[MAX_PATH]);

// The name of the lock of the clients of one folder: a prefix and a hash of
// the upper-cased folder path (the file system ignores case, and a mutex
// name cannot hold the path's backslashes).
void MakeConfigLockName(const wchar_t* programDir, wchar_t (&name)[kConfigLockNameUnits]);

// Takes the lock of the clients of one folder for the life of the object,
// so that their read-count, decide, store-count turns do not interleave. A
// lock abandoned by a client that died is taken over; one not given within
// kConfigLockWaitMs is gone without (the client still runs and reports).
class CConfigLock {
public:
    explicit CConfigLock(const wchar_t* programDir);
    ~CConfigLock();
    CConfigLock(const CConfigLock&) = delete;
    CConfigLock& operator=(const CConfigLock&) = delete;

    bool Held() const { return held_; }

private:
    ScopedKernelHandle mutex_;
    bool held_ = false;
};

// The integer value of text as strtol(text, nullptr, 10) gives it.
int ParseConfigInt(const wchar_t* text);

void ReadConfigText(const wchar_t* path, const wchar_t* section, const wchar_t* key,
                    wchar_t (&value)[kConfigValueUnits]);
int ReadConfigInt(const wchar_t* path, const wchar_t* section, const wchar_t* key);

// False when the platform could not write (a read-only file or folder).
bool WriteConfigText(const wchar_t* path, const wchar_t* section, const wchar_t* key,
                     const wchar_t* value);
bool WriteConfigInt(const wchar_t* path, const wchar_t* section, const wchar_t* key, int value);
