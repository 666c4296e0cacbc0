#include "app/GameApp.h"

#include "base/BrowserFeatures.h"
#include "base/CrashTrace.h"
#include "base/PlayerData.h"
#include "base/Version.h"
#include "app/Statistics.h"
#include "frames/FrameGame.h"
#include "frames/FrameIds.h"
#include "net/UnixTime.h"
#include "base/TextBuf.h"

#include <urlmon.h>

#include <climits>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <string>
#include <utility>

gameApp* g_app = nullptr;

namespace {

// The longest path the platform knows.
constexpr DWORD kLongPathUnits = 32768;

// Keeps RunCount from overflowing: a saturated counter stays positive and
// never makes a later start look like the first.
int NextRunCount(int runCount) { return runCount == INT_MAX ? runCount : runCount + 1; }

// The executable's whole path, however long (cut to MAX_PATH, its last
// backslash could be one of a parent folder's); empty when it cannot be read.
std::wstring ModulePath() {
    std::wstring path(kLongPathUnits, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), kLongPathUnits);
    path.resize(length < kLongPathUnits ? length : 0);
    return path;
}

// The browser control renders pages in their newest document mode only for
// a program that opts in by its file name, clicks at every navigation
// unless told not to, and leaves its protections off for a host that does
// not ask. It reads all of that once, when the first browser is made.
void PreparePageEngine(const std::wstring& modulePath) {
    WriteBrowserFeatures(modulePath.substr(modulePath.rfind(L'\\') + 1).c_str());
    CoInternetSetFeatureEnabled(FEATURE_DISABLE_NAVIGATION_SOUNDS, SET_FEATURE_ON_PROCESS, TRUE);
    EnablePageEngineProtections();
}

// Ends the process at once: no thread is waited for, no object destroyed,
// no library told. Whatever must last has been written by then.
[[noreturn]] void EndProcessNow() {
    StopTrace();
    TerminateProcess(GetCurrentProcess(), 0);
    // The termination is under way and takes this thread too.
    for (;;) Sleep(INFINITE);
}

}  // namespace

void FormatClientVersion(wchar_t (&text)[16]) { Format(text, L"%s", VSTORM_VERSION_TEXT); }

gameApp::gameApp() {
    wmemset(programDir, L'\0', MAX_PATH);
    wmemset(landingUrl, L'\0', 512);
    memset(userNameAnsi, 0, sizeof(userNameAnsi));
    wmemset(userName, L'\0', 64);
    wmemset(installTime_, L'\0', kConfigValueUnits);
}

bool ProgramDirOf(const wchar_t* modulePath, wchar_t (&dir)[MAX_PATH]) {
    wmemset(dir, L'\0', MAX_PATH);
    if (!modulePath) return false;
    const wchar_t* slash = wcsrchr(modulePath, L'\\');
    const size_t length = slash ? static_cast<size_t>(slash - modulePath) : wcslen(modulePath);
    if (length >= MAX_PATH) return false;
    return Format(dir, L"%.*s", static_cast<int>(length), modulePath);
}

void gameApp::ReadProgramDir() { ProgramDirOf(ModulePath().c_str(), programDir); }

bool gameApp::InitInstance() {
    ReadProgramDir();
    wmemset(landingUrl, L'\0', 512);
    wmemset(userName, L'\0', 64);
    memset(userNameAnsi, 0, sizeof(userNameAnsi));

    // A second client is not refused; it just holds no mutex.
    ScopedKernelHandle mutex(CreateMutexW(nullptr, FALSE, kInstanceMutexName));
    if (GetLastError() != ERROR_ALREADY_EXISTS) instanceMutex = std::move(mutex);

    // Without a program folder, or with one too long for the path, there
    // is no Config.ini: everything reads as empty or 0 and nothing is kept.
    wchar_t configPath[MAX_PATH];
    MakeConfigPath(programDir, configPath);
    wchar_t version[16];
    FormatClientVersion(version);
    {
        // Clients started together in this folder take turns, so each
        // counts its run on top of the other's and only one sees the count
        // of a first run.
        CConfigLock turn(programDir);
        // The first run of a new installation takes back what the player
        // kept from an earlier one.
        runCount_ = ReadConfigInt(configPath, kSectionCommon, kKeyRunCount);
        if (runCount_ == 0) RestorePlayerData(configPath);
        WriteConfigText(configPath, kSectionGameInfo, kKeyVersion, version);
        agentId = ReadConfigInt(configPath, kSectionCommon, kKeyAgentId);
        siteId = ReadConfigInt(configPath, kSectionCommon, kKeySiteId);
        ReadConfigText(configPath, kSectionInstall, kKeyInstallTime, installTime_);
        // The run is counted before the install report goes out: a client
        // killed while its report is held must not report the install again
        // on its next start.
        WriteConfigInt(configPath, kSectionCommon, kKeyRunCount, NextRunCount(runCount_));
    }

    {
        CFrameGame frame(*this);
        mainFrame = &frame;
        frame.CreateAndRun();
        // A launcher that never showed has not started the report.
        if (runCount_ == 0) installReport.Start(agentId, siteId);
        if (frame.GameMode()) {
            wchar_t outTime[32];
            Format(outTime, L"%I64u", UnixTimeNow());
            CConfigLock turn(programDir);
            WriteConfigText(configPath, kSectionExtension, kKeyOutTime, outTime);
            WriteConfigText(configPath, kSectionExtension, kKeyCounts, L"0");
        }
        // The frame's window is gone, and with it, normally, the HTML thread
        // (the frame stops it first). A page that keeps that thread past the
        // bound may still reach the frame, its view and the manager: none of
        // them is destroyed under it. The client keeps its books and ends.
        if (!htmlThread.Stop(kHtmlThreadStopMs)) {
            FinishRun(configPath);
            EndProcessNow();
        }
        mainFrame = nullptr;
    }
    htmlThread.DestroyManager();
    FinishRun(configPath);
    return false;
}

void gameApp::FinishRun(const wchar_t* configPath) {
    // Copies: a page thread given up on may still be setting the name.
    char nameAnsi[sizeof(userNameAnsi)];
    wchar_t name[kUserNameUnits];
    {
        std::lock_guard<std::mutex> hold(userNameLock_);
        memcpy(nameAnsi, userNameAnsi, sizeof(nameAnsi));
        CopyText(name, userName);
    }
    // The endpoint hears of the install before the close.
    installReport.Finish();
    SendExitReport(agentId, siteId, nameAnsi);
    {
        // A profile write rewrites the whole file: one from a client
        // starting meanwhile must not be undone by this one.
        CConfigLock turn(programDir);
        WriteConfigText(configPath, kSectionCommon, kKeyUserName, name);
    }
    instanceMutex.Reset();
}

bool gameApp::StopHtmlThread() { return htmlThread.Stop(kHtmlThreadStopMs); }

// The game keys when the frame itself has the keyboard: the zoom keys are
// the page's and go no further; the others, while the game runs, still go
// on to their window.
bool gameApp::PreTranslateMessage(MSG* msg) {
    if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN) || !mainFrame) return false;
    if (msg->hwnd == mainFrame->Hwnd() && mainFrame->view.TakeZoomInput(*msg)) return true;
    if (!mainFrame->GameMode()) return false;
    const WPARAM command = GameKeyCommand(msg->wParam);
    if (!command) return false;
    PostMessageW(mainFrame->Hwnd(), kFrameCommandMessage, command, 0);
    return false;
}

std::unique_ptr<CHtmlAppManager> gameApp::MakeHtmlManager() { return std::make_unique<CHtmlAppManager>(); }

// The view's first request comes right after this: the thread serves by then.
// The install report, like the page, waits for the launcher: neither holds
// the other up, and neither takes the processor from its first frame.
void gameApp::OnLauncherShown() {
    if (runCount_ == 0) installReport.Start(agentId, siteId);
    PreparePageEngine(ModulePath());
    htmlThread.Start(MakeHtmlManager());
    BuildLandingUrl(landingUrl, installTime_, agentId, siteId, runCount_);
}

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
