#include "ui/ShadowCtrl.h"

#include "ui/Dpi.h"
#include "ui/Drawing.h"

namespace {

constexpr Gdiplus::REAL kPenWidths[3] = {2.0f, 2.0f, 4.0f};
constexpr Gdiplus::ARGB kMenuColors[3] = {0x0F9E9E9E, 0x329E9E9E, 0x649E9E9E};

}  // namespace

CShadowCtrl::CShadowCtrl() { SetClassName(kClassName); }

CShadowCtrl::~CShadowCtrl() = default;

void CShadowCtrl::OnCreate(CREATESTRUCTW*) {
    HWND window = Hwnd();
    SetWindowLongPtrW(window, GWL_STYLE, GetWindowLongPtrW(window, GWL_STYLE) | WS_CLIPCHILDREN);
    LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    exStyle = (exStyle & ~static_cast<LONG_PTR>(WS_EX_APPWINDOW)) | WS_EX_TOOLWINDOW;
    MakePens();
    if (GetModuleHandleW(L"user32.dll")) {
        exStyle |= WS_EX_LAYERED;
        updateLayered_ = FindUpdateLayeredWindow();
    }
    SetWindowLongPtrW(window, GWL_EXSTYLE, exStyle);
}

void CShadowCtrl::OnDestroy() {
    for (auto& pen : pens_) pen.reset();
}

void CShadowCtrl::OnShowWindow(BOOL show, int) {
    if (show) Render(255);
}

void CShadowCtrl::Render(BYTE alpha) {
    HWND window = Hwnd();
    if (!updateLayered_ || !window) return;
    RECT client{};
    GetClientRect(window, &client);
    const int width = RectWidth(client);
    const int height = RectHeight(client);
    LayeredSurface surface;
    if (!surface.Prepare(width, height)) return;
    SetBkMode(surface.Dc(), TRANSPARENT);
    {
        Gdiplus::Graphics graphics(surface.Dc());
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        PaintOutlines(graphics, width, height);
    }
    surface.Present(window, updateLayered_, alpha);
}

void CShadowCtrl::PaintOutlines(Gdiplus::Graphics& graphics, int width, int height) {
    const int s = ScaleBy(size, scale_);
    const int r = ScaleBy(cornerRadius, scale_);
    DrawRoundedOutline(graphics, pens_[0].get(), s - 5, s - 5, width + 4 - s, height + 4 - s, r + 1);
    DrawRoundedOutline(graphics, pens_[1].get(), s - 3, s - 3, width + 2 - s, height + 2 - s, r + 1);
    DrawRoundedOutline(graphics, pens_[2].get(), s, s, width - 1 - s, height - 1 - s, r - 1);
}

void CShadowCtrl::SetMenuColors() {
    for (size_t i = 0; i < colors.size(); ++i) colors[i] = kMenuColors[i];
    MakePens();
}

void CShadowCtrl::PlaceAround(HWND owner) {
    HWND window = Hwnd();
    RECT r{};
    if (!window || !owner || !GetWindowRect(owner, &r)) return;
    const UINT scale = ScaleOf(owner);
    if (scale != scale_) {
        scale_ = scale;
        MakePens();
    }
    const int margin = ScaleBy(size, scale_);
    if (r.right != r.left) InflateRect(&r, margin, margin);
    MoveWindow(window, r.left, r.top, RectWidth(r), RectHeight(r), TRUE);
}

void CShadowCtrl::MakePens() {
    const auto scale = static_cast<Gdiplus::REAL>(scale_) / static_cast<Gdiplus::REAL>(kBaseDpi);
    for (size_t i = 0; i < pens_.size(); ++i) pens_[i] = MakePen(colors[i], kPenWidths[i] * scale);
}
