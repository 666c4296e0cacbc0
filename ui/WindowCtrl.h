// The window base of the toolkit.
//
// Every window of both programs is a CWindowCtrl-derived object. All toolkit
// window classes share one window procedure, WindowProc, which connects the
// object to its window at WM_NCCREATE (the object is the creation parameter)
// and disconnects it at WM_NCDESTROY. In between, every message takes one
// route:
//
//   1. OnMessage sees it first. A nonzero answer means "handled" and is the
//      message's result; nothing else runs.
//   2. Otherwise the fixed handler of the message runs (OnCreate, OnDestroy,
//      OnMove, OnSize, OnShowWindow, OnSetCursor, OnGetMinMaxInfo,
//      OnWindowPosChanging, then default processing; OnNcHitTest answers
//      WM_NCHITTEST itself; WM_TIMER calls OnTimer and answers 1).
//
// The virtual handlers below are the one extension convention of the
// toolkit: derived classes override handlers, they never subclass windows.
// They form a fixed handler table, declared in its order; a derived class
// adds its own after its base's (CImageCtrl's element events follow
// OnSetCursor), and the toolkit's other classes with virtual functions
// (elements, painters, the manager) keep theirs in order the same way.
// A handler may destroy windows, even its own: after such a call, look
// objects up again instead of trusting pointers held across it.
#pragma once

#include "ui/Dpi.h"

#include <windows.h>

class CAppManager;

class CWindowCtrl {
public:
    CWindowCtrl();
    // Disconnects the object from its window and posts WM_CLOSE to a window
    // that still exists; the window then dies by default processing.
    virtual ~CWindowCtrl();

    CWindowCtrl(const CWindowCtrl&) = delete;
    CWindowCtrl& operator=(const CWindowCtrl&) = delete;

    // Creates the window on the calling thread, which must have a registered
    // manager. An object whose window exists gets that window back.
    virtual HWND Create(DWORD exStyle, const wchar_t* className, const wchar_t* windowName,
                        DWORD style, const RECT& rect, HWND parent);
    virtual HWND Create(DWORD exStyle, const wchar_t* className, const wchar_t* windowName,
                        DWORD style, int x, int y, int cx, int cy, HWND parent);
    // Runs a modal dialog from a dialog template of the executable. The
    // dialog is connected to this object at WM_INITDIALOG (OnCreate is then
    // called with a null CREATESTRUCTW); OnMessage and the handlers see its
    // messages as for any window, and IDOK/IDCANCEL commands that OnMessage
    // leaves alone end the dialog with their id. Returns the EndDialog value,
    // -1 when the dialog cannot be made, 0 without a manager.
    virtual int DoModal(const wchar_t* templateName, HWND parent);
    virtual void SetClassName(const wchar_t* name);
    // The scale the next Create makes the window at; without it, a window
    // takes its parent's scale (a toolkit parent's own, which may be lower
    // than its monitor's), else the system DPI.
    void SetDpi(UINT dpi) { chosenDpi_ = dpi; }
    // The window's scale, and a 96-DPI length at it.
    UINT Dpi() const { return dpi_; }
    int Scale(int value) const;
    RECT Scale(const RECT& rect) const;
    SIZE Scale(SIZE size) const;
    // The client rectangle in 96-DPI units.
    RECT LayoutClient() const;
    virtual bool PreTranslateMessage(MSG* msg);
    virtual LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual void OnCreate(CREATESTRUCTW* cs);
    virtual void OnDestroy();
    virtual void OnMove(int x, int y);
    virtual void OnSize(UINT type, int cx, int cy);
    virtual void OnWindowPosChanging(WINDOWPOS* pos);
    virtual LRESULT OnNcHitTest(POINT screenPoint);
    virtual void OnGetMinMaxInfo(MINMAXINFO* info);
    virtual void OnShowWindow(BOOL show, int status);
    virtual void OnTimer(UINT_PTR id);
    virtual void OnSetCursor(WPARAM wParam);
    // WM_DPICHANGED: the window's scale is dpi from now on; suggested is the
    // rectangle the system proposes for it.
    virtual void OnDpiChanged(UINT dpi, const RECT& suggested);

    HWND Hwnd() const { return hwnd_; }
    CAppManager* Manager() const { return manager_; }
    int DialogResult() const { return dialogResult_; }
    const wchar_t* ClassName() const { return className_; }

    static constexpr size_t kClassNameUnits = 64;

private:
    friend LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    friend INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
    friend class CAppManager;

    void Disconnect();
    void TakeDpi(HWND parent);
    bool CallHandler(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Route(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR RouteDialog(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    CAppManager* manager_ = nullptr;
    int dialogResult_ = 0;
    UINT dpi_ = kBaseDpi;
    UINT chosenDpi_ = 0;
    wchar_t className_[kClassNameUnits];
};

// The scale of a window: a toolkit window's of this thread, else the DPI of
// its monitor, else the system DPI.
UINT ScaleOf(HWND window);

// The window procedure of every toolkit window class.
LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The dialog procedure that DoModal hands to the dialog manager.
INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
