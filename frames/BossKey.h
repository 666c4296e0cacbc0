// The boss key's registration: Alt+D, system-wide, delivered to the game
// frame as WM_HOTKEY with id 5561. Held for as long as the object (or until
// Unregister), so a frame that ends gives the key back to other programs.
// Hot keys belong to a thread: use it on the window's thread.
#pragma once

#include <windows.h>

class CBossKey {
public:
    CBossKey() = default;
    ~CBossKey() { Unregister(); }
    CBossKey(const CBossKey&) = delete;
    CBossKey& operator=(const CBossKey&) = delete;

    // Registers the key for window (giving up an earlier registration).
    // False when another program holds the combination: no boss key then.
    bool Register(HWND window);
    void Unregister();
    bool Registered() const { return window_ != nullptr; }

private:
    HWND window_ = nullptr;
};
