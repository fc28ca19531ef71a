#include "platform/program_directory.h"

#include <windows.h>

#include <string>

#include "platform/wide_text.h"

namespace tunewick::platform {

Text ProgramDirectory() {
    // Room for the longest path Windows has (32,767 units), so the name is never cut.
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length < path.size() ? length : 0);
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
