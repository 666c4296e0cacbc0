#include "frames/PlayerSettings.h"

#include "base/Config.h"
#include "base/TextBuf.h"

#include <cerrno>
#include <cstdlib>
#include <cwchar>

namespace {

// An optional minus sign and digits, nothing else, within int's range.
bool ParseWhole(const wchar_t* text, int& value) {
    if (!text || !(*text == L'-' || (*text >= L'0' && *text <= L'9'))) return false;
    wchar_t* end = nullptr;
    errno = 0;
    const long parsed = wcstol(text, &end, 10);
    if (errno == ERANGE || end == text || *end != L'\0') return false;
    value = static_cast<int>(parsed);
    return true;
}

bool ParseFlag(const wchar_t* text, bool& flag) {
    int value = 0;
    if (!ParseWhole(text, value) || (value != 0 && value != 1)) return false;
    flag = value == 1;
    return true;
}

bool PlausibleWindow(const RECT& r) {
    const auto inRange = [](LONG c) { return c >= -kMaxWindowCoordinate && c <= kMaxWindowCoordinate; };
    return inRange(r.left) && inRange(r.top) && inRange(r.right) && inRange(r.bottom) && r.right > r.left &&
           r.bottom > r.top && r.right - r.left <= kMaxWindowExtent && r.bottom - r.top <= kMaxWindowExtent;
}

bool ParseWindow(const wchar_t* text, RECT& rect) {
    int values[4] = {};
    const wchar_t* part = text;
    for (int i = 0; i < 4; ++i) {
        const wchar_t* comma = wcschr(part, L',');
        // Three commas exactly, none after the last number.
        if ((i < 3) != (comma != nullptr)) return false;
        const size_t length = comma ? static_cast<size_t>(comma - part) : wcslen(part);
        wchar_t number[16];
        if (length >= 16 || !Format(number, L"%.*s", static_cast<int>(length), part)) return false;
        if (!ParseWhole(number, values[i])) return false;
        if (comma) part = comma + 1;
    }
    const RECT read{values[0], values[1], values[2], values[3]};
    if (!PlausibleWindow(read)) return false;
    rect = read;
    return true;
}

void FormatWindow(const RECT& r, wchar_t (&text)[kWindowTextUnits]) {
    wmemset(text, L'\0', kWindowTextUnits);
    if (!IsRectEmpty(&r)) Format(text, L"%ld,%ld,%ld,%ld", r.left, r.top, r.right, r.bottom);
}

// One key read strictly; a value that does not read is its default, and
// that default is written over it.
template <typename T, typename Parse, typename Write>
void ReadKey(const wchar_t* path, const wchar_t* key, T& value, Parse parse, Write write) {
    wchar_t text[kConfigValueUnits];
    ReadConfigText(path, kSectionPlayer, key, text);
    if (!text[0] || parse(text, value)) return;
    write(path, key, value);
}

void WriteFlag(const wchar_t* path, const wchar_t* key, bool flag) {
    WriteConfigInt(path, kSectionPlayer, key, flag ? 1 : 0);
}

void WriteZoom(const wchar_t* path, const wchar_t* key, int zoom) { WriteConfigInt(path, kSectionPlayer, key, zoom); }

void WriteWindow(const wchar_t* path, const wchar_t* key, const RECT& rect) {
    wchar_t text[kWindowTextUnits];
    FormatWindow(rect, text);
    WriteConfigText(path, kSectionPlayer, key, text);
}

}  // namespace

PlayerSettings LoadPlayerSettings(const wchar_t* programDir) {
    PlayerSettings settings;
    wchar_t path[MAX_PATH];
    if (!MakeConfigPath(programDir, path)) return settings;
    CConfigLock turn(programDir);
    ReadKey(path, kKeyMuted, settings.muted, ParseFlag, WriteFlag);
    ReadKey(path, kKeyZoom, settings.zoom,
            [](const wchar_t* text, int& zoom) {
                int value = 0;
                if (!ParseWhole(text, value) || !IsZoomStep(value)) return false;
                zoom = value;
                return true;
            },
            WriteZoom);
    ReadKey(path, kKeyWindow, settings.window, ParseWindow, WriteWindow);
    ReadKey(path, kKeyMaximized, settings.maximized, ParseFlag, WriteFlag);
    return settings;
}

void SavePlayerSettings(const wchar_t* programDir, const PlayerSettings& settings, bool withPlacement) {
    wchar_t path[MAX_PATH];
    if (!MakeConfigPath(programDir, path)) return;
    CConfigLock turn(programDir);
    WriteFlag(path, kKeyMuted, settings.muted);
    WriteZoom(path, kKeyZoom, settings.zoom);
    if (!withPlacement) return;
    WriteWindow(path, kKeyWindow, PlausibleWindow(settings.window) ? settings.window : RECT{0, 0, 0, 0});
    WriteFlag(path, kKeyMaximized, settings.maximized);
}
