#pragma once

#include <span>

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

// What became of a write: done, or refused with the system's reason (empty when it gave
// none). Tests true when done.
struct WriteResult {
    bool written = false;
    Text failure;

    explicit operator bool() const { return written; }
};

// Writes the settings in the order given, keys as given (mixed case), all or nothing: after a
// refusal the file is as it was.
WriteResult WriteSettings(ProfileStore& store, std::span<const ProfileEntry> settings,
                          TextView file);

}  // namespace tunewick
