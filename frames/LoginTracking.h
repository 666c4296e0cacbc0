// What the client learns from the addresses the game pages visit: whether a
// page shows the logged-in player, whether the player has just entered a
// server, and which server. Pure text tests, so the HTML thread's handlers
// stay short and the rules can be checked without a browser.
#pragma once

#include <cstddef>

namespace LoginTracking {

constexpr size_t kServerIdUnits = 64;

// The page holds the player's name in its element "login_user".
bool IsLoginUserPage(const wchar_t* url);
// The player entered a server: the address names the game-login action or
// the login service's host.
bool IsGameLoginUrl(const wchar_t* url);
// Copies the value after "server_id=" up to the first "&" (at most 63
// units, never half a character) into serverId and returns true. Without
// the parameter serverId is left as it was and the answer is false.
bool ExtractServerId(const wchar_t* url, wchar_t (&serverId)[kServerIdUnits]);

}  // namespace LoginTracking
