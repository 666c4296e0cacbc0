#include "uninstall/UninstallWorker.h"

#include "base/BrowserFeatures.h"
#include "base/Config.h"
#include "base/PlayerData.h"
#include "base/Product.h"
#include "net/Endpoints.h"
#include "net/UnixTime.h"
#include "uninstall/Frame.h"
#include "uninstall/Installation.h"
#include "uninstall/RemoveTree.h"
#include "uninstall/SafeInstallFolder.h"
#include "uninstall/UninstallUuid.h"
#include "uninstall/WindowSearch.h"
#include "base/Scoped.h"
#include "ui/ScopedCom.h"
#include "base/TextBuf.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstdlib>
#include <cwchar>
#include <string>

namespace {

constexpr int kClientAttempts = 3;
constexpr char kReportFormat[] =
    "game_id=%d&action=uninstall&uninstall_time=%I64u&uuid=%s&agent_id=%d&site_id=%d&user_name=%s";
constexpr double kLastUnpinVersion = 6.1;

void SetProgress(const UninstallTarget& target, int percent) {
    if (target.setProgress) target.setProgress(percent);
}

// Ends a running client: at most three attempts, each ending the process of
// the window found and waiting; none once no window is found.
void EndRunningClient(DWORD waitMs) {
    for (int attempt = 0; attempt < kClientAttempts; ++attempt) {
        WindowSearch search;
        PrepareClientSearch(search);
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (!search.found) return;
        DWORD processId = 0;
        GetWindowThreadProcessId(search.found, &processId);
        ScopedKernelHandle process(OpenProcess(PROCESS_ALL_ACCESS, FALSE, processId));
        if (process) TerminateProcess(process.Get(), 0);
        Sleep(waitMs);
    }
}

// Posts the uninstall report, with the player's identity from the folder's
// Config.ini.
void SendUninstallReport(const wchar_t* installFolder) {
    wchar_t configPath[MAX_PATH];
    MakeConfigPath(installFolder, configPath);
    wchar_t userName[kConfigValueUnits];
    ReadConfigText(configPath, kSectionCommon, kKeyUserName, userName);
    const int agentId = ReadConfigInt(configPath, kSectionCommon, kKeyAgentId);
    const int siteId = ReadConfigInt(configPath, kSectionCommon, kKeySiteId);
    const std::string uuid = BuildUninstallUuid();
    SYSTEMTIME local{};
    GetLocalTime(&local);
    // The local clock, time zone included, as the endpoint expects.
    const uint64_t uninstallTime = SystemTimeToUnixSeconds(local);
    char body[kFormBufferBytes];
    FormatUninstallReport(body, uninstallTime, uuid.c_str(), agentId, siteId, userName);
    PostForm(body);
}

// A special folder, or empty when the shell does not know it.
void SpecialFolder(int csidl, wchar_t (&path)[MAX_PATH]) {
    path[0] = L'\0';
    if (!SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE)) path[0] = L'\0';
}

bool Exists(const wchar_t* path) {
    WIN32_FIND_DATAW data;
    ScopedFindHandle find(FindFirstFileW(path, &data));
    return find.IsValid();
}

// Only Windows 7 (6.1) and earlier have the taskbar unpin verb.
void UnpinFromTaskbar(const wchar_t* shortcut) {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    if (!GetVersionExW(&version)) return;
    char text[10];
    Format(text, "%d.%d", static_cast<int>(version.dwMajorVersion), static_cast<int>(version.dwMinorVersion));
    if (strtod(text, nullptr) <= kLastUnpinVersion) {
        ShellExecuteW(nullptr, L"taskbarunpin", shortcut, nullptr, nullptr, SW_HIDE);
    }
}

}  // namespace

bool GetInstallFolder(wchar_t (&folder)[MAX_PATH]) {
    const DWORD length = GetModuleFileNameW(nullptr, folder, MAX_PATH);
    wchar_t* slash = length > 0 && length < MAX_PATH ? wcsrchr(folder, L'\\') : nullptr;
    if (!slash) {
        folder[0] = L'\0';
        return false;
    }
    *slash = L'\0';
    return true;
}

void FormatUninstallReport(char (&body)[kFormBufferBytes], uint64_t uninstallTime, const char* uuid,
                           int agentId, int siteId, const wchar_t* userName) {
    char name[kFormBufferBytes];
    WideToAnsi(userName ? userName : L"", name);
    FormatNamedReport(body, kReportFormat, uninstallTime, uuid, agentId, siteId, name);
}

bool RemoveInstallFolder(const wchar_t* folder) {
    if (!IsSafeInstallFolder(folder)) return false;
    RemoveTree(folder);
    return true;
}

void RunUninstallSteps(const UninstallTarget& target) {
    const wchar_t* installFolder = target.installation.folder.c_str();
    EndRunningClient(target.clientWaitMs);
    SetProgress(target, 10);
    DeleteBrowserFeatures(kClientExeName);
    SetProgress(target, 15);
    SendUninstallReport(installFolder);
    SetProgress(target, 20);
    ShellExecuteW(nullptr, L"open", kFarewellUrl, nullptr, nullptr, SW_SHOW);
    SetProgress(target, 40);

    wchar_t desktop[MAX_PATH];
    wchar_t programs[MAX_PATH];
    SpecialFolder(CSIDL_DESKTOPDIRECTORY, desktop);
    SpecialFolder(CSIDL_PROGRAMS, programs);
    // Without the shell's folder the paths would be relative to the drive
    // root; those steps are left out instead.
    wchar_t shortcut[MAX_PATH] = {};
    wchar_t groupFolder[MAX_PATH] = {};
    wchar_t topFolder[MAX_PATH] = {};
    if (desktop[0] && !Format(shortcut, L"%s\\%s", desktop, kShortcutFileName)) shortcut[0] = L'\0';
    if (programs[0] && !Format(groupFolder, L"%s\\%s\\%s", programs, kMakerName, kProductName)) {
        groupFolder[0] = L'\0';
    }
    if (programs[0] && !Format(topFolder, L"%s\\%s", programs, kProductName)) topFolder[0] = L'\0';

    if (shortcut[0]) UnpinFromTaskbar(shortcut);
    SetProgress(target, 50);
    if (shortcut[0] && Exists(shortcut)) DeleteFileW(shortcut);
    SetProgress(target, 60);
    if (groupFolder[0] && Exists(groupFolder)) RemoveTree(groupFolder);
    SetProgress(target, 70);
    if (topFolder[0] && Exists(topFolder)) RemoveTree(topFolder);
    SetProgress(target, 80);
    wchar_t configPath[MAX_PATH];
    if (target.keepPlayerData) {
        if (MakeConfigPath(installFolder, configPath)) KeepPlayerData(configPath);
    } else {
        PurgePlayerData();
    }
    RemoveInstallFolder(installFolder);
    SetProgress(target, 100);
    Sleep(target.finalWaitMs);
    if (target.wizard) PostMessageW(target.wizard, WM_UNINSTALL_STATUS, UNINSTALL_FINISHED, 0);
}

DWORD WINAPI UninstallWorker(LPVOID wizard) {
    auto* frame = static_cast<CFrame*>(wizard);
    if (!frame) return 0;
    // The shell runs verbs such as "taskbarunpin" through its extensions,
    // which are COM objects.
    OleSession com;
    UninstallTarget target;
    target.installation = frame->GetInstallation();
    target.wizard = frame->Hwnd();
    target.keepPlayerData = frame->KeepsPlayerData();
    target.setProgress = [frame](int percent) { frame->SetProgress(percent); };
    RunUninstallSteps(target);
    return 0;
}
