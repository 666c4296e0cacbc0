// What the client learns from the addresses the game pages visit: whether a
// page shows the logged-in player, whether the player has just entered a
// server, and which server. Only the game's own pages count: an address is
// parsed into scheme, host, port, path and query, and it must be http or
// https on the landing page's origin or the login service's host (and
// port); the markers are then looked for in the parsed path and query, so
// no other page can set the player's name or start game mode by naming
// them. Pure address tests, so the HTML thread's handlers stay short and
// the rules can be checked without a browser.
#pragma once

#include <cstddef>

namespace LoginTracking {

constexpr size_t kServerIdUnits = 64;

// A page of the game's origins whose path names "xf.html": its element
// "login_user" holds the player's name.
bool IsLoginUserPage(const wchar_t* url);
// The player entered a server: a page of the login service's host, or of
// the game's origins with the query parameter act=gamelogin.
bool IsGameLoginUrl(const wchar_t* url);
// Copies the value of the query parameter "server_id" (up to the next "&",
// at most 63 units, never half a character) into serverId and returns
// true. Without the parameter serverId is left as it was and the answer is
// false.
bool ExtractServerId(const wchar_t* url, wchar_t (&serverId)[kServerIdUnits]);

}  // namespace LoginTracking
