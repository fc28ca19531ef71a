// Where the DLLs that the exe does not import come from, either way a system finds them: the
// system folder, or the side-by-side store where the manifest (this test program carries
// Tunewick's) redirects the name.

#include "platform/system_library.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <string>

namespace tunewick::platform {
namespace {

std::wstring Lower(std::wstring text) {
    for (wchar_t& unit : text) {
        unit = static_cast<wchar_t>(std::towlower(unit));
    }
    return text;
}

std::wstring PathOf(HMODULE module) {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
    return Lower(std::wstring(path, length < MAX_PATH ? length : 0));
}

TEST(SystemLibrary, ComesFromTheSystemFolderOrTheManifestsAssemblyEitherWay) {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    ASSERT_GT(length, 0u);
    const std::wstring system = Lower(std::wstring(folder, length)) + L"\\";
    for (const SystemLibrary::Way way : {SystemLibrary::Way::Flags, SystemLibrary::Way::FullPath}) {
        SCOPED_TRACE(way == SystemLibrary::Way::Flags ? "search flags" : "full path");
        const SystemLibrary shell = SystemLibrary::Load(L"shell32.dll", way);
        ASSERT_TRUE(shell);
        EXPECT_EQ(PathOf(shell.Get()), system + L"shell32.dll");
        EXPECT_NE(shell.Find<FARPROC>("Shell_NotifyIconW"), nullptr);

        // Common controls 6, as the manifest asks: not the system folder's own copy.
        const SystemLibrary controls = SystemLibrary::Load(L"comctl32.dll", way);
        ASSERT_TRUE(controls);
        EXPECT_NE(PathOf(controls.Get()).find(L"\\winsxs\\"), std::wstring::npos)
            << "loaded from "
            << std::string(PathOf(controls.Get()).begin(), PathOf(controls.Get()).end());

        EXPECT_FALSE(SystemLibrary::Load(L"no-such-library.dll", way));
        EXPECT_EQ(GetLastError(), DWORD{ERROR_MOD_NOT_FOUND});
    }
}

}  // namespace
}  // namespace tunewick::platform
