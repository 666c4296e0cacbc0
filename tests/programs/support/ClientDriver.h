// Driving the built client from another process: start it, find its
// windows by class and title, close it as the taskbar does, each with a
// deadline. The player's mouse and keyboard are RealInput's.
#pragma once

#include "tests/support/TestWindows.h"
#include "tests/support/WindowActions.h"
#include "base/Scoped.h"

#include <windows.h>

#include <string>

// The first visible-or-not top-level window of the process with exactly
// this class (and this title, unless title is null).
HWND FindProcessWindow(DWORD processId, const wchar_t* className, const wchar_t* title);

class ClientProcess {
public:
    static constexpr DWORD kDeadlineMs = 30000;

    ClientProcess() = default;
    // Kills the process if it still runs.
    ~ClientProcess();
    ClientProcess(const ClientProcess&) = delete;
    ClientProcess& operator=(const ClientProcess&) = delete;

    bool Start(const std::wstring& exe, const std::wstring& workDir);
    // The main window ("orvanestormvale" / "Orvane Stormvale") once it
    // exists; null when the process ended first or the deadline passed.
    HWND WaitForFrame(DWORD ms = kDeadlineMs);
    // The launcher's back frame, or null.
    HWND BackFrame() const;
    // The close question (the product's class, no title), or null.
    HWND Question() const;
    // Asks the main window to close as the taskbar's Close does.
    void RequestClose();
    // RequestClose, then waits for the exit.
    DWORD Close(DWORD ms = kDeadlineMs);
    // The exit code, or kProgramDidNotEnd when the process is still running
    // after ms (it is then killed).
    DWORD WaitForExit(DWORD ms = kDeadlineMs);
    bool Running() const;

    DWORD Id() const { return processId_; }

private:
    ScopedKernelHandle process_;
    DWORD processId_ = 0;
};
