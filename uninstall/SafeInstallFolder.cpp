#include "uninstall/SafeInstallFolder.h"

#include "base/Product.h"
#include "base/Scoped.h"

#include <windows.h>
#include <aclapi.h>
#include <initguid.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <cwchar>
#include <cwctype>
#include <memory>
#include <string>
#include <vector>

namespace {

// Long enough for any path the platform hands out (32767 units and the
// terminator).
constexpr DWORD kLongPathUnits = 32768;
constexpr wchar_t kUserProgramsName[] = L"Programs";

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
    return text.compare(0, wcslen(prefix), prefix) == 0;
}

bool SameText(const wchar_t* a, size_t aLength, const wchar_t* b, size_t bLength) {
    return CompareStringOrdinal(a, static_cast<int>(aLength), b, static_cast<int>(bLength), TRUE) ==
           CSTR_EQUAL;
}

std::wstring WithoutLongPrefix(std::wstring path) {
    if (StartsWith(path, L"\\\\?\\UNC\\")) return L"\\\\" + path.substr(8);
    if (StartsWith(path, L"\\\\?\\") || StartsWith(path, L"\\??\\")) return path.substr(4);
    return path;
}

bool IsDrivePath(const std::wstring& path) {
    return path.size() >= 3 && iswalpha(path[0]) && path[1] == L':' && path[2] == L'\\';
}

bool IsUncPath(const std::wstring& path) {
    return StartsWith(path, L"\\\\") && path.size() > 2 && path[2] != L'.' && path[2] != L'?';
}

// The full path with long names and without a trailing backslash (a drive
// root keeps its own); empty when the platform cannot make one.
std::wstring Canonical(const std::wstring& path) {
    if (path.empty()) return std::wstring();
    std::vector<wchar_t> buffer(kLongPathUnits);
    DWORD length = GetFullPathNameW(path.c_str(), kLongPathUnits, buffer.data(), nullptr);
    if (length == 0 || length >= kLongPathUnits) return std::wstring();
    std::wstring full(buffer.data(), length);
    // Only an existing path has long names to find; the rest stays as given.
    length = GetLongPathNameW(full.c_str(), buffer.data(), kLongPathUnits);
    if (length != 0 && length < kLongPathUnits) full.assign(buffer.data(), length);
    full = WithoutLongPrefix(full);
    while (full.size() > 3 && full.back() == L'\\') full.pop_back();
    return full;
}

// A drive ("C:\"), a share ("\\server\share") or less.
bool IsRootLike(const std::wstring& path) {
    if (IsDrivePath(path)) return path.size() <= 3;
    if (!IsUncPath(path)) return true;
    // Separators after the leading two: one between server and share, a
    // second only below the share.
    size_t separators = 0;
    for (size_t i = 2; i < path.size(); ++i) {
        if (path[i] == L'\\' && i + 1 < path.size()) ++separators;
    }
    return separators < 2;
}

class ProtectedFolders {
public:
    ProtectedFolders() {
        // Every folder the shell names by a CSIDL, existing or not, for this
        // user and for all users.
        for (int csidl = 0; csidl < 0x80; ++csidl) {
            wchar_t path[MAX_PATH] = {};
            if (SUCCEEDED(SHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_DONT_VERIFY, nullptr,
                                           SHGFP_TYPE_CURRENT, path))) {
                Add(path);
            }
        }
        // Known folders without a CSIDL.
        const KNOWNFOLDERID* const known[] = {
            &FOLDERID_Downloads,      &FOLDERID_SavedGames,     &FOLDERID_Links,
            &FOLDERID_Contacts,       &FOLDERID_Public,
            &FOLDERID_PublicDownloads, &FOLDERID_UserProfiles,  &FOLDERID_LocalAppDataLow,
            &FOLDERID_ProgramFilesX64, &FOLDERID_ProgramFilesX86, &FOLDERID_ProgramFilesCommonX64,
            &FOLDERID_ProgramFilesCommonX86, &FOLDERID_UserProgramFiles, &FOLDERID_SkyDrive,
            &FOLDERID_ProgramData,    &FOLDERID_Profile,        &FOLDERID_Windows,
        };
        struct TaskMemFree {
            void operator()(wchar_t* p) const { CoTaskMemFree(p); }
        };
        for (const KNOWNFOLDERID* id : known) {
            PWSTR received = nullptr;
            const HRESULT result = SHGetKnownFolderPath(*id, KF_FLAG_DONT_VERIFY, nullptr, &received);
            std::unique_ptr<wchar_t, TaskMemFree> path(received);
            if (SUCCEEDED(result) && path) Add(path.get());
        }
        wchar_t path[MAX_PATH] = {};
        if (GetWindowsDirectoryW(path, MAX_PATH)) Add(path);
        if (GetSystemWindowsDirectoryW(path, MAX_PATH)) Add(path);
        if (GetSystemDirectoryW(path, MAX_PATH)) Add(path);
        if (GetSystemWow64DirectoryW(path, MAX_PATH)) Add(path);
        if (GetTempPathW(MAX_PATH, path)) Add(path);
        // A 32-bit program sees only the x86 Program Files through the
        // shell; the environment names the other one.
        for (const wchar_t* name :
             {L"ProgramFiles", L"ProgramFiles(x86)", L"ProgramW6432", L"CommonProgramFiles",
              L"CommonProgramFiles(x86)", L"CommonProgramW6432", L"SystemRoot", L"windir",
              L"USERPROFILE", L"PUBLIC", L"ALLUSERSPROFILE", L"ProgramData", L"APPDATA",
              L"LOCALAPPDATA", L"OneDrive", L"TEMP", L"TMP"}) {
            wchar_t value[MAX_PATH] = {};
            const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
            if (length != 0 && length < MAX_PATH) Add(value);
        }
        // Where programs of one user go (FOLDERID_UserProgramFiles), the
        // installer's default place, also where the shell does not know it
        // (Wine 8).
        if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_DONT_VERIFY, nullptr,
                                       SHGFP_TYPE_CURRENT, path))) {
            Add((std::wstring(path) + L"\\" + kUserProgramsName).c_str());
        }
    }

    // True when folder is one of the protected folders or holds one.
    bool Touches(const std::wstring& folder) const {
        for (const std::wstring& known : folders_) {
            if (known.size() < folder.size()) continue;
            if (!SameText(known.c_str(), folder.size(), folder.c_str(), folder.size())) continue;
            if (known.size() == folder.size() || known[folder.size()] == L'\\' ||
                folder.back() == L'\\') {
                return true;
            }
        }
        return false;
    }

private:
    void Add(const wchar_t* path) {
        std::wstring canonical = Canonical(WithoutLongPrefix(path));
        if (!canonical.empty()) folders_.push_back(canonical);
    }

    std::vector<std::wstring> folders_;
};

bool IsSafeCanonical(const std::wstring& folder, const ProtectedFolders& protectedFolders) {
    if (folder.empty() || IsRootLike(folder)) return false;
    return !protectedFolders.Touches(folder);
}

// Where the folder really lies once every link on its way is followed;
// empty when it does not exist or the platform cannot say.
std::wstring FinalPath(const std::wstring& folder) {
    ScopedKernelHandle handle(CreateFileW(folder.c_str(), 0,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle) return std::wstring();
    std::vector<wchar_t> buffer(kLongPathUnits);
    const DWORD length =
        GetFinalPathNameByHandleW(handle.Get(), buffer.data(), kLongPathUnits, FILE_NAME_NORMALIZED);
    if (length == 0 || length >= kLongPathUnits) return std::wstring();
    return Canonical(WithoutLongPrefix(std::wstring(buffer.data(), length)));
}

// IsSafeInstallFolder, handing out the folder's full form.
bool IsSafe(const wchar_t* folder, std::wstring& canonical) {
    canonical.clear();
    if (!folder || !*folder) return false;
    const std::wstring given = WithoutLongPrefix(folder);
    if (!IsDrivePath(given) && !IsUncPath(given)) return false;
    canonical = Canonical(given);
    const ProtectedFolders protectedFolders;
    if (!IsSafeCanonical(canonical, protectedFolders)) return false;
    const std::wstring final = FinalPath(canonical);
    return final.empty() || IsSafeCanonical(final, protectedFolders);
}

bool IsEmptyFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    ScopedFindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &entry));
    if (!find) return true;
    do {
        if (wcscmp(entry.cFileName, L".") != 0 && wcscmp(entry.cFileName, L"..") != 0) return false;
    } while (FindNextFileW(find.Get(), &entry));
    return true;
}

// The SID of the account this process runs as, in buffer.
PSID CurrentUser(std::vector<BYTE>& buffer) {
    HANDLE opened = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened)) return nullptr;
    ScopedKernelHandle token(opened);
    DWORD bytes = 0;
    GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &bytes);
    if (bytes == 0) return nullptr;
    buffer.resize(bytes);
    if (!GetTokenInformation(token.Get(), TokenUser, buffer.data(), bytes, &bytes)) return nullptr;
    return reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
}

// Whether the folder's owner is this account; false also when it cannot be
// read, for a folder whose owner is unknown may be anyone's.
bool OwnedByCurrentUser(const std::wstring& folder) {
    std::vector<BYTE> user;
    const PSID self = CurrentUser(user);
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR received = nullptr;
    const DWORD result = GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                                               nullptr, nullptr, nullptr, &received);
    ScopedLocalMemory descriptor(received);
    return result == ERROR_SUCCESS && self && owner && EqualSid(self, owner);
}

bool InsideProfile(const std::wstring& folder) {
    wchar_t profile[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PROFILE, nullptr, SHGFP_TYPE_CURRENT, profile))) return false;
    const std::wstring root = Canonical(profile);
    return !root.empty() && folder.size() > root.size() && folder[root.size()] == L'\\' &&
           SameText(folder.c_str(), root.size(), root.c_str(), root.size());
}

}  // namespace

bool IsLinkPath(const wchar_t* path) {
    if (!path || !*path) return false;
    const DWORD attributes = GetFileAttributesW(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
    WIN32_FIND_DATAW entry;
    ScopedFindHandle find(FindFirstFileW(path, &entry));
    return find && (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool IsSafeInstallFolder(const wchar_t* folder) {
    std::wstring canonical;
    return IsSafe(folder, canonical);
}

// The parent's final path and the entry's own name: a link at the end is
// named, not followed. Opening the folder with FILE_FLAG_OPEN_REPARSE_POINT
// would say the same on Windows, but Wine 8 follows the link then.
std::wstring FinalFolderPath(const wchar_t* folder) {
    if (!folder || !*folder) return std::wstring();
    const std::wstring full = Canonical(WithoutLongPrefix(folder));
    // Wildcards would make the search below find another entry.
    if (IsRootLike(full) || full.find_first_of(L"*?") != std::wstring::npos) return std::wstring();
    WIN32_FIND_DATAW entry;
    ScopedFindHandle find(FindFirstFileW(full.c_str(), &entry));
    if (!find || !(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return std::wstring();
    std::wstring parent = full.substr(0, full.rfind(L'\\'));
    if (parent.size() == 2 && parent[1] == L':') parent += L'\\';  // the drive's root, not its current folder
    parent = FinalPath(parent);
    if (parent.empty()) return std::wstring();
    if (parent.back() != L'\\') parent += L'\\';
    return parent + entry.cFileName;
}

bool HoldsClient(const std::wstring& folder) {
    const DWORD attributes = GetFileAttributesW((folder + L"\\" + kClientExeName).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

InstallTargetVerdict JudgeInstallTarget(const wchar_t* folder, std::wstring& fullForm) {
    fullForm.clear();
    std::wstring canonical;
    if (!IsSafe(folder, canonical)) return InstallTargetVerdict::kProtected;
    if (IsLinkPath(canonical.c_str())) return InstallTargetVerdict::kLink;
    const DWORD attributes = GetFileAttributesW(canonical.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
        !OwnedByCurrentUser(canonical)) {
        return InstallTargetVerdict::kForeign;
    }
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || (!IsEmptyFolder(canonical) && !HoldsClient(canonical)))) {
        return InstallTargetVerdict::kOccupied;
    }
    fullForm = canonical;
    return InstallTargetVerdict::kFine;
}

bool ProtectInstallFolder(const wchar_t* folder) {
    if (!folder || !*folder) return false;
    const std::wstring canonical = Canonical(WithoutLongPrefix(folder));
    if (canonical.empty()) return false;
    if (InsideProfile(canonical)) return true;
    std::vector<BYTE> user;
    const PSID self = CurrentUser(user);
    BYTE system[SECURITY_MAX_SID_SIZE];
    BYTE administrators[SECURITY_MAX_SID_SIZE];
    DWORD systemBytes = sizeof(system);
    DWORD administratorsBytes = sizeof(administrators);
    if (!self || !CreateWellKnownSid(WinLocalSystemSid, nullptr, system, &systemBytes) ||
        !CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &administratorsBytes)) {
        return false;
    }
    EXPLICIT_ACCESSW entries[3] = {};
    const PSID sids[3] = {self, system, administrators};
    for (int i = 0; i < 3; ++i) {
        entries[i].grfAccessPermissions = FILE_ALL_ACCESS;
        entries[i].grfAccessMode = SET_ACCESS;
        entries[i].grfInheritance = SUB_CONTAINERS_AND_OBJECTS_INHERIT;
        entries[i].Trustee.TrusteeForm = TRUSTEE_IS_SID;
        entries[i].Trustee.TrusteeType = i == 2 ? TRUSTEE_IS_GROUP : TRUSTEE_IS_USER;
        entries[i].Trustee.ptstrName = static_cast<LPWSTR>(sids[i]);
    }
    PACL made = nullptr;
    if (SetEntriesInAclW(3, entries, nullptr, &made) != ERROR_SUCCESS) return false;
    ScopedLocalMemory list(made);
    std::wstring path = canonical;
    return SetNamedSecurityInfoW(path.data(), SE_FILE_OBJECT,
                                 DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                 made, nullptr) == ERROR_SUCCESS;
}
