// The game frame's numbers: the tray callback, timers, hot key, caption
// elements and menu items, beside its command message (which the HTML view
// posts too, so it is declared below the frames).
#pragma once

#include "browser/FrameCommands.h"

#include <windows.h>

// Posted by the HTML thread: arm the login timer on the frame's own thread.
constexpr WPARAM kFrameCommandArmLoginTimer = 5564;

constexpr UINT kTrayCallbackMessage = WM_USER + 4532;  // 5556
constexpr UINT kTrayIconId = 128;

constexpr UINT_PTR kLoginTimerId = 5558;
constexpr UINT kLoginTimerMs = 1500;
constexpr UINT_PTR kMaximizeTimerId = 5559;
constexpr UINT kMaximizeTimerMs = 500;
constexpr int kBossKeyId = 5561;

// Caption elements (game mode). 10, 20, 30 and 40 are the painter's own
// close, minimise, maximise and restore.
constexpr int kCaptionBarId = 10011;
constexpr int kCaptionIconId = 10012;
constexpr int kCaptionCloseId = 10;
constexpr int kCaptionMinimizeId = 20;
constexpr int kCaptionMaximizeId = 30;
constexpr int kCaptionRestoreId = 40;
constexpr int kFullScreenButtonId = 10013;
constexpr int kToolsButtonId = 10014;
constexpr int kServiceLinkId = 10020;
constexpr int kForumLinkId = 10021;
constexpr int kOfficialSiteLinkId = 10022;
constexpr int kTopUpLinkId = 10023;

// Menu items.
constexpr int kClearCacheItemId = 10015;
constexpr int kRefreshItemId = 10016;
constexpr int kBossKeyItemId = 10017;
constexpr int kShowFrameItemId = 10018;
constexpr int kCloseItemId = 10019;
