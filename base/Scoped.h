// Ownership of the platform's kernel objects: a move-only handle with a
// traits type per kind, and the kinds both programs use (kernel handles,
// file searches, registry keys, global memory). Every wrapper releases in
// its destructor (a copy would free twice); code elsewhere never closes by
// hand. The wrappers of other libraries live with the code that uses them:
// ui/ScopedGdi.h (GDI and GDI+), ui/ScopedCom.h (COM and OLE),
// net/ScopedInternet.h (WinINet).
#pragma once

#include <windows.h>

#include <utility>

// A handle with a traits type that says what is invalid and how to close.
template <typename Traits>
class ScopedHandle {
public:
    using Handle = typename Traits::Handle;

    ScopedHandle() noexcept : handle_(Traits::Invalid()) {}
    explicit ScopedHandle(Handle handle) noexcept : handle_(handle) {}
    ~ScopedHandle() { Reset(); }

    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.Release()) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    Handle Get() const noexcept { return handle_; }
    bool IsValid() const noexcept { return Traits::IsValid(handle_); }
    explicit operator bool() const noexcept { return IsValid(); }

    // Gives up ownership without closing.
    Handle Release() noexcept {
        Handle handle = handle_;
        handle_ = Traits::Invalid();
        return handle;
    }

    void Reset(Handle handle = Traits::Invalid()) noexcept {
        if (Traits::IsValid(handle_)) Traits::Close(handle_);
        handle_ = handle;
    }

private:
    Handle handle_;
};

// Traits for the kernel objects both programs use.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return nullptr; }
    static bool IsValid(Handle h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Handle h) noexcept { ::CloseHandle(h); }
};

struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Handle h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Handle h) noexcept { ::FindClose(h); }
};

// Traits of the many kinds that are null when invalid and closed by one
// function of the handle alone.
template <typename H, auto CloseFunction>
struct NullHandleTraits {
    using Handle = H;
    static Handle Invalid() noexcept { return nullptr; }
    static bool IsValid(Handle h) noexcept { return h != nullptr; }
    static void Close(Handle h) noexcept { CloseFunction(h); }
};

using ScopedKernelHandle = ScopedHandle<KernelHandleTraits>;
using ScopedFindHandle = ScopedHandle<FindHandleTraits>;
using ScopedRegKey = ScopedHandle<NullHandleTraits<HKEY, ::RegCloseKey>>;
// A GlobalAlloc block that is ours to free.
using ScopedGlobalMemory = ScopedHandle<NullHandleTraits<HGLOBAL, ::GlobalFree>>;
// A LocalAlloc block the platform handed us (security descriptors, lists).
using ScopedLocalMemory = ScopedHandle<NullHandleTraits<HLOCAL, ::LocalFree>>;
