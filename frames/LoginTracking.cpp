#include "frames/LoginTracking.h"

#include "net/Endpoints.h"
#include "base/TextBuf.h"

#include <cwchar>
#include <iterator>

namespace {

// Markers are exact, case-sensitive substrings anywhere in the address.
constexpr wchar_t kLoginUserPageMarker[] = L"xf.html";
constexpr wchar_t kGameLoginMarker[] = L"act=gamelogin";
constexpr wchar_t kServerIdKey[] = L"server_id=";

// An empty marker would be found in every address.
static_assert(std::size(kLoginHost) > 1, "the login host is a setting that must not be empty");

bool Contains(const wchar_t* url, const wchar_t* marker) { return url && wcsstr(url, marker); }

}  // namespace

namespace LoginTracking {

bool IsLoginUserPage(const wchar_t* url) { return Contains(url, kLoginUserPageMarker); }

bool IsGameLoginUrl(const wchar_t* url) { return Contains(url, kGameLoginMarker) || Contains(url, kLoginHost); }

bool ExtractServerId(const wchar_t* url, wchar_t (&serverId)[kServerIdUnits]) {
    const wchar_t* key = url ? wcsstr(url, kServerIdKey) : nullptr;
    if (!key) return false;
    const wchar_t* value = key + std::size(kServerIdKey) - 1;
    Format(serverId, L"%.*s", static_cast<int>(wcscspn(value, L"&")), value);
    return true;
}

}  // namespace LoginTracking
