#include "base/Config.h"

#include "base/TextBuf.h"

#include <cstdint>
#include <cwchar>
#include <string>

namespace {

constexpr wchar_t kConfigLockPrefix[] = L"ovstorm-books-";

bool IsNoFile(const wchar_t* path) { return !path || !*path; }

// FNV-1a, 64 bits, over the UTF-16 units.
uint64_t HashUnits(const std::wstring& text) {
    uint64_t hash = 14695981039346656037ULL;
    for (wchar_t unit : text) {
        hash ^= static_cast<uint16_t>(unit);
        hash *= 1099511628211ULL;
    }
    return hash;
}

}  // namespace

bool MakeConfigPath(const wchar_t* programDir, wchar_t (&path)[MAX_PATH]) {
    if (!IsNoFile(programDir) && Format(path, L"%s\\%s", programDir, kConfigFileName)) return true;
    wmemset(path, L'\0', MAX_PATH);
    return false;
}

void MakeConfigLockName(const wchar_t* programDir, wchar_t (&name)[kConfigLockNameUnits]) {
    std::wstring folder = programDir ? programDir : L"";
    if (!folder.empty()) {
        LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, folder.c_str(), static_cast<int>(folder.size()),
                     folder.data(), static_cast<int>(folder.size()));
    }
    Format(name, L"%s%016I64X", kConfigLockPrefix, HashUnits(folder));
}

CConfigLock::CConfigLock(const wchar_t* programDir) {
    if (IsNoFile(programDir)) return;
    wchar_t name[kConfigLockNameUnits];
    MakeConfigLockName(programDir, name);
    mutex_.Reset(CreateMutexW(nullptr, FALSE, name));
    if (!mutex_) return;
    const DWORD wait = WaitForSingleObject(mutex_.Get(), kConfigLockWaitMs);
    held_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
}

CConfigLock::~CConfigLock() {
    if (held_) ReleaseMutex(mutex_.Get());
}

int ParseConfigInt(const wchar_t* text) {
    if (!text) return 0;
    // long is 32 bits on Windows, so strtol's clamping is int's range too.
    return static_cast<int>(wcstol(text, nullptr, 10));
}

void ReadConfigText(const wchar_t* path, const wchar_t* section, const wchar_t* key,
                    wchar_t (&value)[kConfigValueUnits]) {
    wmemset(value, L'\0', kConfigValueUnits);
    if (IsNoFile(path)) return;
    GetPrivateProfileStringW(section, key, L"", value, kConfigValueUnits, path);
    value[kConfigValueUnits - 1] = L'\0';
}

int ReadConfigInt(const wchar_t* path, const wchar_t* section, const wchar_t* key) {
    wchar_t value[kConfigValueUnits];
    ReadConfigText(path, section, key, value);
    return ParseConfigInt(value);
}

bool WriteConfigText(const wchar_t* path, const wchar_t* section, const wchar_t* key,
                     const wchar_t* value) {
    if (IsNoFile(path)) return false;
    return WritePrivateProfileStringW(section, key, value ? value : L"", path) != FALSE;
}

bool WriteConfigInt(const wchar_t* path, const wchar_t* section, const wchar_t* key, int value) {
    wchar_t text[16];
    Format(text, L"%d", value);
    return WriteConfigText(path, section, key, text);
}
