#include "frames/TrayIcon.h"

#include "frames/FrameIds.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

namespace {

// Asks the shell directly about the icon of window.
bool Shell(DWORD message, HWND window) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = window;
    data.uID = kTrayIconId;
    return Shell_NotifyIconW(message, &data) != FALSE;
}

// Only an icon the shell holds can be modified.
bool InTray(HWND window) { return Shell(NIM_MODIFY, window); }

class TrayIconTest : public ::testing::Test {
protected:
    PlainWindow frame;
    void SetUp() override { ASSERT_NE(nullptr, frame.Get()); }
};

TEST_F(TrayIconTest, AddAndRemoveReachTheShell) {
    CTrayIcon icon;
    icon.Attach(frame.Get());
    EXPECT_FALSE(icon.Shown());
    EXPECT_FALSE(icon.Remove());

    EXPECT_TRUE(icon.Add());
    EXPECT_TRUE(icon.Shown());
    EXPECT_TRUE(InTray(frame.Get()));

    EXPECT_TRUE(icon.Remove());
    EXPECT_FALSE(icon.Shown());
    EXPECT_FALSE(InTray(frame.Get()));
    EXPECT_FALSE(icon.Remove());
}

TEST_F(TrayIconTest, TheIconGoesWithItsObject) {
    {
        CTrayIcon icon;
        icon.Attach(frame.Get());
        ASSERT_TRUE(icon.Add());
    }
    EXPECT_FALSE(InTray(frame.Get()));
}

TEST_F(TrayIconTest, ARestartedShellGetsTheIconBackOnlyWhileShown) {
    CTrayIcon icon;
    icon.Attach(frame.Get());
    EXPECT_FALSE(icon.OnTaskbarCreated());
    EXPECT_FALSE(InTray(frame.Get()));

    ASSERT_TRUE(icon.Add());
    // The shell forgets it, as a restarted shell does.
    Shell(NIM_DELETE, frame.Get());
    ASSERT_FALSE(InTray(frame.Get()));
    EXPECT_TRUE(icon.OnTaskbarCreated());
    EXPECT_TRUE(InTray(frame.Get()));
    EXPECT_TRUE(icon.Shown());

    EXPECT_TRUE(icon.Remove());
    EXPECT_FALSE(icon.OnTaskbarCreated());
    EXPECT_FALSE(InTray(frame.Get()));
}

}  // namespace
