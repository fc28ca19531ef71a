#pragma once

#include <windows.h>

#include <string>

#include "settings/profile_store.h"

namespace tunewick::platform {

// The profile store over the platform's own functions (GetPrivateProfileStringW and
// WritePrivateProfileStringW). The W forms take the program's UTF-16 texts as they are; the
// platform keeps the file in the user's ANSI code page itself.
class Win32ProfileStore final : public ProfileStore {
  public:
    std::size_t GetString(TextView section, TextView key, TextView defaultValue,
                          std::span<char16_t> buffer, TextView path) override;
    bool WriteString(TextView section, TextView key, std::optional<TextView> value,
                     TextView path) override;
    // The system's message for the failed write's error code.
    Text LastWriteFailure() const override;

  private:
    // Keeps why a write to `file` failed (`error`, the system's code) and leaves a trace of
    // it; returns `done`.
    bool Finish(bool done, const std::wstring& file, DWORD error);

    Text lastWriteFailure_;
};

}  // namespace tunewick::platform
