#include "platform/win32_profile_store.h"

#include <windows.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

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

// Windows refuses to rewrite a file marked read-only. Wine run by a user whom the host lets
// write anything (root) rewrites it all the same, so the mark is honoured here too.
bool ReadOnlyFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
           (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

std::size_t Win32ProfileStore::GetString(TextView section, TextView key, TextView defaultValue,
                                         std::span<char16_t> buffer, TextView path) {
    return GetProfileString(CString(section).c_str(), CString(key).c_str(), CString(defaultValue),
                            buffer, path);
}

bool Win32ProfileStore::WriteString(TextView section, TextView key, std::optional<TextView> value,
                                    TextView path) {
    const std::wstring file = CString(path);
    if (ReadOnlyFile(file)) {
        return Finish(false, file, ERROR_ACCESS_DENIED);
    }
    // Named, so that nothing runs between the call and GetLastError.
    const std::wstring sectionText = CString(section);
    const std::wstring keyText = CString(key);
    const std::wstring valueText = value ? CString(*value) : std::wstring();
    const bool written =
        WritePrivateProfileStringW(sectionText.c_str(), keyText.c_str(),
                                   value ? valueText.c_str() : nullptr, file.c_str()) != FALSE;
    return Finish(written, file, written ? ERROR_SUCCESS : GetLastError());
}

Text Win32ProfileStore::LastWriteFailure() const {
    return lastWriteFailure_;
}

bool Win32ProfileStore::Finish(bool done, const std::wstring& file, DWORD error) {
    if (done) {
        lastWriteFailure_.clear();
        return true;
    }
    lastWriteFailure_ = SystemMessage(error);
    TraceFailure(L"WritePrivateProfileStringW " + file, error);
    return false;
}

}  // namespace tunewick::platform
