#include "platform/win32_profile_store.h"

#include <windows.h>

#include <algorithm>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/handles.h"
#include "platform/trace.h"
#include "platform/wide_text.h"

namespace tunewick::platform {
namespace {

// The W functions take C strings: the copy ends the text and cuts it at a NUL, as the
// callers' contract says.
std::wstring CString(TextView text) {
    return ToWide(text.substr(0, text.find(u'\0')));
}

// GetPrivateProfileStringW with the caller's buffer. The platform's function may write one
// code unit before the buffer and one after it when the buffer is tiny (seen under Wine with
// a size of 1 and no section or key), so it writes into a copy with a spare unit on each side.
std::size_t GetProfileString(const wchar_t* section, const wchar_t* key,
                             const std::wstring& defaultValue, std::span<char16_t> buffer,
                             TextView path) {
    const DWORD size = static_cast<DWORD>(
        std::min<std::size_t>(buffer.size(), std::numeric_limits<DWORD>::max() - 2));
    std::vector<wchar_t> guarded(static_cast<std::size_t>(size) + 2, L'\0');
    std::copy_n(buffer.begin(), size, guarded.begin() + 1);
    const DWORD copied = GetPrivateProfileStringW(section, key, defaultValue.c_str(),
                                                  guarded.data() + 1, size, CString(path).c_str());
    std::copy_n(guarded.begin() + 1, size, buffer.begin());
    return copied;
}

constexpr std::string_view kUtf16Mark = "\xFF\xFE";

// True when the user's ANSI code page has bytes of its own for every character of `text`: none
// becomes the default "?" and none a look-alike ("best fit"), as in the profile functions' own
// conversion.
bool FitsAnsiCodePage(const std::wstring& text) {
    if (text.empty() || GetACP() == CP_UTF8) {
        return true;  // UTF-8 has bytes for every character
    }
    BOOL usedDefault = FALSE;
    const int size =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(),
                            static_cast<int>(text.size()), nullptr, 0, nullptr, &usedDefault);
    return size > 0 && usedDefault == FALSE;
}

// An entry as the W function takes it.
struct WideEntry {
    std::wstring section;
    std::wstring key;
    std::optional<std::wstring> value;

    bool FitsCodePage() const {
        return FitsAnsiCodePage(section) && FitsAnsiCodePage(key) &&
               (!value || FitsAnsiCodePage(*value));
    }
};

// The file as the save found it: its attributes and bytes; not found when it is missing.
struct Original {
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    bool found = false;
    std::string bytes;
};

// Reads the whole of `file` into `original`. Returns the error that stopped it; a missing file
// is none.
DWORD ReadOriginal(const std::wstring& file, Original& original) {
    const UniqueFile handle(CreateFileW(file.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : error;
    }
    original.found = true;
    std::vector<char> chunk(64 * 1024);
    for (;;) {
        DWORD read = 0;
        if (ReadFile(handle.Get(), chunk.data(), static_cast<DWORD>(chunk.size()), &read,
                     nullptr) == FALSE) {
            return GetLastError();
        }
        if (read == 0) {
            return ERROR_SUCCESS;
        }
        original.bytes.append(chunk.data(), read);
    }
}

// Turns the bytes of an ANSI file into the same text in UTF-16 LE after the mark, converted
// from the ANSI code page as the profile functions read it, NULs and all. Returns the error.
DWORD ConvertToUtf16(std::string& bytes) {
    std::wstring wide;
    if (!bytes.empty()) {
        if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
            return ERROR_FILE_TOO_LARGE;
        }
        const int size = static_cast<int>(bytes.size());
        const int units = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
        if (units <= 0) {
            return GetLastError();
        }
        wide.resize(static_cast<std::size_t>(units));
        if (MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), units) != units) {
            return GetLastError();
        }
    }
    // Windows is little-endian: wchar_t's bytes are UTF-16 LE as they lie in memory.
    bytes.assign(kUtf16Mark);
    bytes.append(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
    return ERROR_SUCCESS;
}

// Creates the new, empty copy a save writes into, beside `file` so that the rename that puts it
// in place stays on one volume: "<file>.<process id>-<n>.tmp", `n` counting on past any name a
// copy left behind (by a process that ended half way) has taken. Returns the error.
DWORD CreateCopy(const std::wstring& file, unsigned& n, std::wstring& name, UniqueFile& copy) {
    const std::wstring stem = file + L"." + Decimal(GetCurrentProcessId()) + L"-";
    DWORD error = ERROR_FILE_EXISTS;
    for (int attempt = 0; attempt < 100 && error == ERROR_FILE_EXISTS; ++attempt) {
        name = stem + Decimal(n++) + L".tmp";
        copy.Reset(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
        error = copy ? ERROR_SUCCESS : GetLastError();
    }
    return error;
}

DWORD WriteBytes(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD size = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
        DWORD written = 0;
        if (WriteFile(file, bytes.data(), size, &written, nullptr) == FALSE) {
            return GetLastError();
        }
        if (written == 0) {
            return ERROR_WRITE_FAULT;
        }
        bytes.remove_prefix(written);
    }
    return ERROR_SUCCESS;
}

// Deletes the copy when the save ends without it taking the file's place.
class [[nodiscard]] CopyRemoval {
  public:
    explicit CopyRemoval(const std::wstring& copy) : copy_(copy) {}
    CopyRemoval(const CopyRemoval&) = delete;
    CopyRemoval& operator=(const CopyRemoval&) = delete;
    ~CopyRemoval() {
        if (!inPlace_ && DeleteFileW(copy_.c_str()) == FALSE) {
            const DWORD error = GetLastError();
            TraceFailure(L"DeleteFileW " + copy_, error);
        }
    }
    void InPlace() { inPlace_ = true; }

  private:
    const std::wstring& copy_;
    bool inPlace_ = false;
};

}  // namespace

Win32ProfileStore::Win32ProfileStore(ProfileSaveCalls calls) : calls_(std::move(calls)) {}

std::size_t Win32ProfileStore::GetString(TextView section, TextView key, TextView defaultValue,
                                         std::span<char16_t> buffer, TextView path) {
    return GetProfileString(CString(section).c_str(), CString(key).c_str(), CString(defaultValue),
                            buffer, path);
}

bool Win32ProfileStore::WriteEntries(std::span<const ProfileEntry> entries, TextView path) {
    const std::wstring file = CString(path);
    Original original;
    original.attributes = GetFileAttributesW(file.c_str());
    // Windows refuses to replace a file marked read-only. Wine run by a user whom the host lets
    // write anything (root) replaces it all the same, so the mark is honoured here.
    if (original.attributes != INVALID_FILE_ATTRIBUTES &&
        (original.attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
        (original.attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return Fail(L"Replacing read-only " + file, ERROR_ACCESS_DENIED);
    }
    if (const DWORD error = ReadOriginal(file, original); error != ERROR_SUCCESS) {
        return Fail(L"Reading " + file, error);
    }

    std::vector<WideEntry> wide;
    wide.reserve(entries.size());
    bool fits = true;
    bool anyValue = false;
    for (const ProfileEntry& entry : entries) {
        const WideEntry& added = wide.emplace_back(WideEntry{
            CString(entry.section), CString(entry.key),
            entry.value ? std::optional<std::wstring>(CString(*entry.value)) : std::nullopt});
        fits = fits && added.FitsCodePage();
        anyValue = anyValue || added.value.has_value();
    }
    if (!original.found && !anyValue) {
        // Keys deleted from no file: the platform makes no file for that, nor does this.
        lastWriteFailure_.clear();
        return true;
    }
    if (!fits && !std::string_view(original.bytes).starts_with(kUtf16Mark)) {
        if (const DWORD error = ConvertToUtf16(original.bytes); error != ERROR_SUCCESS) {
            return Fail(L"MultiByteToWideChar " + file, error);
        }
    }

    std::wstring copy;
    UniqueFile copyFile;
    if (const DWORD error = CreateCopy(file, saves_, copy, copyFile); error != ERROR_SUCCESS) {
        return Fail(L"CreateFileW " + copy, error);
    }
    CopyRemoval removal(copy);
    const DWORD written = WriteBytes(copyFile.Get(), original.bytes);
    copyFile.Reset();  // the profile functions open it themselves
    if (written != ERROR_SUCCESS) {
        return Fail(L"WriteFile " + copy, written);
    }
    for (const WideEntry& entry : wide) {
        if (calls_.writeString(entry.section.c_str(), entry.key.c_str(),
                               entry.value ? entry.value->c_str() : nullptr,
                               copy.c_str()) == FALSE) {
            const DWORD error = GetLastError();
            return Fail(L"WritePrivateProfileStringW " + copy, error);
        }
    }
    // The file takes the copy's attributes: those a user may have set go along.
    constexpr DWORD kKeptAttributes =
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if (original.found && original.attributes != INVALID_FILE_ATTRIBUTES &&
        (original.attributes & kKeptAttributes) != 0 &&
        SetFileAttributesW(copy.c_str(), original.attributes & kKeptAttributes) == FALSE) {
        const DWORD error = GetLastError();
        TraceFailure(L"SetFileAttributesW " + copy, error);  // the settings matter more
    }
    // One rename on one volume: either the old file or the new one is in place, never none.
    // ReplaceFileW would also keep the file's own security descriptor and streams, but without a
    // backup name a failure of its last step leaves no file at all
    // (ERROR_UNABLE_TO_MOVE_REPLACEMENT), and Wine's moves the file aside and deletes it before
    // it moves the copy in. The renamed copy has the folder's security, as any new file there.
    if (calls_.moveFile(copy.c_str(), file.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == FALSE) {
        const DWORD error = GetLastError();
        return Fail(L"MoveFileExW " + copy + L" to " + file, error);
    }
    removal.InPlace();
    lastWriteFailure_.clear();
    return true;
}

Text Win32ProfileStore::LastWriteFailure() const {
    return lastWriteFailure_;
}

bool Win32ProfileStore::Fail(std::wstring_view operation, DWORD error) {
    lastWriteFailure_ = SystemMessage(error);
    TraceFailure(operation, error);
    return false;
}

}  // namespace tunewick::platform
