// Clearing the browser's URL cache from the tool menu. The enumeration can
// take a while and the completion notice waits for the player, so it runs
// on a thread of its own; a request while one runs is dropped, so two quick
// clicks give one clearing and one notice.
#pragma once

#include <windows.h>

namespace CacheClearer {

constexpr wchar_t kClearedText[] = L"清理缓存完成";

// The thread routine: deletes every entry of the URL cache, then tells the
// player with a message box over owner (title: the product name) and
// returns 0 once it is closed. Returns 0 at once while another clearing
// runs in this process.
DWORD ClearCacheThread(HWND owner);

// Runs ClearCacheThread(owner) on a new thread whose handle is not kept.
// False when no thread could be started.
bool Start(HWND owner);

}  // namespace CacheClearer
