// The client's main window: a borderless skinned window whose client area
// is the HTML view with the game's pages.
//
// It lives in two modes. In login mode it is a 788 x 445 window over the
// back frame's panel, showing the login and server pages. When the player
// enters a server (2277 / 1001) it switches once to game mode: a 25-pixel
// caption bar with the page title and a row of buttons, resizable, maximised,
// with the back frame as a soft border around it; F10 and the full-screen
// button toggle full screen.
//
// The view lives on the HTML thread: the frame creates and commands it only
// through the view's marshalled calls, and the browser's handlers reach the
// frame only by posting it 2277, to a window handle they read atomically
// and find empty once the window is gone. The page's facts (user name,
// server id, title) are written there and read here, so they sit behind a
// lock and are handed out as copies.
//
// The handlers also keep the view on the web (LinkOpener::IsPageUrl) and
// send only the pop-ups the player asked for to the default browser.
//
// The player's choices (PlayerSettings) are read when the window is made
// and kept when the client closes: the sound (the speaker button and F8),
// the page's zoom (the view's), and in game mode where the window was.
// Screenshots (F9, the tool menu) are told of in a balloon on the tray icon.
#pragma once

#include "browser/MyHtml.h"
#include "frames/AudioSession.h"
#include "frames/BossKey.h"
#include "frames/FrameBack.h"
#include "frames/LoginTracking.h"
#include "frames/PlayerSettings.h"
#include "frames/TrayIcon.h"
#include "ui/ImageCtrl.h"
#include "ui/ImageMenu.h"
#include "ui/ImageTipCtrl.h"

#include <windows.h>
#include <objidl.h>  // gdiplus.h needs it under WIN32_LEAN_AND_MEAN
#include <gdiplus.h>

#include <atomic>
#include <memory>
#include <mutex>

class CClientApp;

class CFrameGame : public CImageCtrl {
public:
    static constexpr wchar_t kMenuClassName[] = L"orvane_menu";
    static constexpr SIZE kLoginSize{788, 445};
    static constexpr SIZE kGameMinSize{1020, 704};
    static constexpr int kCaptionHeight = 25;
    // The title never runs under the caption's buttons.
    static constexpr int kTitleRightReserve = 335;
    static constexpr size_t kTipUnits = 64;
    static constexpr size_t kServerIdUnits = LoginTracking::kServerIdUnits;
    static constexpr size_t kPageTitleUnits = 260;

    explicit CFrameGame(CClientApp& app);
    ~CFrameGame() override;

    // Creates the back frame and this window over it, and runs the modal
    // loop until this window is gone; then the back frame goes too. False
    // when the window cannot be made. The launcher comes first: both
    // windows are on screen before the application goes on and the view
    // is asked for.
    bool CreateAndRun();
    // The switch to game mode; does nothing the second time.
    void EnterGameMode();
    // Only while the window is visible.
    void ToggleFullScreen();
    // The tooltip of the element under the cursor; empty text hides it.
    void ShowTip(const wchar_t* text);
    // Ends the frame's life, for every way of closing the client: the HTML
    // thread first, then the window. A thread that does not end in time is
    // left with the windows as they are (destroying or even hiding them
    // could wait on it); only the modal loop ends.
    void Close();

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnCreate(CREATESTRUCTW* cs) override;
    void OnDestroy() override;
    void OnMove(int x, int y) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnShowWindow(BOOL show, int status) override;
    void OnDpiChanged(UINT dpi, const RECT& suggested) override;
    void OnTimer(UINT_PTR id) override;
    bool OnItemClick(CImageButton* button) override;
    bool OnItemHover(CImageButton* button) override;
    void OnPaintForeground(Gdiplus::Graphics& graphics) override;

    // Browser handlers (HTML thread).
    void OnNavigateComplete(const wchar_t* url);
    void OnDocumentComplete(IDispatch* frame, const wchar_t* url);
    void OnBeforeNavigate(IDispatch* frame, const wchar_t* url, VARIANT_BOOL* cancel);
    void OnNewWindow(IDispatch** ppDisp, VARIANT_BOOL* cancel, DWORD flags, const wchar_t* context,
                     const wchar_t* url);

    bool GameMode() const { return gameMode_.load(); }
    // Copies of the page's facts, taken under the lock.
    void CopyServerId(wchar_t (&id)[kServerIdUnits]) const;
    void CopyPageTitle(wchar_t (&title)[kPageTitleUnits]) const;

    std::unique_ptr<Gdiplus::Font> titleFont;
    std::unique_ptr<Gdiplus::SolidBrush> titleBrush;
    CImageMenu toolMenu;
    CImageMenu trayMenu;
    CImageTipCtrl tooltip;
    CMyHtml view;
    CFrameBack back;
    // Read from Config.ini when the game starts; the hot key stays Alt+D.
    UINT bossModifiers = 0;
    UINT bossVirtualKey = 0;
    CTrayIcon tray;
    CBossKey bossKey;
    bool hiddenByBossKey = false;
    // The client's audio session, muted by the speaker, F8 and the boss key.
    CAudioSession sound;

private:
    void PrepareMenu(CImageMenu& menu, void (CFrameGame::*onItem)(CImageItem*));
    void OnToolMenuItem(CImageItem* item);
    void OnTrayMenuItem(CImageItem* item);
    // True when the message was not for the frame's icon.
    bool OnTrayNotify(WPARAM iconId, LPARAM mouseMessage);
    void OnBossKey(WPARAM id);
    // Hides the frame into the tray, or brings it back from there.
    void HideToTray();
    void ShowFromTray();
    void CloseMenu(CImageMenu& menu);
    void ToggleSound();
    // The client's audio session muted while the player wants it or the
    // game is hidden; unmuted otherwise.
    void ApplySound();
    // The speaker's looks and tip for the player's choice.
    void ShowSoundLook();
    void TakeScreenshot();
    // The kept placement, when it lies on a present monitor; false (and
    // nothing changed) otherwise.
    bool RestorePlacement();
    void KeepPlacement();
    // Makes the view on the HTML thread and has it open the landing page.
    void OpenView();
    void AddCaption();
    // The view (and in game mode the back frame) fitted to the window.
    void LayOut();
    // The back frame placed around the window, shadowMargin larger.
    void PlaceBackFrame();
    void MoveView(const RECT& rect);
    void SetPageTitle(const wchar_t* title);
    // On the HTML thread: the server id of a game-login address, and the
    // user name from the page's "login_user" element.
    void TakeServerId(const wchar_t* url);
    void ReadLoginUser();

    CClientApp& app_;
    wchar_t lastTip_[kTipUnits];
    bool fullScreen_ = false;
    RECT savedRect_{0, 0, 0, 0};
    WINDOWPLACEMENT placementBeforeFullScreen_{};
    // How the maximise timer shows the game: as kept, or maximised.
    bool showMaximized_ = true;
    PlayerSettings settings_;
    bool settingsSaved_ = false;
    // The last screenshot's file, for its balloon's click.
    wchar_t lastShot_[MAX_PATH];
    std::atomic<bool> gameMode_{false};
    // This window for the HTML thread's handlers; null once it is gone.
    std::atomic<HWND> windowForPage_{nullptr};

    // The page's facts: written on the HTML thread, read on this one.
    mutable std::mutex pageLock_;
    wchar_t serverId_[kServerIdUnits];
    wchar_t pageTitle_[kPageTitleUnits];
};
