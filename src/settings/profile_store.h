#pragma once

#include <cstddef>
#include <optional>
#include <span>

#include "core/text.h"

namespace tunewick {

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

    // Sets `key` in `section` to `value`; no value deletes the key. True on success.
    virtual bool WriteString(TextView section, TextView key, std::optional<TextView> value,
                             TextView path) = 0;

    // Why the latest write failed, in the system's words ("Access is denied."); empty after
    // a write that succeeded, or when the store has no words for it. Asked right after the
    // write, as the platform's own last error is.
    virtual Text LastWriteFailure() const { return {}; }
};

// The forms of the same functions that take no section or no key. The program itself never
// uses them; they are here so that the stand-in store and the platform's can be held to the
// same rules in every form a caller could reach.
class FullProfileStore : public ProfileStore {
  public:
    // No key: the names of the keys in `section` that have a value, each NUL-terminated,
    // followed by one more NUL; `defaultValue` when that list is empty.
    virtual std::size_t GetKeyNames(TextView section, TextView defaultValue,
                                    std::span<char16_t> buffer, TextView path) = 0;
    // No section: the names of the file's sections, in the same list form. The platform
    // takes a default here too, but uses it for nothing.
    virtual std::size_t GetSectionNames(TextView defaultValue, std::span<char16_t> buffer,
                                        TextView path) = 0;
    // No key on write: deletes `section` with all its keys.
    virtual bool DeleteSection(TextView section, TextView path) = 0;
};

}  // namespace tunewick
