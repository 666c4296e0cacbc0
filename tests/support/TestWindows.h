// Window helpers for tests: a manager registered for the test's thread, a
// message pump, and waits with a deadline.
#pragma once

#include "ui/AppManager.h"

#include <windows.h>

// Registers manager for the calling thread while the object lives.
class ManagerScope {
public:
    explicit ManagerScope(CAppManager& manager) : registered_(RegisterManager(&manager)) {}
    ~ManagerScope() {
        if (registered_) UnregisterManager(GetCurrentThreadId());
    }
    ManagerScope(const ManagerScope&) = delete;
    ManagerScope& operator=(const ManagerScope&) = delete;

    bool Registered() const { return registered_; }

private:
    bool registered_;
};

// A hidden top-level window of the system's "STATIC" class on the calling
// thread, destroyed with the object: for calls that want some window of the
// test's thread (owners, hot keys, tray icons).
class PlainWindow {
public:
    PlainWindow()
        : hwnd_(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr)) {}
    ~PlainWindow() {
        if (hwnd_) DestroyWindow(hwnd_);
    }
    PlainWindow(const PlainWindow&) = delete;
    PlainWindow& operator=(const PlainWindow&) = delete;

    HWND Get() const { return hwnd_; }

private:
    HWND hwnd_;
};

// The window's rectangle on the screen; empty for no window.
inline RECT WindowRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

// Dispatches the thread's messages for about ms milliseconds.
void PumpMessages(DWORD ms);

// Dispatches messages until done() is true or ms milliseconds passed;
// returns done().
template <typename Done>
bool PumpUntil(Done done, DWORD ms) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= ms) return done();
        PumpMessages(10);
    }
    return true;
}

// Polls done() every 20 ms until it is true or ms have passed.
template <typename Done>
bool WaitFor(Done done, DWORD ms) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= ms) return done();
        Sleep(20);
    }
    return true;
}
