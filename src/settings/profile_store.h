#pragma once

#include <cstddef>
#include <optional>
#include <span>

#include "core/text.h"

namespace tunewick {

// The platform's profile (INI) file functions: sections and keys are found without regard
// to case, and a write creates whatever file, section or key is missing.
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
};

}  // namespace tunewick
