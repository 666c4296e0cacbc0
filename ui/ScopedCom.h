// Ownership of COM references, BSTRs, VARIANTs, SAFEARRAYs, the shell's
// item id lists and the OLE session of a thread: a counted pointer that
// releases on reset, and base/Scoped.h's handle for BSTRs, SAFEARRAYs and
// item id lists.
#pragma once

#include "base/Scoped.h"

#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <cstddef>

// A BSTR from SysAllocString or a COM out parameter.
using ScopedBstr = ScopedHandle<NullHandleTraits<BSTR, ::SysFreeString>>;
// A SAFEARRAY, destroyed with the values in its elements.
using ScopedSafeArray = ScopedHandle<NullHandleTraits<SAFEARRAY*, ::SafeArrayDestroy>>;
// An item id list the shell made for us (ILCreateFromPath).
using ScopedItemIdList = ScopedHandle<NullHandleTraits<LPITEMIDLIST, ::ILFree>>;

// A VARIANT that is cleared when it goes.
class ScopedVariant {
public:
    ScopedVariant() noexcept { VariantInit(&value_); }
    ~ScopedVariant() { VariantClear(&value_); }
    ScopedVariant(const ScopedVariant&) = delete;
    ScopedVariant& operator=(const ScopedVariant&) = delete;

    VARIANT* Get() noexcept { return &value_; }

private:
    VARIANT value_;
};

// A counted COM reference: AddRef on copy, Release on reset.
template <typename T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(std::nullptr_t) noexcept {}
    // Takes a new reference of its own on p.
    explicit ComPtr(T* p) noexcept : p_(p) {
        if (p_) p_->AddRef();
    }
    ComPtr(const ComPtr& other) noexcept : ComPtr(other.p_) {}
    ComPtr(ComPtr&& other) noexcept : p_(other.Detach()) {}
    ~ComPtr() { Reset(); }

    // Equal pointers, self-assignment included, change nothing; the check
    // below recognises only a comparison with this.
    // NOLINTNEXTLINE(bugprone-unhandled-self-assignment)
    ComPtr& operator=(const ComPtr& other) noexcept {
        if (p_ != other.p_) {
            if (other.p_) other.p_->AddRef();
            Reset();
            p_ = other.p_;
        }
        return *this;
    }
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            p_ = other.Detach();
        }
        return *this;
    }

    T* Get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }

    void Reset() noexcept {
        if (p_) {
            T* p = p_;
            p_ = nullptr;
            p->Release();
        }
    }
    // Adopts a reference the caller already owns.
    void Attach(T* p) noexcept {
        Reset();
        p_ = p;
    }
    T* Detach() noexcept {
        T* p = p_;
        p_ = nullptr;
        return p;
    }
    // For out parameters: releases what is held and hands out the slot.
    T** Receive() noexcept {
        Reset();
        return &p_;
    }
    void** ReceiveVoid() noexcept { return reinterpret_cast<void**>(Receive()); }

    // QueryInterface into another pointer; out is cleared on failure.
    template <typename U>
    HRESULT As(ComPtr<U>& out) const noexcept {
        if (!p_) {
            out.Reset();
            return E_POINTER;
        }
        return p_->QueryInterface(__uuidof(U), out.ReceiveVoid());
    }

private:
    T* p_ = nullptr;
};

// OleInitialize for the current thread, undone only if it succeeded.
class OleSession {
public:
    OleSession() noexcept : result_(::OleInitialize(nullptr)) {}
    ~OleSession() {
        if (SUCCEEDED(result_)) ::OleUninitialize();
    }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;

    HRESULT Result() const noexcept { return result_; }

private:
    HRESULT result_;
};
