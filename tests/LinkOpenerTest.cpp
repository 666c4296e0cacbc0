#include "frames/LinkOpener.h"

#include "net/Endpoints.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestWindows.h"
#include "ui/Scoped.h"

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
        EXPECT_FALSE(LinkOpener::IsWebUrl(url)) << url;
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

// Wine hands addresses opened with the shell's "open" verb to winebrowser,
// which starts the programs listed in HKCU\Software\Wine\WineBrowser
// "Browsers". Pointed at a script that appends its argument to a log, it
// shows exactly which addresses reached the shell. The value is put back
// afterwards.
class ShellLinks : public ::testing::Test {
protected:
    static constexpr wchar_t kKey[] = L"Software\\Wine\\WineBrowser";
    static constexpr wchar_t kValue[] = L"Browsers";
    static constexpr DWORD kDeadlineMs = 15000;

    ScratchDir dir;
    std::wstring log = dir.File(L"opened.log");
    ScopedRegKey key;
    bool hadValue = false;
    std::vector<BYTE> previous;
    DWORD previousType = 0;

    static std::string UnixPath(const std::wstring& path) {
        using UnixFileName = char*(CDECL*)(const wchar_t*);
        const auto unixFileName = reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
        if (!unixFileName) return {};
        char* name = unixFileName(path.c_str());
        if (!name) return {};
        std::string result = name;
        HeapFree(GetProcessHeap(), 0, name);
        return result;
    }

    void SetUp() override {
        const std::string script = UnixPath(dir.File(L"log-url.sh"));
        ASSERT_FALSE(script.empty()) << "these tests run under Wine";
        ASSERT_TRUE(WriteFileBytes(dir.File(L"log-url.sh"),
                                   "printf '%s\\n' \"$1\" >> '" + UnixPath(log) + "'\n"));
        HKEY opened = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_READ | KEY_WRITE,
                                                 nullptr, &opened, nullptr));
        key.Reset(opened);
        DWORD size = 0;
        if (RegQueryValueExW(key.Get(), kValue, nullptr, &previousType, nullptr, &size) == ERROR_SUCCESS) {
            previous.resize(size);
            hadValue = RegQueryValueExW(key.Get(), kValue, nullptr, &previousType, previous.data(), &size) ==
                       ERROR_SUCCESS;
        }
        const std::wstring browser = L"/bin/sh \"" + std::wstring(script.begin(), script.end()) + L"\"";
        const auto bytes = reinterpret_cast<const BYTE*>(browser.c_str());
        const auto byteCount = static_cast<DWORD>((browser.size() + 1) * sizeof(wchar_t));
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key.Get(), kValue, 0, REG_SZ, bytes, byteCount));
    }
    void TearDown() override {
        if (!key) return;
        if (hadValue) {
            RegSetValueExW(key.Get(), kValue, 0, previousType, previous.data(), static_cast<DWORD>(previous.size()));
        } else {
            RegDeleteValueW(key.Get(), kValue);
        }
    }

    // The logged addresses once there are count of them, or what is there
    // after deadlineMs.
    std::vector<std::wstring> Opened(size_t count, DWORD deadlineMs = kDeadlineMs) {
        std::vector<std::wstring> lines;
        const DWORD start = GetTickCount();
        do {
            lines.clear();
            const std::string bytes = ReadFileBytes(log);
            size_t begin = 0;
            for (size_t end; (end = bytes.find('\n', begin)) != std::string::npos; begin = end + 1) {
                lines.push_back(std::wstring(bytes.begin() + begin, bytes.begin() + end));
            }
            if (lines.size() >= count) break;
            Sleep(50);
        } while (GetTickCount() - start < deadlineMs);
        return lines;
    }
};

TEST_F(ShellLinks, CaptionAndBackFrameLinksReachTheBrowserAsTheyAre) {
    const std::wstring beforeLogin = TopUp(L"", L"");
    const std::wstring topUp = TopUp(L"a b\"c&d中", L"12");
    EXPECT_EQ(kBase + L"&user_name=a%20b%22c%26d%E4%B8%AD&server_id=12", topUp);
    for (const wchar_t* url : {kOfficialSiteUrl, kForumUrl, kCustomerServiceUrl, beforeLogin.c_str(), topUp.c_str()}) {
        EXPECT_TRUE(LinkOpener::Open(url)) << url;
        // One at a time: the browser processes could log out of order.
        EXPECT_EQ(std::vector<std::wstring>{url}, Opened(1)) << url;
        DeleteFileW(log.c_str());
    }
}

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
