#include "frames/LinkOpener.h"

#include "net/Endpoints.h"
#include "tests/support/OpenedUrls.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestWindows.h"
#include "base/Scoped.h"
#include "base/TextBuf.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

using LinkOpener::UserNameParameter;

namespace {

std::wstring TopUp(const wchar_t* name, const wchar_t* serverId,
                   UserNameParameter nameParameter = UserNameParameter::Always, bool* whole = nullptr) {
    wchar_t url[LinkOpener::kLinkUnits];
    const bool fitted = LinkOpener::TopUpUrl(name, serverId, nameParameter, url);
    if (whole) *whole = fitted;
    return url;
}

const std::wstring kBase = kTopUpUrl;

// Addresses that would start a program, a protocol handler or a file
// through the shell, or that are not absolute web addresses.
const wchar_t* const kRefused[] = {
    L"file:///C:/windows/system32/calc.exe",
    L"\\\\server\\share\\setup.exe",
    L"C:\\windows\\system32\\calc.exe",
    L"ms-msdt:/id PCWDiagnostic /skip force",
    L"search-ms:query=setup&crumb=location:\\\\server\\share",
    L"javascript:alert(1)",
    L"orvane-launcher://run?cmd=calc",
    L"/wd4/index.html",
    L"www.example.com/page",
    L"http:\\\\server\\share",
    L"http://",
    L"https:///path",
    L"http://user@/path",
    L"http://:80/",
    L"http://127.0.0.1/a b",
    L"http://127.0.0.1/a\"b",
    L"http://127.0.0.1/\" --new-window file:///C:/x",
    L"http://127.0.0.1/<script>",
    L"http://127.0.0.1/a\tb",
    L"http://127.0.0.1/a\nb",
    L"http://127.0.0.1/a\x7f",
    L"http://127.0.0.1/a\x3000z",
    L"",
};

TEST(LinkOpenerGate, AcceptsOnlyAbsoluteWebAddresses) {
    for (const wchar_t* url : {L"http://127.0.0.1/", L"https://pay.orvane.example/?game_id=174&user_name=a%20b",
                               L"HTTP://Host.Example:8080/path#part", L"hTTpS://user:pw@host/", L"http://[::1]:80/",
                               L"http://127.0.0.1/游戏/页面.html"}) {
        EXPECT_TRUE(LinkOpener::IsWebUrl(url)) << url;
    }
    for (const wchar_t* url : kRefused) {
        EXPECT_FALSE(LinkOpener::IsWebUrl(url) || LinkOpener::IsPageUrl(url)) << url;
        EXPECT_FALSE(LinkOpener::Open(url)) << url;
    }
    EXPECT_FALSE(LinkOpener::IsWebUrl(nullptr));
}

TEST(LinkOpenerTopUp, BeforeLoginTheGameFrameNamesAnEmptyUserAndTheBackFrameNone) {
    EXPECT_EQ(kBase + L"&user_name=", TopUp(L"", L""));
    EXPECT_EQ(kBase + L"&user_name=", TopUp(nullptr, nullptr));
    EXPECT_EQ(kBase, TopUp(L"", L"", UserNameParameter::WhenKnown));
    EXPECT_EQ(kBase + L"&user_name=alice", TopUp(L"alice", L"", UserNameParameter::WhenKnown));
}

TEST(LinkOpenerTopUp, ServerIdFollowsOnlyWhenKnown) {
    EXPECT_EQ(kBase + L"&user_name=alice", TopUp(L"alice", L""));
    EXPECT_EQ(kBase + L"&user_name=alice&server_id=123", TopUp(L"alice", L"123"));
    EXPECT_EQ(kBase + L"&user_name=&server_id=77", TopUp(L"", L"77"));
}

TEST(LinkOpenerTopUp, ValuesArePercentEncodedUtf8) {
    EXPECT_EQ(kBase + L"&user_name=a%20b%22c%26d%3Ce%3Ef%27g%0A%09h%25i%2Bj%3D%3F%23%2F%5C-._~Z9"
                      L"&server_id=1%262%20x",
              TopUp(L"a b\"c&d<e>f'g\n\th%i+j=?#/\\-._~Z9", L"1&2 x"));
    // 中 (3 bytes), é (2 bytes), 😀 (a surrogate pair, 4 bytes).
    EXPECT_EQ(kBase + L"&user_name=%E4%B8%AD%C3%A9%F0%9F%98%80", TopUp(L"中é\xD83D\xDE00", L""));
    EXPECT_TRUE(LinkOpener::IsWebUrl(TopUp(L"\" --new-window file:///C:/x <b>", L"9 9").c_str()));
}

TEST(LinkOpenerTopUp, AValueThatDoesNotFitWholeIsLeftOut) {
    // 63 Chinese characters take 567 units once encoded.
    const std::wstring longName(63, L'中');
    bool whole = true;
    EXPECT_EQ(kBase + L"&user_name=&server_id=5", TopUp(longName.c_str(), L"5", UserNameParameter::Always, &whole));
    EXPECT_FALSE(whole);
    EXPECT_EQ(kBase, TopUp(longName.c_str(), L"", UserNameParameter::WhenKnown, &whole));
    EXPECT_FALSE(whole);

    // The name fills the address up to the last unit; the id no longer fits
    // and goes with its key.
    const std::wstring fitting(LinkOpener::kLinkUnits - 1 - kBase.size() - wcslen(L"&user_name="), L'n');
    EXPECT_EQ(kBase + L"&user_name=" + fitting, TopUp(fitting.c_str(), L"5", UserNameParameter::Always, &whole));
    EXPECT_FALSE(whole);
    EXPECT_EQ(kBase + L"&user_name=" + fitting, TopUp(fitting.c_str(), L"", UserNameParameter::Always, &whole));
    EXPECT_TRUE(whole);
    EXPECT_EQ(kBase + L"&user_name=", TopUp((fitting + L"n").c_str(), L"", UserNameParameter::Always, &whole));
    EXPECT_FALSE(whole);
}

class ShellLinks : public ::testing::Test {
protected:
    static constexpr DWORD kDeadlineMs = 15000;

    void SetUp() override { ASSERT_TRUE(opened.Ready()); }

    // The logged addresses once there are count of them, or what is there
    // after deadlineMs.
    std::vector<std::wstring> Opened(size_t count, DWORD deadlineMs = kDeadlineMs) {
        opened.WaitForCount(count, deadlineMs);
        std::vector<std::wstring> urls;
        for (const std::string& url : opened.Urls()) urls.push_back(AnsiToWide(url.c_str(), CP_UTF8));
        return urls;
    }

    OpenedUrls opened;
};

TEST_F(ShellLinks, RefusedAddressesNeverReachTheShell) {
    for (const wchar_t* url : kRefused) EXPECT_FALSE(LinkOpener::Open(url)) << url;
    // A good address last, and a moment for anything that would have been
    // started before it.
    const wchar_t last[] = L"https://127.0.0.1:1/after-the-refused";
    EXPECT_TRUE(LinkOpener::Open(last));
    ASSERT_EQ(1u, Opened(1).size());
    EXPECT_EQ(std::vector<std::wstring>{last}, Opened(2, 1000));
}

}  // namespace
