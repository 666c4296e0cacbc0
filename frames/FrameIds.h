// The numbers the game frame and its helpers agree on: its private
// messages (the command message itself lives in browser/FrameCommands.h,
// since the HTML view posts it too), timers, the boss key's hot key, the ids of
// its caption elements and of its menu items with their labels. Written
// here once; the back frame's own element ids stay with the back frame.
#pragma once

#include "browser/FrameCommands.h"
#include "ui/ImagePaint.h"

#include <windows.h>

// Posted by the HTML thread: arm the login timer on the frame's own thread.
constexpr WPARAM kFrameCommandArmLoginTimer = 5564;

// The tray icon's callback: wParam the icon id, lParam the mouse message.
constexpr UINT kTrayCallbackMessage = WM_USER + 4532;  // 5556
constexpr UINT kTrayIconId = 128;

// Armed when a game-login address was seen: enter game mode unless the
// document-complete handler did already.
constexpr UINT_PTR kLoginTimerId = 5558;
constexpr UINT kLoginTimerMs = 1500;
// Armed by the switch to game mode: maximise once the frame has settled.
constexpr UINT_PTR kMaximizeTimerId = 5559;
constexpr UINT kMaximizeTimerMs = 500;

// Armed by the tool menu's screenshot row: the shot waits until the screen
// no longer shows the menu.
constexpr UINT_PTR kScreenshotTimerId = 5567;
constexpr UINT kScreenshotTimerMs = 200;

// Alt+D hides the game into the tray and brings it back.
constexpr int kBossKeyHotKeyId = 5561;
constexpr UINT kBossKeyModifiers = MOD_ALT;
constexpr UINT kBossKeyVirtualKey = 'D';

// Caption elements of game mode; 10, 20, 30 and 40 are the painter's own
// close, minimise, maximise and restore buttons.
constexpr int kCaptionCloseId = CImagePaint::kCloseId;
constexpr int kCaptionMinimizeId = CImagePaint::kMinimizeId;
constexpr int kCaptionMaximizeId = CImagePaint::kMaximizeId;
constexpr int kCaptionRestoreId = CImagePaint::kRestoreId;
constexpr int kCaptionBarId = 10011;
constexpr int kCaptionIconId = 10012;
constexpr int kFullScreenButtonId = 10013;
constexpr int kToolsButtonId = 10014;
// Sound off and on; its tip names what a click does.
constexpr int kSoundButtonId = 10024;
constexpr wchar_t kMuteTip[] = L"静音";
constexpr wchar_t kUnmuteTip[] = L"打开声音";
constexpr int kCustomerServiceLinkId = 10020;
constexpr int kForumLinkId = 10021;
constexpr int kOfficialSiteLinkId = 10022;
constexpr int kTopUpLinkId = 10023;

// The tools button's drop-down.
constexpr int kClearCacheItemId = 10015;
constexpr int kRefreshItemId = 10016;
constexpr int kBossKeyItemId = 10017;
constexpr wchar_t kClearCacheLabel[] = L"清除缓存";
constexpr wchar_t kRefreshLabel[] = L"刷新";
constexpr wchar_t kBossKeyLabel[] = L"老板键(Alt+D)";
constexpr int kScreenshotItemId = 10025;
constexpr wchar_t kScreenshotLabel[] = L"截图";

// The tray icon's menu.
constexpr int kSettingsItemId = 10018;
constexpr int kExitItemId = 10019;
constexpr wchar_t kSettingsLabel[] = L"系统设置";
constexpr wchar_t kExitLabel[] = L"关闭";
