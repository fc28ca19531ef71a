#include "platform/program_directory.h"

#include <windows.h>

#include <string>

namespace tunewick::platform {

Text ProgramDirectory() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        // The name was cut to fit: try again with room for a long path.
        path.resize(path.size() * 2);
    }
    std::size_t cut = path.rfind(L'\\');
    if (cut == std::wstring::npos) {
        return {};
    }
    if (cut > 0 && path[cut - 1] == L':') {
        ++cut;  // a drive's root keeps its backslash
    }
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    return Text(reinterpret_cast<const char16_t*>(path.data()), cut);
}

}  // namespace tunewick::platform
