#include "frames/FrameBack.h"

#include "frames/ClientApp.h"
#include "frames/CloseMsgWnd.h"
#include "frames/FrameGame.h"
#include "frames/LinkOpener.h"
#include "net/Endpoints.h"
#include "res/VstormResources.h"
#include "ui/Drawing.h"
#include "ui/ImageCtrl.h"

namespace {

struct BackButton {
    int id;
    RECT rect;
    int strip;
};

// In the order they are added; the picture comes last, under them all.
constexpr BackButton kButtons[] = {
    {CFrameBack::kMinimizeId, {1089, 62, 1117, 90}, IDB_BACK_MINIMIZE},
    {CFrameBack::kCloseId, {1118, 62, 1149, 93}, IDB_BACK_CLOSE},
    {CFrameBack::kOfficialSiteId, {398, 95, 551, 144}, IDB_BACK_OFFICIAL_SITE},
    {CFrameBack::kTopUpId, {554, 95, 707, 144}, IDB_BACK_TOPUP},
    {CFrameBack::kForumId, {842, 95, 995, 144}, IDB_BACK_FORUM},
    {CFrameBack::kServiceId, {995, 95, 1148, 144}, IDB_BACK_SERVICE},
};

// Removed in this order when the game starts.
constexpr int kRemovedButtons[] = {CFrameBack::kTopUpId,   CFrameBack::kOfficialSiteId, CFrameBack::kForumId,
                                   CFrameBack::kServiceId, CFrameBack::kCloseId,        CFrameBack::kMinimizeId};

// The login window's size as the back frame asks for it; the login window's
// minimum size raises it to its own, so only the position counts.
constexpr SIZE kRequestedGameFrameSize{411, 307};

constexpr Gdiplus::REAL kOuterPenWidth = 2.0f;
constexpr Gdiplus::REAL kInnerPenWidth = 4.0f;

// A closed rounded rectangle of four quarter arcs (boxes 2 x radius wide),
// clockwise from the top-left corner.
void DrawRoundedRect(Gdiplus::Graphics& graphics, Gdiplus::Pen* pen, int left, int top, int right, int bottom,
                     int radius) {
    // A pen GDI+ could not make draws nothing (the wrapper would dereference it).
    if (!pen) return;
    const Gdiplus::REAL d = static_cast<Gdiplus::REAL>(2 * radius);
    const auto l = static_cast<Gdiplus::REAL>(left);
    const auto t = static_cast<Gdiplus::REAL>(top);
    const auto r = static_cast<Gdiplus::REAL>(right);
    const auto b = static_cast<Gdiplus::REAL>(bottom);
    Gdiplus::GraphicsPath path;
    path.AddArc(l, t, d, d, 180.0f, 90.0f);
    path.AddLine(l + d / 2, t, r - d / 2, t);
    path.AddArc(r - d, t, d, d, 270.0f, 90.0f);
    path.AddLine(r, t + d / 2, r, b - d / 2);
    path.AddArc(r - d, b - d, d, d, 0.0f, 90.0f);
    path.AddLine(r - d / 2, b, l + d / 2, b);
    path.AddArc(l, b - d, d, d, 90.0f, 90.0f);
    path.AddLine(l, b - d / 2, l, t + d / 2);
    path.CloseFigure();
    graphics.DrawPath(pen, &path);
}

}  // namespace

std::vector<int> CFrameBack::FirstFrameImages() {
    std::vector<int> ids{IDB_BACK_PICTURE};
    for (const BackButton& spec : kButtons) ids.push_back(spec.strip);
    return ids;
}

UINT CFrameBack::LauncherDpi() { return FitDpi(SIZE{kWidth, kHeight}, SystemDpi(), WorkAreaOf(nullptr)); }

CFrameBack::CFrameBack(CClientApp& app) : app_(app) { SetClassName(kClassName); }

CFrameBack::~CFrameBack() = default;

LRESULT CFrameBack::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        painter.SetWindow(Hwnd());
        painter.SetDpi(Dpi());
        painter.onClick = [this](CImageButton* button) { return OnButtonClick(button); };
        painter.onPaintForeground = [this](Gdiplus::Graphics& graphics) { OnPaintBorder(graphics); };
        CImageCtrl::MakeCaptionless(Hwnd());
    }
    return painter.HandleMessage(msg, wParam, lParam) ? 1 : 0;
}

void CFrameBack::OnCreate(CREATESTRUCTW*) {
    HWND window = Hwnd();
    SetWindowLongPtrW(window, GWL_STYLE, GetWindowLongPtrW(window, GWL_STYLE) | WS_CLIPCHILDREN);
    SetWindowLongPtrW(window, GWL_EXSTYLE,
                      (GetWindowLongPtrW(window, GWL_EXSTYLE) & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW);
    const RECT picture{0, 0, kWidth, kHeight};
    // The whole picture outside the buttons drags the launcher.
    painter.captionDrag = true;
    painter.captionRect = picture;
    MakePens();
    for (const BackButton& spec : kButtons) {
        if (CImageButton* button = painter.AddButton(spec.id, spec.rect)) button->SetImageStrip(spec.strip);
    }
    painter.AddStatic(picture, IDB_BACK_PICTURE, kPictureId, false);
    painter.EnableLayered();
    painter.Redraw();
}

void CFrameBack::OnDestroy() { ReleasePens(); }

void CFrameBack::OnMove(int, int) {
    if (gameMode || !gameFrame || !gameFrame->Hwnd()) return;
    RECT window{};
    GetWindowRect(Hwnd(), &window);
    const SIZE size = Scale(kRequestedGameFrameSize);
    MoveWindow(gameFrame->Hwnd(), window.left + Scale(kGameFrameOffset.x), window.top + Scale(kGameFrameOffset.y),
               size.cx, size.cy, TRUE);
}

void CFrameBack::OnShowWindow(BOOL show, int) {
    if (show) painter.Redraw();
}

// In game mode the game frame places the border around itself; the
// launcher takes the system's rectangle and moves the login window with it.
void CFrameBack::OnDpiChanged(UINT dpi, const RECT& suggested) {
    painter.SetDpi(dpi);
    if (gameMode) {
        RECT window{};
        GetWindowRect(Hwnd(), &window);
        CWindowCtrl::OnDpiChanged(dpi, window);
    } else {
        CWindowCtrl::OnDpiChanged(dpi, suggested);
    }
    MakePens();
    painter.Redraw();
}

void CFrameBack::EnterBackGameMode() {
    gameMode = true;
    painter.captionDrag = false;
    painter.RemoveStatic(kPictureId);
    for (int id : kRemovedButtons) painter.RemoveButton(id);
    // Only outlines are left, which take no clicks: the mouse goes through
    // to the game. Windows lets clicks pass where a layered window is fully
    // transparent, Wine only where it is marked so; Wine can also leave this
    // owner above the game window after a restore, and its clear middle
    // would then take every click of the game.
    if (HWND window = Hwnd()) {
        SetWindowLongPtrW(window, GWL_EXSTYLE, GetWindowLongPtrW(window, GWL_EXSTYLE) | WS_EX_TRANSPARENT);
    }
}

bool CFrameBack::OnButtonClick(CImageButton* button) {
    if (!button) return true;
    HWND game = gameFrame ? gameFrame->Hwnd() : nullptr;
    switch (button->id) {
    case kMinimizeId:
        // The game frame brings the launcher back when it is restored.
        if (game) ShowWindow(game, SW_MINIMIZE);
        ShowWindow(Hwnd(), SW_HIDE);
        return false;
    case kCloseId: {
        CloseMsgWnd question;
        if (question.ShowCloseConfirm(Hwnd()) != IDOK) return true;
        ShowWindow(Hwnd(), SW_HIDE);
        if (game) PostMessageW(game, WM_CLOSE, 0, 0);
        return false;
    }
    case kOfficialSiteId:
        LinkOpener::Open(kOfficialSiteUrl);
        return true;
    case kForumId:
        LinkOpener::Open(kForumUrl);
        return true;
    case kServiceId:
        LinkOpener::Open(kCustomerServiceUrl);
        return true;
    case kTopUpId: {
        wchar_t name[CClientApp::kUserNameUnits];
        app_.CopyUserName(name);
        wchar_t url[LinkOpener::kLinkUnits];
        LinkOpener::TopUpUrl(name, L"", LinkOpener::UserNameParameter::WhenKnown, url);
        LinkOpener::Open(url);
        return true;
    }
    default:
        return true;
    }
}

void CFrameBack::OnPaintBorder(Gdiplus::Graphics& graphics) {
    if (!gameMode) return;
    RECT c{};
    GetClientRect(Hwnd(), &c);
    const int m = Scale(shadowMargin);
    const int r = Scale(cornerRadius);
    const int one = Scale(1);
    DrawRoundedRect(graphics, outerPen.get(), c.left + m - Scale(5), c.top + m - Scale(5), c.right - m + Scale(4),
                    c.bottom - m + Scale(4), r + one);
    DrawRoundedRect(graphics, middlePen.get(), c.left + m - Scale(3), c.top + m - Scale(3), c.right - m + Scale(2),
                    c.bottom - m + Scale(2), r + one);
    DrawRoundedRect(graphics, innerPen.get(), c.left + m, c.top + m, c.right - m - one, c.bottom - m - one, r - one);
}

void CFrameBack::MakePens() {
    const auto scale = static_cast<Gdiplus::REAL>(Dpi()) / static_cast<Gdiplus::REAL>(kBaseDpi);
    outerPen = std::make_unique<Gdiplus::Pen>(Gdiplus::Color(outerColor), kOuterPenWidth * scale);
    middlePen = std::make_unique<Gdiplus::Pen>(Gdiplus::Color(middleColor), kOuterPenWidth * scale);
    innerPen = std::make_unique<Gdiplus::Pen>(Gdiplus::Color(innerColor), kInnerPenWidth * scale);
}

void CFrameBack::ReleasePens() {
    outerPen.reset();
    middlePen.reset();
    innerPen.reset();
}
