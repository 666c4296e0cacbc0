#include "ui/ShadowCtrl.h"

#include "tests/support/Painting.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Alpha across the left edge of the shadow, at mid height.
std::vector<DWORD> EdgeAlpha(CShadowCtrl& shadow, int width, int height) {
    Canvas canvas(width, height, 0);
    shadow.PaintOutlines(canvas.Graphics(), width, height);
    std::vector<DWORD> alpha;
    for (int x = 0; x < 16; ++x) alpha.push_back(Alpha(canvas.Pixel(x, height / 2)));
    return alpha;
}

class ShadowTest : public ::testing::Test {
protected:
    CAppManager manager;
    ManagerScope scope{manager};
    PainterHost owner;
    CShadowCtrl shadow;
    HWND window = nullptr;

    void SetUp() override {
        owner.Create(0, L"PainterHost", nullptr, WS_POPUP, 200, 200, 300, 100, nullptr);
        window = shadow.Create(0, nullptr, nullptr, WS_POPUP, 0, 0, 0, 0, nullptr);
        ASSERT_NE(nullptr, window);
    }
    void TearDown() override {
        DestroyWindow(window);
        DestroyWindow(owner.Hwnd());
    }
    RECT Placed() {
        RECT r{};
        GetWindowRect(window, &r);
        return r;
    }
};

TEST_F(ShadowTest, IsALayeredToolWindowAroundItsOwner) {
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    EXPECT_STREQ(L"ShadowCtrl", className);
    const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_LAYERED);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_STYLE) & WS_CLIPCHILDREN);

    shadow.PlaceAround(owner.Hwnd());
    EXPECT_EQ((RECT{194, 194, 506, 306}), Placed());
    shadow.size = 10;
    shadow.PlaceAround(owner.Hwnd());
    EXPECT_EQ((RECT{190, 190, 510, 310}), Placed());

    // An owner without width gets its own rectangle.
    MoveWindow(owner.Hwnd(), 200, 200, 0, 100, FALSE);
    shadow.PlaceAround(owner.Hwnd());
    EXPECT_EQ((RECT{200, 200, 200, 300}), Placed());

    // Rendering a window of any size, shown or not, is safe.
    shadow.Render(255);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    shadow.PlaceAround(owner.Hwnd());
    shadow.Render(255);
}

TEST_F(ShadowTest, OutlinesSitOneThreeAndSixPixelsInsideAndDarkenInward) {
    const std::vector<DWORD> alpha = EdgeAlpha(shadow, 312, 112);
    // Outer outline (width 2) about x 1, middle about x 3, inner (width 4)
    // about x 6; beyond x 8 lies the owner, untouched.
    EXPECT_GT(alpha[1], 0u);
    EXPECT_GT(alpha[3], alpha[1]);
    EXPECT_GT(alpha[6], alpha[3]);
    for (int x = 9; x < 16; ++x) EXPECT_EQ(0u, alpha[x]) << x;
    EXPECT_LE(alpha[1], 0x0Fu);
    EXPECT_LE(alpha[3], 0x32u);
    EXPECT_LE(alpha[6], 0x64u);

    // Size 10: the same outlines, four pixels further from the shadow's
    // edge and so at the same place around the owner.
    shadow.size = 10;
    const std::vector<DWORD> wider = EdgeAlpha(shadow, 320, 120);
    for (int x = 0; x < 12; ++x) EXPECT_EQ(alpha[x], wider[x + 4]) << x;
    for (int x = 0; x < 4; ++x) EXPECT_EQ(0u, wider[x]) << x;

    // The menu's colours are a lighter grey.
    shadow.size = 6;
    shadow.SetMenuColors();
    Canvas canvas(312, 112, 0);
    shadow.PaintOutlines(canvas.Graphics(), 312, 112);
    const DWORD inner = canvas.Pixel(6, 56);
    ASSERT_GT(Alpha(inner), 0u);
    // Stored premultiplied: undo it to compare the grey.
    const DWORD red = ((inner >> 16) & 0xFF) * 255 / Alpha(inner);
    EXPECT_NEAR(0x9E, static_cast<int>(red), 4);
}

}  // namespace
