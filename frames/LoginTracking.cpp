#include "frames/LoginTracking.h"
#include "net/Endpoints.h"
#include "ui/TextBuf.h"
#include <cwchar>
#include <string>
bool IsLoginUserPage(const wchar_t* url) { return url && wcsstr(url, L"xf.html"); }
bool IsGameLoginUrl(const wchar_t* url) { return url && (wcsstr(url, L"act=gamelogin") || wcsstr(url, kLoginHost)); }
bool ExtractServerId(const wchar_t* url, wchar_t (&id)[64]) {
    const wchar_t* start = url ? wcsstr(url, L"server_id=") : nullptr;
    if (!start) return false;
    start += 10;
    const wchar_t* end = wcschr(start, L'&');
    std::wstring value = end ? std::wstring(start, end) : std::wstring(start);
    CopyText(id, value.c_str());
    return true;
}
