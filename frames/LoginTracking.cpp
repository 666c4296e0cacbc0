#include "frames/LoginTracking.h"

#include "net/Endpoints.h"
#include "base/TextBuf.h"

#include <windows.h>
#include <wininet.h>

#include <cwchar>
#include <iterator>
#include <string>

namespace {

constexpr wchar_t kLoginUserPageMarker[] = L"xf.html";
constexpr wchar_t kGameLoginParameter[] = L"act=gamelogin";
constexpr wchar_t kServerIdKey[] = L"server_id=";
// The login host setting names no scheme: either web scheme reaches it.
constexpr wchar_t kLoginOriginFormat[] = L"http://%s/";
constexpr size_t kPartUnits = INTERNET_MAX_URL_LENGTH;

static_assert(std::size(kLoginHost) > 1, "the login host is a setting that must not be empty");

struct Address {
    INTERNET_SCHEME scheme = INTERNET_SCHEME_UNKNOWN;
    std::wstring host;
    INTERNET_PORT port = 0;
    std::wstring path;
    std::wstring query;  // without its "?"
};

// Whether the address's port, when it names one, is digits and nothing
// else: the platform's parser reads "host:80.evil" as port 80.
bool PlainPort(const wchar_t* url) {
    const wchar_t* start = wcsstr(url, L"://");
    if (!start) return false;
    start += 3;
    const std::wstring authority(start, wcscspn(start, L"/?#\\"));
    const std::wstring hostPort = authority.substr(authority.rfind(L'@') + 1);
    const size_t colon = hostPort.rfind(L':');
    if (colon == std::wstring::npos || hostPort.find(L']', colon) != std::wstring::npos) return true;
    const std::wstring port = hostPort.substr(colon + 1);
    return !port.empty() && port.find_first_not_of(L"0123456789") == std::wstring::npos;
}

// The parts of a web address; false for anything else or what the platform
// cannot parse.
bool Parse(const wchar_t* url, Address& address) {
    if (!url || !*url || wcslen(url) >= kPartUnits || !PlainPort(url)) return false;
    std::wstring host(kPartUnits, L'\0');
    std::wstring path(kPartUnits, L'\0');
    std::wstring extra(kPartUnits, L'\0');
    URL_COMPONENTSW parts{};
    parts.dwStructSize = sizeof(parts);
    parts.lpszHostName = host.data();
    parts.dwHostNameLength = kPartUnits;
    parts.lpszUrlPath = path.data();
    parts.dwUrlPathLength = kPartUnits;
    parts.lpszExtraInfo = extra.data();
    parts.dwExtraInfoLength = kPartUnits;
    if (!InternetCrackUrlW(url, 0, 0, &parts)) return false;
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) return false;
    address.scheme = parts.nScheme;
    address.host.assign(host.c_str(), parts.dwHostNameLength);
    address.port = parts.nPort;
    address.path.assign(path.c_str(), parts.dwUrlPathLength);
    // The extra part runs from "?" or "#"; the fragment is no query.
    std::wstring query(extra.c_str(), parts.dwExtraInfoLength);
    query = query.substr(0, query.find(L'#'));
    address.query = !query.empty() && query[0] == L'?' ? query.substr(1) : std::wstring();
    return !address.host.empty();
}

bool SameHost(const Address& a, const Address& b) {
    return a.port == b.port && CompareStringOrdinal(a.host.c_str(), static_cast<int>(a.host.size()), b.host.c_str(),
                                                    static_cast<int>(b.host.size()), TRUE) == CSTR_EQUAL;
}

// A fixed address of the build, parsed once; no host when it does not parse.
Address Parsed(const wchar_t* url) {
    Address address;
    return Parse(url, address) ? address : Address();
}

bool IsLandingOrigin(const Address& address) {
    static const Address landing = Parsed(kLandingPage);
    return !landing.host.empty() && landing.scheme == address.scheme && SameHost(landing, address);
}

// Host and port as the setting names them, on either scheme; a setting
// without a port means the scheme's own.
bool IsLoginOrigin(const Address& address) {
    static const Address login = [] {
        wchar_t origin[kPartUnits];
        return Format(origin, kLoginOriginFormat, kLoginHost) ? Parsed(origin) : Address();
    }();
    if (login.host.empty()) return false;
    Address expected = login;
    if (!wcschr(kLoginHost, L':')) expected.port = address.scheme == INTERNET_SCHEME_HTTPS ? INTERNET_DEFAULT_HTTPS_PORT
                                                                               : INTERNET_DEFAULT_HTTP_PORT;
    return SameHost(expected, address);
}

bool IsGameOrigin(const Address& address) { return IsLandingOrigin(address) || IsLoginOrigin(address); }

// The value of the query parameter that starts with key ("name="); null
// when there is none. The value runs to the next "&".
const wchar_t* ParameterValue(const std::wstring& query, const wchar_t* key) {
    const size_t keyLength = wcslen(key);
    for (size_t start = 0; start <= query.size();) {
        if (query.compare(start, keyLength, key) == 0) return query.c_str() + start + keyLength;
        const size_t next = query.find(L'&', start);
        if (next == std::wstring::npos) break;
        start = next + 1;
    }
    return nullptr;
}

bool HasParameter(const std::wstring& query, const wchar_t* parameter) {
    const wchar_t* value = ParameterValue(query, parameter);
    return value && (*value == L'\0' || *value == L'&');
}

}  // namespace

namespace LoginTracking {

bool IsLoginUserPage(const wchar_t* url) {
    Address address;
    return Parse(url, address) && IsGameOrigin(address) && address.path.find(kLoginUserPageMarker) != std::wstring::npos;
}

bool IsGameLoginUrl(const wchar_t* url) {
    Address address;
    if (!Parse(url, address)) return false;
    return IsLoginOrigin(address) || (IsLandingOrigin(address) && HasParameter(address.query, kGameLoginParameter));
}

bool ExtractServerId(const wchar_t* url, wchar_t (&serverId)[kServerIdUnits]) {
    Address address;
    if (!Parse(url, address)) return false;
    const wchar_t* value = ParameterValue(address.query, kServerIdKey);
    if (!value) return false;
    Format(serverId, L"%.*s", static_cast<int>(wcscspn(value, L"&")), value);
    return true;
}

}  // namespace LoginTracking
