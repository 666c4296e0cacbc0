#include "uninstall/CompatibilityMark.h"

#include "base/Scoped.h"

#include <windows.h>

namespace {

// KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE, as the system's own tools
// open it.
constexpr REGSAM kAccess = KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE;

}  // namespace

bool MarkCompatibilityHandled() {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kCompatibilityPersistedKey, 0, kAccess, &opened) != ERROR_SUCCESS) return false;
    ScopedRegKey key(opened);
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    const DWORD handled = 1;
    return RegSetValueExW(key.Get(), path, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&handled),
                          sizeof(handled)) == ERROR_SUCCESS;
}
