#pragma once

#include "core/player_title.h"

namespace tunewick {

// What a cutting failure means, for the messages of tests and fuzz targets.
const char* Describe(CutError error);

}  // namespace tunewick
