// A registry value of the current user that a test changes and puts back
// as it was.
#pragma once

#include "base/Scoped.h"

#include <windows.h>

#include <optional>
#include <string>

class RegistryValueOverride {
public:
    RegistryValueOverride(const wchar_t* key, const wchar_t* name, const std::wstring& value, DWORD type)
        : name_(name) {
        HKEY opened = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &opened, nullptr);
        key_.Reset(opened);
        wchar_t old[1024] = {};
        DWORD size = sizeof(old) - sizeof(wchar_t);
        if (RegQueryValueExW(key_.Get(), name, nullptr, &oldType_, reinterpret_cast<BYTE*>(old), &size) ==
            ERROR_SUCCESS) {
            old_ = std::wstring(old);
        }
        RegSetValueExW(key_.Get(), name, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    ~RegistryValueOverride() {
        if (old_) {
            RegSetValueExW(key_.Get(), name_, 0, oldType_, reinterpret_cast<const BYTE*>(old_->c_str()),
                           static_cast<DWORD>((old_->size() + 1) * sizeof(wchar_t)));
        } else {
            RegDeleteValueW(key_.Get(), name_);
        }
    }

private:
    ScopedRegKey key_;
    const wchar_t* name_;
    DWORD oldType_ = REG_SZ;
    std::optional<std::wstring> old_;
};
