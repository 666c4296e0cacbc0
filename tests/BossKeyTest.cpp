#include "frames/BossKey.h"

#include "frames/FrameIds.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

namespace {

INPUT KeyInput(WORD key, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = flags;
    return input;
}

TEST(BossKey, HoldsAltDForAsLongAsItLives) {
    PlainWindow frame;
    PlainWindow other;
    CBossKey another;
    {
        CBossKey key;
        EXPECT_TRUE(key.Register(frame.Get()));
        EXPECT_TRUE(key.Registered());
        // Taken: another window (or program) gets no boss key.
        EXPECT_FALSE(another.Register(other.Get()));
        EXPECT_FALSE(another.Registered());
        key.Unregister();
        EXPECT_TRUE(another.Register(other.Get()));
        another.Unregister();
        EXPECT_TRUE(key.Register(frame.Get()));
    }
    EXPECT_TRUE(another.Register(other.Get()));
}

TEST(BossKey, PressingAltDSendsTheHotKeyToTheFrame) {
    PlainWindow frame;
    CBossKey key;
    ASSERT_TRUE(key.Register(frame.Get()));
    INPUT press[4] = {KeyInput(VK_MENU, 0), KeyInput('D', 0), KeyInput('D', KEYEVENTF_KEYUP),
                      KeyInput(VK_MENU, KEYEVENTF_KEYUP)};
    ASSERT_EQ(4u, SendInput(4, press, sizeof(INPUT)));
    // Only the hot key is taken from the queue: dispatched, it would be gone.
    MSG msg{};
    const DWORD start = GetTickCount();
    bool arrived = false;
    while (!(arrived = PeekMessageW(&msg, frame.Get(), WM_HOTKEY, WM_HOTKEY, PM_REMOVE)) &&
           GetTickCount() - start < 5000) {
        Sleep(20);
    }
    ASSERT_TRUE(arrived);
    EXPECT_EQ(WPARAM(kBossKeyHotKeyId), msg.wParam);
    EXPECT_EQ(MAKELPARAM(MOD_ALT, 'D'), msg.lParam);
}

}  // namespace
