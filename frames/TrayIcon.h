// The game frame's tray icon, shown while the boss key hides the frame: the
// only way back to the window with the mouse. It also carries the balloons
// that tell of a screenshot: for one of those the icon comes for as long as
// the balloon lasts, unless it is there already. A restarted Windows shell
// forgets every icon and announces itself with the registered message
// "TaskbarCreated"; the frame hands that message here so that a frame
// hidden in the tray does not become unreachable.
#pragma once

#include "ui/ScopedGdi.h"

#include <windows.h>
#include <shellapi.h>

class CTrayIcon {
public:
    CTrayIcon();
    // Removes the icon if it is shown.
    ~CTrayIcon();
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    // Prepares the icon of window: icon id 128, the callback message 5556,
    // the executable's icon 128 at the tray's size for the window's scale.
    // Call once the window exists, and again when its scale changes.
    void Attach(HWND window);

    // Puts the icon in the tray with the product name as its tip. Shown()
    // is true afterwards even when the shell refused (it may come later, see
    // OnTaskbarCreated); the answer is the shell's. An icon that came for a
    // balloon stays from now on.
    bool Add();
    // A balloon on the icon, which comes for it when not shown. The answer
    // is the shell's.
    bool ShowBalloon(const wchar_t* title, const wchar_t* text, bool failure);
    // For the balloon's end (clicked, timed out, closed): takes the icon
    // away again if only the balloon brought it.
    void OnBalloonEnd();
    // Takes the icon out of the tray. False when it was not shown or the
    // shell refused.
    bool Remove();
    // Between Add and Remove.
    bool Shown() const { return shown_; }

    // The registered "TaskbarCreated" message number.
    static UINT TaskbarCreatedMessage();
    // For that message: adds the icon again when it is shown. False when it
    // is not shown or the shell refused.
    bool OnTaskbarCreated();

private:
    // NIM_ADD, then the version whose callbacks tell of balloons and keep
    // the icon id in wParam.
    bool AddToShell();

    NOTIFYICONDATAW data_{};
    ScopedIcon icon_;  // what the next Add hands the shell
    bool shown_ = false;
    bool forBalloon_ = false;
};
