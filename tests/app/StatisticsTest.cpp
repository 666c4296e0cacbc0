// The landing URL and the report bodies, built from chosen inputs.
#include "app/Statistics.h"

#include "net/Endpoints.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

constexpr char kOne[] = "00:1A:2B:3C:4D:5E";
constexpr char kFour[] = "00:1A:2B:3C:4D:00#00:1A:2B:3C:4D:01#00:1A:2B:3C:4D:02#00:1A:2B:3C:4D:03";

std::wstring Landing(const wchar_t* installTime, int agentId, int siteId, int runCount, const char* mac) {
    wchar_t url[kLandingUrlUnits];
    FormatLandingUrl(url, L"http://play.test/wd4/", installTime, agentId, siteId, runCount, mac);
    return url;
}

TEST(Statistics, LandingUrlCarriesTheQueryInOrder) {
    EXPECT_EQ(L"http://play.test/wd4/?installtime=2024-05-01%2010:00&agent_id=12&cplaceid=-3&runcount=0"
              L"&mac=00:1A:2B:3C:4D:5E",
              Landing(L"2024-05-01 10:00", 12, -3, 0, kOne));
    EXPECT_EQ(L"http://play.test/wd4/?installtime=&agent_id=0&cplaceid=0&runcount=7&mac=",
              Landing(nullptr, 0, 0, 7, nullptr))
        << "no adapter leaves mac= empty";
}

TEST(Statistics, LandingUrlKeepsThreeWholeAddresses) {
    std::wstring url = Landing(L"1", 1, 2, 3, kFour);
    EXPECT_EQ(L"&mac=00:1A:2B:3C:4D:00%2300:1A:2B:3C:4D:01%2300:1A:2B:3C:4D:02",
              url.substr(url.find(L"&mac=")));
}

TEST(Statistics, LandingPageIsTheConfiguredOne) {
    wchar_t url[kLandingUrlUnits];
    BuildLandingUrl(url, L"x", 5, 6, 1);
    std::wstring text = url;
    const std::wstring prefix = std::wstring(kLandingPage) + L"?installtime=x&agent_id=5&cplaceid=6&runcount=1&mac=";
    EXPECT_EQ(prefix, text.substr(0, prefix.size()));
}

TEST(Statistics, InstallReportBody) {
    char body[kFormBufferBytes];
    FormatInstallReport(body, 1714557600ULL, kOne, 12, 34);
    EXPECT_STREQ("game_id=174&action=install&install_time=1714557600&uuid=00:1A:2B:3C:4D:5E&agent_id=12&site_id=34",
                 body);
    FormatInstallReport(body, 18446744073709551615ULL, nullptr, -1, 0);
    EXPECT_STREQ("game_id=174&action=install&install_time=18446744073709551615&uuid=&agent_id=-1&site_id=0", body);
}

TEST(Statistics, ValuesAreEncodedSoTheyMeanWhatTheySay) {
    char body[kFormBufferBytes];
    FormatExitReport(body, 5, kFour, 12, 34, "bob&action=install&agent_id=999 +%=\x01\xD5\xC5Tom-1.2_x:y#");
    EXPECT_STREQ("game_id=174&action=close&logout_time=5&uuid=00:1A:2B:3C:4D:00#00:1A:2B:3C:4D:01#00:1A:2B:3C:4D:02"
                 "#00:1A:2B:3C:4D:03&agent_id=12&site_id=34&user_name=bob%26action%3Dinstall%26agent_id%3D999%20%2B"
                 "%25%3D%01%D5%C5Tom-1.2_x:y#",
                 body);
    FormatExitReport(body, 5, "", 0, 0, nullptr);
    EXPECT_STREQ("game_id=174&action=close&logout_time=5&uuid=&agent_id=0&site_id=0&user_name=", body);
    FormatExitReport(body, 5, std::string(259, 'A').c_str(), 0, 0, std::string(63, '&').c_str());
    EXPECT_STREQ("&user_name=", body + strlen(body) - 11);
    const std::wstring overlong = Landing(std::wstring(200, L'&').c_str(), 1, 2, 3, kOne);
    EXPECT_EQ(0u, overlong.find(L"http://play.test/wd4/?installtime=&agent_id=1&"));
}

}  // namespace
