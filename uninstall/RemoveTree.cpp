#include "uninstall/RemoveTree.h"

#include "uninstall/SafeInstallFolder.h"
#include "base/Scoped.h"
#include "base/TextBuf.h"

#include <windows.h>

#include <io.h>

#include <cwchar>

namespace {

// A folder and nothing else: only such a folder is descended into.
constexpr unsigned kPlainFolder = _A_SUBDIR;

bool IsDotEntry(const wchar_t* name) { return wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0; }

// Removes the link at path and nothing behind it. The object opened must
// itself be the reparse point: Wine 8 opens the target even when asked for
// the link, and then nothing is removed (RemoveDirectoryW would remove an
// empty target there, DeleteFileW refuses).
void RemoveLink(const wchar_t* path) {
    ScopedKernelHandle link(CreateFileW(path, DELETE | FILE_READ_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING,
                                        FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!link || !GetFileInformationByHandle(link.Get(), &info) ||
        !(info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        return;
    }
    FILE_DISPOSITION_INFO disposition{TRUE};
    SetFileInformationByHandle(link.Get(), FileDispositionInfo, &disposition, sizeof(disposition));
}

// The C run-time's search, closed however the loop ends.
class FolderSearch {
public:
    explicit FolderSearch(const wchar_t* folder) {
        wchar_t pattern[MAX_PATH];
        if (Format(pattern, L"%s\\*.*", folder)) handle_ = _wfindfirst(pattern, &entry_);
    }
    ~FolderSearch() {
        if (handle_ != -1) _findclose(handle_);
    }
    FolderSearch(const FolderSearch&) = delete;
    FolderSearch& operator=(const FolderSearch&) = delete;

    bool Found() const { return handle_ != -1; }
    const _wfinddata_t& Entry() const { return entry_; }
    bool Next() { return _wfindnext(handle_, &entry_) == 0; }

private:
    intptr_t handle_ = -1;
    _wfinddata_t entry_{};
};

}  // namespace

// A path that does not fit MAX_PATH is not shortened: a cut path would
// name another file.
void RemoveTree(const wchar_t* path) {
    if (!path || !*path) return;
    if (IsLinkPath(path)) {
        RemoveLink(path);
        return;
    }
    {
        FolderSearch search(path);
        if (!search.Found()) return;
        do {
            const _wfinddata_t& entry = search.Entry();
            wchar_t child[MAX_PATH];
            if (!Format(child, L"%s\\%s", path, entry.name)) continue;
            if (entry.attrib == kPlainFolder) {
                if (!IsDotEntry(entry.name)) RemoveTree(child);
            } else if (IsLinkPath(child)) {
                RemoveLink(child);
            } else {
                DeleteFileW(child);
            }
        } while (search.Next());
    }
    RemoveDirectoryW(path);
}

bool TreeHoldsLink(const wchar_t* path) {
    if (!path || !*path) return false;
    if (IsLinkPath(path)) return true;
    WIN32_FIND_DATAW entry;
    wchar_t pattern[MAX_PATH];
    if (!Format(pattern, L"%s\\*", path)) return false;
    ScopedFindHandle find(FindFirstFileW(pattern, &entry));
    if (!find) return false;
    bool found = false;
    do {
        if (IsDotEntry(entry.cFileName)) continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            found = true;
        } else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            wchar_t child[MAX_PATH];
            // What cannot be looked at counts as a link.
            found = !Format(child, L"%s\\%s", path, entry.cFileName) || TreeHoldsLink(child);
        }
    } while (!found && FindNextFileW(find.Get(), &entry));
    return found;
}
