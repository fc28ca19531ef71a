#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "settings/profile_store.h"

namespace tunewick::platform {

// The calls of a save that can fail half way through it, injectable so that a test can make one
// of them fail; the program keeps the platform's own.
struct InjectableSaveCalls {
    std::function<BOOL(LPCWSTR section, LPCWSTR key, LPCWSTR value, LPCWSTR file)> writeString =
        &WritePrivateProfileStringW;
    std::function<BOOL(LPCWSTR from, LPCWSTR to, DWORD flags)> moveFile = &MoveFileExW;
};

// The profile store over GetPrivateProfileStringW and WritePrivateProfileStringW. Those keep a
// file that starts with the UTF-16 LE mark in UTF-16, and any other, a new one too, in the
// user's ANSI code page, with "?" for whatever it lacks: so a save of such a character first
// turns the file into UTF-16, its content converted as it stands; a file whose texts all fit
// stays as the platform writes it. A UTF-8 file (as Notepad saves it, with or without the mark)
// is read through a UTF-16 copy in the temp folder, and a save turns it into UTF-16 too.
//
// A save writes into a copy beside the file, which takes the file's place in one rename once
// every entry is in, having first deleted the copies that saves of ended processes left behind.
class Win32ProfileStore final : public ProfileStore {
  public:
    explicit Win32ProfileStore(InjectableSaveCalls calls = {});

    std::size_t GetString(TextView section, TextView key, TextView defaultValue,
                          std::span<char16_t> buffer, TextView path) override;
    bool WriteEntries(std::span<const ProfileEntry> entries, TextView path) override;
    Text LastWriteFailure() const override;

  private:
    // Keeps why the save failed (`error`, the system's code) and leaves a trace naming
    // `operation`; returns false.
    bool Fail(std::wstring_view operation, DWORD error);

    InjectableSaveCalls calls_;
    unsigned saves_ = 0;  // numbers the copies, so that no two saves share a name
    Text lastWriteFailure_;
};

}  // namespace tunewick::platform
