// The game frame's tray icon, shown while the boss key hides the frame: the
// only way back to the window with the mouse. A restarted Windows shell
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
    // OnTaskbarCreated); the answer is the shell's.
    bool Add();
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
    NOTIFYICONDATAW data_{};
    ScopedIcon icon_;  // what the next Add hands the shell
    bool shown_ = false;
};
