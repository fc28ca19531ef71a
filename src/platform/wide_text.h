#pragma once

// The program's text is UTF-16 (char16_t) and the W functions take UTF-16 (wchar_t): the two
// meet by viewing the same code units through the other type. This is the one place that does.

#include <charconv>
#include <string>
#include <string_view>

#include "core/text.h"

namespace tunewick::platform {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 text goes to the W functions as is");

// A NUL-terminated string for a W function; lives as long as `text`.
inline const wchar_t* Wide(const Text& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

inline std::wstring ToWide(TextView text) {
    return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}

inline Text FromWide(std::wstring_view text) {
    return Text(reinterpret_cast<const char16_t*>(text.data()), text.size());
}

// `value` in decimal digits, for traces and file names. (std::to_wstring would bring MinGW's
// wide printf along.)
inline std::wstring Decimal(unsigned long long value) {
    char digits[20];
    const char* end = std::to_chars(digits, digits + sizeof(digits), value).ptr;
    return std::wstring(static_cast<const char*>(digits), end);
}

}  // namespace tunewick::platform
