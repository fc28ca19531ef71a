#pragma once

#include <cstddef>
#include <optional>
#include <span>

#include "core/text.h"

namespace tunewick {

// One value to write into a profile file: `key` in `section` set to `value`; no value deletes
// the key.
struct ProfileEntry {
    TextView section;
    TextView key;
    std::optional<TextView> value;
};

// The platform's profile (INI) file functions: sections and keys are found without regard
// to case, and a write creates whatever file, section or key is missing. Every text is cut at
// its first NUL, as the C strings of the platform's functions are.
class ProfileStore {
  public:
    virtual ~ProfileStore() = default;

    // Copies the value of `key` in `section`, or `defaultValue` when there is none, into
    // `buffer` and NUL-terminates it, cutting what does not fit. Returns the number of
    // code units copied, the terminator not counted.
    virtual std::size_t GetString(TextView section, TextView key, TextView defaultValue,
                                  std::span<char16_t> buffer, TextView path) = 0;

    // Writes every entry, in order, all or nothing: true once all of them are in the file;
    // false when one could not be written, and then the file is as it was before the call.
    // Every character reaches the file as it was given.
    virtual bool WriteEntries(std::span<const ProfileEntry> entries, TextView path) = 0;

    // Why the latest WriteEntries failed, in the system's words ("Access is denied."); empty
    // after one that succeeded, or when the store has no words for it. Asked right after the
    // write, as the platform's own last error is.
    virtual Text LastWriteFailure() const = 0;
};

}  // namespace tunewick
