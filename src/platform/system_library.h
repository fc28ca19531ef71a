#pragma once

// The DLLs Tunewick takes from Windows beyond the four it imports (kernel32, user32, gdi32 and
// msvcrt, which the loader resolves before any of the program's code runs): each loaded from
// the system folder, never from the program's folder or the current directory, and each of
// their functions looked up by name.

#include <windows.h>

#include <shellapi.h>

#include "platform/handles.h"

namespace tunewick::platform {

// Keeps the DLLs that Windows and the program load by name (the visual styles, the shell,
// input, accessibility, and what those import) out of the program's folder and the current
// directory. A portable Tunewick lies in Downloads or on the Desktop beside files nobody looked
// at, and a file there named like a system DLL would run inside it. The first call of the
// program, before anything loads a DLL. Where SetDefaultDllDirectories is missing,
// SetDllDirectoryW(L"") keeps out the current directory, not the program's folder.
void RestrictDllSearch();

// The function `name` of a DLL the process has loaded, as `Function`; null where this Windows
// lacks it.
template <typename Function>
Function LookUp(HMODULE module, const char* name) {
    if (module == nullptr) {
        return nullptr;
    }
    // Through void*: GCC warns about a cast between unrelated function types.
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// A function of user32, which every process with windows has loaded, as `Function`; null where
// this Windows lacks it.
template <typename Function>
Function User32Function(const char* name) {
    return LookUp<Function>(GetModuleHandleW(L"user32.dll"), name);
}

// A system DLL, freed with the object.
class SystemLibrary {
  public:
    // How the DLL is found. Flags: the search flags of Windows 8 (and of Vista and 7 with
    // KB2533623), which look in the system folder alone. FullPath, where they are missing: the
    // file in the system folder, or the side-by-side assembly where the manifest redirects the
    // name (comctl32 6).
    enum class Way { Flags, FullPath };

    // `fileName` (such as L"shell32.dll") from the system folder: by the search flags where the
    // system has them, the other way where it does not. Empty, with the last error set, when it
    // cannot be loaded.
    static SystemLibrary Load(const wchar_t* fileName);
    // The same, one way only.
    static SystemLibrary Load(const wchar_t* fileName, Way way);

    explicit operator bool() const { return static_cast<bool>(module_); }
    HMODULE Get() const { return module_.Get(); }

    template <typename Function>
    Function Find(const char* name) const {
        return LookUp<Function>(module_.Get(), name);
    }

  private:
    explicit SystemLibrary(HMODULE module) : module_(module) {}
    UniqueModule module_;
};

// Shell_NotifyIconW, from shell32 loaded on first use and kept. FALSE, with the last error
// set, where it cannot be had (the first such failure leaves a trace).
BOOL ShellNotifyIcon(DWORD message, NOTIFYICONDATAW* data);

// InitCommonControlsEx for `classes` (ICC_*), from comctl32 loaded on first use and kept:
// version 6 where the manifest asks for it. False, traced, where it cannot be had.
bool StartCommonControls(DWORD classes);

// Lets `message` through to this process's windows from processes of lower integrity: an
// elevated Tunewick hears the shell's "TaskbarCreated" and a second start's request. Windows
// before Vista has no such barrier, nor the function.
void AcceptFromLowerIntegrity(UINT message);

}  // namespace tunewick::platform
