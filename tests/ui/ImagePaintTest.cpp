#include "ui/ImagePaint.h"

#include "tests/data/PaintTestImages.h"
#include "tests/support/Painting.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr POINT kAway{-1, -1};

TEST(ImagePaintLists, FindReuseAndRemoveById) {
    CImagePaint painter;
    EXPECT_EQ(nullptr, painter.FindButton(1));
    EXPECT_FALSE(painter.RemoveButton(1));
    EXPECT_EQ(nullptr, painter.FindStatic(1));
    EXPECT_FALSE(painter.RemoveStatic(1));

    CImageButton* first = painter.AddButton(7, RECT{0, 0, 10, 10}, IMG_RED, IMG_GREEN);
    first->SetText(L"label");
    Gdiplus::Image* red = first->images[CImageButton::kNormal].Get();
    // The same id: same button, empty text, new rectangle; a normal id of 0
    // keeps the images.
    CImageButton* again = painter.AddButton(7, RECT{5, 5, 25, 25}, 0, IMG_BLUE);
    EXPECT_EQ(first, again);
    EXPECT_STREQ(L"", again->text);
    EXPECT_EQ(25, again->rect.right);
    EXPECT_EQ(red, again->images[CImageButton::kNormal].Get());

    CImageStatic* picture = painter.AddStatic(RECT{0, 0, 20, 20}, IMG_RED, 9, false);
    ASSERT_TRUE(picture->image);
    CImageStatic* replaced = painter.AddStatic(RECT{1, 1, 2, 2}, IMG_MISSING, 9, true);
    EXPECT_EQ(picture, replaced);
    EXPECT_TRUE(replaced->wrapEdges);
    EXPECT_FALSE(replaced->image);
    EXPECT_EQ(2, replaced->rect.right);

    CImageProgressbar* bar = painter.AddProgressBar(RECT{0, 0, 100, 4}, IMG_TRACK, IMG_FILL);
    bar->fillImage.Reset();
    CImageProgressbar* sameBar = painter.AddProgressBar(RECT{0, 10, 50, 14}, IMG_TRACK, IMG_FILL);
    EXPECT_EQ(bar, sameBar);
    EXPECT_TRUE(sameBar->fillImage);
    EXPECT_EQ(14, sameBar->rect.bottom);

    EXPECT_TRUE(painter.RemoveButton(7));
    EXPECT_FALSE(painter.RemoveButton(7));
    EXPECT_TRUE(painter.RemoveStatic(9));
}

// A painter in a real 300 x 200 window at (100, 100), driven with real
// mouse messages. Callbacks record what they saw and answer as told.
class ImagePaintWindowTest : public ::testing::Test {
protected:
    CAppManager manager;
    ManagerScope scope{manager};
    PainterHost frame;
    PainterHost host;
    CImagePaint& painter = host.painter;
    HWND window = nullptr;
    std::vector<std::string> events;
    bool answer = true;

    void SetUp() override {
        auto record = [this](const char* what) {
            return [this, what](CImageButton* button) {
                events.push_back(std::string(what) + ":" + std::to_string(button->id));
                return answer;
            };
        };
        painter.onLButtonDown = record("down");
        painter.onClick = record("click");
        painter.onHover = record("hover");
        painter.onRButtonDown = record("rdown");
        painter.onRButtonUp = record("rup");
    }
    void TearDown() override {
        if (window && IsWindow(window)) DestroyWindow(window);
        if (frame.Hwnd()) DestroyWindow(frame.Hwnd());
    }
    // The window at (100, 100); as a child of a popup there when asked.
    void Open(std::function<void(PainterHost&)> elements, int cx = 300, int cy = 200,
              bool child = false) {
        host.onCreate = std::move(elements);
        // The real cursor starts away from the window (and its late moves
        // are dispatched first): no button may be hot before the test
        // moves the cursor itself.
        SetCursorPos(1590, 890);
        PumpMessages(30);
        if (child) {
            window = host.OpenChild(frame.Open(100, 100, cx, cy), cx, cy);
        } else {
            window = host.Open(100, 100, cx, cy);
        }
        ASSERT_NE(nullptr, window);
        PumpMessages(10);
        events.clear();
    }
    LRESULT Mouse(UINT msg, int x, int y) { return SendMouse(window, msg, x, y); }
    int Hot() { return painter.HotButton() ? painter.HotButton()->id : 0; }
};

TEST_F(ImagePaintWindowTest, AnchorsFollowTheRightAndBottomEdges) {
    CImagePaint loose;
    CImageButton* close = loose.AddButton(10, RECT{975, 0, 1000, 25});
    close->rightAnchor = 0;
    CImageButton* corner = loose.AddButton(12, RECT{10, 570, 30, 590});
    corner->bottomAnchor = 10;
    CImageStatic* caption = loose.AddStatic(RECT{0, 0, 1000, 25}, 0, 20, true);
    caption->rightAnchor = 0;
    caption->fixedLeft = 0;
    CImageStatic* badge = loose.AddStatic(RECT{950, 550, 990, 590}, 0, 21, false);
    badge->rightAnchor = 10;
    badge->bottomAnchor = 10;
    CImageStatic* side = loose.AddStatic(RECT{0, 30, 20, 590}, 0, 22, false);
    side->bottomAnchor = 10;
    side->fixedTop = 30;

    loose.Relayout(RECT{0, 0, 1200, 800});
    EXPECT_EQ((RECT{1175, 0, 1200, 25}), close->rect);
    EXPECT_EQ((RECT{10, 770, 30, 790}), corner->rect);
    EXPECT_EQ((RECT{0, 0, 1200, 25}), caption->rect);
    EXPECT_EQ((RECT{1150, 750, 1190, 790}), badge->rect);
    EXPECT_EQ((RECT{0, 30, 20, 790}), side->rect);

    // The window's own resizing re-anchors its painter's elements.
    Open(
        [](PainterHost& h) {
            h.painter.AddButton(1, RECT{950, 0, 975, 25})->rightAnchor = 25;
            CImageStatic* bar = h.painter.AddStatic(RECT{0, 0, 1000, 25}, 0, 2, true);
            bar->rightAnchor = 0;
            bar->fixedLeft = 0;
        },
        1000, 300);
    MoveWindow(window, 0, 0, 1200, 300, TRUE);
    EXPECT_EQ((RECT{1150, 0, 1175, 25}), painter.FindButton(1)->rect);
    EXPECT_EQ((RECT{0, 0, 1200, 25}), painter.FindStatic(2)->rect);
}

TEST_F(ImagePaintWindowTest, HotButtonFollowsTheCursorAndLeaves) {
    Open([](PainterHost& h) {
        h.painter.AddButton(1, RECT{10, 10, 50, 50});
        h.painter.AddButton(2, RECT{30, 30, 70, 70});
        h.painter.AddButton(3, RECT{80, 10, 120, 50})->visible = false;
        h.painter.AddButton(100, RECT{130, 10, 170, 50});
        h.painter.AddButton(250, RECT{180, 10, 220, 50});
        h.painter.AddButton(251, RECT{230, 10, 270, 50});
    });
    Mouse(WM_MOUSEMOVE, 40, 40);
    EXPECT_EQ(1, Hot());
    EXPECT_TRUE(painter.Tracking());
    Mouse(WM_MOUSEMOVE, 60, 60);
    EXPECT_EQ(2, Hot());
    Mouse(WM_MOUSEMOVE, 100, 30);
    EXPECT_EQ(0, Hot());
    Mouse(WM_MOUSEMOVE, 200, 30);
    EXPECT_EQ(0, Hot());
    Mouse(WM_MOUSEMOVE, 250, 30);
    EXPECT_EQ(251, Hot());
    EXPECT_EQ((std::vector<std::string>{"hover:1", "hover:2", "hover:251"}), events);
    EXPECT_EQ(250, painter.CursorPoint().x);

    // A refusing hover callback marks the message handled.
    Mouse(WM_MOUSEMOVE, 100, 100);
    events.clear();
    answer = false;
    EXPECT_EQ(1, Mouse(WM_MOUSEMOVE, 40, 40));
    EXPECT_EQ(1, Hot());

    // Inert buttons are drawn in their normal look even under the cursor.
    CImageButton* inert = painter.FindButton(100);
    inert->SetImages(IMG_RED, IMG_GREEN, IMG_BLUE, 0);
    Mouse(WM_MOUSEMOVE, 150, 30);
    Canvas canvas(300, 200);
    painter.PaintElements(canvas.Graphics(), RECT{0, 0, 300, 200}, nullptr);
    EXPECT_EQ(0, Hot());
    EXPECT_EQ(kRed, Rgb(canvas.Pixel(150, 30)));
    EXPECT_EQ((std::vector<std::string>{"hover:1"}), events);

    // Leaving the window forgets the hot button, unless it is held. A
    // press after a leave, with no move between, still acts on the button
    // under its point; a hidden button takes no press.
    events.clear();
    answer = true;
    Mouse(WM_MOUSEMOVE, 20, 20);
    SendMessageW(window, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(0, Hot());
    EXPECT_FALSE(painter.Tracking());
    EXPECT_EQ(-1, painter.CursorPoint().y);

    Mouse(WM_LBUTTONDOWN, 20, 20);
    EXPECT_EQ(1, Hot());
    SendMessageW(window, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(1, Hot());
    Mouse(WM_LBUTTONUP, 20, 20);
    Mouse(WM_LBUTTONDOWN, 100, 30);
    Mouse(WM_LBUTTONUP, 100, 30);
    EXPECT_EQ((std::vector<std::string>{"hover:1", "down:1", "click:1"}), events);

    // Hiding the window forgets the cursor.
    ShowWindow(window, SW_HIDE);
    EXPECT_EQ(-1, painter.CursorPoint().x);
    EXPECT_EQ(0, Hot());
}

TEST_F(ImagePaintWindowTest, ClickNeedsTheReleaseInsideThePressedButton) {
    Open([](PainterHost& h) {
        h.painter.AddButton(1, RECT{10, 10, 50, 50});
        h.painter.AddButton(2, RECT{60, 10, 100, 50});
    });
    Mouse(WM_MOUSEMOVE, 20, 20);
    Mouse(WM_LBUTTONDOWN, 20, 20);
    EXPECT_TRUE(painter.LeftPressed());
    EXPECT_TRUE(painter.Captured());
    EXPECT_EQ(window, GetCapture());
    EXPECT_EQ((RECT{10, 10, 50, 50}), painter.PressedRect());
    // Held: moving over another button changes nothing.
    Mouse(WM_MOUSEMOVE, 70, 20);
    EXPECT_EQ(1, Hot());
    Mouse(WM_LBUTTONUP, 70, 20);
    EXPECT_EQ((std::vector<std::string>{"hover:1", "down:1"}), events);
    EXPECT_EQ(0, Hot());
    EXPECT_EQ(kAway.x, painter.CursorPoint().x);
    EXPECT_FALSE(painter.Captured());
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ((RECT{-1, -1, -1, -1}), painter.PressedRect());

    events.clear();
    Mouse(WM_MOUSEMOVE, 20, 20);
    Mouse(WM_LBUTTONDOWN, 20, 20);
    Mouse(WM_LBUTTONUP, 45, 45);
    EXPECT_EQ((std::vector<std::string>{"hover:1", "down:1", "click:1"}), events);
    EXPECT_EQ(1, Hot());

    // A refused press takes no capture; its release still clicks.
    events.clear();
    answer = false;
    EXPECT_EQ(1, Mouse(WM_LBUTTONDOWN, 20, 20));
    EXPECT_FALSE(painter.Captured());
    answer = true;
    Mouse(WM_LBUTTONUP, 20, 20);
    EXPECT_EQ((std::vector<std::string>{"down:1", "click:1"}), events);

    // Losing the capture while held releases the button: no click.
    events.clear();
    Mouse(WM_LBUTTONDOWN, 20, 20);
    ASSERT_TRUE(painter.LeftPressed());
    ReleaseCapture();
    EXPECT_FALSE(painter.LeftPressed());
    EXPECT_FALSE(painter.Captured());
    Mouse(WM_LBUTTONUP, 20, 20);
    EXPECT_EQ((std::vector<std::string>{"down:1"}), events);
}

TEST_F(ImagePaintWindowTest, ClickCallbacksMayRemoveTheButtonOrDestroyTheWindow) {
    Open([](PainterHost& h) {
        h.painter.AddButton(1, RECT{10, 10, 50, 50});
        h.painter.AddButton(2, RECT{60, 10, 100, 50});
    });
    painter.onClick = [this](CImageButton* button) {
        if (button->id == 1) painter.RemoveButton(1);
        if (button->id == 2) DestroyWindow(window);
        return true;
    };
    Mouse(WM_MOUSEMOVE, 20, 20);
    Mouse(WM_LBUTTONDOWN, 20, 20);
    Mouse(WM_LBUTTONUP, 20, 20);
    EXPECT_EQ(nullptr, painter.FindButton(1));
    EXPECT_EQ(0, Hot());
    Mouse(WM_MOUSEMOVE, 70, 20);
    Mouse(WM_LBUTTONDOWN, 70, 20);
    Mouse(WM_LBUTTONUP, 70, 20);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(ImagePaintWindowTest, BuiltInCloseMinimiseMaximiseAndRestore) {
    Open(
        [](PainterHost& h) {
            h.painter.AddButton(CImagePaint::kMaximizeId, RECT{240, 0, 265, 25});
            h.painter.AddButton(CImagePaint::kRestoreId, RECT{240, 0, 265, 25})->visible = false;
            h.painter.AddButton(CImagePaint::kMinimizeId, RECT{210, 0, 235, 25});
            h.painter.AddButton(CImagePaint::kCloseId, RECT{270, 0, 300, 25});
        },
        300, 200, true);
    auto click = [this](int x, int y) {
        Mouse(WM_MOUSEMOVE, x, y);
        Mouse(WM_LBUTTONDOWN, x, y);
        return Mouse(WM_LBUTTONUP, x, y);
    };
    CImageButton* maximize = painter.FindButton(CImagePaint::kMaximizeId);
    CImageButton* restore = painter.FindButton(CImagePaint::kRestoreId);
    click(250, 10);
    EXPECT_TRUE(IsZoomed(window));
    EXPECT_FALSE(maximize->visible);
    EXPECT_TRUE(restore->visible);
    painter.ToggleMaximize();
    EXPECT_FALSE(IsZoomed(window));
    EXPECT_TRUE(maximize->visible);
    EXPECT_FALSE(restore->visible);

    click(220, 10);
    EXPECT_TRUE(IsIconic(window));
    ShowWindow(window, SW_RESTORE);

    // Close: not when the click callback refuses or the button is
    // inactive; otherwise the window is destroyed and the painter reset.
    answer = false;
    EXPECT_EQ(1, click(280, 10));
    EXPECT_TRUE(IsWindow(window));
    answer = true;
    CImageButton* close = painter.FindButton(CImagePaint::kCloseId);
    close->inactive = true;
    EXPECT_EQ(0, click(280, 10));
    EXPECT_TRUE(IsWindow(window));
    close->inactive = false;
    EXPECT_EQ(1, click(280, 10));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(nullptr, painter.Window());
    EXPECT_TRUE(painter.Buttons().empty());
}

TEST_F(ImagePaintWindowTest, CaptionMovesTheWindowAndDoubleClickMaximises) {
    Open(
        [](PainterHost& h) {
            h.painter.AddButton(1, RECT{0, 0, 40, 25});
            h.painter.AddButton(CImagePaint::kMaximizeId, RECT{240, 0, 265, 25});
            h.painter.AddButton(CImagePaint::kRestoreId, RECT{240, 0, 265, 25})->visible = false;
        },
        300, 200, true);
    painter.captionDrag = true;
    Mouse(WM_LBUTTONDOWN, 150, 41);
    Mouse(WM_LBUTTONDOWN, 150, 40);
    // A press on a button in the caption is the button's, also when a
    // leave came after the cursor reached it.
    Mouse(WM_MOUSEMOVE, 10, 10);
    SendMessageW(window, WM_MOUSELEAVE, 0, 0);
    Mouse(WM_LBUTTONDOWN, 10, 10);
    Mouse(WM_LBUTTONUP, 10, 10);
    PumpMessages(10);
    ASSERT_EQ(1u, host.captionMoves.size());
    EXPECT_EQ(250, host.captionMoves[0].x);
    EXPECT_EQ(140, host.captionMoves[0].y);

    painter.captionRect = RECT{0, 100, 300, 200};
    Mouse(WM_LBUTTONDOWN, 150, 40);
    Mouse(WM_LBUTTONDOWN, 150, 199);
    painter.captionDrag = false;
    Mouse(WM_LBUTTONDOWN, 150, 150);
    PumpMessages(10);
    ASSERT_EQ(2u, host.captionMoves.size());
    EXPECT_EQ(299, host.captionMoves[1].y);

    // Double clicks toggle maximise in the top 40 pixels, whatever the
    // caption rectangle, while caption drag is on.
    Mouse(WM_LBUTTONDBLCLK, 100, 40);
    EXPECT_FALSE(IsZoomed(window)) << "caption drag is off";
    painter.captionDrag = true;
    painter.captionRect = RECT{0, 100, 300, 200};
    Mouse(WM_LBUTTONDBLCLK, 100, 41);
    EXPECT_FALSE(IsZoomed(window));
    Mouse(WM_LBUTTONDBLCLK, 100, 40);
    EXPECT_TRUE(IsZoomed(window));
    Mouse(WM_LBUTTONDBLCLK, 100, 0);
    EXPECT_FALSE(IsZoomed(window));
    // A double click on a caption button is two presses of the button.
    events.clear();
    for (UINT press : {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}) {
        Mouse(press, 10, 10);
        Mouse(WM_LBUTTONUP, 10, 10);
    }
    EXPECT_FALSE(IsZoomed(window));
    EXPECT_EQ((std::vector<std::string>{"down:1", "click:1", "down:1", "click:1"}), events);
}

TEST_F(ImagePaintWindowTest, RightButtonPairOnTheSameButton) {
    Open([](PainterHost& h) {
        h.painter.AddButton(1, RECT{10, 10, 50, 50});
        h.painter.AddButton(2, RECT{60, 10, 100, 50});
    });
    Mouse(WM_RBUTTONDOWN, 150, 150);
    Mouse(WM_RBUTTONUP, 150, 150);
    Mouse(WM_MOUSEMOVE, 20, 20);
    Mouse(WM_RBUTTONDOWN, 20, 20);
    EXPECT_TRUE(painter.RightPressed());
    EXPECT_EQ(window, GetCapture());
    Mouse(WM_RBUTTONUP, 30, 30);
    EXPECT_FALSE(painter.RightPressed());
    EXPECT_EQ(nullptr, GetCapture());
    Mouse(WM_RBUTTONDOWN, 20, 20);
    Mouse(WM_RBUTTONUP, 70, 20);
    EXPECT_EQ(0, Hot());
    EXPECT_EQ((std::vector<std::string>{"hover:1", "rdown:1", "rup:1", "rdown:1"}), events);
}

TEST_F(ImagePaintWindowTest, LinkButtonsShowTheHandCursor) {
    Open([](PainterHost& h) {
        h.painter.AddButton(1, RECT{10, 10, 50, 50})->kind = CImageButton::kLink;
        h.painter.AddButton(2, RECT{60, 10, 100, 50});
    });
    SetCursorPos(120, 120);
    EXPECT_EQ(1, SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), HTCLIENT));
    EXPECT_EQ(LoadCursorW(nullptr, IDC_HAND), GetCursor());
    SetCursorPos(170, 120);
    EXPECT_EQ(0, SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), HTCLIENT));
    painter.FindButton(1)->visible = false;
    SetCursorPos(120, 120);
    EXPECT_EQ(0, SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), HTCLIENT));
}

TEST_F(ImagePaintWindowTest, PaintsElementsInOrderWithTheCallbacks) {
    std::vector<std::string> order;
    Open([&order](PainterHost& h) {
        h.painter.SetBackgroundColor(0xFFFFFFFF);
        h.painter.AddStatic(RECT{0, 0, 100, 100}, IMG_YELLOW, 1, false);
        h.painter.AddButton(2, RECT{20, 20, 80, 80}, IMG_RED);
        h.painter.AddProgressBar(RECT{10, 50, 90, 54}, IMG_TRACK, IMG_FILL);
        h.painter.onPaintBackground = [&order](Gdiplus::Graphics&) { order.push_back("back"); };
        h.painter.onPaintForeground = [&order](Gdiplus::Graphics& g) {
            order.push_back("fore");
            Gdiplus::SolidBrush blue(Gdiplus::Color(0xFF0000FF));
            g.FillRectangle(&blue, 0, 90, 10, 10);
        };
    });
    order.clear();
    Canvas canvas(300, 200, 0xFF000000);
    painter.PaintElements(canvas.Graphics(), RECT{0, 0, 300, 200}, nullptr);
    EXPECT_EQ((std::vector<std::string>{"back", "fore"}), order);
    EXPECT_EQ(kWhite, Rgb(canvas.Pixel(200, 150)));
    EXPECT_EQ(kYellow, Rgb(canvas.Pixel(5, 5)));
    EXPECT_EQ(kRed, Rgb(canvas.Pixel(30, 30)));
    EXPECT_EQ(0xA0A0A0u, Rgb(canvas.Pixel(85, 53)));
    EXPECT_EQ(0xA0A0A0u, Rgb(canvas.Pixel(30, 52))) << "bars lie over buttons";
    EXPECT_EQ(kBlue, Rgb(canvas.Pixel(5, 95)));

    // With an update rectangle only the elements that meet it are drawn.
    canvas.Clear(0xFF000000);
    painter.fillBackground = false;
    const RECT update{150, 150, 160, 160};
    painter.PaintElements(canvas.Graphics(), RECT{0, 0, 300, 200}, &update);
    EXPECT_EQ(kBlack, Rgb(canvas.Pixel(5, 5)));
    EXPECT_EQ(kBlack, Rgb(canvas.Pixel(30, 30)));
}

TEST_F(ImagePaintWindowTest, WindowShowsTheHoverLookAfterTheRepaint) {
    Open([](PainterHost& h) {
        h.painter.SetBackgroundColor(0xFF00FFFF);
        h.painter.AddButton(1, RECT{10, 10, 50, 50}, IMG_RED, IMG_GREEN);
    });
    UpdateWindow(window);
    auto shown = CaptureClient(window);
    EXPECT_EQ(kCyan, Rgb(shown->Pixel(150, 150)));
    EXPECT_EQ(kRed, Rgb(shown->Pixel(30, 30)));

    Mouse(WM_MOUSEMOVE, 30, 30);
    RECT update{};
    ASSERT_TRUE(GetUpdateRect(window, &update, FALSE));
    EXPECT_EQ((RECT{10, 10, 50, 50}), update);
    UpdateWindow(window);
    shown = CaptureClient(window);
    EXPECT_EQ(kGreen, Rgb(shown->Pixel(30, 30)));
    EXPECT_EQ(1, SendMessageW(window, WM_ERASEBKGND, 0, 0));
}

// Layered surfaces are stored bottom-up.
DWORD SurfacePixel(const LayeredSurface& surface, int x, int y) {
    return surface.Pixels()[(surface.Height() - 1 - y) * surface.Width() + x];
}

TEST_F(ImagePaintWindowTest, LayeredRedrawKeepsPerPixelAlpha) {
    Open([](PainterHost& h) {
        h.painter.AddStatic(RECT{0, 0, 300, 200}, IMG_HALF_RED, 1, false);
        h.painter.AddButton(2, RECT{200, 10, 220, 30}, IMG_BLUE, IMG_GREEN);
    });
    EXPECT_FALSE(painter.IsLayered());
    painter.EnableLayered();
    EXPECT_TRUE(painter.IsLayered());
    EXPECT_FALSE(painter.fillBackground);
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED);
    const LayeredSurface& surface = painter.Surface();
    ASSERT_EQ(300, surface.Width());
    ASSERT_EQ(200, surface.Height());
    EXPECT_EQ(0xFFFF0000u, SurfacePixel(surface, 50, 100));
    EXPECT_EQ(0u, SurfacePixel(surface, 250, 100));
    EXPECT_EQ(0xFF0000FFu, SurfacePixel(surface, 210, 20));

    Mouse(WM_MOUSEMOVE, 210, 20);
    EXPECT_EQ(0xFF00FF00u, SurfacePixel(surface, 210, 20));
    EXPECT_EQ(0u, SurfacePixel(surface, 250, 100));
}

// Brought up to date button by button, the kept frame holds what a whole
// new composition gives, to the pixel: over translucent pixels, under a
// foreground, with stretched images and overlapping buttons.
TEST_F(ImagePaintWindowTest, LayeredFrameKeptUpToDateMatchesAWholeComposition) {
    CImageButton* stretched = nullptr;
    CImageButton* over = nullptr;
    Open([&](PainterHost& h) {
        h.painter.AddStatic(RECT{0, 0, 300, 200}, IMG_HALF_RED, 1, false);
        stretched = h.painter.AddButton(2, RECT{20, 20, 97, 61}, IMG_MAGENTA_6X4, IMG_HALF_RED, IMG_BLUE);
        over = h.painter.AddButton(3, RECT{80, 50, 140, 90}, IMG_BLUE, IMG_GREEN);
        h.painter.onPaintForeground = [](Gdiplus::Graphics& g) {
            Gdiplus::SolidBrush veil(Gdiplus::Color(0x80FFFF00));
            g.FillRectangle(&veil, 0, 40, 300, 30);
        };
        h.painter.EnableLayered();
    });
    const LayeredSurface& surface = painter.Surface();
    auto frame = [&] {
        GdiFlush();
        return std::vector<DWORD>(surface.Pixels(), surface.Pixels() + surface.Width() * surface.Height());
    };
    auto expectWhole = [&](const char* step) {
        const std::vector<DWORD> kept = frame();
        painter.Invalidate();
        painter.Redraw();
        EXPECT_TRUE(kept == frame()) << step;
    };
    const std::vector<DWORD> first = frame();
    Mouse(WM_MOUSEMOVE, 90, 55);
    ASSERT_EQ(2, Hot());
    EXPECT_NE(first, frame());
    expectWhole("hover");
    Mouse(WM_LBUTTONDOWN, 90, 55);
    expectWhole("press");
    Mouse(WM_LBUTTONUP, 90, 55);
    Mouse(WM_MOUSEMOVE, 120, 80);
    ASSERT_EQ(3, Hot());
    expectWhole("hover moved on");
    over->visible = false;
    stretched->SetText(L"text");
    painter.Redraw();
    expectWhole("hidden and relabelled");
}

}  // namespace
