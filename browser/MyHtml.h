// The HTML view: the window control that shows the game page.
//
// A CMyHtml is a child window of the game frame that lives on the HTML
// thread and owns one browser host site. It keeps the browser (and a Flash
// player inside the page) sized to its client area, turns Tab, Esc and F10
// into game keys while the game runs, and offers Create, Navigate, Refresh
// and SetSilent to every thread: called off the HTML thread they go through
// the HTML manager's request queue. Without an HTML manager the calling
// thread is taken for the HTML thread.
#pragma once

#include "browser/FrameCommands.h"
#include "browser/WebBrowser.h"
#include "ui/WindowCtrl.h"

#include <windows.h>

#include <atomic>
#include <mutex>


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
    void SetZoom(int percent);

    // Carries out a queued navigation (HTML thread).
    void NavigateToQueuedUrl(int flags);

    // 1 while the game runs: game keys on, the browser sized exactly to the
    // view. Set by the game frame's thread, read on the HTML thread.
    std::atomic<BYTE> gameMode{0};
    CWebBrowser browser;

    static constexpr size_t kUrlUnits = 2048;

private:
    // Off the HTML thread, posts the request of this view there; false on
    // it (or without a manager), where the caller acts itself.
    bool PostedToHtmlThread(int kind, INT_PTR arg);

    std::mutex urlLock_;
    wchar_t urlBuffer_[kUrlUnits];
};

// The first descendant of parent whose title (if title is not empty), class
// name (if className is not empty) and process (if processId is not 0)
// match exactly; null when none does.
HWND FindChildWindow(HWND parent, const wchar_t* title, const wchar_t* className, DWORD processId);

// The page's Flash player window under parent, or null.
HWND FindFlashWindow(HWND parent);
