// Ownership of WinINet handles and URL cache enumerations, on
// base/Scoped.h's handle.
#pragma once

#include "base/Scoped.h"

#include <windows.h>
#include <wininet.h>

using ScopedInternet = ScopedHandle<NullHandleTraits<HINTERNET, ::InternetCloseHandle>>;
// An enumeration of the WinINet URL cache (FindFirstUrlCacheEntryW).
using ScopedUrlCacheFind = ScopedHandle<NullHandleTraits<HANDLE, ::FindCloseUrlCache>>;
