#pragma once

#include <string>
#include <string_view>

#include "core/text.h"

namespace tunewick {

// UTF-8 <-> UTF-16, for what tests and the stand-in tools print, log and read from their
// command lines. A lone surrogate and a broken UTF-8 sequence become U+FFFD.
std::string ToUtf8(TextView text);
Text FromUtf8(std::string_view utf8);

}  // namespace tunewick
