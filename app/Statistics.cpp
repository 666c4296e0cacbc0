#include "app/Statistics.h"

#include "net/Endpoints.h"
#include "net/MacList.h"
#include "net/PercentEncode.h"
#include "net/UnixTime.h"
#include "base/TextBuf.h"

#include <cstring>
#include <cwchar>
#include <string>

namespace {

constexpr wchar_t kLandingFormat[] = L"%s?installtime=%s&agent_id=%d&cplaceid=%d&runcount=%d&mac=%s";
constexpr char kInstallFormat[] = "game_id=%d&action=install&install_time=%I64u&uuid=%s&agent_id=%d&site_id=%d";
constexpr char kExitFormat[] =
    "game_id=%d&action=close&logout_time=%I64u&uuid=%s&agent_id=%d&site_id=%d&user_name=%s";

const char* OrEmpty(const char* text) { return text ? text : ""; }
const wchar_t* OrEmpty(const wchar_t* text) { return text ? text : L""; }

}  // namespace

void FormatLandingUrl(wchar_t (&url)[kLandingUrlUnits], const wchar_t* page, const wchar_t* installTime,
                      int agentId, int siteId, int runCount, const char* macList) {
    const std::string whole(OrEmpty(macList), MacListPrefix(macList, kLandingMacUnits - 1));
    const std::wstring mac = AnsiToWide(PercentEncode(whole.c_str(), kQueryValueKeeps).c_str());
    // The install time goes out in the code page's bytes, as every narrow
    // value of the client does.
    char timeBytes[kLandingUrlUnits];
    WideToAnsi(OrEmpty(installTime), timeBytes);
    const std::wstring time = AnsiToWide(PercentEncode(timeBytes, kQueryValueKeeps).c_str());

    wmemset(url, L'\0', kLandingUrlUnits);
    // An install time that does not fit whole is left out: cut, it could
    // end inside an escape and take the fields after it along.
    if (!Format(url, kLandingFormat, OrEmpty(page), time.c_str(), agentId, siteId, runCount, mac.c_str())) {
        wmemset(url, L'\0', kLandingUrlUnits);
        Format(url, kLandingFormat, OrEmpty(page), L"", agentId, siteId, runCount, mac.c_str());
    }
}

void FormatInstallReport(char (&body)[kFormBufferBytes], uint64_t installTime, const char* deviceId,
                         int agentId, int siteId) {
    memset(body, 0, kFormBufferBytes);
    Format(body, kInstallFormat, kGameId, installTime, PercentEncode(deviceId, kFormValueKeeps).c_str(), agentId,
           siteId);
}

void FormatExitReport(char (&body)[kFormBufferBytes], uint64_t logoutTime, const char* deviceId, int agentId,
                      int siteId, const char* userName) {
    FormatNamedReport(body, kExitFormat, logoutTime, deviceId, agentId, siteId, userName);
}

void BuildLandingUrl(wchar_t (&url)[kLandingUrlUnits], const wchar_t* installTime, int agentId, int siteId,
                     int runCount) {
    char macList[kFormBufferBytes] = {};
    GetMacList(macList);
    FormatLandingUrl(url, kLandingPage, installTime, agentId, siteId, runCount, macList);
}

void SendInstallReport(int agentId, int siteId) {
    char body[kFormBufferBytes];
    FormatInstallReport(body, UnixTimeNow(), MakeDeviceId().c_str(), agentId, siteId);
    PostForm(body);
}

void SendExitReport(int agentId, int siteId, const char* userName) {
    char body[kFormBufferBytes];
    FormatExitReport(body, UnixTimeNow(), MakeDeviceId().c_str(), agentId, siteId, userName);
    PostForm(body);
}
