#include "net/PercentEncode.h"

#include <cstring>

std::string PercentEncode(const char* bytes, const char* keeps) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char* p = bytes ? bytes : ""; *p; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                           (keeps && strchr(keeps, c));
        if (plain) {
            encoded += static_cast<char>(c);
        } else {
            encoded += '%';
            encoded += kHex[c >> 4];
            encoded += kHex[c & 0xF];
        }
    }
    return encoded;
}
