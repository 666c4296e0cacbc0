// What the game windows need of the client's application object, and no
// more: the frames are built and tested without the application shell, and
// the shell links the frames, never the other way round.
//
// The user name is written on the HTML thread (the login page) and read on
// the main thread (the top-up link, the exit report), so it is handed out
// only as a copy taken under the implementation's lock.
#pragma once

#include <cstddef>

class CClientApp {
public:
    static constexpr size_t kUserNameUnits = 64;

    // The folder of the executable, without a trailing backslash.
    virtual const wchar_t* ProgramDir() const = 0;
    // The address the game view opens first.
    virtual const wchar_t* LandingUrl() const = 0;
    // The launcher is on screen: the start goes on with what its first
    // frame did not need, before the view asks for the landing URL.
    virtual void OnLauncherShown() = 0;
    // A copy of the player's user name; empty until the login page told it.
    virtual void CopyUserName(wchar_t (&name)[kUserNameUnits]) const = 0;
    virtual void SetUserName(const wchar_t* name) = 0;
    // Asks the HTML thread to end and waits for it a bounded time; true
    // once it has ended. The game frame's window, the parent of the
    // thread's view, may go only then: its destruction waits until the
    // view's thread answers, and a hung page never does.
    virtual bool StopHtmlThread() = 0;

protected:
    ~CClientApp() = default;
};
