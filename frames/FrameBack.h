// The client's back frame: a large layered window that plays two roles.
//
// In login mode it is the launcher's backdrop, a 1450 x 641 picture with six
// buttons (minimise, close and four links); the game frame sits over its
// panel as a smaller window and follows it when it is dragged. Once the
// player has entered a server it drops the picture and buttons and becomes
// a soft border: the game frame keeps it shadowMargin pixels larger than
// itself on every side, and it draws three translucent grey outlines.
//
// It never has a taskbar button; the game frame's button stands for both.
#pragma once

#include "ui/ImagePaint.h"
#include "ui/WindowCtrl.h"

#include <windows.h>
#include <objidl.h>  // gdiplus.h needs it under WIN32_LEAN_AND_MEAN
#include <gdiplus.h>

#include <memory>
#include <vector>

class CClientApp;
class CFrameGame;

class CFrameBack : public CWindowCtrl {
public:
    static constexpr wchar_t kClassName[] = L"orvane_back";
    static constexpr int kWidth = 1450;
    static constexpr int kHeight = 641;
    // Where the login window sits on the picture, from its top-left corner.
    static constexpr POINT kGameFrameOffset{377, 138};

    static constexpr int kMinimizeId = 20;
    static constexpr int kCloseId = 1002;
    static constexpr int kOfficialSiteId = 1003;
    static constexpr int kForumId = 1004;
    static constexpr int kServiceId = 1005;
    static constexpr int kTopUpId = 1006;
    static constexpr int kPictureId = 1007;

    // The images of the launcher's first frame, the largest first: what a
    // start may decode ahead (ui/PngPrefetch.h).
    static std::vector<int> FirstFrameImages();
    // The scale the launcher is made at: the screen's DPI, or the largest
    // below it at which the launcher fits the primary work area.
    static UINT LauncherDpi();

    explicit CFrameBack(CClientApp& app);
    ~CFrameBack() override;

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnCreate(CREATESTRUCTW* cs) override;
    void OnDestroy() override;
    void OnMove(int x, int y) override;
    void OnShowWindow(BOOL show, int status) override;
    void OnDpiChanged(UINT dpi, const RECT& suggested) override;

    // Drops the picture and the buttons: from now on the window is the game
    // frame's border. Called once, when the game starts.
    void EnterBackGameMode();

    bool OnButtonClick(CImageButton* button);
    void OnPaintBorder(Gdiplus::Graphics& graphics);

    int shadowMargin = 6;
    int cornerRadius = 3;
    std::unique_ptr<Gdiplus::Pen> outerPen;
    std::unique_ptr<Gdiplus::Pen> middlePen;
    std::unique_ptr<Gdiplus::Pen> innerPen;
    Gdiplus::ARGB outerColor = 0x0F8A8A8A;
    Gdiplus::ARGB middleColor = 0x328A8A8A;
    Gdiplus::ARGB innerColor = 0x648A8A8A;
    CImagePaint painter;
    CFrameGame* gameFrame = nullptr;
    bool gameMode = false;

private:
    void MakePens();
    void ReleasePens();

    CClientApp& app_;
};
