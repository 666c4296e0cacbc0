// The client's application object. Its InitInstance is the whole life of
// the client: keep the books in Config.ini, run the game frame until it
// closes, then keep the exit books. The launcher comes first: the install
// report, the HTML thread and the landing URL, with the adapters' addresses
// in it, come once it is on screen (OnLauncherShown).
// The main thread's message loop is the game frame's modal loop inside it,
// so InitInstance always returns false and Run never enters MessageLoop.
#pragma once

#include "base/Config.h"
#include "app/InstallReport.h"
#include "browser/HtmlThread.h"
#include "frames/ClientApp.h"
#include "ui/AppManager.h"
#include "base/Scoped.h"

#include <windows.h>

#include <memory>
#include <mutex>

class CFrameGame;

class gameApp : public CAppManager, public CClientApp {
public:
    gameApp();

    bool InitInstance() override;
    bool PreTranslateMessage(MSG* msg) override;

    const wchar_t* ProgramDir() const override { return programDir; }
    const wchar_t* LandingUrl() const override { return landingUrl; }
    // Starts the install report and the HTML thread, builds the landing URL.
    void OnLauncherShown() override;
    void CopyUserName(wchar_t (&name)[kUserNameUnits]) const override;
    // Records the player's user name (from the login page, on the HTML
    // thread): the UTF-16 value, cut to 63 units and without control
    // characters, so it can never add lines to Config.ini; and its ANSI copy
    // for the exit report, cut at a whole character.
    void SetUserName(const wchar_t* name) override;
    bool StopHtmlThread() override;

    wchar_t programDir[MAX_PATH];
    wchar_t landingUrl[512];
    ScopedKernelHandle instanceMutex;
    char userNameAnsi[64];
    wchar_t userName[64];
    int agentId = 0;
    int siteId = 0;
    CFrameGame* mainFrame = nullptr;
    // The HTML thread and its manager, from start-up to shut-down.
    CHtmlThread htmlThread;
    // A first run's install report, going out while the client runs.
    CInstallReport installReport;

protected:
    // The HTML thread's manager; a test build of the client hands out one
    // whose thread makes fake browser controls.
    virtual std::unique_ptr<CHtmlAppManager> MakeHtmlManager();

private:
    void ReadProgramDir();
    // The end of every run: the exit report, the user name, the mutex.
    void FinishRun(const wchar_t* configPath);

    // The user name is written on the HTML thread and read on this one.
    mutable std::mutex userNameLock_;
    // The books as read at the start, for the landing URL.
    int runCount_ = 0;
    wchar_t installTime_[kConfigValueUnits];
};

// The process-wide application pointer: set by the entry for the life of
// the application object, null otherwise.
extern gameApp* g_app;

// The program folder of an executable's full path: everything before its
// last backslash. False, with dir empty, when that does not fit dir.
bool ProgramDirOf(const wchar_t* modulePath, wchar_t (&dir)[MAX_PATH]);

// The client version written to Config.ini: the brand's version text.
void FormatClientVersion(wchar_t (&text)[16]);
