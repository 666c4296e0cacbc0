#include "uninstall/SelfRemovalScript.h"

#include "app/Product.h"
#include "uninstall/RemoveTree.h"
#include "uninstall/SafeInstallFolder.h"
#include "ui/TextBuf.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <memory>

namespace {

// Lines 1 and 2 are one text; 3 to 5 are appended piece by piece. The
// blanks after the slashes of line 2 are as the script has always had them.
constexpr char kScriptHead[] = "@echo off\r\nchoice / t 3 / d y / n > nul\r\n";
constexpr char kScriptFormat[] = "%s@echo off\r\nDEL /F /A /Q \\\\?\\\"%s\"\r\nRD /S /Q \\\\?\\\"%s\"";

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

bool FormatScriptPath(const char* folder, char (&path)[kScriptPathBytes]) {
    return Format(path, "%s\\%s", folder, kUninstallScriptName);
}

}  // namespace

bool FormatSelfRemovalScript(const char* folder, char (&text)[kScriptTextBytes]) {
    if (folder && Format(text, kScriptFormat, kScriptHead, folder, folder)) return true;
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
    if (!FormatScriptPath(converted, path)) return false;
    memcpy(narrow, converted, sizeof(converted));
    return true;
}

bool WriteSelfRemovalScript(const char* folder) {
    char path[kScriptPathBytes];
    char text[kScriptTextBytes];
    if (!folder || !FormatScriptPath(folder, path) || !FormatSelfRemovalScript(folder, text)) return false;
    struct FileCloser {
        void operator()(FILE* file) const { fclose(file); }
    };
    if (std::unique_ptr<FILE, FileCloser> file{fopen(path, "wb")}) {
        fwrite(text, strlen(text) + 1, 1, file.get());
    }
    ShellExecuteA(nullptr, "open", path, nullptr, nullptr, SW_HIDE);
    return true;
}

bool StartSelfRemoval(const wchar_t* installFolder) {
    char narrow[kScriptPathBytes];
    if (!IsSafeInstallFolder(installFolder) || !ScriptFolderText(installFolder, narrow) ||
        TreeHoldsLink(installFolder)) {
        return false;
    }
    return WriteSelfRemovalScript(narrow);
}
