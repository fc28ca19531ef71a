#pragma once

// The program's text is UTF-16 (char16_t) and the W functions take UTF-16 (wchar_t): the two
// meet by viewing the same code units through the other type. This is the one place that does.

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

}  // namespace tunewick::platform
