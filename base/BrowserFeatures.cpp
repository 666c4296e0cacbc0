#include "base/BrowserFeatures.h"

#include "base/Scoped.h"
#include "base/TextBuf.h"

#include <windows.h>

namespace {

constexpr wchar_t kFeatureControlKey[] = L"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl";

struct Feature {
    const wchar_t* name;
    DWORD value;
};

constexpr Feature kFeatures[] = {
    // The newest document mode for every page, whatever its doctype says.
    {L"FEATURE_BROWSER_EMULATION", 11001},
    {L"FEATURE_GPU_RENDERING", 1},
};

// The feature's key under HKEY_CURRENT_USER, opened (or made) for setting
// values; invalid when that failed.
ScopedRegKey OpenFeatureKey(const Feature& feature, bool create) {
    wchar_t path[MAX_PATH];
    HKEY opened = nullptr;
    if (Format(path, L"%s\\%s", kFeatureControlKey, feature.name)) {
        const LONG result = create ? RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_SET_VALUE,
                                                     nullptr, &opened, nullptr)
                                   : RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_SET_VALUE, &opened);
        if (result != ERROR_SUCCESS) opened = nullptr;
    }
    return ScopedRegKey(opened);
}

}  // namespace

void WriteBrowserFeatures(const wchar_t* exeName) {
    if (!exeName || !*exeName) return;
    for (const Feature& feature : kFeatures) {
        ScopedRegKey key = OpenFeatureKey(feature, true);
        if (key) {
            RegSetValueExW(key.Get(), exeName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&feature.value),
                           sizeof(feature.value));
        }
    }
}

void DeleteBrowserFeatures(const wchar_t* exeName) {
    if (!exeName || !*exeName) return;
    for (const Feature& feature : kFeatures) {
        ScopedRegKey key = OpenFeatureKey(feature, false);
        if (key) RegDeleteValueW(key.Get(), exeName);
    }
}
