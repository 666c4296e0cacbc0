#include "uninstall/Installation.h"

#include "base/Product.h"
#include "uninstall/SafeInstallFolder.h"
#include "base/Scoped.h"
#include "base/TextBuf.h"

namespace {

// Query value, set value, enumerate subkeys.
constexpr REGSAM kParentAccess = KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_ENUMERATE_SUB_KEYS;

struct EntryPlace {
    HKEY root;
    REGSAM view;
};
const EntryPlace kCurrentUser{HKEY_CURRENT_USER, 0};
// Older installers wrote it where the 32-bit uninstaller reads it.
const EntryPlace kLocalMachine{HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY};

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

// Whether the entry's InstallLocation is folder (a final path). Only a
// string value that fits MAX_PATH can name it.
bool EntryNames(const EntryPlace& place, const std::wstring& folder) {
    wchar_t keyPath[MAX_PATH];
    if (!Format(keyPath, L"%s\\%s", kUninstallParentKey, kProductName)) return false;
    HKEY opened = nullptr;
    if (RegOpenKeyExW(place.root, keyPath, 0, KEY_QUERY_VALUE | place.view, &opened) != ERROR_SUCCESS) return false;
    ScopedRegKey entry(opened);
    wchar_t location[MAX_PATH] = {};
    DWORD bytes = sizeof(location);
    if (RegGetValueW(entry.Get(), nullptr, kInstallLocationValue, RRF_RT_REG_SZ, nullptr, location, &bytes) !=
        ERROR_SUCCESS) {
        return false;
    }
    const std::wstring named = FinalFolderPath(location);
    return !named.empty() && SamePath(named, folder);
}

void DeleteEntry(const EntryPlace& place) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(place.root, kUninstallParentKey, 0, kParentAccess | place.view, &opened) != ERROR_SUCCESS) {
        return;
    }
    ScopedRegKey parent(opened);
    RegDeleteKeyExW(parent.Get(), kProductName, place.view, 0);
}

}  // namespace

bool FindInstallation(const wchar_t* folder, Installation& installation) {
    installation = Installation{};
    Installation found;
    found.folder = FinalFolderPath(folder);
    if (found.folder.empty() || !HoldsClient(found.folder)) return false;
    found.currentUserEntry = EntryNames(kCurrentUser, found.folder);
    found.localMachineEntry = EntryNames(kLocalMachine, found.folder);
    if (!found.currentUserEntry && !found.localMachineEntry) return false;
    installation = found;
    return true;
}

void DeleteUninstallEntries(const Installation& installation) {
    if (installation.localMachineEntry) DeleteEntry(kLocalMachine);
    if (installation.currentUserEntry) DeleteEntry(kCurrentUser);
}
