#include "ui/ImageTipCtrl.h"

#include "ui/Drawing.h"
#include "ui/Fonts.h"
#include "ui/ScopedGdi.h"
#include "base/TextBuf.h"

#include <cwchar>

namespace {

constexpr wchar_t kTipFontFamily[] = L"Tahoma";
constexpr Gdiplus::REAL kTipFontPoints = 9.0f;
constexpr Gdiplus::ARGB kBackgroundColor = 0xFFFCFCFC;
constexpr Gdiplus::ARGB kTextColor = 0xFF000000;
constexpr Gdiplus::ARGB kFrameColor = 0xFF8A8A8A;
// The tip is this much larger than its text, which sits kTextInset in.
constexpr int kTextMarginX = 5;
constexpr int kTextMarginY = 4;
constexpr int kTextInset = 2;

}  // namespace

CImageTipCtrl::CImageTipCtrl() {
    SetClassName(kClassName);
    CopyText(text_, L"");
}

CImageTipCtrl::~CImageTipCtrl() = default;

void CImageTipCtrl::SetTipText(const wchar_t* text) {
    const wchar_t* value = text ? text : L"";
    HWND window = Hwnd();
    if (std::wcscmp(value, text_) == 0 && window && IsWindowVisible(window)) return;
    CopyText(text_, value);
    if (!window) return;
    ShowWindow(window, SW_HIDE);
    KillTimer(window, kShowTimerId);
    if (text_[0] != L'\0') SetTimer(window, kShowTimerId, kShowDelayMs, nullptr);
}

LRESULT CImageTipCtrl::OnMessage(UINT msg, WPARAM, LPARAM) {
    switch (msg) {
    case WM_CREATE:
        MakeResources();
        break;
    case WM_DESTROY:
        ReleaseResources();
        break;
    case WM_PAINT:
        PaintTip();
        break;
    default:
        break;
    }
    return 0;
}

void CImageTipCtrl::OnTimer(UINT_PTR id) {
    if (id != kShowTimerId) return;
    HWND window = Hwnd();
    KillTimer(window, kShowTimerId);
    POINT cursor{};
    GetCursorPos(&cursor);
    cursor.x += Scale(kCursorOffset);
    cursor.y += Scale(kCursorOffset);
    if (text_[0] == L'\0' || !font_) return;

    Gdiplus::RectF bounds;
    {
        ScopedWindowDc dc(window);
        Gdiplus::Graphics graphics(dc.Get());
        Gdiplus::StringFormat format;
        SetUpTextFormat(format, Gdiplus::StringAlignmentNear);
        const Gdiplus::RectF layout(0.0f, 0.0f, static_cast<Gdiplus::REAL>(Scale(kMaxTextWidth)),
                                    static_cast<Gdiplus::REAL>(Scale(kMaxTextHeight)));
        if (graphics.MeasureString(text_, -1, font_.get(), layout, &format, &bounds) !=
            Gdiplus::Ok) {
            return;
        }
    }
    const int width = static_cast<int>(bounds.Width);
    const int height = static_cast<int>(bounds.Height);
    MoveWindow(window, cursor.x, cursor.y, width + Scale(kTextMarginX), height + Scale(kTextMarginY), TRUE);
    ShowWindow(window, SW_SHOWNOACTIVATE);
}

void CImageTipCtrl::MakeResources() {
    font_ = MakeFont(kTipFontFamily, kTipFontPoints, Gdiplus::FontStyleRegular, Dpi());
    backgroundBrush_ = MakeBrush(kBackgroundColor);
    textBrush_ = MakeBrush(kTextColor);
    framePen_ = MakePen(kFrameColor, 1.0f);
}

void CImageTipCtrl::ReleaseResources() {
    font_.reset();
    backgroundBrush_.reset();
    textBrush_.reset();
    framePen_.reset();
}

void CImageTipCtrl::PaintTip() {
    HWND window = Hwnd();
    ScopedPaint paint(window);
    RECT client{};
    GetClientRect(window, &client);
    const int width = RectWidth(client);
    const int height = RectHeight(client);
    if (!paint.Get() || width <= 0 || height <= 0) return;

    ScopedMemoryDc memory(CreateCompatibleDC(paint.Get()));
    ScopedBitmap bitmap(CreateCompatibleBitmap(paint.Get(), width, height));
    if (!memory || !bitmap) return;
    ScopedSelectObject select(memory.Get(), bitmap.Get());
    {
        Gdiplus::Graphics graphics(memory.Get());
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        if (backgroundBrush_) {
            graphics.FillRectangle(backgroundBrush_.get(), client.left - 1, client.top - 1,
                                   width + 1, height + 1);
        }
        const int inset = Scale(kTextInset);
        DrawBoxedText(graphics, text_, font_.get(), textBrush_.get(), Gdiplus::StringAlignmentNear,
                      client.left + inset, client.top + inset, width - 2 * inset, height - 2 * inset);
        if (framePen_) {
            graphics.DrawRectangle(framePen_.get(), client.left, client.top, width - 1, height - 1);
        }
    }
    BitBlt(paint.Get(), 0, 0, width, height, memory.Get(), 0, 0, SRCCOPY);
}
