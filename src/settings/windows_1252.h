#pragma once

#include <string>
#include <string_view>

#include "core/text.h"

namespace tunewick {

// Windows-1252, the ANSI code page of a Western Windows installation, which the stand-in
// profile store uses for its files. The five bytes that code page leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) stand for the C1 controls of the same number, as on Windows.
Text DecodeWindows1252(std::string_view bytes);

// A code unit outside the code page becomes '?' (each half of a surrogate pair too). Windows
// maps some of them to a look-alike instead ("best fit": U+0142 to 'l'); this does not.
std::string EncodeWindows1252(TextView text);

}  // namespace tunewick
