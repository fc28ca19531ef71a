#pragma once

#include <string>
#include <string_view>

#include "core/text.h"

namespace tunewick::e2e {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Text goes to the W functions as is");

inline std::wstring ToWide(TextView text) {
    return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}
inline Text FromWide(std::wstring_view text) {
    return Text(reinterpret_cast<const char16_t*>(text.data()), text.size());
}

}  // namespace tunewick::e2e
