#include "frames/CacheClearer.h"

#include "base/Product.h"
#include "base/Scoped.h"
#include "net/ScopedInternet.h"

#include <wininet.h>

#include <atomic>
#include <exception>
#include <vector>

namespace {

// Set by the one clearing that runs; test-and-set so that two threads
// started together cannot both pass.
std::atomic_flag g_clearing = ATOMIC_FLAG_INIT;

// One entry's worth of memory, sized by asking first (a null buffer answers
// ERROR_INSUFFICIENT_BUFFER with the size needed).
class EntryBuffer {
public:
    INTERNET_CACHE_ENTRY_INFOW* Get() { return reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(bytes_.data()); }
    DWORD* Size() { return &size_; }
    bool FitNeeded() {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size_ == 0) return false;
        bytes_.assign(size_, 0);
        return true;
    }

private:
    std::vector<BYTE> bytes_;
    DWORD size_ = 0;
};

void DeleteUrlCacheEntries() {
    EntryBuffer entry;
    ScopedUrlCacheFind find(FindFirstUrlCacheEntryW(nullptr, nullptr, entry.Size()));
    if (!find && entry.FitNeeded()) find.Reset(FindFirstUrlCacheEntryW(nullptr, entry.Get(), entry.Size()));
    if (!find) return;
    for (;;) {
        DeleteUrlCacheEntryW(entry.Get()->lpszSourceUrlName);
        *entry.Size() = 0;
        if (FindNextUrlCacheEntryW(find.Get(), nullptr, entry.Size()) || !entry.FitNeeded()) return;
        if (!FindNextUrlCacheEntryW(find.Get(), entry.Get(), entry.Size())) return;
    }
}

DWORD WINAPI ClearCacheThreadMain(void* owner) { return CacheClearer::ClearCacheThread(static_cast<HWND>(owner)); }

}  // namespace

namespace CacheClearer {

DWORD ClearCacheThread(HWND owner) {
    if (g_clearing.test_and_set()) return 0;
    // No exception may leave a thread routine; a failed enumeration still
    // ends with the notice, as an empty cache does.
    try {
        DeleteUrlCacheEntries();
    } catch (const std::exception&) {
    }
    MessageBoxW(owner, kClearedText, kProductName, MB_OK);
    g_clearing.clear();
    return 0;
}

bool Start(HWND owner) {
    const ScopedKernelHandle thread(CreateThread(nullptr, 0, ClearCacheThreadMain, owner, 0, nullptr));
    return thread.IsValid();
}

}  // namespace CacheClearer
