#include "platform/program_directory.h"

#include <windows.h>

#include <string>

#include "platform/wide_text.h"

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
    return FromWide(std::wstring_view(path).substr(0, cut));
}

}  // namespace tunewick::platform
