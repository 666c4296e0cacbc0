// Window helpers for tests: a manager registered for the test's thread and
// a message pump.
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
