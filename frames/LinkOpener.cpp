#include "frames/LinkOpener.h"

#include "net/Endpoints.h"
#include "net/PercentEncode.h"
#include "base/TextBuf.h"

#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <iterator>
#include <string>

namespace {

constexpr wchar_t kUserNameKey[] = L"&user_name=";
constexpr wchar_t kServerIdKey[] = L"&server_id=";
constexpr wchar_t kBlankPage[] = L"about:blank";

// The page and both keys fit whatever the values.
static_assert(std::size(kTopUpUrl) + std::size(kUserNameKey) + std::size(kServerIdKey) - 2 <=
              LinkOpener::kLinkUnits);

bool StartsWithNoCase(const wchar_t* text, const wchar_t* prefix) {
    return _wcsnicmp(text, prefix, wcslen(prefix)) == 0;
}

// Characters that end an argument on a command line or never stand raw in
// an address: C0 and C1 controls, DEL, the Unicode blanks, quotation marks
// and angle brackets.
bool IsForbidden(wchar_t c) {
    if (c <= L' ' || (c >= 0x7F && c <= 0x9F)) return true;
    if (c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200B) || c == 0x2028 || c == 0x2029 ||
        c == 0x202F || c == 0x205F || c == 0x3000 || c == 0xFEFF)
        return true;
    return c == L'"' || c == L'<' || c == L'>';
}

// Whether the authority (what follows "scheme://") names a host: after
// any user info, before the port, path, query or fragment.
bool HasHost(const wchar_t* authority) {
    const size_t length = wcscspn(authority, L"/?#\\");
    const std::wstring hostPort(authority, length);
    const size_t at = hostPort.rfind(L'@');
    const std::wstring host = at == std::wstring::npos ? hostPort : hostPort.substr(at + 1);
    return !host.empty() && host[0] != L':';
}

// RFC 3986's unreserved punctuation; letters and digits stay anyway.
constexpr char kLinkValueKeeps[] = "-._~";

std::wstring PercentEncodeUtf8(const wchar_t* text) {
    // A UTF-8 text too long for this buffer (WideToAnsi cuts it) encodes to
    // more than a whole address and is left out by the caller anyway.
    char utf8[LinkOpener::kLinkUnits];
    WideToAnsi(text, utf8, CP_UTF8);
    return AnsiToWide(PercentEncode(utf8, kLinkValueKeeps).c_str());
}

}  // namespace

namespace LinkOpener {

bool IsWebUrl(const wchar_t* url) {
    if (!url) return false;
    for (const wchar_t* p = url; *p; ++p) {
        if (IsForbidden(*p)) return false;
    }
    for (const wchar_t* scheme : {L"http://", L"https://"}) {
        if (StartsWithNoCase(url, scheme)) return HasHost(url + wcslen(scheme));
    }
    return false;
}

bool IsPageUrl(const wchar_t* url) { return IsWebUrl(url) || (url && _wcsicmp(url, kBlankPage) == 0); }

bool Open(const wchar_t* url) {
    if (!IsWebUrl(url)) return false;
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", url, nullptr, nullptr, SW_SHOW));
    return result > 32;
}

bool TopUpUrl(const wchar_t* userName, const wchar_t* serverId, UserNameParameter nameParameter,
              wchar_t (&url)[kLinkUnits]) {
    std::wstring address = kTopUpUrl;
    bool whole = true;
    // Appends the encoded value when it fits whole after what is there.
    const auto appendValue = [&](const wchar_t* value) {
        const std::wstring encoded = PercentEncodeUtf8(value);
        if (address.size() + encoded.size() < kLinkUnits) {
            address += encoded;
            return true;
        }
        whole = false;
        return false;
    };
    // A name that does not fit leaves the address as it is before login.
    if ((userName && *userName) || nameParameter == UserNameParameter::Always) {
        const size_t withoutName = address.size();
        address += kUserNameKey;
        if (!appendValue(userName) && nameParameter == UserNameParameter::WhenKnown) address.resize(withoutName);
    }
    // A server id that does not fit goes with its key: the address then
    // looks like one of a login without a server id.
    if (serverId && *serverId) {
        const size_t withoutId = address.size();
        address += kServerIdKey;
        if (!appendValue(serverId)) address.resize(withoutId);
    }
    CopyText(url, address.c_str());
    return whole;
}

}  // namespace LinkOpener
