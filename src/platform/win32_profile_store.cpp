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

// GetPrivateProfileStringW with the caller's buffer. Wine's writes one code unit before or after
// a buffer of one unit (docs/wine.md, "Files and settings"), so it writes into a copy with a
// spare unit on each side.
std::size_t GetProfileString(const wchar_t* section, const wchar_t* key,
                             const std::wstring& defaultValue, std::span<char16_t> buffer,
                             const std::wstring& file) {
    const DWORD size = static_cast<DWORD>(
        std::min<std::size_t>(buffer.size(), std::numeric_limits<DWORD>::max() - 2));
    std::vector<wchar_t> guarded(static_cast<std::size_t>(size) + 2, L'\0');
    std::copy_n(buffer.begin(), size, guarded.begin() + 1);
    const DWORD copied = GetPrivateProfileStringW(section, key, defaultValue.c_str(),
                                                  guarded.data() + 1, size, file.c_str());
    std::copy_n(guarded.begin() + 1, size, buffer.begin());
    return copied;
}

constexpr std::string_view kUtf16Mark = "\xFF\xFE";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// Whether `bytes` are well-formed UTF-8 (no overlong form, surrogate or value past U+10FFFF)
// holding at least one character beyond ASCII. An ANSI text with a byte above 127 is almost
// never well-formed UTF-8; a text of ASCII alone reads the same either way.
bool IsUtf8BeyondAscii(std::string_view bytes) {
    bool beyondAscii = false;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        // The sequence's length, and the range of its second byte (the others: 80 to BF).
        std::size_t length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : low;    // no overlong form
            high = lead == 0xED ? 0x9F : high;  // no surrogate
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : low;    // no overlong form
            high = lead == 0xF4 ? 0x8F : high;  // nothing past U+10FFFF
        } else {
            return false;
        }
        if (bytes.size() - i < length) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) {
                return false;
            }
        }
        i += length;
        beyondAscii = true;
    }
    return beyondAscii;
}

// The profile functions know UTF-16 (by its mark) and ANSI; UTF-8 they would take for ANSI.
enum class Encoding { Ansi, Utf8, Utf16 };

Encoding EncodingOf(std::string_view bytes) {
    if (bytes.starts_with(kUtf16Mark)) {
        return Encoding::Utf16;
    }
    return bytes.starts_with(kUtf8Mark) || IsUtf8BeyondAscii(bytes) ? Encoding::Utf8
                                                                    : Encoding::Ansi;
}

// True when the user's ANSI code page has bytes of its own for every character of `text`: none
// becomes the default "?" and none a look-alike ("best fit"), as in the profile functions' own
// conversion.
bool FitsAnsiCodePage(TextView given) {
    const std::wstring text = CString(given);
    if (text.empty() || GetACP() == CP_UTF8) {
        return true;  // UTF-8 has bytes for every character
    }
    BOOL usedDefault = FALSE;
    const int size =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(),
                            static_cast<int>(text.size()), nullptr, 0, nullptr, &usedDefault);
    return size > 0 && usedDefault == FALSE;
}

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

// Turns the bytes of an ANSI or UTF-8 file into the same text in UTF-16 LE after the mark, NULs
// and all: ANSI converted from the code page as the profile functions read it, UTF-8 without its
// own mark. Returns the error.
DWORD ConvertToUtf16(std::string& bytes, Encoding from) {
    const UINT codePage = from == Encoding::Utf8 ? CP_UTF8 : CP_ACP;
    if (from == Encoding::Utf8 && std::string_view(bytes).starts_with(kUtf8Mark)) {
        bytes.erase(0, kUtf8Mark.size());
    }
    std::wstring wide;
    if (!bytes.empty()) {
        if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
            return ERROR_FILE_TOO_LARGE;
        }
        const int size = static_cast<int>(bytes.size());
        const int units = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
        if (units <= 0) {
            return GetLastError();
        }
        wide.resize(static_cast<std::size_t>(units));
        if (MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), units) != units) {
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

void DeleteTraced(const std::wstring& path) {
    if (DeleteFileW(path.c_str()) == FALSE) {
        const DWORD error = GetLastError();
        TraceFailure(L"DeleteFileW " + path, error);
    }
}

// Deletes the file at `path` with the object, unless kept; none for an empty path.
class [[nodiscard]] Removal {
  public:
    explicit Removal(std::wstring path = {}) : path_(std::move(path)) {}
    Removal(Removal&& other) noexcept : path_(std::exchange(other.path_, {})) {}
    Removal& operator=(Removal&&) = delete;
    ~Removal() {
        if (!path_.empty()) {
            DeleteTraced(path_);
        }
    }

    const std::wstring& Path() const { return path_; }
    void Keep() { path_.clear(); }

  private:
    std::wstring path_;
};

// A file in the temp folder holding `bytes`, deleted with the result: a read of a UTF-8 file
// works through a UTF-16 copy of it there, and the user's file and folder stay as they are.
// An empty path, traced, when the temp folder takes no file.
Removal TemporaryCopy(std::string_view bytes) {
    wchar_t folder[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) {
        const DWORD error = GetLastError();
        TraceFailure(L"GetTempPathW", error);
        return Removal();
    }
    wchar_t name[MAX_PATH];
    if (GetTempFileNameW(folder, L"twk", 0, name) == 0) {
        const DWORD error = GetLastError();
        TraceFailure(L"GetTempFileNameW " + std::wstring(folder), error);
        return Removal();
    }
    Removal made(name);  // made, empty; declared before the handle, so deleted once it closes
    const UniqueFile file(CreateFileW(name, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                      FILE_ATTRIBUTE_TEMPORARY, nullptr));
    const DWORD error = file ? WriteBytes(file.Get(), bytes) : GetLastError();
    if (error != ERROR_SUCCESS) {
        TraceFailure(L"WriteFile " + made.Path(), error);
        return Removal();
    }
    return made;
}

// The process whose save made the copy `name` (in the folder of `file`, "<file's
// name>.<process id>-<n>.tmp"); none for any other name.
std::optional<DWORD> CopyMaker(std::wstring_view name, std::wstring_view fileName) {
    const std::wstring prefix = std::wstring(fileName) + L".";
    constexpr std::wstring_view kSuffix = L".tmp";
    if (name.size() <= prefix.size() + kSuffix.size() ||
        lstrcmpiW(std::wstring(name.substr(0, prefix.size())).c_str(), prefix.c_str()) != 0 ||
        lstrcmpiW(std::wstring(name.substr(name.size() - kSuffix.size())).c_str(),
                  std::wstring(kSuffix).c_str()) != 0) {
        return std::nullopt;
    }
    const std::wstring_view middle =
        name.substr(prefix.size(), name.size() - prefix.size() - kSuffix.size());
    const std::size_t dash = middle.find(L'-');
    const auto digits = [](std::wstring_view text) {
        return !text.empty() && text.size() <= 10 &&
               text.find_first_not_of(L"0123456789") == std::wstring_view::npos;
    };
    if (dash == std::wstring_view::npos || !digits(middle.substr(0, dash)) ||
        !digits(middle.substr(dash + 1))) {
        return std::nullopt;
    }
    unsigned long long id = 0;
    for (const wchar_t digit : middle.substr(0, dash)) {
        id = id * 10 + static_cast<unsigned>(digit - L'0');
    }
    return id <= std::numeric_limits<DWORD>::max() ? std::optional<DWORD>(static_cast<DWORD>(id))
                                                   : std::nullopt;
}

// Whether the process `id` still runs. None of this process's saves runs while it saves, so
// its own copies count as left behind (by it, or by an ended process of the same id).
bool StillSaving(DWORD id) {
    if (id == GetCurrentProcessId()) {
        return false;
    }
    const UniqueKernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, id));
    if (!process) {
        // No such process; one that may not be opened (another user's) still runs.
        return GetLastError() != ERROR_INVALID_PARAMETER;
    }
    return WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT;
}

// Deletes the copies beside `file` that saves of processes no longer running left behind: a
// crash or a power cut half way through a save leaves its copy for good.
void RemoveLeftCopies(const std::wstring& file) {
    const std::size_t slash = file.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? L"" : file.substr(0, slash + 1);
    const std::wstring fileName = file.substr(folder.size());
    WIN32_FIND_DATAW found{};
    // The pattern may match more than the copies (and their short names): CopyMaker decides.
    const UniqueSearch search(FindFirstFileW((file + L".*-*.tmp").c_str(), &found));
    if (!search) {
        return;  // none, or a folder that cannot be listed, which the save itself reports
    }
    do {
        const std::optional<DWORD> maker = CopyMaker(found.cFileName, fileName);
        if (!maker || StillSaving(*maker)) {
            continue;
        }
        DeleteTraced(folder + found.cFileName);
    } while (FindNextFileW(search.Get(), &found) != FALSE);
}

}  // namespace

Win32ProfileStore::Win32ProfileStore(InjectableSaveCalls calls) : calls_(std::move(calls)) {}

std::size_t Win32ProfileStore::GetString(TextView section, TextView key, TextView defaultValue,
                                         std::span<char16_t> buffer, TextView path) {
    const std::wstring file = CString(path);
    const auto get = [&](const std::wstring& from) {
        return GetProfileString(CString(section).c_str(), CString(key).c_str(),
                                CString(defaultValue), buffer, from);
    };
    // A file that cannot be read here is left to the profile functions, which read it as they can.
    Original original;
    if (ReadOriginal(file, original) != ERROR_SUCCESS || !original.found ||
        EncodingOf(original.bytes) != Encoding::Utf8) {
        return get(file);
    }
    if (const DWORD error = ConvertToUtf16(original.bytes, Encoding::Utf8);
        error != ERROR_SUCCESS) {
        TraceFailure(L"MultiByteToWideChar " + file, error);
        return get(file);
    }
    const Removal copy = TemporaryCopy(original.bytes);
    return get(copy.Path().empty() ? file : copy.Path());
}

bool Win32ProfileStore::WriteEntries(std::span<const ProfileEntry> entries, TextView path) {
    const std::wstring file = CString(path);
    Original original;
    original.attributes = GetFileAttributesW(file.c_str());
    // Windows refuses to replace a file marked read-only; Wine run as root replaces it all the
    // same (docs/wine.md), so the mark is honoured here.
    if (original.attributes != INVALID_FILE_ATTRIBUTES &&
        (original.attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
        (original.attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return Fail(L"Replacing read-only " + file, ERROR_ACCESS_DENIED);
    }
    if (const DWORD error = ReadOriginal(file, original); error != ERROR_SUCCESS) {
        return Fail(L"Reading " + file, error);
    }

    const auto hasValue = [](const ProfileEntry& entry) { return entry.value.has_value(); };
    if (!original.found && std::ranges::none_of(entries, hasValue)) {
        // Keys deleted from no file: the platform makes no file for that, nor does this.
        lastWriteFailure_.clear();
        return true;
    }
    const auto fits = [](const ProfileEntry& entry) {
        return FitsAnsiCodePage(entry.section) && FitsAnsiCodePage(entry.key) &&
               (!entry.value || FitsAnsiCodePage(*entry.value));
    };
    if (const Encoding encoding = EncodingOf(original.bytes);
        encoding == Encoding::Utf8 ||
        (encoding == Encoding::Ansi && !std::ranges::all_of(entries, fits))) {
        if (const DWORD error = ConvertToUtf16(original.bytes, encoding); error != ERROR_SUCCESS) {
            return Fail(L"MultiByteToWideChar " + file, error);
        }
    }

    RemoveLeftCopies(file);
    std::wstring copy;
    UniqueFile copyFile;
    if (const DWORD error = CreateCopy(file, saves_, copy, copyFile); error != ERROR_SUCCESS) {
        return Fail(L"CreateFileW " + copy, error);
    }
    Removal removal(copy);
    const DWORD written = WriteBytes(copyFile.Get(), original.bytes);
    copyFile.Reset();  // the profile functions open it themselves
    if (written != ERROR_SUCCESS) {
        return Fail(L"WriteFile " + copy, written);
    }
    for (const ProfileEntry& entry : entries) {
        const std::wstring section = CString(entry.section);
        const std::wstring key = CString(entry.key);
        const std::wstring value = entry.value ? CString(*entry.value) : std::wstring();
        if (calls_.writeString(section.c_str(), key.c_str(), entry.value ? value.c_str() : nullptr,
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
    removal.Keep();
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
