// The wizard in the test's own process, with the uninstaller's resources
// compiled in: its elements as tabled, the check box, cancel and the close
// button, and the compatibility mark of its creation. Continue is driven
// only in the whole-program tests: here it would empty the test's folder.
#include "uninstall/Frame.h"

#include "uninstall/CompatibilityMark.h"
#include "tests/support/TestWindows.h"
#include "tests/support/WindowActions.h"
#include "ui/AppManager.h"
#include "ui/Scoped.h"

#include <gtest/gtest.h>

#include <string>

namespace {

POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

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
    void Click(const RECT& r) {
        const POINT p = Centre(r);
        ClickAt(frame.Hwnd(), p.x, p.y);
    }
};

TEST_F(FrameTest, ElementsAsTabled) {
    actions.Post([&] {
        HWND window = frame.Hwnd();
        RECT client{};
        GetClientRect(window, &client);
        EXPECT_EQ(435, client.right);
        EXPECT_EQ(330, client.bottom);
        wchar_t title[64] = {};
        GetWindowTextW(window, title, 64);
        EXPECT_STREQ(L"Orvane Stormvale卸载向导", title);
        EXPECT_NE(0, SendMessageW(window, WM_GETICON, ICON_BIG, 0));

        CImagePaint& painter = frame.painter;
        CImageStatic* strip = painter.FindStatic(CFrame::kTitleId);
        ASSERT_NE(nullptr, strip);
        EXPECT_TRUE(SameRect(RECT{0, 0, 435, 25}, strip->rect));
        EXPECT_STREQ(title, strip->text);
        EXPECT_EQ(7, strip->textOffset);
        EXPECT_NE(nullptr, strip->customFont);
        for (int id : {CFrame::kMascotId, CFrame::kBubbleId}) {
            ASSERT_NE(nullptr, painter.FindStatic(id));
            EXPECT_TRUE(painter.FindStatic(id)->image) << id;
        }
        CImageStatic* label = painter.FindStatic(CFrame::kCheckBoxId);
        ASSERT_NE(nullptr, label);
        EXPECT_STREQ(L"保留用户信息和相关数据", label->text);

        ASSERT_NE(nullptr, painter.FindButton(10));
        EXPECT_TRUE(SameRect(CFrame::kCloseRect, painter.FindButton(10)->rect));
        CImageButton* box = painter.FindButton(CFrame::kCheckBoxId);
        ASSERT_NE(nullptr, box);
        EXPECT_TRUE(box->Checked());
        for (int id : {CFrame::kContinueId, CFrame::kCancelId}) {
            ASSERT_NE(nullptr, painter.FindButton(id));
            EXPECT_TRUE(painter.FindButton(id)->visible);
            for (const auto& image : painter.FindButton(id)->images) EXPECT_TRUE(image) << id;
        }
        ASSERT_EQ(1u, painter.ProgressBars().size());
        EXPECT_FALSE(painter.ProgressBars()[0]->visible);
        EXPECT_EQ(0, painter.ProgressBars()[0]->Pos());
        EXPECT_TRUE(SameRect(CFrame::kProgressRect, painter.ProgressBars()[0]->rect));
        Click(CFrame::kCancelRect);
    });
    EXPECT_EQ(1, frame.ShowModal());
    EXPECT_EQ(nullptr, frame.Hwnd());
}

TEST_F(FrameTest, CheckBoxTogglesAndTwoClicksReturnToChecked) {
    bool afterOne = true;
    bool afterTwo = false;
    actions.Post([&] {
        Click(CFrame::kCheckBoxRect);
        afterOne = frame.painter.FindButton(CFrame::kCheckBoxId)->Checked();
        Click(CFrame::kCheckBoxRect);
        afterTwo = frame.painter.FindButton(CFrame::kCheckBoxId)->Checked();
        Click(CFrame::kCloseRect);
    });
    EXPECT_EQ(2, frame.ShowModal()) << "the close button keeps the default result";
    EXPECT_FALSE(afterOne);
    EXPECT_TRUE(afterTwo);
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
