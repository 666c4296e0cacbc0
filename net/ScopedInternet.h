// Ownership of WinINet handles and URL cache enumerations, on
// base/Scoped.h's handle.
#pragma once

#include "base/Scoped.h"

#include <windows.h>
#include <wininet.h>

struct InternetHandleTraits {
    using Handle = HINTERNET;
    static Handle Invalid() noexcept { return nullptr; }
    static bool IsValid(Handle h) noexcept { return h != nullptr; }
    static void Close(Handle h) noexcept { ::InternetCloseHandle(h); }
};

// An enumeration of the WinINet URL cache (FindFirstUrlCacheEntryW).
struct UrlCacheFindTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return nullptr; }
    static bool IsValid(Handle h) noexcept { return h != nullptr; }
    static void Close(Handle h) noexcept { ::FindCloseUrlCache(h); }
};

using ScopedInternet = ScopedHandle<InternetHandleTraits>;
using ScopedUrlCacheFind = ScopedHandle<UrlCacheFindTraits>;
