// MatchWindow and FindClientWindow: the client is the window with both its
// class and its title; either alone is someone else's.
#include "uninstall/WindowSearch.h"

#include "base/Product.h"

#include <gtest/gtest.h>

namespace {

class PlainWindow {
public:
    PlainWindow(const wchar_t* className, const wchar_t* title) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = className;
        RegisterClassW(&wc);  // may exist from an earlier test
        window_ = CreateWindowExW(0, className, title, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    }
    ~PlainWindow() {
        if (window_) DestroyWindow(window_);
    }
    HWND Get() const { return window_; }

private:
    HWND window_ = nullptr;
};

TEST(WindowSearch, FindsTheClientByClassAndTitleVisibleOrNot) {
    EXPECT_EQ(nullptr, FindClientWindow());
    PlainWindow client(kClientWindowClass, kProductName);
    ASSERT_NE(nullptr, client.Get());
    EXPECT_EQ(client.Get(), FindClientWindow());
}

TEST(WindowSearch, TitleOrClassAloneIsNotTheClient) {
    PlainWindow sameTitle(L"OtherGameWindow", kProductName);
    PlainWindow sameClass(kClientWindowClass, L"Orvane Stormvale 2");
    PlainWindow otherCase(kClientWindowClass, L"orvane stormvale");
    ASSERT_NE(nullptr, sameTitle.Get());
    ASSERT_NE(nullptr, sameClass.Get());
    EXPECT_EQ(nullptr, FindClientWindow());
}

}  // namespace
