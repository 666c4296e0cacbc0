#include "frames/LoginTracking.h"

#include "net/Endpoints.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using LoginTracking::kServerIdUnits;

std::wstring Landing(const wchar_t* rest) { return std::wstring(kLandingPage) + rest; }
std::wstring Login(const wchar_t* scheme, const wchar_t* rest) { return scheme + std::wstring(kLoginHost) + rest; }

TEST(LoginTracking, OnlyTheGamesOriginsCountAndOnlyInTheirParsedParts) {
    EXPECT_TRUE(LoginTracking::IsLoginUserPage(Landing(L"xf.html?x=1").c_str()));
    EXPECT_TRUE(LoginTracking::IsLoginUserPage(Login(L"https://", L"/wd4/xf.html").c_str()));
    EXPECT_TRUE(LoginTracking::IsGameLoginUrl(Landing(L"index.php?a=1&act=gamelogin&server_id=1").c_str()));
    EXPECT_TRUE(LoginTracking::IsGameLoginUrl(Login(L"http://", L"/enter").c_str()));
    EXPECT_TRUE(LoginTracking::IsGameLoginUrl(Login(L"https://", L"/").c_str()));

    const std::wstring landingHost = std::wstring(kLandingPage).substr(7, std::wstring(kLandingPage).find(L'/', 7) - 7);
    for (const std::wstring& hostile : std::vector<std::wstring>{
             Landing(L"XF.html"), Landing(L"?page=xf.html"), Landing(L"play?act=GameLogin"),
             Landing(L"play?xact=gamelogin"), Landing(L"play#act=gamelogin"), Landing(L"a/act=gamelogin/"),
             L"http://evil.example/wd4/xf.html", L"http://evil.example/?act=gamelogin&server_id=1",
             L"http://evil.example/?next=" + Login(L"http://", L"/"), L"http://evil.example/" + std::wstring(kLoginHost),
             L"http://" + landingHost + L".evil.example/wd4/xf.html", L"http://evil" + landingHost + L"/wd4/xf.html",
             L"http://" + landingHost + L"@evil.example/wd4/xf.html?act=gamelogin",
             L"http://" + std::wstring(kLoginHost) + L".evil.example/", L"http://" + std::wstring(kLoginHost) + L"0/",
             L"ftp://" + std::wstring(kLoginHost) + L"/", L"file:///C:/wd4/xf.html?act=gamelogin",
             L"javascript:'" + Login(L"http://", L"/xf.html") + L"'", L"about:blank#xf.html", L"", L"xf.html"}) {
        EXPECT_FALSE(LoginTracking::IsLoginUserPage(hostile.c_str())) << hostile;
        EXPECT_FALSE(LoginTracking::IsGameLoginUrl(hostile.c_str())) << hostile;
    }
    EXPECT_FALSE(LoginTracking::IsLoginUserPage(nullptr) || LoginTracking::IsGameLoginUrl(nullptr));
}

TEST(LoginTracking, ServerIdRunsFromTheKeyToTheFirstAmpersand) {
    wchar_t id[kServerIdUnits] = L"old";
    EXPECT_TRUE(LoginTracking::ExtractServerId(L"http://h/?act=gamelogin&server_id=123&x=1&y=2", id));
    EXPECT_STREQ(L"123", id);
    EXPECT_TRUE(LoginTracking::ExtractServerId(L"http://h/?act=gamelogin&server_id=77", id));
    EXPECT_STREQ(L"77", id);
    EXPECT_TRUE(LoginTracking::ExtractServerId(L"http://h/?server_id=&x=1", id));
    EXPECT_STREQ(L"", id);
}

TEST(LoginTracking, WithoutTheKeyTheServerIdStays) {
    wchar_t id[kServerIdUnits] = L"42";
    EXPECT_FALSE(LoginTracking::ExtractServerId(L"http://h/?act=gamelogin&server=9", id));
    EXPECT_FALSE(LoginTracking::ExtractServerId(L"http://h/server_id=9/?xserver_id=8", id));
    EXPECT_FALSE(LoginTracking::ExtractServerId(nullptr, id));
    EXPECT_STREQ(L"42", id);
}

TEST(LoginTracking, ALongServerIdIsCutTo63UnitsAtAWholeCharacter) {
    wchar_t id[kServerIdUnits] = L"";
    const std::wstring digits(100, L'7');
    EXPECT_TRUE(LoginTracking::ExtractServerId((L"http://h/?server_id=" + digits + L"&x").c_str(), id));
    EXPECT_EQ(digits.substr(0, 63), id);

    // A surrogate pair across the cut is dropped whole.
    const std::wstring pairs = std::wstring(62, L'1') + L"\xD83D\xDE00" + L"2";
    EXPECT_TRUE(LoginTracking::ExtractServerId((L"http://h/?server_id=" + pairs).c_str(), id));
    EXPECT_EQ(std::wstring(62, L'1'), id);
}

}  // namespace
