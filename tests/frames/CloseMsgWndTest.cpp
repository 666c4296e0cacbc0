#include "frames/CloseMsgWnd.h"

#include "base/Product.h"
#include "tests/support/Painting.h"
#include "tests/support/RealInput.h"
#include "tests/support/TestWindows.h"
#include "tests/support/WindowActions.h"
#include "ui/AppManager.h"
#include "ui/Drawing.h"

#include <gtest/gtest.h>

#include <windowsx.h>

#include <functional>
#include <vector>

namespace {

// Caption moves the painter asks for, taken out of the queue before the
// system could start a real move loop (which would wait for the mouse).
std::vector<MSG> g_captionMoves;

LRESULT CALLBACK RecordCaptionMoves(int code, WPARAM wParam, LPARAM lParam) {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == WM_NCLBUTTONDOWN &&
        msg->wParam == HTCAPTION) {
        g_captionMoves.push_back(*msg);
        msg->message = WM_NULL;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class CloseMsgWndTest : public ::testing::Test {
protected:
    CAppManager manager;
    ManagerScope scope{manager};
    ActionWindow actions;
    CImageCtrl frame;
    HWND frameWindow = nullptr;

    // A plain coloured frame behind the middle of the screen, where the
    // question appears.
    void SetUp() override {
        ASSERT_TRUE(actions.Open());
        frame.painter.backgroundColor = 0xFF2E4A6B;
        const int x = GetSystemMetrics(SM_CXSCREEN) / 2 - 300;
        const int y = GetSystemMetrics(SM_CYSCREEN) / 2 - 200;
        frameWindow =
            frame.Create(0, nullptr, L"frame", WS_POPUP | WS_VISIBLE, x, y, 600, 400, nullptr);
        ASSERT_NE(nullptr, frameWindow);
    }
    void TearDown() override {
        if (frame.Hwnd()) DestroyWindow(frame.Hwnd());
    }

    // The open question's window.
    static HWND Question() { return FindWindowW(kClientWindowClass, nullptr); }

    static void Click(HWND window, const RECT& button) { RealInput::Click(window, button); }
};

TEST_F(CloseMsgWndTest, OkAnswersOneOverADisabledOwner) {
    CloseMsgWnd question;
    EXPECT_STREQ(L"orvanestormvale", question.ClassName());
    RECT seen{};
    HWND owner = nullptr;
    bool ownerEnabled = true;
    LONG_PTR exStyle = 0;
    actions.Post([&] {
        HWND window = question.Hwnd();
        seen = WindowRect(window);
        owner = GetWindow(window, GW_OWNER);
        ownerEnabled = IsWindowEnabled(frameWindow) != FALSE;
        exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
        Click(window, CloseMsgWnd::kOkRect);
    });
    EXPECT_EQ(IDOK, question.ShowCloseConfirm(frameWindow));
    const int x = (GetSystemMetrics(SM_CXSCREEN) - 295) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - 190) / 2;
    EXPECT_EQ((RECT{x, y, x + 295, y + 190}), seen);
    EXPECT_EQ(frameWindow, owner);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_NE(0, exStyle & WS_EX_LAYERED);
    EXPECT_TRUE(IsWindowEnabled(frameWindow));
    EXPECT_EQ(nullptr, question.Hwnd());
}

TEST_F(CloseMsgWndTest, CancelOrClosingItAnyOtherWayAnswersTwo) {
    CloseMsgWnd cancelled;
    actions.Post([&] { Click(cancelled.Hwnd(), CloseMsgWnd::kCancelRect); });
    EXPECT_EQ(IDCANCEL, cancelled.ShowCloseConfirm(frameWindow));

    CloseMsgWnd closed;
    actions.Post([&] { PostMessageW(closed.Hwnd(), WM_CLOSE, 0, 0); });
    EXPECT_EQ(IDCANCEL, closed.ShowCloseConfirm(frameWindow));

    // Alt+F4 as the keyboard gives it to the focused question.
    CloseMsgWnd altF4;
    actions.Post([&] {
        PostMessageW(altF4.Hwnd(), WM_SYSKEYDOWN, VK_F4, MAKELPARAM(1, KF_ALTDOWN | 0x3E));
    });
    EXPECT_EQ(IDCANCEL, altF4.ShowCloseConfirm(frameWindow));
    EXPECT_TRUE(IsWindowEnabled(frameWindow));

    // The owner goes away while it asks.
    CloseMsgWnd orphaned;
    actions.Post([&] { DestroyWindow(frameWindow); });
    EXPECT_EQ(IDCANCEL, orphaned.ShowCloseConfirm(frameWindow));
    EXPECT_EQ(nullptr, orphaned.Hwnd());
}

TEST_F(CloseMsgWndTest, DraggingWorksFromAnywhereOutsideTheButtons) {
    g_captionMoves.clear();
    HHOOK hook =
        SetWindowsHookExW(WH_GETMESSAGE, RecordCaptionMoves, nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, hook);
    CloseMsgWnd question;
    const POINT outside[] = {{2, 2}, {292, 187}, {147, 60}, {84, 97}, {148, 117}, {10, 180}};
    std::vector<POINT> expected;
    size_t movesBeforeButton = 0;
    actions.Post([&] {
        HWND window = question.Hwnd();
        for (POINT p : outside) {
            SendMouse(window, WM_MOUSEMOVE, p.x, p.y);
            SendMouse(window, WM_LBUTTONDOWN, p.x, p.y, MK_LBUTTON);
            SendMouse(window, WM_LBUTTONUP, p.x, p.y);
            POINT screen = p;
            ClientToScreen(window, &screen);
            expected.push_back(screen);
        }
        actions.Post([&] {
            movesBeforeButton = g_captionMoves.size();
            // A press on a button moves nothing; releasing it there answers.
            Click(question.Hwnd(), CloseMsgWnd::kCancelRect);
        });
    });
    EXPECT_EQ(IDCANCEL, question.ShowCloseConfirm(frameWindow));
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(ARRAYSIZE(outside), movesBeforeButton);
    ASSERT_EQ(expected.size(), g_captionMoves.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(expected[i].x, GET_X_LPARAM(g_captionMoves[i].lParam));
        EXPECT_EQ(expected[i].y, GET_Y_LPARAM(g_captionMoves[i].lParam));
    }
}

TEST_F(CloseMsgWndTest, QuestionShowsItsPictureWithSoftCornersAndHoverLooks) {
    CloseMsgWnd question;
    DWORD panel = 0;
    DWORD corner = 0;
    DWORD okNormal = 0;
    DWORD okHover = 0;
    // The X server shows a new layered window a moment after it was
    // drawn: look until the panel is there (or two seconds passed).
    const DWORD deadline = GetTickCount() + 2000;
    std::function<void()> look = [&] {
        const RECT r = WindowRect(question.Hwnd());
        panel = ScreenPixel(r.left + 147, r.top + 95);
        if (panel != 0x19293B && GetTickCount() < deadline) {
            actions.After(20, look);
            return;
        }
        corner = ScreenPixel(r.left, r.top);
        okNormal = ScreenPixel(r.left + 50 + 6, r.top + 100 + 17);
        SendMouse(question.Hwnd(), WM_MOUSEMOVE, 84, 117);
        okHover = ScreenPixel(r.left + 50 + 6, r.top + 100 + 17);
        Click(question.Hwnd(), CloseMsgWnd::kCancelRect);
    };
    // The question opens in the middle of the screen: a cursor left there
    // by an earlier test would hover its OK button from the start.
    SetCursorPos(1, 1);
    actions.Post(look);
    EXPECT_EQ(IDCANCEL, question.ShowCloseConfirm(frameWindow));
    EXPECT_EQ(0x19293Bu, panel);
    // The transparent corner shows the frame behind it.
    EXPECT_EQ(0x2E4A6Bu, corner);
    EXPECT_EQ(0xD5AB5Du, okNormal);
    EXPECT_EQ(0xEBC574u, okHover);
}

TEST_F(CloseMsgWndTest, NullOrVanishedParentStillGetsAnAnswer) {
    CloseMsgWnd ownerless;
    HWND owner = frameWindow;
    actions.Post([&] {
        owner = GetWindow(ownerless.Hwnd(), GW_OWNER);
        Click(ownerless.Hwnd(), CloseMsgWnd::kOkRect);
    });
    EXPECT_EQ(IDOK, ownerless.ShowCloseConfirm(nullptr));
    EXPECT_EQ(nullptr, owner);

    DestroyWindow(frameWindow);
    CloseMsgWnd orphan;
    bool shown = false;
    actions.Post([&] {
        shown = IsWindowVisible(orphan.Hwnd()) != FALSE;
        Click(orphan.Hwnd(), CloseMsgWnd::kOkRect);
    });
    EXPECT_EQ(IDOK, orphan.ShowCloseConfirm(frameWindow));
    EXPECT_TRUE(shown);
}

TEST_F(CloseMsgWndTest, AskingAgainWhileItAsksLeavesTheFirstQuestionOpen) {
    CloseMsgWnd question;
    int nested = 0;
    actions.Post([&] {
        nested = question.ShowCloseConfirm(frameWindow);
        Click(question.Hwnd(), CloseMsgWnd::kOkRect);
    });
    EXPECT_EQ(IDOK, question.ShowCloseConfirm(frameWindow));
    EXPECT_EQ(IDCANCEL, nested);
    EXPECT_TRUE(IsWindowEnabled(frameWindow));
}

}  // namespace
