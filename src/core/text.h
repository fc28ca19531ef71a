#pragma once

#include <string>
#include <string_view>

namespace tunewick {

// Every text inside the program is UTF-16, on Windows and on the native test build alike;
// the Win32 layer hands it to the W functions as it is.
using Text = std::u16string;
using TextView = std::u16string_view;

// Removes leading and trailing spaces (only U+0020: tabs and other blanks stay).
TextView TrimSpaces(TextView text);

// Lower-cases A-Z; every other code unit stays as it is.
Text LowerAscii(TextView text);

}  // namespace tunewick
