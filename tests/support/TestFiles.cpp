#include "tests/support/TestFiles.h"

#include "ui/Scoped.h"

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

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    ScopedFindHandle find(FindFirstFileW((path + L"\\*").c_str(), &data));
    if (find) {
        do {
            if (wcscmp(data.cFileName, L".") == 0 || wcscmp(data.cFileName, L"..") == 0) continue;
            std::wstring child = path + L"\\" + data.cFileName;
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
