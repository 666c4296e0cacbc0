#include "uninstall/SelfRemovalScript.h"

#include "base/Product.h"
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
constexpr char kScriptFormat[] =
    "@echo off\r\n"
    "set tries=0\r\n"
    ":wait\r\n"
    "del /f /q \"%s\\%ls\" > nul 2>&1\r\n"
    "if not exist \"%s\\%ls\" exit /b 0\r\n"
    "set /a tries+=1\r\n"
    "if %%tries%% geq 10 exit /b 1\r\n"
    "ping -n 2 127.0.0.1 > nul\r\n"
    "goto wait\r\n";

// cmd, the script, the folder. /d: no AutoRun commands; /s: the outer
// quotation marks go, the rest is the command. "call" comes back to this
// line when the script ends, and Wine's cmd has closed the script by then.
constexpr wchar_t kCommandFormat[] = L"\"%s\" /d /s /c \"call \"%s\" & rd /s /q \"%s\"\"";
constexpr size_t kCommandUnits = 1024;

// Expanded by cmd ("%", "!"), wildcards for DEL ("?", "*"), or able to end
// the quoted folder or the command.
constexpr wchar_t kRefusedCharacters[] = L"%!?*\"^&|<>";

bool HoldsRefusedCharacter(const wchar_t* folder) {
    for (const wchar_t* c = folder; *c; ++c) {
        if (*c < 0x20 || wcschr(kRefusedCharacters, *c)) return true;
    }
    return false;
}

bool IsAscii(const char* text) {
    for (const char* c = text; *c; ++c) {
        if (static_cast<unsigned char>(*c) >= 0x80) return false;
    }
    return true;
}

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

// The hidden cmd, working in the system folder: a working folder inside the
// install folder would keep it from being removed.
bool StartScript(const wchar_t* folder, const wchar_t* script) {
    wchar_t system[MAX_PATH];
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    wchar_t cmd[MAX_PATH];
    wchar_t line[kCommandUnits];
    if (length == 0 || length >= MAX_PATH || !Format(cmd, L"%s\\cmd.exe", system) ||
        !Format(line, kCommandFormat, cmd, script, folder)) {
        return false;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(cmd, line, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, system, &startup,
                        &started)) {
        return false;
    }
    ScopedKernelHandle process(started.hProcess);
    ScopedKernelHandle thread(started.hThread);
    return true;
}

}  // namespace

bool FormatSelfRemovalScript(const char* folder, char (&text)[kScriptTextBytes]) {
    if (folder && Format(text, kScriptFormat, folder, kUninstallerExeName, folder, kUninstallerExeName)) {
        return true;
    }
    text[0] = '\0';
    return false;
}

bool ScriptFolderText(const wchar_t* folder, char (&narrow)[kScriptPathBytes]) {
    narrow[0] = '\0';
    if (!folder || !*folder || HoldsRefusedCharacter(folder)) return false;
    // The UTF-8 code page takes neither flags nor a default-character flag.
    const bool utf8 = GetACP() == CP_UTF8;
    BOOL usedDefault = FALSE;
    char converted[kScriptPathBytes] = {};
    if (WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, folder, -1, converted,
                            kScriptPathBytes, nullptr, utf8 ? nullptr : &usedDefault) == 0 ||
        usedDefault) {
        return false;
    }
    wchar_t back[kScriptPathBytes] = {};
    if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, converted, -1, back, kScriptPathBytes) == 0 ||
        wcscmp(back, folder) != 0) {
        return false;
    }
    if (!IsAscii(converted) && GetACP() != GetOEMCP()) return false;
    char path[kScriptPathBytes];
    if (!Format(path, "%s\\%ls", converted, kUninstallScriptName)) return false;
    memcpy(narrow, converted, sizeof(converted));
    return true;
}

bool WriteSelfRemovalScript(const wchar_t* folder) {
    char narrow[kScriptPathBytes];
    char text[kScriptTextBytes];
    wchar_t script[MAX_PATH];
    if (!ScriptFolderText(folder, narrow) || !FormatSelfRemovalScript(narrow, text) ||
        !Format(script, L"%s\\%s", folder, kUninstallScriptName)) {
        return false;
    }
    // A file of that name that this run did not write is never started.
    if (!DeleteFileW(script) && GetLastError() != ERROR_FILE_NOT_FOUND) return false;
    return WriteNewFile(script, text) && StartScript(folder, script);
}

bool StartSelfRemoval(const wchar_t* installFolder) {
    if (!IsSafeInstallFolder(installFolder) || TreeHoldsLink(installFolder)) return false;
    return WriteSelfRemovalScript(installFolder);
}
