#include "platform/system_library.h"

#include <commctrl.h>

#include <string>
#include <string_view>

#include "platform/trace.h"

namespace tunewick::platform {
namespace {

// Declared for Windows 8 and later only; the program's headers are Windows XP's.
constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32
constexpr DWORD kFilterAdd = 1;                // MSGFLT_ADD

// "<system folder>\<fileName>"; empty when the folder cannot be had (last error set).
std::wstring InSystemFolder(const wchar_t* fileName) {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return {};
    }
    return std::wstring(folder, length) + L"\\" + fileName;
}

// Whether the program's manifest redirects `fileName` to a side-by-side assembly, which the
// loader then takes from the system's assembly store whatever the search path.
bool RedirectedByManifest(const wchar_t* fileName) {
    ACTCTX_SECTION_KEYED_DATA data{};
    data.cbSize = sizeof(data);
    return FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                    fileName, &data) != FALSE;
}

// A function of a system DLL that stays loaded for the program's life.
template <typename Function>
struct KeptFunction {
    SystemLibrary library;
    Function function = nullptr;
};

// Loads `fileName` and looks up `name` in it; a failure of either leaves a trace.
template <typename Function>
KeptFunction<Function> Keep(const wchar_t* fileName, const char* name) {
    KeptFunction<Function> kept{SystemLibrary::Load(fileName)};
    if (!kept.library) {
        const DWORD error = GetLastError();
        TraceFailure(L"LoadLibraryExW(" + std::wstring(fileName) + L")", error);
        return kept;
    }
    kept.function = kept.library.template Find<Function>(name);
    if (kept.function == nullptr) {
        const DWORD error = GetLastError();
        const std::string_view ascii(name);
        TraceFailure(L"GetProcAddress(" + std::wstring(fileName) + L", " +
                         std::wstring(ascii.begin(), ascii.end()) + L")",
                     error);
    }
    return kept;
}

}  // namespace

void RestrictDllSearch() {
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    if (const auto setDefault =
            LookUp<SetDefaultDllDirectoriesFn>(kernel, "SetDefaultDllDirectories")) {
        if (setDefault(kSearchSystem32) != FALSE) {
            return;
        }
        const DWORD error = GetLastError();
        TraceFailure(L"SetDefaultDllDirectories", error);
    }
    using SetDllDirectoryFn = BOOL(WINAPI*)(LPCWSTR);
    if (const auto setDirectory = LookUp<SetDllDirectoryFn>(kernel, "SetDllDirectoryW")) {
        if (setDirectory(L"") != FALSE) {
            return;
        }
        const DWORD error = GetLastError();
        TraceFailure(L"SetDllDirectoryW", error);
    }
    TraceNote(L"this Windows cannot keep DLLs from the current directory out of the program");
}

SystemLibrary SystemLibrary::Load(const wchar_t* fileName) {
    // The search flags came with SetDefaultDllDirectories: where it exists, they work.
    static const bool kFlagsKnown =
        LookUp<FARPROC>(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories") != nullptr;
    return Load(fileName, kFlagsKnown ? Way::Flags : Way::FullPath);
}

SystemLibrary SystemLibrary::Load(const wchar_t* fileName, Way way) {
    if (way == Way::Flags) {
        // A bare name: the manifest's redirection still applies (comctl32 6), and the search
        // looks in the system folder alone.
        return SystemLibrary(LoadLibraryExW(fileName, nullptr, kSearchSystem32));
    }
    if (RedirectedByManifest(fileName)) {
        // A full path would bypass the redirection and load the system folder's older copy.
        return SystemLibrary(LoadLibraryW(fileName));
    }
    const std::wstring path = InSystemFolder(fileName);
    return SystemLibrary(path.empty() ? nullptr : LoadLibraryW(path.c_str()));
}

BOOL ShellNotifyIcon(DWORD message, NOTIFYICONDATAW* data) {
    using Function = BOOL(WINAPI*)(DWORD, NOTIFYICONDATAW*);
    static const KeptFunction<Function> kNotify =
        Keep<Function>(L"shell32.dll", "Shell_NotifyIconW");
    if (kNotify.function == nullptr) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return FALSE;
    }
    return kNotify.function(message, data);
}

bool StartCommonControls(DWORD classes) {
    using Function = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    static const KeptFunction<Function> kStart =
        Keep<Function>(L"comctl32.dll", "InitCommonControlsEx");
    if (kStart.function == nullptr) {
        return false;
    }
    const INITCOMMONCONTROLSEX asked{sizeof(asked), classes};
    if (kStart.function(&asked) == FALSE) {
        const DWORD error = GetLastError();
        TraceFailure(L"InitCommonControlsEx", error);
        return false;
    }
    return true;
}

void AcceptFromLowerIntegrity(UINT message) {
    using Function = BOOL(WINAPI*)(UINT, DWORD);
    const auto filter = User32Function<Function>("ChangeWindowMessageFilter");
    if (filter != nullptr && message != 0 && filter(message, kFilterAdd) == FALSE) {
        const DWORD error = GetLastError();
        TraceFailure(L"ChangeWindowMessageFilter", error);
    }
}

}  // namespace tunewick::platform
