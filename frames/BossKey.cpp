#include "frames/BossKey.h"

#include "frames/FrameIds.h"

bool CBossKey::Register(HWND window) {
    Unregister();
    if (!RegisterHotKey(window, kBossKeyHotKeyId, kBossKeyModifiers, kBossKeyVirtualKey)) return false;
    window_ = window;
    return true;
}

void CBossKey::Unregister() {
    if (!window_) return;
    // Fails harmlessly when the window has gone: the key went with it.
    UnregisterHotKey(window_, kBossKeyHotKeyId);
    window_ = nullptr;
}
