// The client's application object. Its InitInstance is the whole life of
// the client: prepare Config.ini and the device identity, report, start the
// HTML thread, run the game frame until it closes, then keep the exit books.
// The main thread's message loop is the game frame's modal loop inside it,
// so InitInstance always returns false and Run never enters MessageLoop.
#pragma once

#include "app/Config.h"
#include "browser/HtmlThread.h"
#include "ui/AppManager.h"
#include "ui/Scoped.h"

#include <windows.h>

class CFrameGame;

class gameApp : public CAppManager {
public:
    gameApp();

    bool InitInstance() override;

    // Records the player's user name (from the login page, on the HTML
    // thread): the UTF-16 value, cut to 63 units and without control
    // characters, so it can never add lines to Config.ini; and its ANSI copy
    // for the exit report, cut at a whole character.
    void SetUserName(const wchar_t* name);

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

private:
    void ReadProgramDir();
};

// The process-wide application pointer: set by the entry for the life of
// the application object, null otherwise.
extern gameApp* g_app;

// The client version written to Config.ini: the constant formatted "%0.2f".
void FormatClientVersion(wchar_t (&text)[16]);
