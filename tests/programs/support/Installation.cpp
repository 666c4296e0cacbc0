#include "tests/programs/support/Installation.h"

#include "base/Product.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestProcess.h"

#include <shlobj.h>

namespace {

std::wstring UninstallKeyPath() { return std::wstring(kUninstallParentKey) + L"\\" + kProductName; }

}  // namespace

std::wstring ShellFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

std::wstring DesktopShortcut() { return ShellFolder(CSIDL_DESKTOPDIRECTORY) + L"\\" + kShortcutFileName; }
std::wstring MakerMenuFolder() { return ShellFolder(CSIDL_PROGRAMS) + L"\\" + kMakerName; }
std::wstring ProductMenuFolder() { return MakerMenuFolder() + L"\\" + kProductName; }
std::wstring DefaultInstallFolder() {
    return ShellFolder(CSIDL_LOCAL_APPDATA) + L"\\Programs\\" + kProductName;
}

ScopedRegKey OpenUninstallKey(HKEY root, REGSAM view) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, UninstallKeyPath().c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) {
        return ScopedRegKey();
    }
    return ScopedRegKey(key);
}

std::wstring InstallerPath() { return ExeDir() + L"\\" VSTORM_SETUP; }

DWORD RunInstaller(const std::wstring& options, const std::wstring& folder, const std::wstring& workDir) {
    std::wstring arguments = L"/S";
    if (!options.empty()) arguments += L" " + options;
    // Last and unquoted: the installer takes the rest of the line.
    if (!folder.empty()) arguments += L" /D=" + folder;
    return RunProgram(InstallerPath(), workDir, 60000, arguments);
}

void RemoveInstallation() {
    for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, UninstallKeyPath().c_str(), view, 0);
    }
    RegDeleteKeyExW(HKEY_CURRENT_USER, UninstallKeyPath().c_str(), 0, 0);
    DeleteFileW(DesktopShortcut().c_str());
    RemoveTree(ProductMenuFolder());
    RemoveDirectoryW(MakerMenuFolder().c_str());
    RemoveTree(DefaultInstallFolder());
}
