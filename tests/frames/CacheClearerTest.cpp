#include "frames/CacheClearer.h"

#include "base/Product.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

#include <wininet.h>

#include <chrono>
#include <future>
#include <string>
#include <vector>

namespace {

constexpr DWORD kDeadlineMs = 10000;

// The completion notices this process shows.
std::vector<HWND> Notices() {
    std::vector<HWND> found;
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            wchar_t className[16] = {};
            wchar_t title[64] = {};
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            GetClassNameW(window, className, 16);
            GetWindowTextW(window, title, 64);
            if (process == GetCurrentProcessId() && wcscmp(className, L"#32770") == 0 &&
                wcscmp(title, kProductName) == 0) {
                reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Waits (pumping the owner's messages) for exactly one notice.
HWND WaitForNotice() {
    PumpUntil([] { return !Notices().empty(); }, kDeadlineMs);
    const std::vector<HWND> notices = Notices();
    return notices.size() == 1 ? notices[0] : nullptr;
}

// The text of the notice's static control.
std::wstring NoticeText(HWND notice) {
    wchar_t text[64] = {};
    GetDlgItemTextW(notice, 0xFFFF, text, 64);
    return text;
}

void Press(HWND notice) { PostMessageW(notice, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }

// Closes the notices left open by a failed assertion, so that the clearing
// threads the test waits for can end. Declared after what waits for them.
struct NoticeCloser {
    ~NoticeCloser() {
        PumpUntil(
            [] {
                for (HWND notice : Notices()) Press(notice);
                return Notices().empty();
            },
            kDeadlineMs);
    }
};

bool Done(const std::future<DWORD>& clearing) {
    return clearing.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

bool PutInCache(const wchar_t* url) {
    wchar_t file[MAX_PATH] = {};
    if (!CreateUrlCacheEntryW(url, 0, L"txt", file, 0) || !WriteFileBytes(file, "cached")) return false;
    const FILETIME none{};
    return CommitUrlCacheEntryW(url, file, none, none, NORMAL_CACHE_ENTRY, nullptr, 0, L"txt", nullptr);
}

bool InCache(const wchar_t* url) {
    DWORD size = 0;
    GetUrlCacheEntryInfoW(url, nullptr, &size);
    return GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

TEST(CacheClearer, EmptiesTheUrlCacheThenTellsThePlayer) {
    const wchar_t* const urls[] = {L"http://127.0.0.1:1/a.txt", L"http://127.0.0.1:1/b.txt",
                                   L"http://127.0.0.1:1/c.txt"};
    for (const wchar_t* url : urls) {
        ASSERT_TRUE(PutInCache(url)) << url;
        ASSERT_TRUE(InCache(url)) << url;
    }
    PlainWindow owner;
    auto clearing = std::async(std::launch::async, [&] { return CacheClearer::ClearCacheThread(owner.Get()); });
    NoticeCloser closer;
    const HWND notice = WaitForNotice();
    ASSERT_NE(nullptr, notice);
    EXPECT_EQ(owner.Get(), GetWindow(notice, GW_OWNER));
    EXPECT_EQ(CacheClearer::kClearedText, NoticeText(notice));
    // A second clearing while this one waits on its notice is dropped.
    EXPECT_EQ(0u, CacheClearer::ClearCacheThread(owner.Get()));
    EXPECT_EQ(1u, Notices().size());
    for (const wchar_t* url : urls) EXPECT_FALSE(InCache(url)) << url;
    Press(notice);
    EXPECT_TRUE(PumpUntil([&] { return Done(clearing); }, kDeadlineMs));
    EXPECT_TRUE(Notices().empty());
}

}  // namespace
