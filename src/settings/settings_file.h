#pragma once

#include "core/text.h"
#include "settings/profile_store.h"

namespace tunewick {

inline constexpr std::size_t kSettingBufferLength = 750;

// "<directory>\settings.cfg". A directory that already ends in a backslash (a drive's root
// folder, "C:\") gets no second one.
Text SettingsPath(TextView programDirectory);

// The value of `key` in `section`, or the empty text when the file, section or key is
// missing. The key is looked up in lower case; a value is cut to what fits the buffer.
Text ReadSetting(ProfileStore& store, TextView section, TextView key, TextView file);

}  // namespace tunewick
