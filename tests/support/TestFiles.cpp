#include "tests/support/TestFiles.h"

#include "tests/support/TestProcess.h"
#include "base/Scoped.h"

#include <algorithm>
#include <atomic>
#include <cwchar>

ScratchDir::ScratchDir() {
    static std::atomic<unsigned> counter{0};
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    wchar_t name[MAX_PATH];
    _snwprintf(name, MAX_PATH, L"%svstorm-test-%lu-%lu-%u", temp, GetCurrentProcessId(),
               GetTickCount(), counter.fetch_add(1));
    name[MAX_PATH - 1] = L'\0';
    path_ = name;
    CreateDirectoryW(path_.c_str(), nullptr);
}

ScratchDir::~ScratchDir() { RemoveTree(path_); }

std::wstring ExeDir() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (wchar_t* slash = wcsrchr(path, L'\\')) *slash = L'\0';
    return path;
}

std::wstring TreeBin(const wchar_t* architecture) {
    return ExeDir() + L"\\..\\..\\" + architecture + L"\\bin";
}

std::string ReadFileBytes(const std::wstring& path) {
    ScopedKernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return std::string();
    std::string bytes;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file.Get(), chunk, sizeof(chunk), &got, nullptr) && got > 0) bytes.append(chunk, got);
    return bytes;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    ScopedKernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::wstring> FileNames(const std::wstring& pattern) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    ScopedFindHandle find(FindFirstFileW(pattern.c_str(), &found));
    for (bool more = find.IsValid(); more; more = FindNextFileW(find.Get(), &found)) names.push_back(found.cFileName);
    std::sort(names.begin(), names.end());
    return names;
}

void RemoveSymbolicLink(const std::wstring& link);

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    ScopedFindHandle find(FindFirstFileW((path + L"\\*").c_str(), &data));
    if (find) {
        do {
            if (wcscmp(data.cFileName, L".") == 0 || wcscmp(data.cFileName, L"..") == 0) continue;
            std::wstring child = path + L"\\" + data.cFileName;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                // A link to a file goes with DeleteFileW. A link to a folder
                // must never reach Wine's RemoveDirectoryW, which follows a
                // Unix link and removes an empty target: under Wine it goes
                // with rm; on Windows RemoveDirectoryW takes the junction.
                if (!DeleteFileW(child.c_str())) {
                    if (!UnixPath(child).empty()) {
                        RemoveSymbolicLink(child);
                    } else {
                        RemoveDirectoryW(child.c_str());
                    }
                }
                continue;
            }
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(find.Get(), &data));
    }
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(path.c_str());
}

namespace {

// Runs a Unix program under Wine (its handle does not wait for it).
void RunUnix(const wchar_t* program, const std::wstring& commandLine) {
    RunCommandLine(program, commandLine, 10000);
}

std::wstring Quoted(const std::string& text) { return L"\"" + std::wstring(text.begin(), text.end()) + L"\""; }

}  // namespace

void RemoveSymbolicLink(const std::wstring& link) {
    const std::string unixLink = UnixPath(link);
    if (unixLink.empty()) return;
    RunUnix(L"Z:\\bin\\rm", L"rm " + Quoted(unixLink));
    for (int wait = 0; wait < 100 && FileExists(link); ++wait) Sleep(50);
}

std::string UnixPath(const std::wstring& path) {
    using ToUnix = char*(CDECL*)(LPCWSTR);
    auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix) return std::string();
    char* unix = toUnix(path.c_str());
    if (!unix) return std::string();
    std::string result(unix);
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}

bool MakeSymbolicLink(const std::wstring& link, const std::wstring& target) {
    const std::string unixLink = UnixPath(link);
    const std::string unixTarget = UnixPath(target);
    if (unixLink.empty() || unixTarget.empty()) return false;
    // Wine starts a Unix program named by its Windows path as a Unix
    // process, whose handle does not wait for it: the link is awaited.
    RunUnix(L"Z:\\bin\\ln", L"ln -s " + Quoted(unixTarget) + L" " + Quoted(unixLink));
    for (int wait = 0; wait < 100; ++wait) {
        // Wine tells a link by its directory entry, not by GetFileAttributesW.
        WIN32_FIND_DATAW entry;
        ScopedFindHandle find(FindFirstFileW(link.c_str(), &entry));
        if (find && (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
        Sleep(50);
    }
    return false;
}
