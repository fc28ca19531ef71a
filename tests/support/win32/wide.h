#pragma once

// The test drivers' names for the program's own UTF-16 conversions.

#include "platform/wide_text.h"

namespace tunewick::e2e {

using platform::FromWide;
using platform::ToWide;

}  // namespace tunewick::e2e
