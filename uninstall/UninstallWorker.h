// The uninstall worker: the thread that does the whole removal
// once the user confirmed it in the wizard. In a fixed order it ends a
// running client, deletes the client's browser settings
// (base/BrowserFeatures.h), posts the uninstall report, opens the farewell
// page, unpins and deletes the shortcuts, removes the Start-menu folders,
// keeps the player's data in the profile or, unchecked, removes it
// (base/PlayerData.h), and empties the install folder, advancing the
// wizard's progress bar after each step, and at last posts
// WM_UNINSTALL_STATUS / UNINSTALL_FINISHED to the wizard.
//
// The worker works on the installation the uninstaller found at its start
// (uninstall/Installation.h), and empties its folder only when
// IsSafeInstallFolder allows it. The uninstall entries stay until the
// folder is gone: the self-removal script deletes them
// (uninstall/SelfRemovalScript.h).
// Every failure is ignored.
#pragma once

#include "net/PostForm.h"
#include "uninstall/Installation.h"

#include <windows.h>

#include <cstdint>
#include <functional>

constexpr UINT WM_UNINSTALL_STATUS = 2277;
constexpr WPARAM UNINSTALL_FINISHED = 2278;

// The folder of the running executable (its path cut at the last
// backslash). False, with an empty folder, when the path does not fit.
bool GetInstallFolder(wchar_t (&folder)[MAX_PATH]);

// What one run of the steps works on and reports to.
struct UninstallTarget {
    Installation installation;
    HWND wizard = nullptr;                    // gets the finished message
    bool keepPlayerData = true;               // the wizard's check box
    std::function<void(int)> setProgress;     // the wizard's bar
    DWORD clientWaitMs = 2000;                // after each attempt to end the client
    DWORD finalWaitMs = 1000;                 // with the bar at 100
};

// The report body: "game_id=174&action=uninstall&uninstall_time=..&uuid=..
// &agent_id=..&site_id=..&user_name=..", cleared first. The identity and the
// user name's ANSI bytes are percent-encoded (net/PercentEncode.h), so the
// name cannot add or override a field; a name that does not fit whole once
// encoded is sent empty.
void FormatUninstallReport(char (&body)[kFormBufferBytes], uint64_t uninstallTime, const char* uuid,
                           int agentId, int siteId, const wchar_t* userName);

// Removes the folder and all in it, only when it is a safe install folder
// (a folder that is a link loses the link only). True when the removal ran.
bool RemoveInstallFolder(const wchar_t* folder);

// The whole removal for the target, in the order the file comment gives.
void RunUninstallSteps(const UninstallTarget& target);

// The thread routine; the parameter is the wizard (CFrame). Returns 0.
DWORD WINAPI UninstallWorker(LPVOID wizard);
