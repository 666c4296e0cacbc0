// The borderless, image-skinned top-level window of the toolkit.
//
// A CImageCtrl is a CWindowCtrl with one CImagePaint that holds its elements
// and does all drawing and mouse handling. The window itself adds what a
// caption-less window needs from the platform: resizing by invisible
// borders, a minimum size, maximising to the work area of the primary
// monitor, an optional cut-corner region, an optional drop shadow that
// follows it, a nested modal loop and the window icons.
//
// The painter's element events arrive at the handlers from
// OnItemLButtonDown to OnPaintForeground, bound when the window is created
// (WM_NCCREATE), so a derived window reacts to a click by overriding
// OnItemClick; returning false there stops the painter's own handling of
// the event (including the built-in close, minimise and maximise actions). Messages OnMessage does not finish go to the painter,
// whose handled flag becomes the result.
//
// Derived windows set the sizes, the flags and the modal result directly.
// Sizes are 96-DPI values, scaled with the window (ui/Dpi.h). A change of
// the monitor's DPI gives the window and its painter the new scale, decodes
// the art and icons for it and lays the window out again; a maximised
// window stays maximised on its monitor.
#pragma once

#include "ui/ImagePaint.h"
#include "ui/ScopedGdi.h"
#include "ui/ShadowCtrl.h"
#include "ui/WindowCtrl.h"

#include <windows.h>
#include <objidl.h>  // gdiplus.h needs it under WIN32_LEAN_AND_MEAN
#include <gdiplus.h>

#include <memory>

// The image of icon group 128 of the executable that best fits a square of
// pixels device pixels, made at that size; empty without one.
ScopedIcon LoadGroupIcon(int pixels);

class CImageCtrl : public CWindowCtrl {
public:
    static constexpr wchar_t kClassName[] = L"ImageCtrl";
    // Icon group resource of both programs.
    static constexpr int kIconGroupId = 128;

    CImageCtrl();
    // Destroys the shadow window and object, then the painter.
    ~CImageCtrl() override;

    using CWindowCtrl::Create;

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Shows and hides the shadow with the window.
    void OnShowWindow(BOOL show, int status) override;
    // A maximised window takes its monitor's work area instead of the
    // suggestion.
    void OnDpiChanged(UINT dpi, const RECT& suggested) override;

    // Element events of the painter; false consumes the event.
    virtual bool OnItemLButtonDown(CImageButton* button);
    virtual bool OnItemClick(CImageButton* button);
    virtual bool OnItemHover(CImageButton* button);
    virtual bool OnItemRButtonDown(CImageButton* button);
    virtual bool OnItemRButtonUp(CImageButton* button);
    virtual void OnPaintBackground(Gdiplus::Graphics& graphics);
    virtual void OnPaintForeground(Gdiplus::Graphics& graphics);

    // Runs a nested message loop on the window's thread until the window is
    // destroyed (by any means), modalRunning is cleared or WM_QUIT arrives;
    // WM_QUIT is posted again so that the enclosing loop ends too. False at
    // once off the manager's thread, while a loop of this window runs, or
    // without a window.
    bool RunModalLoop();

    // Creates the shadow window and then this window (caption drag and the
    // cut-corner region on), centred on the work area at the minimum size,
    // and runs the modal loop. Returns the modal result, or -1 when the
    // window already exists or cannot be made. Without a minimum size the
    // window takes the whole work area; a minimum size that does not fit the
    // work area at the monitor's scale makes the window at the largest
    // scale that fits.
    int ShowModal();

    // The caption-less style every skinned top-level window takes at
    // WM_NCCREATE.
    static void MakeCaptionless(HWND window);

    // Hands the window a copy of icon (the caller keeps its own).
    void SetIcon(HICON icon, bool big);
    // The image of icon group 128 of the executable that best fits size by
    // size 96-DPI pixels at the window's scale, as the big or small icon.
    // False, changing nothing, when there is no window, resource or icon.
    bool LoadIconFromResource(bool big, int size);

    CImagePaint painter;
    SIZE minSize{0, 0};          // enforced only when both are nonzero
    bool resizable = false;      // border hit testing
    int borderHeight = 3;        // top and bottom resize bands
    int borderWidth = 3;         // left and right resize bands
    bool shaped = false;         // cut-corner window region
    bool modalRunning = false;
    int modalResult = IDCANCEL;
    std::unique_ptr<CShadowCtrl> shadow;

protected:
    // The window, its painter, icons, region and shadow at dpi, placed at place.
    void ApplyDpi(UINT dpi, const RECT& place);

private:
    void BindPainter();
    // Hit test of a point in client coordinates against the resize borders.
    LRESULT HitTestClient(POINT client) const;
    void ApplyMinMaxInfo(MINMAXINFO* info) const;
    void ApplyRegion() const;
    // Moves the shadow around the window; with render, draws it again.
    void PlaceShadow(bool render);
    void CloseShadow();
    // A fresh shadow window for a new window: one left over from an earlier
    // window still has that window's WM_CLOSE on its way.
    bool MakeShadowWindow(int x, int y);

    int bigIconSize_ = 0;        // as last asked for, to load again at a new scale
    int smallIconSize_ = 0;
    ScopedIcon smallIcon_;       // the window's copy of its small icon
    ScopedIcon bigIcon_;         // and of its big icon
};
