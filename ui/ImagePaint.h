// The drawing and mouse engine of a skinned window.
//
// A window that owns a CImagePaint sets its handle at WM_NCCREATE, binds the
// callbacks it wants, and hands the painter every message it does not finish
// itself (HandleMessage; the handled flag becomes the message result). The
// painter owns the window's elements in three ordered lists (static images,
// buttons, progress bars), paints them off-screen (CSanDC) or, once
// EnableLayered has run, into a 32-bit DIB given to UpdateLayeredWindow.
//
// Mouse model: the first visible button under the cursor is hot (ids 100 to
// 250 never are); hover state is for painting and tips. A left press on a
// button (found at the press's own point) captures the mouse, and releasing
// inside the pressed rectangle is a click. Elsewhere, a press in the caption area
// moves the window when caption drag is on, and a double click in the top 40
// pixels toggles maximise. Ids 10, 20, 30 and 40 are the built-in close,
// minimise, maximise and restore actions. WM_SIZE re-anchors elements to the
// right and bottom edges.
//
// Owners speak 96-DPI values: element rectangles, anchors, fixed edges, the
// caption rectangle and band. The painter draws at its window's scale
// (SetDpi): each element keeps the rectangle it was given and holds its
// device rectangle and images at the scale.
//
// Callbacks may destroy the window or remove elements: after each call the
// painter looks its state up again instead of trusting pointers it held.
//
// A layered painter keeps its last frame. The background and the statics
// are composed once; a later Redraw recomposes only the buttons whose look
// changed (hover, press, visibility, part, images, text), over the pixels
// that lay under them, and hands the frame over only when it changed. The
// painter's own operations (adding, removing, re-anchoring elements, a new
// background, a new size) compose everything again; an owner that changes
// an element's other fields, or what its paint callbacks draw, calls
// Invalidate first. Progress bars change without telling the painter, so a
// layered painter with bars composes everything on every Redraw.
#pragma once

#include "ui/Dpi.h"
#include "ui/ImageButton.h"
#include "ui/ImageProgressbar.h"
#include "ui/ImageStatic.h"
#include "ui/LayeredSurface.h"

#include <windows.h>
#include <objidl.h>  // gdiplus.h needs it under WIN32_LEAN_AND_MEAN
#include <gdiplus.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CImagePaint {
public:
    // Built-in actions of buttons with these ids.
    static constexpr int kCloseId = 10;
    static constexpr int kMinimizeId = 20;
    static constexpr int kMaximizeId = 30;
    static constexpr int kRestoreId = 40;
    // Buttons with ids in this range are drawn but never hot.
    static constexpr int kFirstInertId = 100;
    static constexpr int kLastInertId = 250;
    // Without a caption rectangle, y <= this is the caption; double clicks
    // always use this band.
    static constexpr int kCaptionBand = 40;

    using ElementCallback = std::function<bool(CImageButton*)>;
    using PaintCallback = std::function<void(Gdiplus::Graphics&)>;

    CImagePaint();
    virtual ~CImagePaint();
    // The click of a button: the click callback first (false consumes it),
    // then the built-in action of the id. False means "touch nothing more":
    // the window may be gone.
    virtual bool OnClick(CImageButton* button);

    CImagePaint(const CImagePaint&) = delete;
    CImagePaint& operator=(const CImagePaint&) = delete;

    // True when the message was handled; the owner then answers 1.
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    // An existing button with the id gets the new images (when normalId is
    // not 0), an empty text and the rectangle; otherwise a new one is added.
    CImageButton* AddButton(int id, const RECT& rect, int normalId = 0, int hoverId = 0,
                            int pressedId = 0, int checkedNormalId = 0);
    CImageButton* FindButton(int id) const;
    bool RemoveButton(int id);
    // An existing static with the id gets the rectangle, wrap flag and a new
    // image; otherwise a new one is added.
    CImageStatic* AddStatic(const RECT& rect, int imageId, int id, bool wrapEdges);
    CImageStatic* FindStatic(int id) const;
    bool RemoveStatic(int id);
    // The bar with id 2285 gets the given images again and the rectangle;
    // otherwise a new bar with them is added.
    CImageProgressbar* AddProgressBar(const RECT& rect, int trackImageId, int fillImageId);

    // A new background brush of the colour; fill background becomes true.
    void SetBackgroundColor(Gdiplus::ARGB argb);
    // Switches the window to per-pixel-alpha drawing and draws it.
    void EnableLayered();
    // Draws a layered window now; nothing for other windows.
    void Redraw();
    // The next Redraw composes the whole window again.
    void Invalidate() { composed_ = false; }
    // The WM_PAINT routine of a window that is not layered.
    void Paint();
    // Re-anchors the elements to the client rectangle and repaints.
    void Relayout(const RECT& client);
    void ToggleMaximize();
    // Deletes every element and forgets the window.
    void Reset();
    // Scales every element anew from its 96-DPI rectangle, decodes the
    // images at the scale and lays out again.
    void SetDpi(UINT dpi);
    UINT Dpi() const { return dpi_; }

    // Draws everything into graphics as the window would show it; with an
    // update rectangle, only the elements that meet it.
    void PaintElements(Gdiplus::Graphics& graphics, const RECT& client, const RECT* update);

    void SetWindow(HWND hwnd) { window_ = hwnd; }
    HWND Window() const { return window_; }

    bool IsLayered() const { return layered_; }
    bool Captured() const { return captured_; }
    bool LeftPressed() const { return leftPressed_; }
    bool RightPressed() const { return rightPressed_; }
    bool Tracking() const { return tracking_; }
    const RECT& PressedRect() const { return pressedRect_; }
    POINT CursorPoint() const { return cursor_; }
    CImageButton* HotButton() const { return hot_; }
    const std::vector<std::unique_ptr<CImageButton>>& Buttons() const { return buttons_; }
    const std::vector<std::unique_ptr<CImageProgressbar>>& ProgressBars() const { return bars_; }
    // The last frame given to UpdateLayeredWindow (kept for the next one).
    const LayeredSurface& Surface() const { return surface_; }

    bool captionDrag = false;        // caption drag and double-click maximise allowed
    bool fillBackground = true;      // fill the client area before drawing
    Gdiplus::ARGB backgroundColor = 0xFFFAFAFA;  // brush made at WM_CREATE
    RECT captionRect{0, 0, 0, 0};    // 96-DPI; empty: the band y <= 40
    BYTE alpha = 255;                // constant alpha of layered drawing

    ElementCallback onLButtonDown;
    ElementCallback onClick;
    ElementCallback onHover;
    ElementCallback onRButtonDown;
    ElementCallback onRButtonUp;
    PaintCallback onPaintBackground;
    PaintCallback onPaintForeground;

private:
    bool OnMouseMove(POINT point);
    bool OnLButtonDown(POINT point);
    bool OnLButtonUp(POINT point);
    bool OnRButtonDown(POINT point);
    bool OnRButtonUp(POINT point);
    void OnMouseLeave();
    bool OnSetCursor();
    void OnCaptureChanged(HWND newCapture);

    // The first visible button at the point that may become hot, or null.
    CImageButton* ButtonAt(POINT point) const;
    // Makes button (or nothing) the hot button and repaints what changed.
    void SetHot(CImageButton* button);
    // Repaints one element's rectangle: Redraw when layered, else invalidate.
    void Repaint(const RECT& rect);
    // Whether button is still one of this painter's (callbacks may have
    // removed it).
    bool Owns(const CImageButton* button) const;
    void ReleaseMouse();
    static bool IsInert(int id) { return id >= kFirstInertId && id <= kLastInertId; }

    // What a button looked like in the layered frame, as far as the painter
    // can tell.
    struct ButtonLook {
        RECT rect;
        bool visible;
        int state;
        BYTE part;
        bool checked;
        bool showText;
        std::array<const Gdiplus::Image*, 4> images;
        std::wstring text;
        bool operator==(const ButtonLook& other) const;
    };
    // A button of the layered frame, its look and the pixels under it.
    struct KeptButton {
        const CImageButton* button;
        ButtonLook look;
        std::vector<DWORD> under;
    };

    ButtonLook LookOf(const CImageButton& button) const;
    // The background fill, the background callback and the statics.
    void PaintBase(Gdiplus::Graphics& graphics, const RECT& client, const RECT* update);
    // The buttons, the progress bars and the foreground callback.
    void PaintTop(Gdiplus::Graphics& graphics, const RECT* update);
    // Whether the kept frame can be brought up to date button by button;
    // if so, the indices of the buttons whose look changed.
    bool FindChangedButtons(const RECT& client, std::vector<size_t>& changed);
    bool ComposeLayered(const RECT& client);
    void RecomposeButtons(const std::vector<size_t>& changed);

    // Whether the client point lies in the band or rectangle that drags.
    bool InCaption(POINT point) const;

    UINT dpi_ = kBaseDpi;
    UpdateLayeredWindowProc updateLayered_ = nullptr;
    bool layered_ = false;
    bool captured_ = false;
    bool leftPressed_ = false;
    RECT pressedRect_{-1, -1, -1, -1};
    bool rightPressed_ = false;
    bool tracking_ = false;
    RECT rightPressedRect_{-1, -1, -1, -1};
    std::unique_ptr<Gdiplus::SolidBrush> backgroundBrush_;
    POINT cursor_{-1, -1};
    CImageButton* hot_ = nullptr;
    std::vector<std::unique_ptr<CImageProgressbar>> bars_;
    std::vector<std::unique_ptr<CImageStatic>> statics_;
    std::vector<std::unique_ptr<CImageButton>> buttons_;
    HWND window_ = nullptr;
    LayeredSurface surface_;
    // The layered frame: composed from the current elements, and shown
    // with the current alpha.
    std::vector<KeptButton> kept_;
    bool composed_ = false;
    bool presented_ = false;
    BYTE presentedAlpha_ = 0;
};
