// One row of an image list (CImagePaintEx): a full-width band stacked under
// the rows before it, carrying its own child buttons, static images,
// progress bars and child windows.
//
// Child rectangles are relative to the row: at paint and hit-test time they
// are moved down by the band's top and, with a right anchor, pushed against
// the band's right edge keeping their width; then clipped to the band. The
// list decides which row is hot and which was clicked; the row tracks which
// of its buttons is under the cursor.
#pragma once

#include "ui/ImageButton.h"
#include "ui/ImageProgressbar.h"
#include "ui/ImageStatic.h"
#include "ui/WindowCtrl.h"

#include <windows.h>
#include <objidl.h>  // gdiplus.h needs it under WIN32_LEAN_AND_MEAN
#include <gdiplus.h>

#include <memory>
#include <vector>

class CImagePaintEx;

class CImageItem {
public:
    // A window laid out inside the row at rect (row coordinates).
    struct ChildWindow {
        std::unique_ptr<CWindowCtrl> window;
        RECT rect;
    };

    CImageItem(CImagePaintEx* owner, int id, int height);
    // Deletes the elements; destroys and deletes the child windows.
    virtual ~CImageItem();

    CImageItem(const CImageItem&) = delete;
    CImageItem& operator=(const CImageItem&) = delete;

    virtual void Paint(Gdiplus::Graphics& graphics, const RECT& band);
    // Finds the child button under point (list client coordinates); true
    // when the hot button changed.
    virtual bool HitTest(POINT point);
    virtual void Leave();
    // Moves the child windows into band.
    virtual void Layout(const RECT& band);
    // Called when the row becomes hot.
    virtual void OnHover();

    // The child button with the id, or a new one (rect relative to the row)
    // made for the list's window and appended.
    CImageButton* AddButton(int id, const RECT& rect, const wchar_t* text);
    // Takes over window (already created as a child of the list window) and
    // lays it out at rect inside the row from the next layout on.
    void AddChildWindow(std::unique_ptr<CWindowCtrl> window, const RECT& rect);
    // True deselects the list's last clicked row first; false deselects
    // this row.
    void SetSelected(bool select);

    // Where a child rectangle lies inside band (see the file comment).
    static RECT PlaceInBand(const RECT& rect, int rightAnchor, const RECT& band);
    // The same for a 96-DPI rectangle and anchor, at the list's scale.
    RECT PlaceScaled(const RECT& rect, int rightAnchor, const RECT& band) const;

    POINT cursor{-1, -1};                                  // last HitTest point
    std::vector<std::unique_ptr<CImageButton>> buttons;
    std::vector<std::unique_ptr<CImageStatic>> statics;
    std::vector<std::unique_ptr<CImageProgressbar>> progressBars;
    std::vector<ChildWindow> childWindows;
    CImageButton* hotButton = nullptr;
    bool hot = false;
    bool selected = false;
    bool visible = true;                                   // hidden rows take no space
    CImagePaintEx* owner;
    int id;
    int height;
    RECT band{0, 0, 0, 0};                                 // at the last layout
};
