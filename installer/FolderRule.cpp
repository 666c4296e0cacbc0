// The installer's folder check: an NSIS plug-in on the uninstaller's own
// rule (uninstall/SafeInstallFolder, a library both link), so that the
// installer accepts a folder by the very code that later decides whether it
// may be removed.
//
//   FolderRule::Judge <folder>
// pops the folder and pushes its full form ("" unless it is fine), then the
// verdict on top: "fine", "protected", "link", "occupied" or "foreign"
// (JudgeInstallTarget).
//   FolderRule::Protect <folder>
// pops the folder and pushes "ok" or "failed" (ProtectInstallFolder).
#include "base/Scoped.h"
#include "uninstall/SafeInstallFolder.h"

#include <windows.h>

#include <cwchar>
#include <string>

namespace {

// One entry of the installer's string stack, as NSIS's plug-in interface
// lays it out: allocated with GlobalAlloc, room for stringSize characters.
struct StackEntry {
    StackEntry* next;
    wchar_t text[1];
};

std::wstring Pop(StackEntry** top, int stringSize) {
    StackEntry* entry = top ? *top : nullptr;
    if (!entry) return std::wstring();
    *top = entry->next;
    // A popped entry is the plug-in's to free.
    ScopedGlobalMemory popped(entry);
    return std::wstring(entry->text, wcsnlen(entry->text, static_cast<size_t>(stringSize)));
}

// False when text does not fit the installer's strings.
bool Push(StackEntry** top, int stringSize, const std::wstring& text) {
    if (!top || stringSize <= 0 || text.size() >= static_cast<size_t>(stringSize)) return false;
    auto* entry = static_cast<StackEntry*>(GlobalAlloc(GPTR, sizeof(StackEntry) + stringSize * sizeof(wchar_t)));
    if (!entry) return false;
    wmemcpy(entry->text, text.c_str(), text.size() + 1);
    entry->next = *top;
    *top = entry;
    return true;
}

const wchar_t* VerdictWord(InstallTargetVerdict verdict) {
    switch (verdict) {
    case InstallTargetVerdict::kFine:
        return L"fine";
    case InstallTargetVerdict::kLink:
        return L"link";
    case InstallTargetVerdict::kOccupied:
        return L"occupied";
    case InstallTargetVerdict::kForeign:
        return L"foreign";
    case InstallTargetVerdict::kProtected:
        break;
    }
    return L"protected";
}

}  // namespace

extern "C" __declspec(dllexport) void Judge(HWND, int stringSize, wchar_t*, StackEntry** stackTop, void*) {
    const std::wstring folder = Pop(stackTop, stringSize);
    std::wstring fullForm;
    InstallTargetVerdict verdict = JudgeInstallTarget(folder.c_str(), fullForm);
    // A form the installer cannot hold is refused rather than cut.
    if (!Push(stackTop, stringSize, fullForm)) {
        verdict = InstallTargetVerdict::kProtected;
        Push(stackTop, stringSize, std::wstring());
    }
    Push(stackTop, stringSize, VerdictWord(verdict));
}

extern "C" __declspec(dllexport) void Protect(HWND, int stringSize, wchar_t*, StackEntry** stackTop, void*) {
    const std::wstring folder = Pop(stackTop, stringSize);
    Push(stackTop, stringSize, ProtectInstallFolder(folder.c_str()) ? L"ok" : L"failed");
}
