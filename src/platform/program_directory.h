#pragma once

#include "core/text.h"

namespace tunewick::platform {

// The directory of the running program file, where settings.cfg lives: "C:\dir", or "C:\"
// for a drive's root folder. Empty when the platform cannot tell.
Text ProgramDirectory();

}  // namespace tunewick::platform
