// The tooltip window: a borderless popup that shows one line of text in a
// framed box beside the cursor, half a second after the text was set, and
// never takes activation. The owner creates it once (class "ToolTip", style
// WS_POPUP | WS_CLIPCHILDREN, owned by the owner window, no size) and calls
// SetTipText whenever the element under the cursor changes.
#pragma once

#include "ui/WindowCtrl.h"

#include <windows.h>
#include <objidl.h>  // gdiplus.h needs it under WIN32_LEAN_AND_MEAN
#include <gdiplus.h>

#include <memory>

class CImageTipCtrl : public CWindowCtrl {
public:
    static constexpr UINT_PTR kShowTimerId = 1100;
    static constexpr UINT kShowDelayMs = 500;
    static constexpr size_t kTextUnits = 260;
    // The text is measured against this box; longer text is cut with an
    // ellipsis at a word boundary.
    static constexpr int kMaxTextWidth = 500;
    static constexpr int kMaxTextHeight = 200;
    static constexpr int kCursorOffset = 15;
    static constexpr wchar_t kClassName[] = L"ToolTip";

    CImageTipCtrl();
    ~CImageTipCtrl() override;

    // Hides the tip and shows the new text after the delay; empty text
    // hides it for good. The same text while the tip is shown changes
    // nothing.
    void SetTipText(const wchar_t* text);
    const wchar_t* TipText() const { return text_; }

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnTimer(UINT_PTR id) override;

private:
    void MakeResources();
    void ReleaseResources();
    void PaintTip();

    wchar_t text_[kTextUnits];
    std::unique_ptr<Gdiplus::Font> font_;
    std::unique_ptr<Gdiplus::SolidBrush> backgroundBrush_;
    std::unique_ptr<Gdiplus::SolidBrush> textBrush_;
    std::unique_ptr<Gdiplus::Pen> framePen_;
};
