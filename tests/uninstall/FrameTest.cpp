// The wizard in the test's own process, with the uninstaller's resources
// compiled in: the check box and the close button under a player's clicks,
// the progress bar, and the compatibility mark of its creation. Continue
// and cancel are driven only in the whole-program tests: here continue
// would empty the test's folder.
#include "uninstall/Frame.h"

#include "uninstall/CompatibilityMark.h"
#include "tests/support/RealInput.h"
#include "tests/support/TestWindows.h"
#include "tests/support/WindowActions.h"
#include "ui/AppManager.h"
#include "base/Scoped.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr DWORD kDeadlineMs = 5000;

std::wstring ExePath() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

class FrameTest : public ::testing::Test {
protected:
    CAppManager manager;
    ManagerScope scope{manager};
    ActionWindow actions;
    CFrame frame;

    void SetUp() override {
        ASSERT_TRUE(actions.Open());
        frame.minSize = SIZE{CFrame::kWidth, CFrame::kHeight};
    }
    // A player's click on the element; this thread runs inside the
    // wizard's modal loop, so it dispatches the input until done() holds.
    template <typename Done>
    bool Click(const RECT& r, Done done) {
        RealInput::Click(frame.Hwnd(), r);
        return PumpUntil(done, kDeadlineMs);
    }
    bool Checked() { return frame.painter.FindButton(CFrame::kCheckBoxId)->Checked(); }
};

TEST_F(FrameTest, CheckBoxTogglesTwoClicksReturnToCheckedAndCloseEnds) {
    bool unticked = false;
    bool ticked = false;
    bool closed = false;
    actions.Post([&] {
        unticked = Click(CFrame::kCheckBoxRect, [&] { return !Checked(); });
        ticked = Click(CFrame::kCheckBoxRect, [&] { return Checked(); });
        HWND window = frame.Hwnd();
        closed = Click(CFrame::kCloseRect, [&] { return !IsWindow(window); });
        if (!closed) DestroyWindow(window);  // so that the modal loop ends
    });
    EXPECT_EQ(2, frame.ShowModal()) << "the close button keeps the default result";
    EXPECT_TRUE(unticked);
    EXPECT_TRUE(ticked);
    EXPECT_TRUE(closed);
}

TEST_F(FrameTest, ProgressReachesTheBarUntilTheWindowGoes) {
    actions.Post([&] {
        frame.SetProgress(40);
        EXPECT_EQ(40, frame.painter.ProgressBars()[0]->Pos());
        DestroyWindow(frame.Hwnd());
    });
    frame.ShowModal();
    frame.SetProgress(50);  // the bar is gone: nothing is written
    EXPECT_FALSE(frame.Working());
}

TEST(CompatibilityMark, WritesTheExecutablePathAsHandled) {
    HKEY created = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, kCompatibilityPersistedKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &created, nullptr));
    ScopedRegKey key(created);
    const std::wstring path = ExePath();
    RegDeleteValueW(key.Get(), path.c_str());
    ASSERT_TRUE(MarkCompatibilityHandled());
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExW(key.Get(), path.c_str(), nullptr, &type,
                                              reinterpret_cast<BYTE*>(&value), &size));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
    EXPECT_EQ(1u, value);
    RegDeleteValueW(key.Get(), path.c_str());
}

}  // namespace
