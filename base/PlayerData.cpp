#include "base/PlayerData.h"

#include "base/Config.h"
#include "base/CrashTrace.h"
#include "base/Product.h"
#include "base/Scoped.h"
#include "base/TextBuf.h"

#include <shlobj.h>

#include <vector>

namespace {

constexpr wchar_t kKeptFileName[] = L"Kept.ini";
// A section of Config.ini is read whole into this many units at most; the
// player's settings are a few short keys.
constexpr DWORD kSectionUnits = 8192;

struct KeptKey {
    const wchar_t* section;
    const wchar_t* key;
};

// What counts as the player's own data in Config.ini: single keys, and
// sections of the player's settings carried whole.
constexpr KeptKey kKeptKeys[] = {
    {kSectionCommon, kKeyUserName},
    {kSectionCommon, kKeyBossModifiers},
    {kSectionCommon, kKeyBossKey},
};
constexpr const wchar_t* kKeptSections[] = {kSectionPlayer};

bool KeptFilePath(wchar_t (&path)[MAX_PATH]) { return PlayerDataPath(kKeptFileName, path); }

bool HasValue(const wchar_t* path, const wchar_t* section, const wchar_t* key) {
    wchar_t value[kConfigValueUnits];
    ReadConfigText(path, section, key, value);
    return value[0] != L'\0';
}

// Copies one value from one file to the other when the source has it and,
// unless replace, the target does not.
bool CopyValue(const wchar_t* from, const wchar_t* to, const wchar_t* section, const wchar_t* key, bool replace) {
    wchar_t value[kConfigValueUnits];
    ReadConfigText(from, section, key, value);
    if (!value[0] || (!replace && HasValue(to, section, key))) return false;
    return WriteConfigText(to, section, key, value);
}

// The key names of a section ("a\0b\0\0" from the profile functions).
std::vector<std::wstring> SectionKeys(const wchar_t* path, const wchar_t* section) {
    std::vector<wchar_t> names(kSectionUnits);
    const DWORD length = GetPrivateProfileStringW(section, nullptr, L"", names.data(), kSectionUnits, path);
    std::vector<std::wstring> keys;
    for (DWORD start = 0; start < length && names[start];) {
        keys.emplace_back(names.data() + start);
        start += static_cast<DWORD>(keys.back().size()) + 1;
    }
    return keys;
}

bool CopyPlayerData(const wchar_t* from, const wchar_t* to, bool replace) {
    bool any = false;
    for (const KeptKey& kept : kKeptKeys) any |= CopyValue(from, to, kept.section, kept.key, replace);
    for (const wchar_t* section : kKeptSections) {
        for (const std::wstring& key : SectionKeys(from, section)) {
            any |= CopyValue(from, to, section, key.c_str(), replace);
        }
    }
    return any;
}

// Deletes the files of folder that match pattern, then the folder if empty.
void DeleteMatching(const wchar_t* folderName, const wchar_t* pattern) {
    wchar_t folder[MAX_PATH];
    wchar_t search[MAX_PATH];
    if (!PlayerDataPath(folderName, folder) || !Format(search, L"%s\\%s", folder, pattern)) return;
    WIN32_FIND_DATAW entry;
    {
        ScopedFindHandle find(FindFirstFileW(search, &entry));
        if (find) {
            do {
                wchar_t file[MAX_PATH];
                if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                    Format(file, L"%s\\%s", folder, entry.cFileName)) {
                    DeleteFileW(file);
                }
            } while (FindNextFileW(find.Get(), &entry));
        }
    }
    RemoveDirectoryW(folder);
}

}  // namespace

bool PlayerDataPath(const wchar_t* name, wchar_t (&path)[MAX_PATH]) {
    wchar_t local[MAX_PATH] = {};
    const bool made = SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local)) &&
                      local[0] &&
                      (name ? Format(path, L"%s\\%s\\%s", local, kProductName, name)
                            : Format(path, L"%s\\%s", local, kProductName));
    if (!made) path[0] = L'\0';
    return made;
}

bool MakeFolder(const wchar_t* path) {
    return CreateDirectoryW(path, nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool KeepPlayerData(const wchar_t* configPath) {
    wchar_t folder[MAX_PATH];
    wchar_t kept[MAX_PATH];
    if (!configPath || !*configPath || !PlayerDataPath(nullptr, folder) || !KeptFilePath(kept)) return false;
    if (!MakeFolder(folder)) return false;
    // An older kept file belongs to an installation since removed.
    DeleteFileW(kept);
    return CopyPlayerData(configPath, kept, true);
}

bool RestorePlayerData(const wchar_t* configPath) {
    wchar_t kept[MAX_PATH];
    if (!configPath || !*configPath || !KeptFilePath(kept) || GetFileAttributesW(kept) == INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    CopyPlayerData(kept, configPath, false);
    DeleteFileW(kept);
    return true;
}

void PurgePlayerData() {
    StopTrace();
    wchar_t kept[MAX_PATH];
    wchar_t folder[MAX_PATH];
    if (KeptFilePath(kept)) DeleteFileW(kept);
    DeleteMatching(kLogsFolderName, L"*.log");
    DeleteMatching(kCrashesFolderName, L"*.dmp");
    if (PlayerDataPath(nullptr, folder)) RemoveDirectoryW(folder);
}
