#include "frames/LoginTracking.h"

#include "net/Endpoints.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using LoginTracking::kServerIdUnits;

TEST(LoginTracking, MarkersAreExactCaseSensitiveSubstrings) {
    EXPECT_TRUE(LoginTracking::IsLoginUserPage(L"http://127.0.0.1/wd4/xf.html?x=1"));
    EXPECT_FALSE(LoginTracking::IsLoginUserPage(L"http://127.0.0.1/wd4/XF.html"));
    EXPECT_TRUE(LoginTracking::IsGameLoginUrl(L"http://127.0.0.1/index.php?act=gamelogin&server_id=1"));
    EXPECT_FALSE(LoginTracking::IsGameLoginUrl(L"http://127.0.0.1/index.php?act=GameLogin"));
    EXPECT_TRUE(LoginTracking::IsGameLoginUrl((L"http://" + std::wstring(kLoginHost) + L"/enter").c_str()));
    EXPECT_FALSE(LoginTracking::IsGameLoginUrl(L"http://127.0.0.1/wd4/xf.html"));
    EXPECT_FALSE(LoginTracking::IsLoginUserPage(nullptr));
    EXPECT_FALSE(LoginTracking::IsGameLoginUrl(nullptr));
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
    EXPECT_FALSE(LoginTracking::ExtractServerId(nullptr, id));
    EXPECT_STREQ(L"42", id);
}

TEST(LoginTracking, ALongServerIdIsCutTo63UnitsAtAWholeCharacter) {
    wchar_t id[kServerIdUnits] = L"";
    const std::wstring digits(100, L'7');
    EXPECT_TRUE(LoginTracking::ExtractServerId((L"?server_id=" + digits + L"&x").c_str(), id));
    EXPECT_EQ(digits.substr(0, 63), id);

    // A surrogate pair across the cut is dropped whole.
    const std::wstring pairs = std::wstring(62, L'1') + L"\xD83D\xDE00" + L"2";
    EXPECT_TRUE(LoginTracking::ExtractServerId((L"?server_id=" + pairs).c_str(), id));
    EXPECT_EQ(std::wstring(62, L'1'), id);
}

}  // namespace
