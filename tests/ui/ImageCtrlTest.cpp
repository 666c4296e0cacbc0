#include "ui/ImageCtrl.h"

#include "tests/data/PaintTestImages.h"
#include "tests/support/Painting.h"
#include "tests/support/TestWindows.h"
#include "tests/support/WindowActions.h"
#include "ui/AppManager.h"
#include "ui/Drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

namespace {

// Counts the paint callbacks that reach the window's slots.
class PaintCounter : public CImageCtrl {
public:
    int backgroundPaints = 0;
    int foregroundPaints = 0;

    void OnPaintBackground(Gdiplus::Graphics&) override { ++backgroundPaints; }
    void OnPaintForeground(Gdiplus::Graphics&) override { ++foregroundPaints; }
};

class ImageCtrlTest : public ::testing::Test {
protected:
    CAppManager manager;
    ManagerScope scope{manager};
    ActionWindow actions;

    void SetUp() override { ASSERT_TRUE(actions.Open()); }

    static HWND Open(CImageCtrl& window, int x, int y, int cx, int cy,
                     DWORD style = WS_POPUP | WS_VISIBLE) {
        return window.Create(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, nullptr, L"skin", style, x, y, cx,
                             cy, nullptr);
    }

    static LRESULT HitAt(HWND window, int x, int y) {
        POINT screen{x, y};
        ClientToScreen(window, &screen);
        return SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
    }

    static RECT WindowRect(HWND window) {
        RECT r{};
        GetWindowRect(window, &r);
        return r;
    }

    static RECT WorkArea() {
        RECT work{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        return work;
    }
};

TEST_F(ImageCtrlTest, CreationBindsThePainterAndDropsTheCaption) {
    PaintCounter window;
    EXPECT_STREQ(L"ImageCtrl", window.ClassName());
    EXPECT_EQ(IDCANCEL, window.modalResult);
    HWND hwnd = Open(window, 20, 20, 200, 100, WS_POPUP | WS_VISIBLE | WS_CAPTION);
    ASSERT_NE(nullptr, hwnd);
    EXPECT_EQ(hwnd, window.painter.Window());
    const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    EXPECT_EQ(0, style & WS_CAPTION);
    EXPECT_EQ(0x02010100, style & 0x02010100);

    InvalidateRect(hwnd, nullptr, TRUE);
    UpdateWindow(hwnd);
    EXPECT_GT(window.backgroundPaints, 0);
    EXPECT_EQ(window.backgroundPaints, window.foregroundPaints);
    DestroyWindow(hwnd);
    EXPECT_EQ(nullptr, window.painter.Window());
}

TEST_F(ImageCtrlTest, ResizeBandsFollowTheirOrderOnlyWhenResizable) {
    CImageCtrl window;
    HWND hwnd = Open(window, 20, 20, 200, 100);
    for (POINT p : {POINT{0, 0}, POINT{199, 0}, POINT{0, 99}, POINT{199, 99}, POINT{1, 50},
                    POINT{100, 1}, POINT{100, 50}}) {
        EXPECT_EQ(HTCLIENT, HitAt(hwnd, p.x, p.y)) << p.x << "," << p.y;
    }
    window.resizable = true;
    struct Case {
        int x, y;
        LRESULT expected;
    };
    const Case cases[] = {
        {0, 0, HTTOPLEFT},       {2, 2, HTTOPLEFT},
        {3, 0, HTTOP},           // x = Bx in the top band is not a corner
        {3, 99, HTBOTTOMLEFT},   // but in the bottom band it is
        {3, 97, HTBOTTOMLEFT},   {4, 99, HTBOTTOM},
        {198, 0, HTTOPRIGHT},    {197, 0, HTRIGHT},
        {197, 97, HTBOTTOMRIGHT}, {199, 99, HTBOTTOMRIGHT},
        {0, 50, HTLEFT},         {2, 50, HTLEFT},
        {3, 50, HTCLIENT},       {197, 50, HTRIGHT},
        {100, 2, HTTOP},         {100, 3, HTCLIENT},
        {100, 97, HTCLIENT},     {100, 98, HTBOTTOM},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, HitAt(hwnd, c.x, c.y)) << c.x << "," << c.y;
    }
    window.borderWidth = 10;
    EXPECT_EQ(HTLEFT, HitAt(hwnd, 9, 50));
    DestroyWindow(hwnd);
}

TEST_F(ImageCtrlTest, SizeLimitsComeFromTheWorkAreaAndTheMinimumSize) {
    CImageCtrl window;
    HWND hwnd = Open(window, 20, 20, 200, 100);
    const RECT work = WorkArea();
    MINMAXINFO info{};
    info.ptMinTrackSize = POINT{77, 77};
    SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(work.left, info.ptMaxPosition.x);
    EXPECT_EQ(work.top, info.ptMaxPosition.y);
    EXPECT_EQ(RectWidth(work), info.ptMaxSize.x);
    EXPECT_EQ(RectHeight(work), info.ptMaxSize.y);
    // Also a zero minimum size is handed on.
    EXPECT_EQ(0, info.ptMinTrackSize.x);
    EXPECT_EQ(0, info.ptMinTrackSize.y);

    // One value zero: nothing is enforced.
    window.minSize = SIZE{0, 500};
    SetWindowPos(hwnd, nullptr, 0, 0, 120, 80, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(120, RectWidth(WindowRect(hwnd)));
    EXPECT_EQ(80, RectHeight(WindowRect(hwnd)));

    window.minSize = SIZE{300, 150};
    SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(300, info.ptMinTrackSize.x);
    EXPECT_EQ(150, info.ptMinTrackSize.y);
    SetWindowPos(hwnd, nullptr, 0, 0, 120, 80, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(300, RectWidth(WindowRect(hwnd)));
    EXPECT_EQ(150, RectHeight(WindowRect(hwnd)));
    MoveWindow(hwnd, 30, 30, 400, 90, TRUE);
    EXPECT_EQ(400, RectWidth(WindowRect(hwnd)));
    EXPECT_EQ(150, RectHeight(WindowRect(hwnd)));
    DestroyWindow(hwnd);
}

TEST_F(ImageCtrlTest, ShapedWindowCutsItsCornersUnlessMaximised) {
    ScopedRegion region(CreateRectRgn(0, 0, 0, 0));
    CImageCtrl plain;
    HWND plainWindow = Open(plain, 20, 20, 200, 100);
    EXPECT_EQ(ERROR, GetWindowRgn(plainWindow, region.Get()));
    DestroyWindow(plainWindow);

    CImageCtrl window;
    window.shaped = true;
    HWND hwnd = Open(window, 20, 20, 200, 100);
    ASSERT_EQ(COMPLEXREGION, GetWindowRgn(hwnd, region.Get()));
    const POINT cut[] = {{0, 1},    {1, 0},     {199, 0}, {200, 1},
                         {200, 98}, {198, 100}, {2, 100}, {0, 98}};
    ScopedRegion expected(CreatePolygonRgn(cut, ARRAYSIZE(cut), WINDING));
    EXPECT_TRUE(EqualRgn(region.Get(), expected.Get()));
    // The top corners lose one pixel, the bottom corners two.
    EXPECT_FALSE(PtInRegion(region.Get(), 0, 0));
    EXPECT_TRUE(PtInRegion(region.Get(), 1, 1));
    EXPECT_FALSE(PtInRegion(region.Get(), 0, 99));
    EXPECT_FALSE(PtInRegion(region.Get(), 199, 99));
    EXPECT_TRUE(PtInRegion(region.Get(), 100, 50));

    ShowWindow(hwnd, SW_MAXIMIZE);
    ASSERT_TRUE(IsZoomed(hwnd));
    const RECT work = WorkArea();
    EXPECT_EQ(work, WindowRect(hwnd));
    ASSERT_EQ(SIMPLEREGION, GetWindowRgn(hwnd, region.Get()));
    RECT box{};
    GetRgnBox(region.Get(), &box);
    EXPECT_EQ((RECT{0, 0, RectWidth(work), RectHeight(work)}), box);

    ShowWindow(hwnd, SW_RESTORE);
    EXPECT_EQ(COMPLEXREGION, GetWindowRgn(hwnd, region.Get()));
    EXPECT_TRUE(EqualRgn(region.Get(), expected.Get()));
    DestroyWindow(hwnd);
}

TEST_F(ImageCtrlTest, ShadowFollowsMovesSizesAndVisibility) {
    CImageCtrl window;
    window.shadow = std::make_unique<CShadowCtrl>();
    HWND shadow =
        window.shadow->Create(0, nullptr, nullptr, WS_POPUP | WS_VISIBLE, 0, 0, 0, 0, nullptr);
    ASSERT_NE(nullptr, shadow);
    HWND hwnd = Open(window, 100, 80, 200, 100);
    const auto expectAround = [&](int x, int y, int cx, int cy) {
        EXPECT_EQ((RECT{x - 6, y - 6, x + cx + 6, y + cy + 6}), WindowRect(shadow));
    };
    expectAround(100, 80, 200, 100);
    MoveWindow(hwnd, 150, 120, 200, 100, TRUE);
    expectAround(150, 120, 200, 100);
    MoveWindow(hwnd, 150, 120, 260, 140, TRUE);
    expectAround(150, 120, 260, 140);

    ShowWindow(hwnd, SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(shadow));
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    EXPECT_TRUE(IsWindowVisible(shadow));

    DestroyWindow(hwnd);
    EXPECT_FALSE(IsWindowVisible(shadow));
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(shadow); }, 2000));
    EXPECT_EQ(nullptr, window.shadow->Hwnd());
}

TEST_F(ImageCtrlTest, ModalLoopEndsWhenTheWindowGoesByAnyMeans) {
    // From a handler of another window's message.
    CImageCtrl window;
    HWND hwnd = Open(window, 20, 20, 200, 100);
    actions.Post([&] { DestroyWindow(hwnd); });
    EXPECT_TRUE(window.RunModalLoop());
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(window.modalRunning);

    // With its owner.
    CImageCtrl owner;
    HWND ownerWindow = Open(owner, 0, 0, 50, 50);
    CImageCtrl owned;
    HWND ownedWindow = owned.Create(0, nullptr, L"owned", WS_POPUP | WS_VISIBLE, 20, 20, 200, 100,
                                    ownerWindow);
    actions.Post([&] { DestroyWindow(ownerWindow); });
    EXPECT_TRUE(owned.RunModalLoop());
    EXPECT_FALSE(IsWindow(ownedWindow));

    // Its own code clears the flag: the window stays.
    CImageCtrl kept;
    HWND keptWindow = Open(kept, 20, 20, 200, 100);
    actions.Post([&] { kept.modalRunning = false; });
    EXPECT_TRUE(kept.RunModalLoop());
    EXPECT_TRUE(IsWindow(keptWindow));
    DestroyWindow(keptWindow);
}

TEST_F(ImageCtrlTest, QuitInsideTheModalLoopReachesTheEnclosingLoop) {
    CImageCtrl window;
    HWND hwnd = Open(window, 20, 20, 200, 100);
    actions.Post([] { PostQuitMessage(7); });
    EXPECT_TRUE(window.RunModalLoop());
    EXPECT_FALSE(window.modalRunning);
    EXPECT_TRUE(IsWindow(hwnd));
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, msg.wParam);
    DestroyWindow(hwnd);
}

TEST_F(ImageCtrlTest, ModalLoopIsRefusedWhileRunningOnAnotherThreadOrWithoutWindow) {
    CImageCtrl idle;
    EXPECT_FALSE(idle.RunModalLoop());

    CImageCtrl window;
    HWND hwnd = Open(window, 20, 20, 200, 100);
    bool foreign = true;
    std::thread([&] { foreign = window.RunModalLoop(); }).join();
    EXPECT_FALSE(foreign);
    EXPECT_FALSE(window.modalRunning);

    bool nested = true;
    actions.Post([&] {
        nested = window.RunModalLoop();
        DestroyWindow(hwnd);
    });
    EXPECT_TRUE(window.RunModalLoop());
    EXPECT_FALSE(nested);
}

TEST_F(ImageCtrlTest, ShowModalCentresOnTheWorkAreaWithItsShadow) {
    CImageCtrl window;
    window.minSize = SIZE{300, 200};
    RECT seen{};
    RECT shadowSeen{};
    HWND owner = nullptr;
    HWND shadow = nullptr;
    LONG_PTR exStyle = 0;
    actions.Post([&] {
        HWND hwnd = window.Hwnd();
        shadow = window.shadow->Hwnd();
        seen = WindowRect(hwnd);
        shadowSeen = WindowRect(shadow);
        owner = GetWindow(hwnd, GW_OWNER);
        exStyle = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
        window.modalResult = IDOK;
        DestroyWindow(hwnd);
    });
    EXPECT_EQ(IDOK, window.ShowModal());
    const RECT work = WorkArea();
    const int x = work.left + (RectWidth(work) - 300) / 2;
    const int y = work.top + (RectHeight(work) - 200) / 2;
    EXPECT_EQ((RECT{x, y, x + 300, y + 200}), seen);
    EXPECT_EQ((RECT{x - 6, y - 6, x + 306, y + 206}), shadowSeen);
    EXPECT_NE(nullptr, shadow);
    EXPECT_EQ(shadow, owner);
    EXPECT_NE(0, exStyle & WS_EX_APPWINDOW);
    EXPECT_TRUE(window.painter.captionDrag);
    EXPECT_TRUE(window.shaped);
}

TEST_F(ImageCtrlTest, ShowModalRefusesAnExistingWindowAndCanShowAgainLater) {
    CImageCtrl window;
    HWND hwnd = Open(window, 20, 20, 200, 100);
    EXPECT_EQ(-1, window.ShowModal());
    DestroyWindow(hwnd);

    window.minSize = SIZE{200, 100};
    actions.Post([&] { DestroyWindow(window.Hwnd()); });
    EXPECT_EQ(IDCANCEL, window.ShowModal());
    // Straight away again: the first shadow's pending close must not take
    // the second window with it.
    bool alive = false;
    actions.Post([&] {
        alive = IsWindowVisible(window.Hwnd()) && IsWindowVisible(window.shadow->Hwnd());
        DestroyWindow(window.Hwnd());
    });
    EXPECT_EQ(IDCANCEL, window.ShowModal());
    EXPECT_TRUE(alive);
}

TEST_F(ImageCtrlTest, ShowModalOnScreensSmallerThanItsSizeStillRuns) {
    // No minimum size (the screen was too small to set one): the whole
    // work area rather than an invisible window.
    CImageCtrl unsized;
    RECT seen{};
    actions.Post([&] {
        seen = WindowRect(unsized.Hwnd());
        DestroyWindow(unsized.Hwnd());
    });
    EXPECT_EQ(IDCANCEL, unsized.ShowModal());
    EXPECT_EQ(WorkArea(), seen);

    CImageCtrl large;
    large.minSize = SIZE{3000, 2000};
    actions.Post([&] {
        seen = WindowRect(large.Hwnd());
        DestroyWindow(large.Hwnd());
    });
    EXPECT_EQ(IDCANCEL, large.ShowModal());
    // Too large for the work area: as large as fits, at its own proportions.
    const RECT work = WorkArea();
    EXPECT_TRUE(seen.left >= work.left && seen.top >= work.top && seen.right <= work.right &&
                seen.bottom <= work.bottom);
    EXPECT_GE(std::max(RectWidth(seen) * 100 / RectWidth(work), RectHeight(seen) * 100 / RectHeight(work)), 99);
    EXPECT_NEAR(2 * RectWidth(seen), 3 * RectHeight(seen), 3);
}

// A move to a monitor of another DPI, announced as the system does.
TEST_F(ImageCtrlTest, DpiChangeTakesTheSuggestedRectangleAndLaysOutAgainAtTheNewScale) {
    CImageCtrl window;
    HWND hwnd = Open(window, 20, 20, 200, 100);
    window.resizable = true;
    window.minSize = SIZE{150, 80};
    CImageButton* button = window.painter.AddButton(1, RECT{10, 10, 30, 30}, IMG_RED);
    button->rightAnchor = 10;
    const UINT redWidth = button->images[CImageButton::kNormal]->GetWidth();
    const RECT suggested{40, 50, 440, 250};
    SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(suggested, WindowRect(hwnd));
    EXPECT_EQ((RECT{340, 20, 380, 60}), button->rect);
    EXPECT_EQ(2 * redWidth, button->images[CImageButton::kNormal]->GetWidth());
    EXPECT_EQ(HTLEFT, HitAt(hwnd, 5, 50)) << "the resize band is twice as wide";
    SetWindowPos(hwnd, nullptr, 0, 0, 100, 50, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ((RECT{40, 50, 340, 210}), WindowRect(hwnd)) << "and so is the minimum size";

    // A maximised window keeps filling the work area.
    ShowWindow(hwnd, SW_MAXIMIZE);
    SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(WorkArea(), WindowRect(hwnd));
    DestroyWindow(hwnd);
}

TEST(ImageCtrlNoManager, ShowModalWithoutManagerIsRefused) {
    CImageCtrl window;
    window.minSize = SIZE{200, 100};
    EXPECT_EQ(-1, window.ShowModal());
    EXPECT_FALSE(window.RunModalLoop());
}

// The pixel at the centre of an icon, as 0xRRGGBB, and its width.
struct IconLook {
    int width = 0;
    DWORD centre = 0;
};

IconLook LookAt(HICON icon) {
    IconLook look;
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return look;
    ScopedBitmap color(info.hbmColor);
    ScopedBitmap mask(info.hbmMask);
    BITMAP bitmap{};
    GetObjectW(color.Get(), sizeof(bitmap), &bitmap);
    look.width = bitmap.bmWidth;
    ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
    ScopedSelectObject select(dc.Get(), color.Get());
    const COLORREF c = GetPixel(dc.Get(), bitmap.bmWidth / 2, bitmap.bmHeight / 2);
    look.centre = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    return look;
}

HICON WindowIcon(HWND window, WPARAM which) {
    return reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0));
}

TEST_F(ImageCtrlTest, IconsComeFromGroup128AtTheChosenSize) {
    CImageCtrl window;
    EXPECT_FALSE(window.LoadIconFromResource(true, 48));
    HWND hwnd = Open(window, 20, 20, 200, 100);
    ASSERT_TRUE(window.LoadIconFromResource(true, 48));
    ASSERT_TRUE(window.LoadIconFromResource(false, 16));
    IconLook big = LookAt(WindowIcon(hwnd, ICON_BIG));
    IconLook small = LookAt(WindowIcon(hwnd, ICON_SMALL));
    EXPECT_EQ(48, big.width);
    EXPECT_EQ(0xFF0000u, big.centre);
    EXPECT_EQ(16, small.width);
    EXPECT_EQ(0x0000FFu, small.centre);

    ASSERT_TRUE(window.LoadIconFromResource(false, 32));
    small = LookAt(WindowIcon(hwnd, ICON_SMALL));
    EXPECT_EQ(32, small.width);
    EXPECT_EQ(0x00FF00u, small.centre);
    EXPECT_FALSE(window.LoadIconFromResource(false, 0));
    DestroyWindow(hwnd);
}

TEST_F(ImageCtrlTest, WindowKeepsItsOwnIconCopies) {
    CImageCtrl window;
    HWND hwnd = Open(window, 20, 20, 200, 100);
    ASSERT_TRUE(window.LoadIconFromResource(false, 16));
    HICON first = WindowIcon(hwnd, ICON_SMALL);
    HICON mine = CopyIcon(WindowIcon(hwnd, ICON_SMALL));
    window.SetIcon(mine, false);
    HICON second = WindowIcon(hwnd, ICON_SMALL);
    EXPECT_NE(mine, second);
    // The replaced copy is gone, the caller's icon and the new copy live.
    ICONINFO info{};
    EXPECT_FALSE(GetIconInfo(first, &info));
    DestroyIcon(mine);
    IconLook look = LookAt(second);
    EXPECT_EQ(0x0000FFu, look.centre);

    window.SetIcon(second, true);
    EXPECT_NE(second, WindowIcon(hwnd, ICON_BIG));
    EXPECT_EQ(0x0000FFu, LookAt(WindowIcon(hwnd, ICON_BIG)).centre);
    EXPECT_EQ(second, WindowIcon(hwnd, ICON_SMALL));
    DestroyWindow(hwnd);
}

}  // namespace
