#include "uninstall/SelfRemovalScript.h"

#include "base/Product.h"
#include "uninstall/CompatibilityMark.h"
#include "uninstall/RemoveTree.h"
#include "uninstall/SafeInstallFolder.h"
#include "base/Scoped.h"
#include "base/TextBuf.h"

#include <windows.h>

#include <cstring>
#include <cwchar>

namespace {

// At most ten attempts one second apart to delete the uninstaller, which
// can be deleted once it has exited. "ping -n 2" to the loopback address
// takes one second on Windows and under Wine 8 alike; Wine 8's cmd has no
// timeout command, and its choice does not wait.
constexpr char kScriptText[] =
    "@echo off\r\n"
    "set tries=0\r\n"
    ":wait\r\n"
    "del /f /q \"%~dp0uninstall.exe\" > nul 2>&1\r\n"
    "if not exist \"%~dp0uninstall.exe\" exit /b 0\r\n"
    "set /a tries+=1\r\n"
    "if %tries% geq 10 exit /b 1\r\n"
    "ping -n 2 127.0.0.1 > nul\r\n"
    "goto wait\r\n";
static_assert(sizeof(kScriptText) > 1 && kScriptText[sizeof(kScriptText) - 2] == '\n',
              "Wine's cmd never finishes a script that does not end in a line break");

// cmd, then the folder variable three times. /d: no AutoRun commands; /v:off:
// no "!" expansion whatever the registry says; /s: the outer quotation marks
// go, the rest is the command. No "call": it would expand the folder's own
// "%" a second time. The entry deletions follow as kEntryFormat.
constexpr wchar_t kCommandFormat[] =
    L"\"%s\" /d /v:off /s /c \"\"%%%s%%\\%s\" & rd /s /q \"%%%s%%\"%s\"";
constexpr wchar_t kEntryFormat[] = L" & if not exist \"%%%s%%\" reg delete \"%s\\%s\\%s\" /f%s > nul 2>&1";
// The compatibility mark of the uninstaller, needed no more once it is gone.
constexpr wchar_t kMarkFormat[] =
    L" & if not exist \"%%%s%%\" reg delete \"HKCU\\%s\" /v \"%%%s%%\\%s\" /f > nul 2>&1";
constexpr size_t kEntryUnits = 256;

// Creates path, which must not exist, and writes text into it whole; a
// file written in part is deleted again.
bool WriteNewFile(const wchar_t* path, const char* text) {
    const DWORD size = static_cast<DWORD>(strlen(text));
    DWORD written = 0;
    bool whole = false;
    {
        ScopedKernelHandle file(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                            nullptr));
        if (!file) return false;
        whole = WriteFile(file.Get(), text, size, &written, nullptr) && written == size;
    }
    if (!whole) DeleteFileW(path);
    return whole;
}

bool EntryCommand(const wchar_t* root, const wchar_t* view, wchar_t (&entry)[kEntryUnits]) {
    return Format(entry, kEntryFormat, kScriptFolderVariable, root, kUninstallParentKey, kProductName, view);
}

// The hidden cmd, working in the system folder: a working folder inside the
// install folder would keep it from being removed.
bool StartScript(const Installation& installation) {
    wchar_t system[MAX_PATH];
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    wchar_t cmd[MAX_PATH];
    wchar_t line[kCommandUnits];
    if (length == 0 || length >= MAX_PATH || !Format(cmd, L"%s\\cmd.exe", system) ||
        !FormatRemovalCommand(cmd, installation, line) ||
        !SetEnvironmentVariableW(kScriptFolderVariable, installation.folder.c_str())) {
        return false;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(cmd, line, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, system, &startup, &started)) {
        return false;
    }
    ScopedKernelHandle process(started.hProcess);
    ScopedKernelHandle thread(started.hThread);
    return true;
}

}  // namespace

const char* SelfRemovalScriptText() { return kScriptText; }

bool FormatRemovalCommand(const wchar_t* cmd, const Installation& installation, wchar_t (&line)[kCommandUnits]) {
    wchar_t currentUser[kEntryUnits] = {};
    wchar_t localMachine[kEntryUnits] = {};
    // The 32-bit view, where older installers wrote it.
    if ((installation.currentUserEntry && !EntryCommand(L"HKCU", L"", currentUser)) ||
        (installation.localMachineEntry && !EntryCommand(L"HKLM", L" /reg:32", localMachine))) {
        line[0] = L'\0';
        return false;
    }
    wchar_t mark[kEntryUnits];
    wchar_t entries[3 * kEntryUnits];
    if (!cmd ||
        !Format(mark, kMarkFormat, kScriptFolderVariable, kCompatibilityPersistedKey, kScriptFolderVariable,
                kUninstallerExeName) ||
        !Format(entries, L"%s%s%s", currentUser, localMachine, mark) ||
        !Format(line, kCommandFormat, cmd, kScriptFolderVariable, kUninstallScriptName, kScriptFolderVariable,
                entries)) {
        line[0] = L'\0';
        return false;
    }
    return true;
}

bool WriteSelfRemovalScript(const Installation& installation) {
    wchar_t script[MAX_PATH];
    if (installation.folder.empty() ||
        !Format(script, L"%s\\%s", installation.folder.c_str(), kUninstallScriptName)) {
        return false;
    }
    // A file of that name that this run did not write is never started.
    if (!DeleteFileW(script) && GetLastError() != ERROR_FILE_NOT_FOUND) return false;
    return WriteNewFile(script, kScriptText) && StartScript(installation);
}

bool StartSelfRemoval(const Installation& installation) {
    const wchar_t* folder = installation.folder.c_str();
    if (!IsSafeInstallFolder(folder)) return false;
    const DWORD missing = GetFileAttributesW(folder) == INVALID_FILE_ATTRIBUTES ? GetLastError() : ERROR_SUCCESS;
    if (missing == ERROR_FILE_NOT_FOUND || missing == ERROR_PATH_NOT_FOUND) {
        DeleteUninstallEntries(installation);
        return true;
    }
    if (TreeHoldsLink(folder)) return false;
    return WriteSelfRemovalScript(installation);
}
