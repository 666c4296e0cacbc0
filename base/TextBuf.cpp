#include "base/TextBuf.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <cwchar>

namespace {

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }

}  // namespace

namespace {

// The runtime's _vsn(w)printf leaves the buffer unterminated and answers -1
// (or exactly cap) when the text does not fit; terminate it ourselves.
template <typename Char, typename Print>
bool FormatInto(Char* buf, size_t cap, const Char* format, va_list args, Print print) {
    if (!buf || cap == 0) return false;
    if (!format) {
        buf[0] = Char(0);
        return true;
    }
    int written = print(buf, cap, format, args);
    if (written >= 0 && static_cast<size_t>(written) < cap) return true;
    buf[cap - 1] = Char(0);
    return false;
}

}  // namespace

bool FormatV(wchar_t* buf, size_t cap, const wchar_t* format, va_list args) {
    if (FormatInto(buf, cap, format, args, _vsnwprintf)) return true;
    if (buf && cap > 0) {
        size_t length = wcslen(buf);
        if (length > 0 && IsHighSurrogate(buf[length - 1])) buf[length - 1] = L'\0';
    }
    return false;
}

bool FormatV(char* buf, size_t cap, const char* format, va_list args) {
    return FormatInto(buf, cap, format, args, _vsnprintf);
}

bool Format(wchar_t* buf, size_t cap, const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    bool fitted = FormatV(buf, cap, format, args);
    va_end(args);
    return fitted;
}

bool Format(char* buf, size_t cap, const char* format, ...) {
    va_list args;
    va_start(args, format);
    bool fitted = FormatV(buf, cap, format, args);
    va_end(args);
    return fitted;
}

bool CopyText(wchar_t* buf, size_t cap, const wchar_t* text) {
    if (!buf || cap == 0) return false;
    // Clearing first would empty a text that lies in the buffer itself.
    if (text >= buf && text < buf + cap) {
        const std::wstring copy(text);
        return CopyText(buf, cap, copy.c_str());
    }
    wmemset(buf, L'\0', cap);
    return Format(buf, cap, L"%s", text ? text : L"");
}

size_t WideToAnsi(const wchar_t* text, char* buf, size_t cap, UINT codePage) {
    if (!buf || cap == 0) return 0;
    memset(buf, 0, cap);
    if (!text || !*text) return 0;

    // Keep the longest prefix of whole characters whose conversion leaves
    // room for the terminator.
    // Every character takes at least one byte for at most two units, so
    // longer prefixes cannot fit.
    const size_t length = wcslen(text);
    const int room = static_cast<int>(cap - 1);
    int units = static_cast<int>(length < cap * 2 ? length : cap * 2);
    while (units > 0) {
        if (static_cast<size_t>(units) < length && IsHighSurrogate(text[units - 1])) {
            --units;
            continue;
        }
        int needed = WideCharToMultiByte(codePage, 0, text, units, nullptr, 0, nullptr, nullptr);
        if (needed > 0 && needed <= room) {
            int written = WideCharToMultiByte(codePage, 0, text, units, buf, room, nullptr, nullptr);
            if (written <= 0) written = 0;
            buf[written] = '\0';
            return static_cast<size_t>(written);
        }
        --units;
    }
    return 0;
}

std::wstring AnsiToWide(const char* text, UINT codePage) {
    if (!text || !*text) return std::wstring();
    int needed = MultiByteToWideChar(codePage, MB_PRECOMPOSED, text, -1, nullptr, 0);
    if (needed <= 1) return std::wstring();
    std::wstring result(static_cast<size_t>(needed), L'\0');
    MultiByteToWideChar(codePage, MB_PRECOMPOSED, text, -1, result.data(), needed);
    result.resize(static_cast<size_t>(needed - 1));
    return result;
}
