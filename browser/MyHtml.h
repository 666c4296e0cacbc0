// The HTML view: the window control that shows the game page.
//
// A CMyHtml is a child window of the game frame that lives on the HTML
// thread and owns one browser host site. It keeps the browser (and a Flash
// player inside the page) sized to its client area, turns Tab, Esc, F8, F9
// and F10 into game keys while the game runs, and offers Create, Navigate,
// Refresh, SetSilent, SetDpiZoom and SetZoom to every thread: called off the
// HTML thread they go through the HTML manager's request queue. The page's
// optical zoom is the monitor's scale times the player's step: Ctrl+wheel
// and Ctrl + '+', '-', '0' over the page move the step through fixed values,
// and every completed document is given the zoom again. Without an HTML
// manager the calling thread is taken for the HTML thread.
#pragma once

#include "browser/FrameCommands.h"
#include "browser/WebBrowser.h"
#include "ui/WindowCtrl.h"

#include <windows.h>

#include <atomic>
#include <mutex>


// The frame command of a game key (Esc, F8, F9, F10), 0 for any other key.
// Both threads' loops turn these keys into commands, whichever has them.
WPARAM GameKeyCommand(WPARAM virtualKey);

// The optical zoom steps of the page, in percent.
inline constexpr int kZoomSteps[] = {50, 67, 75, 80, 90, 100, 110, 125, 150, 175, 200};
inline constexpr int kDefaultZoom = 100;
bool IsZoomStep(int percent);
// The step beside percent in direction (> 0 larger, < 0 smaller); at the
// ends, and for a percent that is no step, the nearest step.
int NextZoomStep(int percent, int direction);

class CMyHtml : public CWindowCtrl {
public:
    CMyHtml();
    // Drops the requests still queued for this view. The HTML thread must
    // have ended (or never run) by now: the browser is destroyed with it.
    ~CMyHtml() override;

    using CWindowCtrl::Create;
    // On the HTML thread, the base's Create; elsewhere a create request
    // (parent, position and size carried; always a visible child) and null.
    HWND Create(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style, int x, int y,
                int cx, int cy, HWND parent) override;
    bool PreTranslateMessage(MSG* msg) override;
    void OnCreate(CREATESTRUCTW* cs) override;
    void OnDestroy() override;
    void OnSize(UINT type, int cx, int cy) override;

    // Off the HTML thread the URL is kept in the view's one URL buffer (cut
    // to 2047 units) until the request runs: of two quick calls, both
    // requests load the later URL.
    void Navigate(const wchar_t* url, int flags);
    void Refresh();
    void SetSilent(int value);
    // The page's zoom in percent of the system's scale, at which the
    // browser lays it out: a view on a monitor of another DPI follows it.
    // The player's zoom step applies on top of it.
    void SetDpiZoom(int percent);

    // Carries out a queued navigation (HTML thread).
    void NavigateToQueuedUrl(int flags);

    // A zoom step for the page from now on; anything else is ignored.
    void SetZoom(int percent);
    // Steps up (> 0) or down (< 0), no further than the ends.
    void ZoomBy(int steps);
    int Zoom() const { return zoom_.load(); }
    // The DPI zoom times the player's step, in percent.
    int EffectiveZoom() const;
    // Gives the current document the view's zoom, or the zoom of a request
    // (HTML thread).
    void ApplyZoom();
    void ExecZoom(int percent);
    // Ctrl+wheel over the view and Ctrl + '+', '-', '0': zooms and is true,
    // so that the page does not zoom or scroll itself as well. From the
    // loop of either thread.
    bool TakeZoomInput(const MSG& msg);

    // 1 while the game runs: game keys on, the browser sized exactly to the
    // view. Set by the game frame's thread, read on the HTML thread.
    std::atomic<BYTE> gameMode{0};
    CWebBrowser browser;

    static constexpr size_t kUrlUnits = 2048;

private:
    // Off the HTML thread, posts the request of this view there; false on
    // it (or without a manager), where the caller acts itself.
    bool PostedToHtmlThread(int kind, INT_PTR arg);
    // Gives the page the DPI zoom and the player's step together.
    void SendZoom();

    std::atomic<int> zoom_{kDefaultZoom};
    std::atomic<int> dpiZoom_{kDefaultZoom};
    // What a fine-grained wheel turned short of a whole notch.
    std::atomic<int> wheelRest_{0};
    std::mutex urlLock_;
    wchar_t urlBuffer_[kUrlUnits];
};

// The first descendant of parent whose title (if title is not empty), class
// name (if className is not empty) and process (if processId is not 0)
// match exactly; null when none does.
HWND FindChildWindow(HWND parent, const wchar_t* title, const wchar_t* className, DWORD processId);

// The page's Flash player window under parent, or null.
HWND FindFlashWindow(HWND parent);
