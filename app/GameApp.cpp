#include "app/GameApp.h"

#include "app/Statistics.h"
#include "frames/FrameGame.h"
#include "frames/FrameIds.h"
#include "net/UnixTime.h"
#include "ui/TextBuf.h"

#include <climits>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <utility>

gameApp* g_app = nullptr;

namespace {

constexpr double kClientVersion = 1.15;

// Keeps RunCount from overflowing: a saturated counter stays positive and
// never makes a later start look like the first.
int NextRunCount(int runCount) { return runCount == INT_MAX ? runCount : runCount + 1; }

}  // namespace

void FormatClientVersion(wchar_t (&text)[16]) { Format(text, L"%0.2f", kClientVersion); }

gameApp::gameApp() {
    wmemset(programDir, L'\0', MAX_PATH);
    wmemset(landingUrl, L'\0', 512);
    memset(userNameAnsi, 0, sizeof(userNameAnsi));
    wmemset(userName, L'\0', 64);
}

void gameApp::ReadProgramDir() {
    wmemset(programDir, L'\0', MAX_PATH);
    GetModuleFileNameW(nullptr, programDir, MAX_PATH);
    programDir[MAX_PATH - 1] = L'\0';
    if (wchar_t* slash = wcsrchr(programDir, L'\\')) *slash = L'\0';
}

bool gameApp::InitInstance() {
    ReadProgramDir();
    wmemset(landingUrl, L'\0', 512);
    wmemset(userName, L'\0', 64);
    memset(userNameAnsi, 0, sizeof(userNameAnsi));

    // A second client is not refused; it just holds no mutex.
    ScopedKernelHandle mutex(CreateMutexW(nullptr, FALSE, kInstanceMutexName));
    if (GetLastError() != ERROR_ALREADY_EXISTS) instanceMutex = std::move(mutex);

    wchar_t configPath[MAX_PATH];
    MakeConfigPath(programDir, configPath);
    wchar_t version[16];
    FormatClientVersion(version);
    WriteConfigText(configPath, kSectionGameInfo, kKeyVersion, version);
    agentId = ReadConfigInt(configPath, kSectionCommon, kKeyAgentId);
    siteId = ReadConfigInt(configPath, kSectionCommon, kKeySiteId);
    const int runCount = ReadConfigInt(configPath, kSectionCommon, kKeyRunCount);
    wchar_t installTime[kConfigValueUnits];
    ReadConfigText(configPath, kSectionInstall, kKeyInstallTime, installTime);

    BuildLandingUrl(landingUrl, installTime, agentId, siteId, runCount);
    // The run is counted before the install report goes out: an endpoint
    // that never answers holds the post until its time-outs, and a client
    // killed meanwhile must not report the install again on its next start.
    WriteConfigInt(configPath, kSectionCommon, kKeyRunCount, NextRunCount(runCount));
    if (runCount == 0) SendInstallReport(agentId, siteId);

    // Ready to take requests before the game frame can send the first one.
    htmlThread.Start(MakeHtmlManager());

    {
        CFrameGame frame(*this);
        mainFrame = &frame;
        frame.CreateAndRun();
        if (frame.GameMode()) {
            wchar_t outTime[32];
            Format(outTime, L"%I64u", UnixTimeNow());
            WriteConfigText(configPath, kSectionExtension, kKeyOutTime, outTime);
            WriteConfigText(configPath, kSectionExtension, kKeyCounts, L"0");
        }
        // The frame's window is gone. The HTML thread still runs its view
        // and browser handlers, which reach the frame object: it is joined
        // before the object goes, and the manager goes after both.
        htmlThread.Stop();
        mainFrame = nullptr;
    }
    htmlThread.DestroyManager();

    SendExitReport(agentId, siteId, userNameAnsi);
    WriteConfigText(configPath, kSectionCommon, kKeyUserName, userName);
    instanceMutex.Reset();
    return false;
}

// The full-screen keys, while the game runs; the key still goes on to its
// window.
bool gameApp::PreTranslateMessage(MSG* msg) {
    if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return false;
    if (!mainFrame || !mainFrame->GameMode()) return false;
    if (msg->wParam == VK_ESCAPE) {
        PostMessageW(mainFrame->Hwnd(), kFrameCommandMessage, kFrameCommandLeaveFullScreen, 0);
    } else if (msg->wParam == VK_F10) {
        PostMessageW(mainFrame->Hwnd(), kFrameCommandMessage, kFrameCommandToggleFullScreen, 0);
    }
    return false;
}

std::unique_ptr<CHtmlAppManager> gameApp::MakeHtmlManager() { return std::make_unique<CHtmlAppManager>(); }

void gameApp::CopyUserName(wchar_t (&name)[kUserNameUnits]) const {
    std::lock_guard<std::mutex> hold(userNameLock_);
    CopyText(name, userName);
}

void gameApp::SetUserName(const wchar_t* name) {
    std::lock_guard<std::mutex> hold(userNameLock_);
    wmemset(userName, L'\0', 64);
    size_t kept = 0;
    for (const wchar_t* p = name; p && *p && kept < 63; ++p) {
        if (!iswcntrl(*p)) userName[kept++] = *p;
    }
    // A cut must not leave half of a surrogate pair behind.
    if (kept > 0 && userName[kept - 1] >= 0xD800 && userName[kept - 1] <= 0xDBFF) userName[--kept] = L'\0';
    WideToAnsi(userName, userNameAnsi);
}
