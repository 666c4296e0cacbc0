#include "ui/WindowCtrl.h"

#include "tests/support/TestWindows.h"
#include "ui/AppManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

// Records which handlers ran, with their arguments.
class Recorder : public CWindowCtrl {
public:
    std::vector<std::string> calls;
    LRESULT hitTestOverride = 0;
    bool connectedAtCreate = false;
    POINT lastMove{};
    SIZE lastSize{};
    UINT_PTR lastTimer = 0;

    LRESULT OnMessage(UINT msg, WPARAM, LPARAM) override {
        if (msg == WM_NCHITTEST && hitTestOverride) return hitTestOverride;
        return 0;
    }
    void OnCreate(CREATESTRUCTW*) override {
        calls.push_back("create");
        connectedAtCreate = Hwnd() != nullptr && Manager() && Manager()->FindControl(Hwnd()) == this;
    }
    void OnDestroy() override { calls.push_back("destroy"); }
    void OnMove(int x, int y) override { lastMove = POINT{x, y}; }
    void OnSize(UINT, int cx, int cy) override { lastSize = SIZE{cx, cy}; }
    LRESULT OnNcHitTest(POINT) override {
        calls.push_back("hittest");
        return HTCAPTION;
    }
    void OnTimer(UINT_PTR id) override { lastTimer = id; }
};

class WindowCtrlTest : public ::testing::Test {
protected:
    CAppManager manager;
    ManagerScope scope{manager};

    HWND CreatePopup(CWindowCtrl& control, const wchar_t* className = nullptr) {
        return control.Create(0, className, L"test", WS_POPUP, 10, 10, 200, 100, nullptr);
    }
};

TEST(WindowCtrlNoManager, CreateWithoutManagerMakesNoWindow) {
    Recorder control;
    EXPECT_EQ(nullptr, control.Create(0, nullptr, L"x", WS_POPUP, 0, 0, 10, 10, nullptr));
    EXPECT_EQ(nullptr, control.Hwnd());
    EXPECT_EQ(0, control.DoModal(MAKEINTRESOURCEW(100), nullptr));
    EXPECT_TRUE(control.calls.empty());
}

TEST_F(WindowCtrlTest, ObjectIsConnectedBeforeOnCreate) {
    Recorder control;
    HWND hwnd = CreatePopup(control);
    ASSERT_NE(nullptr, hwnd);
    EXPECT_TRUE(control.connectedAtCreate);
    EXPECT_EQ(&manager, control.Manager());
    EXPECT_EQ(L"ImageWnd", std::wstring(control.ClassName()));
    DestroyWindow(hwnd);
}

TEST_F(WindowCtrlTest, SecondCreateReturnsTheSameWindow) {
    Recorder control;
    HWND first = CreatePopup(control);
    HWND second = control.Create(0, L"OtherClass", L"again", WS_POPUP, 0, 0, 5, 5, nullptr);
    EXPECT_EQ(first, second);
    EXPECT_EQ(1u, manager.Controls().size());
    EXPECT_EQ(1, std::count(control.calls.begin(), control.calls.end(), "create"));
    DestroyWindow(first);
}

TEST_F(WindowCtrlTest, ClassNameIsCutAt63Units) {
    Recorder control;
    std::wstring longName(80, L'k');
    control.SetClassName(longName.c_str());
    EXPECT_EQ(std::wstring(63, L'k'), std::wstring(control.ClassName()));
    control.SetClassName(nullptr);
    EXPECT_EQ(std::wstring(63, L'k'), std::wstring(control.ClassName()));

    HWND hwnd = CreatePopup(control);
    ASSERT_NE(nullptr, hwnd);
    wchar_t actual[128] = {};
    GetClassNameW(hwnd, actual, 128);
    EXPECT_EQ(std::wstring(63, L'k'), std::wstring(actual));
    DestroyWindow(hwnd);
}

TEST_F(WindowCtrlTest, NonzeroOnMessageShortCutsTheHandler) {
    Recorder control;
    HWND hwnd = CreatePopup(control);
    EXPECT_EQ(HTCAPTION, SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(20, 20)));
    EXPECT_EQ(1, std::count(control.calls.begin(), control.calls.end(), "hittest"));

    control.hitTestOverride = HTBOTTOMRIGHT;
    EXPECT_EQ(HTBOTTOMRIGHT, SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(20, 20)));
    EXPECT_EQ(1, std::count(control.calls.begin(), control.calls.end(), "hittest"));
    DestroyWindow(hwnd);
}

TEST_F(WindowCtrlTest, TimerAlwaysAnswersOne) {
    Recorder control;
    HWND hwnd = CreatePopup(control);
    EXPECT_EQ(1, SendMessageW(hwnd, WM_TIMER, 77, 0));
    EXPECT_EQ(77u, control.lastTimer);

    CWindowCtrl plain;
    HWND other = CreatePopup(plain);
    EXPECT_EQ(1, SendMessageW(other, WM_TIMER, 5, 0));
    DestroyWindow(other);
    DestroyWindow(hwnd);
}

TEST_F(WindowCtrlTest, HandlersReceiveSignedCoordinates) {
    Recorder control;
    HWND hwnd = CreatePopup(control);
    SetWindowPos(hwnd, nullptr, -50, -60, 321, 123, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(-50, control.lastMove.x);
    EXPECT_EQ(-60, control.lastMove.y);
    EXPECT_EQ(321, control.lastSize.cx);
    EXPECT_EQ(123, control.lastSize.cy);
    DestroyWindow(hwnd);
}

TEST_F(WindowCtrlTest, DestroyingTheWindowDisconnectsTheObject) {
    Recorder control;
    HWND hwnd = CreatePopup(control);
    DestroyWindow(hwnd);
    EXPECT_EQ(nullptr, control.Hwnd());
    EXPECT_TRUE(manager.Controls().empty());
    EXPECT_EQ("destroy", control.calls.back());
}

TEST_F(WindowCtrlTest, DeletingTheObjectClosesItsWindowLater) {
    auto control = std::make_unique<Recorder>();
    HWND hwnd = CreatePopup(*control);
    control.reset();
    EXPECT_TRUE(manager.Controls().empty());
    EXPECT_TRUE(IsWindow(hwnd));  // the posted WM_CLOSE has not run yet
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(hwnd); }, 2000));
}

TEST_F(WindowCtrlTest, ControlsAreListedInCreationOrder) {
    Recorder a, b, c;
    CreatePopup(a);
    CreatePopup(b);
    CreatePopup(c);
    ASSERT_EQ(3u, manager.Controls().size());
    EXPECT_EQ(&a, manager.Controls()[0]);
    EXPECT_EQ(&b, manager.Controls()[1]);
    EXPECT_EQ(&c, manager.Controls()[2]);
    DestroyWindow(b.Hwnd());
    ASSERT_EQ(2u, manager.Controls().size());
    EXPECT_EQ(&c, manager.Controls()[1]);
    DestroyWindow(a.Hwnd());
    DestroyWindow(c.Hwnd());
}

// A manager that notes the messages of windows it does not know.
class NotingManager : public CAppManager {
public:
    std::vector<UINT> unhandled;
    LRESULT OnUnhandledMessage(HWND, UINT msg, WPARAM, LPARAM) override {
        unhandled.push_back(msg);
        return 42;  // ignored: default processing still answers
    }
};

TEST(WindowCtrlUnregistered, WindowsWithoutObjectGetDefaultProcessing) {
    NotingManager manager;
    ManagerScope scope(manager);
    ASSERT_TRUE(EnsureClassRegistered(L"ImageWnd"));
    HWND hwnd = CreateWindowExW(0, L"ImageWnd", L"orphan", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                ModuleInstance(), nullptr);
    ASSERT_NE(nullptr, hwnd);
    EXPECT_NE(manager.unhandled.end(),
              std::find(manager.unhandled.begin(), manager.unhandled.end(), UINT(WM_NCCREATE)));
    EXPECT_EQ(HTCLIENT, SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(10, 10)));
    EXPECT_TRUE(manager.Controls().empty());
    DestroyWindow(hwnd);
}

// A dialog object that ends itself from a timer with a chosen value.
class TimedDialog : public CWindowCtrl {
public:
    INT_PTR endWith = 0;
    bool created = false;
    bool destroyed = false;
    UINT commandOnCreate = 0;
    void OnCreate(CREATESTRUCTW* cs) override {
        created = cs == nullptr && Hwnd() != nullptr;
        if (commandOnCreate) {
            PostMessageW(Hwnd(), WM_COMMAND, commandOnCreate, 0);
        } else {
            SetTimer(Hwnd(), 1, 10, nullptr);
        }
    }
    void OnTimer(UINT_PTR) override {
        KillTimer(Hwnd(), 1);
        EndDialog(Hwnd(), endWith);
    }
    void OnDestroy() override { destroyed = true; }
};

TEST_F(WindowCtrlTest, DoModalConnectsTheDialogAndReturnsItsResult) {
    TimedDialog dialog;
    dialog.endWith = 42;
    EXPECT_EQ(42, dialog.DoModal(MAKEINTRESOURCEW(100), nullptr));
    EXPECT_EQ(42, dialog.DialogResult());
    EXPECT_TRUE(dialog.created);
    EXPECT_TRUE(dialog.destroyed);
    EXPECT_EQ(nullptr, dialog.Hwnd());
    EXPECT_TRUE(manager.Controls().empty());
}

TEST_F(WindowCtrlTest, DoModalEndsOnCancelByDefault) {
    TimedDialog dialog;
    dialog.commandOnCreate = IDCANCEL;
    EXPECT_EQ(IDCANCEL, dialog.DoModal(MAKEINTRESOURCEW(100), nullptr));
}

TEST_F(WindowCtrlTest, DoModalWithoutTemplateFails) {
    TimedDialog dialog;
    EXPECT_EQ(-1, dialog.DoModal(MAKEINTRESOURCEW(999), nullptr));
    EXPECT_FALSE(dialog.created);
}

}  // namespace
