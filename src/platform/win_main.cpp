#include <windows.h>

#include <commctrl.h>
#include <cxxabi.h>

#include <cstdlib>

#include "platform/frame.h"
#include "platform/help_window.h"
#include "platform/live_windows.h"
#include "platform/main_window.h"
#include "platform/options_window.h"
#include "platform/single_instance.h"
#include "platform/system_library.h"
#include "platform/win32_profile_store.h"
#include "platform/win32_window_system.h"

// libstdc++'s default terminate handler writes the exception's demangled type to stderr, which
// a GUI program does not have, and drags the demangler and MinGW's printf into the exe (about
// 75 KB). Defined here, it keeps the library's copy out of the link, and terminating aborts.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
}  // namespace __gnu_cxx

namespace tunewick::platform {
namespace {

// Pumps messages until the last of the program's windows has closed; returns the exit code.
int RunMessageLoop(const LiveWindows& live) {
    MSG msg{};
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
        if (got == -1) {
            return 1;
        }
        // Tab, the arrow keys, Space and Enter move between and press controls as in a
        // dialog, in each of the program's windows.
        HWND root = msg.hwnd != nullptr ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        if (root != nullptr && live.Contains(root) && IsDialogMessageW(root, &msg)) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace
}  // namespace tunewick::platform

// MinGW's declaration names the last parameter nShowCmd.
// NOLINTNEXTLINE(readability-inconsistent-declaration-parameter-name)
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    using namespace tunewick::platform;
    RestrictDllSearch();
    // Decided before any window or setting is touched: a second Tunewick of the session would
    // publish beside the first, and its switch-off would fight the other's songs.
    SingleInstance instance = SingleInstance::Claim(kMainWindowClass);
    if (!instance.ShouldRun()) {
        return 0;
    }
    StartCommonControls(ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES);
    // The program's windows live as long as the program; their windows come and go.
    LiveWindows live;
    Win32WindowSystem windows;
    Win32ProfileStore profile;
    HelpWindow help(live);
    OptionsWindow options(profile, live);
    MainWindow main(windows, profile, help, options, live);
    main.WhenClosed([&instance] { instance.GiveUp(); });
    if (!RegisterFrameClass() || !main.Create()) {
        return 1;
    }
    main.Start(showCommand);
    return RunMessageLoop(live);
}
