#pragma once

#include <system_error>

#include "settings/profile_store.h"

namespace tunewick {

// The platform's profile functions rebuilt on plain files, for builds and tests away from
// Windows. It follows what the functions are seen to do under Wine, to the byte: the shared
// contract suite runs against both.
//
// - Paths are used as given, cut at a NUL. Away from Windows a backslash is taken for '/',
//   and the path goes to the file system as UTF-8.
// - A file is ANSI text in Windows-1252 (see windows_1252.h), unless it starts with a UTF-8
//   or UTF-16 byte order mark; a rewrite keeps the form it found.
// - Every call reads the file afresh. A write that changes something rewrites the whole file
//   from what was parsed: lines end in CR LF, blank lines are dropped, spaces around names
//   and values go, other lines (comments, lines without '=') stay as they were.
// - Section and key names compare without regard to the case of A-Z only.
// - A failed write gives the C library's words for its error (errno), such as "Permission
//   denied", where the platform gives its own.
class PortableProfileStore final : public FullProfileStore {
  public:
    std::size_t GetString(TextView section, TextView key, TextView defaultValue,
                          std::span<char16_t> buffer, TextView path) override;
    bool WriteString(TextView section, TextView key, std::optional<TextView> value,
                     TextView path) override;
    std::size_t GetKeyNames(TextView section, TextView defaultValue, std::span<char16_t> buffer,
                            TextView path) override;
    std::size_t GetSectionNames(TextView defaultValue, std::span<char16_t> buffer,
                                TextView path) override;
    bool DeleteSection(TextView section, TextView path) override;
    Text LastWriteFailure() const override;

  private:
    // Keeps the reason of a failed write (the C library's words for its error); true when
    // there was no error.
    bool Finish(std::error_code error);

    Text lastWriteFailure_;
};

}  // namespace tunewick
