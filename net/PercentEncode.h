// Percent-encoding of the values the programs put into report bodies and
// addresses. A value goes out as "%XX" byte for byte, except for the
// characters that mean the same wherever they stand; a receiver that decodes
// the form or the query sees exactly the bytes that were encoded, and no
// value can add, end or override a field.
#pragma once

#include <string>

// What a value in a form body keeps as it is: ASCII letters and digits, and
// these. "#" means nothing in a form body, so the MAC lists keep theirs.
inline constexpr char kFormValueKeeps[] = ":-._#";
// The same in the query of an address, where "#" would start the fragment.
inline constexpr char kQueryValueKeeps[] = ":-._";

// bytes (null counts as empty) with every byte that is neither an ASCII
// letter or digit nor one of keeps written as "%" and two upper-case
// hexadecimal digits.
std::string PercentEncode(const char* bytes, const char* keeps);
