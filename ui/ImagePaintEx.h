// The painter of the toolkit's vertical item list.
//
// A window that owns a CImagePaintEx (CImageCtrlEx and the popup menu) sets
// its handle at WM_NCCREATE and hands it every message. The painter owns an
// ordered list of rows (CImageItem) stacked from y = 0, each the full width
// of the window; hidden rows take no space. It paints them off-screen,
// tracks the row under the cursor and reports a click on a row through the
// item-click callback, also when the same row is clicked again.
//
// A row of a list that is a child window counts only while its top lies in
// the parent's client area (a scrolled list); rows outside are neither
// painted nor hit.
//
// The item-click callback may hide or destroy the window (menus do): the
// painter touches nothing after it.
#pragma once

#include "ui/ImageItem.h"

#include <windows.h>
#include <objidl.h>  // gdiplus.h needs it under WIN32_LEAN_AND_MEAN
#include <gdiplus.h>

#include <functional>
#include <memory>
#include <vector>

class CImagePaintEx {
public:
    using ItemCallback = std::function<void(CImageItem*)>;
    static constexpr int kDefaultItemHeight = 24;

    CImagePaintEx();
    virtual ~CImagePaintEx();

    CImagePaintEx(const CImagePaintEx&) = delete;
    CImagePaintEx& operator=(const CImagePaintEx&) = delete;

    // True when the message was handled; the owner then answers 1.
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    // The row with the id, or a new visible row of the current item height
    // appended (the rows are laid out again).
    CImageItem* AddItem(int id);
    // Deletes every row.
    void Clear();
    // (0, top, client width, top + height) of the first visible row with
    // the id; empty when there is none.
    RECT ItemRect(int id) const;
    // The sum of the heights of the visible rows.
    int ContentHeight() const;
    // Whether a band of the list is inside its parent's client area.
    bool IsShown(const RECT& band) const;

    // Each stores the colour and replaces its brush; the background colour
    // also turns filling on.
    void SetBackgroundColor(Gdiplus::ARGB argb);
    void SetHoverColor(Gdiplus::ARGB argb);
    void SetSelectedColor(Gdiplus::ARGB argb);

    // The WM_PAINT routine.
    void Paint();
    // Stacks the visible rows in the client rectangle; rows whose band
    // changed lay out their child windows.
    void Layout();
    void Layout(const RECT& client);
    // Deletes the rows and brushes and forgets the window.
    void Reset();

    void SetWindow(HWND hwnd) { window_ = hwnd; }
    // Row heights and the rectangles of the rows' elements are 96-DPI
    // values, placed at this scale; the rows' buttons draw at it.
    void SetDpi(UINT dpi);
    UINT Dpi() const { return dpi_; }
    int RowHeight(const CImageItem& item) const;
    HWND Window() const { return window_; }
    CImageItem* HotItem() const { return hot_; }
    CImageItem* LastClicked() const { return lastClicked_; }
    bool Tracking() const { return tracking_; }
    POINT CursorPoint() const { return cursor_; }
    const std::vector<std::unique_ptr<CImageItem>>& Items() const { return items_; }
    Gdiplus::SolidBrush* HoverBrush() const { return hoverBrush_.get(); }
    Gdiplus::SolidBrush* SelectedBrush() const { return selectedBrush_.get(); }

    ItemCallback onItemClick;
    int itemHeight = kDefaultItemHeight;   // given to new rows
    bool fillBackground = true;

private:
    void MakeMissingBrushes();
    void PaintInto(HDC target, const RECT& client, const RECT& update);
    bool OnMouseMove(POINT point);
    bool OnLButtonUp(POINT point);
    void OnMouseLeave();
    void OnHide();
    // The first visible, shown row whose band contains point.
    CImageItem* RowAt(POINT point) const;
    void Invalidate(const RECT& rect);
    void Forget(CImageItem* item);

    bool tracking_ = false;
    CImageItem* hot_ = nullptr;
    CImageItem* lastClicked_ = nullptr;
    std::unique_ptr<Gdiplus::SolidBrush> backgroundBrush_;
    std::unique_ptr<Gdiplus::SolidBrush> hoverBrush_;
    std::unique_ptr<Gdiplus::SolidBrush> selectedBrush_;
    Gdiplus::ARGB backgroundColor_ = 0xFFFAFAFA;
    Gdiplus::ARGB hoverColor_ = 0;
    Gdiplus::ARGB selectedColor_ = 0;
    std::vector<std::unique_ptr<CImageItem>> items_;
    RECT lastClient_{0, 0, 0, 0};
    POINT cursor_{-1, -1};
    HWND window_ = nullptr;
    UINT dpi_ = kBaseDpi;
};
