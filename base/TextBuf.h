// Text in fixed-size buffers, and the one place where narrow text is made.
//
// Object fields hold zero-terminated UTF-16 text in fixed buffers. They are
// filled only through Format/CopyText, which never write past the end,
// always terminate and say whether the text was cut. Formats follow the
// platform's printf rules: in a wide format "%s" takes a wide string, in a
// narrow one a narrow string; "%I64u" takes an unsigned 64-bit value.
//
// Narrow (code page) text appears only at the edges the platform defines:
// report bodies and HTTP data. WideToAnsi and AnsiToWide are the conversions.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// Formats into buf (cap units, cap >= 1). Returns false when the text was
// cut to fit; the buffer is terminated either way, and a cut never leaves
// half of a surrogate pair at the end.
bool FormatV(wchar_t* buf, size_t cap, const wchar_t* format, va_list args);
bool Format(wchar_t* buf, size_t cap, const wchar_t* format, ...);
bool FormatV(char* buf, size_t cap, const char* format, va_list args);
bool Format(char* buf, size_t cap, const char* format, ...);

template <size_t N, typename... Args>
bool Format(wchar_t (&buf)[N], const wchar_t* format, Args... args) {
    return Format(static_cast<wchar_t*>(buf), N, format, args...);
}
template <size_t N, typename... Args>
bool Format(char (&buf)[N], const char* format, Args... args) {
    return Format(static_cast<char*>(buf), N, format, args...);
}

// The "%s" copy: clears buf, then copies text (null counts as empty).
bool CopyText(wchar_t* buf, size_t cap, const wchar_t* text);
template <size_t N>
bool CopyText(wchar_t (&buf)[N], const wchar_t* text) {
    return CopyText(static_cast<wchar_t*>(buf), N, text);
}

// Converts UTF-16 text to the given code page into buf (cap bytes, cap >= 1).
// Cuts at a whole character so that the result is terminated and never ends
// in half of a double-byte character. Returns the number of bytes before the
// terminator.
size_t WideToAnsi(const wchar_t* text, char* buf, size_t cap, UINT codePage);
template <size_t N>
size_t WideToAnsi(const wchar_t* text, char (&buf)[N], UINT codePage = CP_ACP) {
    return WideToAnsi(text, static_cast<char*>(buf), N, codePage);
}

// Converts code-page text to UTF-16 (precomposed).
std::wstring AnsiToWide(const char* text, UINT codePage = CP_ACP);
