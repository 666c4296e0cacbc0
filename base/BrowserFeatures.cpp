#include "base/BrowserFeatures.h"

#include "base/Scoped.h"
#include "base/TextBuf.h"

#include <windows.h>
#include <urlmon.h>

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
    // The one protection a process cannot switch on for itself.
    {L"FEATURE_LOCALMACHINE_LOCKDOWN", 1},
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

// The engine's protections that its hosts must ask for; the system's own
// browser asks for all of them (local-machine lockdown, which no process
// can set for itself, is among the values above). Left out: tabs, navigation sounds, the
// address bar and feeds, which are about its own window, not about safety.
constexpr INTERNETFEATURELIST kProtections[] = {
    FEATURE_OBJECT_CACHING,          FEATURE_ZONE_ELEVATION,
    FEATURE_MIME_HANDLING,           FEATURE_MIME_SNIFFING,
    FEATURE_WINDOW_RESTRICTIONS,     FEATURE_WEBOC_POPUPMANAGEMENT,
    FEATURE_BEHAVIORS,               FEATURE_DISABLE_MK_PROTOCOL,
    FEATURE_SECURITYBAND,
    FEATURE_RESTRICT_ACTIVEXINSTALL, FEATURE_VALIDATE_NAVIGATE_URL,
    FEATURE_RESTRICT_FILEDOWNLOAD,   FEATURE_ADDON_MANAGEMENT,
    FEATURE_PROTOCOL_LOCKDOWN,       FEATURE_HTTP_USERNAME_PASSWORD_DISABLE,
    FEATURE_SAFE_BINDTOOBJECT,       FEATURE_UNC_SAVEDFILECHECK,
    FEATURE_GET_URL_DOM_FILEPATH_UNENCODED, FEATURE_SSLUX,
    FEATURE_DISABLE_LEGACY_COMPRESSION, FEATURE_XMLHTTP,
    FEATURE_DISABLE_TELNET_PROTOCOL, FEATURE_BLOCK_INPUT_PROMPTS,
};

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

bool EnablePageEngineProtections() {
    bool all = true;
    for (INTERNETFEATURELIST feature : kProtections) {
        all &= SUCCEEDED(CoInternetSetFeatureEnabled(feature, SET_FEATURE_ON_PROCESS, TRUE));
    }
    return all;
}
