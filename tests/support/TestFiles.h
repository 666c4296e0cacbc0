// Files and folders for tests: scratch folders that clean up after
// themselves, whole-file reads and writes, and the test program's folder.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A new, empty folder under the temporary folder, removed with its contents
// when the object goes.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::wstring& Path() const { return path_; }
    std::wstring File(const wchar_t* name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

// The folder of the running test program (where the built programs lie).
std::wstring ExeDir();
// The programs folder of the build tree of another architecture ("i686",
// "x86_64"): tools/build.sh makes the trees side by side.
std::wstring TreeBin(const wchar_t* architecture);

std::string ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);
// The names of the files a pattern ("folder\\*.png") matches, in order.
std::vector<std::wstring> FileNames(const std::wstring& pattern);

// Removes a folder and everything in it. A link (reparse point) inside is
// removed as far as the platform lets it, never followed.
void RemoveTree(const std::wstring& path);

// The Unix path under Wine of a Windows path ("" when there is none).
std::string UnixPath(const std::wstring& path);
// A Unix symbolic link at link pointing at target (both Windows paths), the
// stand-in for a junction under Wine (WINE-NOTES.md); made by /bin/ln.
bool MakeSymbolicLink(const std::wstring& link, const std::wstring& target);
// Removes such a link (by /bin/rm), never its target.
void RemoveSymbolicLink(const std::wstring& link);
