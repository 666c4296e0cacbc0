#include "frames/FrameGame.h"

#include "base/Config.h"
#include "base/CrashTrace.h"
#include "browser/HtmlAppManager.h"
#include "frames/AudioSession.h"
#include "frames/ClientApp.h"
#include "frames/CloseMsgWnd.h"
#include "frames/CacheClearer.h"
#include "frames/FrameIds.h"
#include "frames/LinkOpener.h"
#include "frames/LoginTracking.h"
#include "frames/Screenshot.h"
#include "net/Endpoints.h"
#include "res/VstormResources.h"
#include "ui/Drawing.h"
#include "ui/Fonts.h"
#include "base/TextBuf.h"

#include <mshtml.h>
#include <shobjidl.h>

#include <algorithm>
#include <cwchar>

namespace {

constexpr DWORD kBackStyle = WS_POPUP | WS_VISIBLE;
constexpr DWORD kFrameStyle = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD kViewStyle = WS_CHILD | WS_VISIBLE;
constexpr DWORD kTooltipStyle = WS_POPUP | WS_CLIPCHILDREN;
constexpr int kBigIconSize = 48;
constexpr int kSmallIconSize = 32;
constexpr int kNavigateNoHistory = 2;
// The page's zoom at the system's own scale.
constexpr int kFullZoomPercent = 100;

constexpr wchar_t kTitleFontFamily[] = L"Tahoma";
constexpr Gdiplus::REAL kTitleFontPoints = 9.0f;
constexpr Gdiplus::ARGB kTitleColor = 0xFFFFFFFF;
constexpr Gdiplus::ARGB kGameBackgroundColor = 0x0023373C;
constexpr Gdiplus::ARGB kMenuHoverColor = 0xFF9CD0FE;
constexpr int kMenuItemHeight = 24;
constexpr RECT kMenuButtonRect{1, 1, 94, 94};
constexpr Gdiplus::ARGB kMenuTextColor = 0xFF0C0C0C;
// The tool menu opens under the tools button, a little left of the cursor.
constexpr int kToolMenuCursorOffset = 10;
constexpr int kToolMenuTop = 30;
// The tray menu opens left of the cursor; further left when the task bar
// stands at a side of the screen.
constexpr int kTrayMenuOffset = 30;
constexpr int kTrayMenuSideOffset = 96;

struct MenuItem {
    int id;
    const wchar_t* label;
};
constexpr MenuItem kToolMenuItems[] = {{kClearCacheItemId, kClearCacheLabel},
                                       {kRefreshItemId, kRefreshLabel},
                                       {kBossKeyItemId, kBossKeyLabel},
                                       {kScreenshotItemId, kScreenshotLabel}};
constexpr MenuItem kTrayMenuItems[] = {{kSettingsItemId, kSettingsLabel}, {kExitItemId, kExitLabel}};

// The rows go in once per menu window: a menu loses them with its window.
// They are measured at the scale the menu will be made at.
template <size_t N>
void FillMenu(CImageMenu& menu, const MenuItem (&items)[N], UINT dpi) {
    if (menu.Hwnd()) return;
    menu.painter.SetDpi(dpi);
    for (const MenuItem& entry : items) {
        CImageItem* item = menu.painter.AddItem(entry.id);
        CImageButton* button = item ? item->AddButton(entry.id, kMenuButtonRect, entry.label) : nullptr;
        if (button) button->SetTextColors(kMenuTextColor, kMenuTextColor, kMenuTextColor);
    }
}
constexpr Gdiplus::REAL kTitleLeft = 22.0f;
constexpr Gdiplus::REAL kTitleTop = 4.0f;
constexpr Gdiplus::REAL kTitleHeight = 20.0f;
constexpr int kCaptionBarWidth = 1366;

struct CaptionButton {
    int id;
    int rightOffset;   // the button's right edge, from the client's right
    int top;
    int width;
    int height;
    int images[4];     // normal, hover, pressed, disabled; or the strip alone
    bool strip;
    int rightAnchor;
    const wchar_t* tip;
};

// In this order; the links' creation rectangles overlap the tools button
// until the first relayout puts each at its anchor.
constexpr CaptionButton kCaptionButtons[] = {
    {kCaptionCloseId, 0, 0, 25, 25, {IDB_CAPTION_CLOSE, IDB_CAPTION_CLOSE_HOVER, IDB_CAPTION_CLOSE_PRESSED,
                                      IDB_CAPTION_CLOSE}, false, 1, L""},
    {kCaptionMaximizeId, 25, 0, 25, 25, {IDB_CAPTION_MAXIMIZE, IDB_CAPTION_MAXIMIZE_HOVER,
                                         IDB_CAPTION_MAXIMIZE_PRESSED, IDB_CAPTION_MAXIMIZE}, false, 25,
     L"最大化"},
    {kCaptionRestoreId, 25, 0, 25, 25, {IDB_CAPTION_RESTORE, IDB_CAPTION_RESTORE_HOVER,
                                        IDB_CAPTION_RESTORE_PRESSED, IDB_CAPTION_RESTORE}, false, 25, L"还原"},
    {kCaptionMinimizeId, 50, 0, 25, 25, {IDB_CAPTION_MINIMIZE, IDB_CAPTION_MINIMIZE_HOVER,
                                         IDB_CAPTION_MINIMIZE_PRESSED, IDB_CAPTION_MINIMIZE}, false, 50,
     L"最小化"},
    {kFullScreenButtonId, 75, 0, 25, 25, {IDB_CAPTION_FULLSCREEN, IDB_CAPTION_FULLSCREEN_HOVER,
                                          IDB_CAPTION_FULLSCREEN_PRESSED, IDB_CAPTION_FULLSCREEN}, false, 75,
     L"全屏(F10)"},
    {kToolsButtonId, 100, 0, 25, 25, {IDB_CAPTION_TOOLS, IDB_CAPTION_TOOLS_HOVER, IDB_CAPTION_TOOLS_PRESSED,
                                      IDB_CAPTION_TOOLS}, false, 100, L"工具"},
    // Its looks and tip follow the sound (ShowSoundLook).
    {kSoundButtonId, 125, 0, 25, 25, {IDB_CAPTION_SOUND, IDB_CAPTION_SOUND_HOVER, IDB_CAPTION_SOUND_PRESSED,
                                      IDB_CAPTION_SOUND}, false, 125, kMuteTip},
    {kCustomerServiceLinkId, 138, 2, 41, 22, {IDB_CAPTION_SERVICE}, true, 150, L""},
    {kForumLinkId, 183, 2, 41, 22, {IDB_CAPTION_FORUM}, true, 195, L""},
    {kOfficialSiteLinkId, 228, 2, 41, 22, {IDB_CAPTION_OFFICIAL_SITE}, true, 240, L""},
    {kTopUpLinkId, 273, 2, 41, 22, {IDB_CAPTION_TOPUP}, true, 285, L""},
};

bool FitsIn(SIZE size, const RECT& area) { return RectWidth(area) >= size.cx && RectHeight(area) >= size.cy; }

// The balloon's words for a screenshot that was not written.
const wchar_t* ShotFailureText(Screenshot::Result result) {
    switch (result) {
    case Screenshot::Result::NoFolder:
        return L"找不到图片文件夹";
    case Screenshot::Result::DiskFull:
        return L"磁盘已满";
    case Screenshot::Result::NameTaken:
        return L"文件名已被占用";
    case Screenshot::Result::NoPicture:
        return L"无法读取游戏画面";
    default:
        return L"图片文件夹无法写入";
    }
}

}  // namespace

CFrameGame::CFrameGame(CClientApp& app) : back(app), app_(app) {
    wmemset(lastTip_, L'\0', kTipUnits);
    wmemset(lastShot_, L'\0', MAX_PATH);
    wmemset(serverId_, L'\0', kServerIdUnits);
    wmemset(pageTitle_, L'\0', kPageTitleUnits);
    SetClassName(kClientWindowClass);
}

// The HTML thread has ended by now, so no handler can still reach this
// object: the application joins it first, and when a page keeps it, ends
// the process without destroying anything.
CFrameGame::~CFrameGame() = default;

bool CFrameGame::CreateAndRun() {
    // The launcher at the largest scale up to the screen's that fits the
    // work area; the login window, made by it, takes the same.
    const RECT work = WorkAreaOf(nullptr);
    const SIZE launcher{CFrameBack::kWidth, CFrameBack::kHeight};
    const UINT dpi = CFrameBack::LauncherDpi();
    const RECT place = CentreIn(launcher, dpi, work);
    back.SetDpi(dpi);
    back.Create(0, nullptr, nullptr, kBackStyle, place, nullptr);
    const SIZE login = back.Scale(kLoginSize);
    if (FitsIn(login, work)) minSize = kLoginSize;
    // No class name given: the object's own (the base would copy its buffer
    // onto itself).
    Create(WS_EX_APPWINDOW, nullptr, nullptr, kFrameStyle, place.left + back.Scale(CFrameBack::kGameFrameOffset.x),
           place.top + back.Scale(CFrameBack::kGameFrameOffset.y), login.cx, login.cy, back.Hwnd());
    bool ran = false;
    if (Hwnd()) {
        back.gameFrame = this;
        UpdateWindow(Hwnd());
        app_.OnLauncherShown();
        OpenView();
        ran = RunModalLoop();
    }
    // The launcher or border must not linger while the exit report goes out.
    // It owns this window, so it stays while this window does (Close).
    HWND backWindow = back.Hwnd();
    if (backWindow && !Hwnd()) DestroyWindow(backWindow);
    return ran;
}

void CFrameGame::OnCreate(CREATESTRUCTW*) {
    LoadIconFromResource(true, kBigIconSize);
    LoadIconFromResource(false, kSmallIconSize);
    SetWindowTextW(Hwnd(), kProductName);
    windowForPage_ = Hwnd();

    // The handlers are in place before the view's browser can exist: the
    // view is made on the HTML thread, which may fire events at once.
    view.browser.SetBeforeNavigateHandler([this](IDispatch* frame, const wchar_t* url, VARIANT_BOOL* cancel) {
        OnBeforeNavigate(frame, url, cancel);
    });
    view.browser.SetNavigateCompleteHandler([this](const wchar_t* url) { OnNavigateComplete(url); });
    view.browser.SetNewWindowHandler(
        [this](IDispatch** ppDisp, VARIANT_BOOL* cancel, DWORD flags, const wchar_t* context, const wchar_t* url) {
            OnNewWindow(ppDisp, cancel, flags, context, url);
        });
    view.browser.SetDocumentCompleteHandler(
        [this](IDispatch* frame, const wchar_t* url) { OnDocumentComplete(frame, url); });

    PrepareMenu(toolMenu, &CFrameGame::OnToolMenuItem);
    PrepareMenu(trayMenu, &CFrameGame::OnTrayMenuItem);
    tray.Attach(Hwnd());

    // The login pages are silent too when the player silenced the game.
    settings_ = LoadPlayerSettings(app_.ProgramDir());
    ApplySound();
    if (settings_.zoom != kDefaultZoom) view.SetZoom(settings_.zoom);
}

void CFrameGame::OpenView() {
    RECT client{};
    GetClientRect(Hwnd(), &client);
    view.Create(0, nullptr, L"", kViewStyle, client, Hwnd());
    view.Navigate(app_.LandingUrl(), kNavigateNoHistory);
    view.SetSilent(1);
}

void CFrameGame::PrepareMenu(CImageMenu& menu, void (CFrameGame::*onItem)(CImageItem*)) {
    menu.SetClassName(kMenuClassName);
    menu.painter.onItemClick = [this, onItem](CImageItem* item) { (this->*onItem)(item); };
    menu.painter.itemHeight = kMenuItemHeight;
    menu.painter.SetHoverColor(kMenuHoverColor);
}

void CFrameGame::EnterGameMode() {
    if (gameMode_.exchange(true)) return;
    TraceEvent("mode game");
    back.EnterBackGameMode();
    view.gameMode = 1;
    HWND window = Hwnd();
    ShowWindow(window, SW_HIDE);

    // Only game mode draws the title.
    titleFont = MakeFont(kTitleFontFamily, kTitleFontPoints, Gdiplus::FontStyleRegular, Dpi());
    titleBrush = std::make_unique<Gdiplus::SolidBrush>(Gdiplus::Color(kTitleColor));
    painter.captionDrag = true;
    painter.fillBackground = true;
    painter.SetBackgroundColor(kGameBackgroundColor);
    resizable = true;
    shaped = true;

    wchar_t configPath[MAX_PATH];
    MakeConfigPath(app_.ProgramDir(), configPath);
    bossModifiers = static_cast<UINT>(ReadConfigInt(configPath, kSectionCommon, kKeyBossModifiers));
    bossVirtualKey = static_cast<UINT>(ReadConfigInt(configPath, kSectionCommon, kKeyBossKey));

    AddCaption();
    ShowSoundLook();
    tooltip.Create(0, nullptr, nullptr, kTooltipStyle, 0, 0, 0, 0, window);
    bossKey.Register(window);

    const RECT work = WorkAreaOf(window);
    if (FitsIn(Scale(kGameMinSize), work)) minSize = kGameMinSize;
    if (!RestorePlacement()) {
        const RECT place = CentreIn(minSize, Dpi(), work);
        MoveWindow(window, place.left, place.top, RectWidth(place), RectHeight(place), TRUE);
        showMaximized_ = true;
    }
    SetTimer(window, kMaximizeTimerId, kMaximizeTimerMs, nullptr);
}

// Where the player left the game window, if that is on a screen there is
// now; the window stays hidden until the maximise timer shows it.
bool CFrameGame::RestorePlacement() {
    RECT r = settings_.window;
    if (IsRectEmpty(&r) || !MonitorFromRect(&r, MONITOR_DEFAULTTONULL)) return false;
    const SIZE least = Scale(minSize);
    r.right = std::max<LONG>(r.right, r.left + least.cx);
    r.bottom = std::max<LONG>(r.bottom, r.top + least.cy);
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    placement.showCmd = SW_HIDE;
    placement.rcNormalPosition = r;
    if (!SetWindowPlacement(Hwnd(), &placement)) return false;
    showMaximized_ = settings_.maximized;
    return true;
}

// The normal rectangle and the maximised state, as before full screen when
// the game is full screen now: full screen itself is not kept.
void CFrameGame::KeepPlacement() {
    WINDOWPLACEMENT placement = placementBeforeFullScreen_;
    if (!fullScreen_) {
        placement.length = sizeof(placement);
        if (!GetWindowPlacement(Hwnd(), &placement)) return;
        placement.showCmd = IsZoomed(Hwnd()) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
        if (IsIconic(Hwnd()) && (placement.flags & WPF_RESTORETOMAXIMIZED)) placement.showCmd = SW_SHOWMAXIMIZED;
    }
    settings_.window = placement.rcNormalPosition;
    settings_.maximized = placement.showCmd == SW_SHOWMAXIMIZED;
}

void CFrameGame::AddCaption() {
    const RECT c = LayoutClient();
    if (CImageStatic* bar = painter.AddStatic(RECT{c.left, c.top, c.left + kCaptionBarWidth, c.top + kCaptionHeight},
                                              IDB_CAPTION_BAR, kCaptionBarId, true)) {
        bar->rightAnchor = 0;
        bar->fixedLeft = 0;
    }
    painter.AddStatic(RECT{5, 5, 21, 21}, IDB_CAPTION_ICON, kCaptionIconId, false);
    for (const CaptionButton& spec : kCaptionButtons) {
        const int top = spec.strip ? spec.top : c.top + spec.top;
        const RECT rect{c.right - spec.rightOffset - spec.width, top, c.right - spec.rightOffset,
                        top + spec.height};
        CImageButton* button = spec.strip
                                   ? painter.AddButton(spec.id, rect)
                                   : painter.AddButton(spec.id, rect, spec.images[0], spec.images[1],
                                                       spec.images[2], spec.images[3]);
        if (!button) continue;
        if (spec.strip) button->SetImageStrip(spec.images[0]);
        button->SetText(spec.tip);
        CopyText(button->tooltipText, spec.tip);
        button->showText = false;
        button->rightAnchor = spec.rightAnchor;
    }
}

void CFrameGame::ToggleFullScreen() {
    HWND window = Hwnd();
    if (!window || !IsWindowVisible(window)) return;
    fullScreen_ = !fullScreen_;
    TraceEvent(fullScreen_ ? "mode full screen" : "mode window");
    painter.captionDrag = !fullScreen_;
    if (fullScreen_) {
        placementBeforeFullScreen_.length = sizeof(placementBeforeFullScreen_);
        GetWindowPlacement(window, &placementBeforeFullScreen_);
        placementBeforeFullScreen_.showCmd = IsZoomed(window) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
        SetForegroundWindow(window);
        SwitchToThisWindow(window, TRUE);
        if (view.Hwnd()) SetFocus(view.Hwnd());
        GetWindowRect(window, &savedRect_);
        SetWindowPos(window, HWND_TOPMOST, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                     SWP_SHOWWINDOW);
        RECT client{};
        GetClientRect(window, &client);
        MoveView(client);
    } else {
        SetWindowPos(window, HWND_NOTOPMOST, savedRect_.left, savedRect_.top, RectWidth(savedRect_),
                     RectHeight(savedRect_), SWP_SHOWWINDOW);
        // A window maximised on a screen without task bar had the full
        // screen's size already: no WM_SIZE comes, yet the view must go
        // back under the caption.
        LayOut();
    }
}

void CFrameGame::MoveView(const RECT& rect) {
    if (HWND viewWindow = view.Hwnd()) MoveWindow(viewWindow, rect.left, rect.top, RectWidth(rect), RectHeight(rect), TRUE);
}

void CFrameGame::OnSize(UINT, int, int) { LayOut(); }

void CFrameGame::LayOut() {
    HWND window = Hwnd();
    RECT c{};
    GetClientRect(window, &c);
    if (!GameMode()) {
        MoveView(c);
        return;
    }
    if (!IsZoomed(window)) {
        c.left += 1;
        c.right -= 1;
        c.bottom -= 1;
    }
    if (fullScreen_) return;
    c.top += Scale(kCaptionHeight);
    MoveView(c);
    PlaceBackFrame();
    back.painter.Redraw();
}

void CFrameGame::PlaceBackFrame() {
    HWND backWindow = back.Hwnd();
    if (!backWindow) return;
    RECT r{};
    GetWindowRect(Hwnd(), &r);
    const int margin = Scale(back.shadowMargin);
    if (!IsRectEmpty(&r)) InflateRect(&r, margin, margin);
    MoveWindow(backWindow, r.left, r.top, RectWidth(r), RectHeight(r), TRUE);
}

// Full screen fills the monitor the frame went to; the title is drawn at
// the new scale.
void CFrameGame::OnDpiChanged(UINT dpi, const RECT& suggested) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (fullScreen_ && GetMonitorInfoW(MonitorFromRect(&suggested, MONITOR_DEFAULTTONEAREST), &monitor)) {
        ApplyDpi(dpi, monitor.rcMonitor);
        RECT client{};
        GetClientRect(Hwnd(), &client);
        MoveView(client);
    } else {
        CImageCtrl::OnDpiChanged(dpi, suggested);
    }
    if (titleFont) titleFont = MakeFont(kTitleFontFamily, kTitleFontPoints, Gdiplus::FontStyleRegular, Dpi());
    tray.Attach(Hwnd());
    view.SetDpiZoom(MulDiv(kFullZoomPercent, static_cast<int>(Dpi()), static_cast<int>(SystemDpi())));
    LayOut();
}

void CFrameGame::OnMove(int, int) {
    if (GameMode()) PlaceBackFrame();
}

void CFrameGame::OnShowWindow(BOOL show, int status) {
    CImageCtrl::OnShowWindow(show, status);
    if (!GameMode() && back.Hwnd()) ShowWindow(back.Hwnd(), show ? SW_SHOW : SW_HIDE);
}

void CFrameGame::OnDestroy() {
    windowForPage_ = nullptr;
    bossKey.Unregister();
    tray.Remove();
    titleFont.reset();
    titleBrush.reset();
    if (HWND backWindow = back.Hwnd()) PostMessageW(backWindow, WM_CLOSE, 0, 0);
    if (CHtmlAppManager* manager = HtmlAppManager()) manager->Quit();
}

LRESULT CFrameGame::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_HOTKEY:
        OnBossKey(wParam);
        break;
    case WM_SYSCOMMAND:
        if (!GameMode() && back.Hwnd()) {
            const WPARAM command = wParam & 0xFFF0;
            if (command == SC_MINIMIZE) ShowWindow(back.Hwnd(), SW_HIDE);
            if (command == SC_RESTORE) ShowWindow(back.Hwnd(), SW_SHOW);
        }
        break;
    case WM_CLOSE:
        Close();
        return 1;
    case WM_MOUSELEAVE:
        ShowTip(L"");
        break;
    case WM_MOUSEWHEEL: {
        MSG wheel{Hwnd(), msg, wParam, lParam, 0, {}};
        if (view.TakeZoomInput(wheel)) return 0;
        break;
    }
    case kFrameCommandMessage:
        switch (wParam) {
        case kFrameCommandEnterGameMode:
            EnterGameMode();
            break;
        case kFrameCommandClose:
            Close();
            return 1;
        case kFrameCommandToggleFullScreen:
            ToggleFullScreen();
            break;
        case kFrameCommandLeaveFullScreen:
            if (fullScreen_) ToggleFullScreen();
            break;
        case kFrameCommandArmLoginTimer:
            SetTimer(Hwnd(), kLoginTimerId, kLoginTimerMs, nullptr);
            break;
        case kFrameCommandToggleSound:
            if (GameMode()) ToggleSound();
            break;
        case kFrameCommandScreenshot:
            if (GameMode()) TakeScreenshot();
            break;
        default:
            break;
        }
        break;
    case kTrayCallbackMessage:
        if (OnTrayNotify(wParam, lParam)) return 1;
        break;
    default:
        // A restarted shell has forgotten the icon of a hidden frame.
        if (msg == CTrayIcon::TaskbarCreatedMessage() && hiddenByBossKey) tray.OnTaskbarCreated();
        break;
    }
    const LRESULT result = CImageCtrl::OnMessage(msg, wParam, lParam);
    if (msg == WM_MOUSEMOVE && !painter.HotButton()) ShowTip(L"");
    return result;
}

void CFrameGame::OnTimer(UINT_PTR id) {
    HWND window = Hwnd();
    if (id == kLoginTimerId) {
        KillTimer(window, kLoginTimerId);
        if (!GameMode()) PostMessageW(window, kFrameCommandMessage, kFrameCommandEnterGameMode, 0);
    } else if (id == kMaximizeTimerId) {
        KillTimer(window, kMaximizeTimerId);
        ShowWindow(window, showMaximized_ ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
        SetForegroundWindow(window);
    } else if (id == kScreenshotTimerId) {
        KillTimer(window, kScreenshotTimerId);
        TakeScreenshot();
    }
}

bool CFrameGame::OnItemHover(CImageButton* button) {
    if (!button) return true;
    if (button->id == kToolsButtonId &&
        ((toolMenu.Hwnd() && IsWindowVisible(toolMenu.Hwnd())) || (trayMenu.Hwnd() && IsWindowVisible(trayMenu.Hwnd())))) {
        return true;
    }
    ShowTip(button->tooltipText[0] ? button->tooltipText : button->text);
    return true;
}

void CFrameGame::ShowTip(const wchar_t* text) {
    if (!text) text = L"";
    if (wcscmp(text, lastTip_) == 0) return;
    CopyText(lastTip_, text);
    tooltip.SetTipText(lastTip_);
}

void CFrameGame::OnPaintForeground(Gdiplus::Graphics& graphics) {
    if (!GameMode() || !titleFont || !titleBrush) return;
    RECT client{};
    GetClientRect(Hwnd(), &client);
    wchar_t title[kPageTitleUnits];
    CopyPageTitle(title);
    Gdiplus::StringFormat format;
    format.SetAlignment(Gdiplus::StringAlignmentNear);
    format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    format.SetTrimming(Gdiplus::StringTrimmingEllipsisWord);
    const auto scale = static_cast<Gdiplus::REAL>(Dpi()) / static_cast<Gdiplus::REAL>(kBaseDpi);
    const Gdiplus::RectF box(kTitleLeft * scale, kTitleTop * scale,
                             static_cast<Gdiplus::REAL>(client.right - Scale(kTitleRightReserve)), kTitleHeight * scale);
    graphics.DrawString(title, -1, titleFont.get(), box, &format, titleBrush.get());
}

bool CFrameGame::OnItemClick(CImageButton* button) {
    if (!button) return true;
    switch (button->id) {
    case kCaptionCloseId: {
        CloseMsgWnd question;
        if (question.ShowCloseConfirm(Hwnd()) == IDOK) Close();
        return false;
    }
    case kFullScreenButtonId:
        PostMessageW(Hwnd(), kFrameCommandMessage, kFrameCommandToggleFullScreen, 0);
        return true;
    case kSoundButtonId:
        ToggleSound();
        return true;
    case kToolsButtonId: {
        FillMenu(toolMenu, kToolMenuItems, Dpi());
        POINT cursor{};
        GetCursorPos(&cursor);
        RECT window{};
        GetWindowRect(Hwnd(), &window);
        toolMenu.Popup(POINT{cursor.x - Scale(kToolMenuCursorOffset), window.top + Scale(kToolMenuTop)}, Dpi());
        return true;
    }
    case kCustomerServiceLinkId:
        LinkOpener::Open(kCustomerServiceUrl);
        return true;
    case kForumLinkId:
        LinkOpener::Open(kForumUrl);
        return true;
    case kOfficialSiteLinkId:
        LinkOpener::Open(kOfficialSiteUrl);
        return true;
    case kTopUpLinkId: {
        wchar_t name[CClientApp::kUserNameUnits];
        app_.CopyUserName(name);
        wchar_t serverId[kServerIdUnits];
        CopyServerId(serverId);
        wchar_t url[LinkOpener::kLinkUnits];
        LinkOpener::TopUpUrl(name, serverId, LinkOpener::UserNameParameter::Always, url);
        LinkOpener::Open(url);
        return true;
    }
    default:
        return true;
    }
}

void CFrameGame::Close() {
    // Once: a close whose page thread does not end comes again.
    if (!settingsSaved_) {
        settingsSaved_ = true;
        settings_.zoom = view.Zoom();
        if (GameMode()) KeepPlacement();
        SavePlayerSettings(app_.ProgramDir(), settings_, GameMode());
    }
    if (app_.StopHtmlThread()) {
        if (HWND window = Hwnd()) DestroyWindow(window);
        return;
    }
    tray.Remove();
    modalRunning = false;
    // Wakes the loop when the close came as a sent message.
    PostMessageW(Hwnd(), WM_NULL, 0, 0);
}

void CFrameGame::CloseMenu(CImageMenu& menu) {
    if (HWND window = menu.Hwnd()) {
        ShowWindow(window, SW_HIDE);
        DestroyWindow(window);
    }
}

void CFrameGame::OnToolMenuItem(CImageItem* item) {
    switch (item ? item->id : 0) {
    case kClearCacheItemId:
        CacheClearer::Start(Hwnd());
        break;
    case kRefreshItemId:
        view.Refresh();
        break;
    case kScreenshotItemId:
        SetTimer(Hwnd(), kScreenshotTimerId, kScreenshotTimerMs, nullptr);
        break;
    default:
        break;
    }
    CloseMenu(toolMenu);
}

void CFrameGame::OnTrayMenuItem(CImageItem* item) {
    switch (item ? item->id : 0) {
    case kSettingsItemId:
        ShowFromTray();
        break;
    case kExitItemId:
        // No question here: the player chose to close from the tray.
        tray.Remove();
        if (HWND menu = trayMenu.Hwnd()) ShowWindow(menu, SW_HIDE);
        modalResult = IDOK;
        modalRunning = false;
        Close();
        return;
    default:
        break;
    }
    CloseMenu(trayMenu);
}

bool CFrameGame::OnTrayNotify(WPARAM iconId, LPARAM mouseMessage) {
    if (iconId != kTrayIconId) return true;
    if (mouseMessage == NIN_BALLOONUSERCLICK || mouseMessage == NIN_BALLOONTIMEOUT || mouseMessage == NIN_BALLOONHIDE) {
        if (mouseMessage == NIN_BALLOONUSERCLICK) Screenshot::ShowInFolder(lastShot_);
        tray.OnBalloonEnd();
    } else if (mouseMessage == WM_LBUTTONDBLCLK) {
        ShowFromTray();
    } else if (mouseMessage == WM_RBUTTONUP) {
        FillMenu(trayMenu, kTrayMenuItems, Dpi());
        POINT p{};
        GetCursorPos(&p);
        const RECT work = WorkAreaOf(Hwnd());
        p.y = std::min<LONG>(p.y, work.bottom - work.top);
        p.x -= Scale(RectWidth(work) < GetSystemMetrics(SM_CXSCREEN) ? kTrayMenuSideOffset : kTrayMenuOffset);
        p.y -= trayMenu.painter.ContentHeight();
        trayMenu.Popup(p, Dpi());
    }
    return false;
}

void CFrameGame::OnBossKey(WPARAM id) {
    if (id != static_cast<WPARAM>(kBossKeyHotKeyId)) return;
    if (!hiddenByBossKey && IsWindowVisible(Hwnd())) {
        HideToTray();
    } else if (hiddenByBossKey) {
        ShowFromTray();
    }
}

// The border goes and comes with the game: left on screen, its outlines
// would show where the hidden game was.
void CFrameGame::HideToTray() {
    tray.Add();
    ShowWindow(Hwnd(), SW_HIDE);
    if (back.Hwnd()) ShowWindow(back.Hwnd(), SW_HIDE);
    hiddenByBossKey = true;
    ApplySound();
    TraceEvent("mode hidden");
}

void CFrameGame::ShowFromTray() {
    hiddenByBossKey = false;
    ApplySound();
    TraceEvent("mode shown");
    tray.Remove();
    if (back.Hwnd()) ShowWindow(back.Hwnd(), SW_SHOWNOACTIVATE);
    ShowWindow(Hwnd(), SW_SHOW);
    InvalidateRect(Hwnd(), nullptr, TRUE);
}

void CFrameGame::ToggleSound() {
    settings_.muted = !settings_.muted;
    ApplySound();
    ShowSoundLook();
}

// A game hidden by the boss key is silent whatever the player chose. A
// session never set sounds, so a start with sound asks nothing of Core Audio.
void CFrameGame::ApplySound() {
    const bool muted = settings_.muted || hiddenByBossKey;
    if ((sound.Muted() == 1) != muted) sound.SetMuted(muted);
}

void CFrameGame::ShowSoundLook() {
    CImageButton* button = painter.FindButton(kSoundButtonId);
    if (!button) return;
    if (settings_.muted) {
        button->SetImages(IDB_CAPTION_MUTED, IDB_CAPTION_MUTED_HOVER, IDB_CAPTION_MUTED_PRESSED, IDB_CAPTION_MUTED);
    } else {
        button->SetImages(IDB_CAPTION_SOUND, IDB_CAPTION_SOUND_HOVER, IDB_CAPTION_SOUND_PRESSED, IDB_CAPTION_SOUND);
    }
    const wchar_t* tip = settings_.muted ? kUnmuteTip : kMuteTip;
    button->SetText(tip);
    CopyText(button->tooltipText, tip);
    if (painter.HotButton() == button) ShowTip(tip);
    InvalidateRect(Hwnd(), &button->rect, FALSE);
    painter.Redraw();
}

// Only the page, as the player sees it now; the game goes on meanwhile.
void CFrameGame::TakeScreenshot() {
    HWND window = Hwnd();
    HWND viewWindow = view.Hwnd();
    if (!viewWindow || !IsWindowVisible(window) || IsIconic(window)) return;
    RECT page{};
    GetWindowRect(viewWindow, &page);
    const Screenshot::Result result = Screenshot::Take(page, lastShot_);
    if (result == Screenshot::Result::Saved) {
        tray.ShowBalloon(L"截图已保存", lastShot_, false);
    } else {
        tray.ShowBalloon(L"截图失败", ShotFailureText(result), true);
    }
}

void CFrameGame::CopyServerId(wchar_t (&id)[kServerIdUnits]) const {
    std::lock_guard<std::mutex> hold(pageLock_);
    CopyText(id, serverId_);
}

void CFrameGame::CopyPageTitle(wchar_t (&title)[kPageTitleUnits]) const {
    std::lock_guard<std::mutex> hold(pageLock_);
    CopyText(title, pageTitle_);
}

void CFrameGame::SetPageTitle(const wchar_t* title) {
    {
        std::lock_guard<std::mutex> hold(pageLock_);
        CopyText(pageTitle_, title);
    }
    // A null window would repaint every window of the desktop.
    HWND window = windowForPage_;
    if (window && GameMode()) InvalidateRect(window, nullptr, FALSE);
}

// The handlers below run on the HTML thread.

void CFrameGame::OnNavigateComplete(const wchar_t* url) {
    if (!GameMode()) {
        if (LoginTracking::IsLoginUserPage(url)) ReadLoginUser();
        if (LoginTracking::IsGameLoginUrl(url)) {
            TakeServerId(url);
            if (HWND window = windowForPage_) PostMessageW(window, kFrameCommandMessage, kFrameCommandArmLoginTimer, 0);
        }
    }
    if (GameMode()) view.OnSize(0, 0, 0);
}

void CFrameGame::OnDocumentComplete(IDispatch*, const wchar_t* url) {
    // A new document starts at the browser's own zoom.
    view.ApplyZoom();
    ComPtr<IHTMLDocument2> document = view.browser.GetDocument2();
    if (!document) return;
    if (LoginTracking::IsLoginUserPage(url)) ReadLoginUser();
    BSTR rawTitle = nullptr;
    const HRESULT hr = document->get_title(&rawTitle);
    ScopedBstr title(rawTitle);
    if (SUCCEEDED(hr) && title) SetPageTitle(title.Get());
    if (GameMode()) {
        view.OnSize(0, 0, 0);
        return;
    }
    if (LoginTracking::IsGameLoginUrl(url)) {
        TakeServerId(url);
        if (HWND window = windowForPage_) PostMessageW(window, kFrameCommandMessage, kFrameCommandEnterGameMode, 0);
    } else if (LoginTracking::IsLoginUserPage(url)) {
        ReadLoginUser();
    }
    if (GameMode()) view.OnSize(0, 0, 0);
}

void CFrameGame::OnNewWindow(IDispatch**, VARIANT_BOOL* cancel, DWORD flags, const wchar_t*, const wchar_t* url) {
    // The page never gets a browser window of its own. Only a window the
    // player asked for goes on to the player's browser, and only a web
    // address; a page opening windows by itself gets none.
    if (cancel) *cancel = VARIANT_TRUE;
    if (flags & NWMF_USERINITED) LinkOpener::Open(url);
}

// Top-level and frame navigations alike. A refused one is only cancelled:
// nothing else, the shell least of all, gets its address.
void CFrameGame::OnBeforeNavigate(IDispatch*, const wchar_t* url, VARIANT_BOOL* cancel) {
    if (cancel && !LinkOpener::IsPageUrl(url)) *cancel = VARIANT_TRUE;
}

void CFrameGame::TakeServerId(const wchar_t* url) {
    std::lock_guard<std::mutex> hold(pageLock_);
    LoginTracking::ExtractServerId(url, serverId_);
}

void CFrameGame::ReadLoginUser() {
    ComPtr<IHTMLDocument3> document = view.browser.GetDocument3();
    if (!document) return;
    ScopedBstr id(SysAllocString(L"login_user"));
    ComPtr<IHTMLElement> element;
    if (FAILED(document->getElementById(id.Get(), element.Receive())) || !element) return;
    BSTR rawText = nullptr;
    const HRESULT hr = element->get_innerText(&rawText);
    ScopedBstr text(rawText);
    if (SUCCEEDED(hr) && text) app_.SetUserName(text.Get());
}
