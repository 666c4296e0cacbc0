#include "app/Config.h"

#include "ui/TextBuf.h"

#include <cwchar>

void MakeConfigPath(const wchar_t* programDir, wchar_t (&path)[MAX_PATH]) {
    Format(path, L"%s\\%s", programDir ? programDir : L"", kConfigFileName);
}

int ParseConfigInt(const wchar_t* text) {
    if (!text) return 0;
    // long is 32 bits on Windows, so strtol's clamping is int's range too.
    return static_cast<int>(wcstol(text, nullptr, 10));
}

void ReadConfigText(const wchar_t* path, const wchar_t* section, const wchar_t* key,
                    wchar_t (&value)[kConfigValueUnits]) {
    wmemset(value, L'\0', kConfigValueUnits);
    GetPrivateProfileStringW(section, key, L"", value, kConfigValueUnits, path);
    value[kConfigValueUnits - 1] = L'\0';
}

int ReadConfigInt(const wchar_t* path, const wchar_t* section, const wchar_t* key) {
    wchar_t value[kConfigValueUnits];
    ReadConfigText(path, section, key, value);
    return ParseConfigInt(value);
}

bool WriteConfigText(const wchar_t* path, const wchar_t* section, const wchar_t* key,
                     const wchar_t* value) {
    return WritePrivateProfileStringW(section, key, value ? value : L"", path) != FALSE;
}

bool WriteConfigInt(const wchar_t* path, const wchar_t* section, const wchar_t* key, int value) {
    wchar_t text[16];
    Format(text, L"%d", value);
    return WriteConfigText(path, section, key, text);
}
