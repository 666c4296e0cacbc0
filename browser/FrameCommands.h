// The game frame's command message and its commands. The frame owns them;
// they live here because the HTML view, below the frames, posts some of them
// (the game keys pressed inside the page).
#pragma once

#include <windows.h>

// Posted to the frame; wParam selects the command, lParam is 0.
constexpr UINT kFrameCommandMessage = WM_USER + 1253;  // 2277
constexpr WPARAM kFrameCommandEnterGameMode = 1001;
constexpr WPARAM kFrameCommandClose = 5557;
constexpr WPARAM kFrameCommandToggleFullScreen = 5562;
constexpr WPARAM kFrameCommandLeaveFullScreen = 5563;
// F8 and F9 inside the page: sound off or on, a screenshot of the page.
constexpr WPARAM kFrameCommandToggleSound = 5565;
constexpr WPARAM kFrameCommandScreenshot = 5566;
