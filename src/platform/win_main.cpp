#include <windows.h>

#include <cxxabi.h>
#include <cstdlib>

#include "platform/program.h"
#include "platform/single_instance.h"
#include "platform/system_library.h"

// libstdc++'s default terminate handler writes the exception's demangled type to stderr, which
// a GUI program does not have, and drags the demangler and MinGW's printf into the exe (about
// 75 KB of its size). Defining it here keeps the library's copy out of the link; terminating
// still aborts, as it did.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
}  // namespace __gnu_cxx

// MinGW's declaration names the last parameter nShowCmd.
// NOLINTNEXTLINE(readability-inconsistent-declaration-parameter-name)
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    namespace platform = tunewick::platform;
    // Before anything loads a DLL by name: none may come from the program's folder or the
    // current directory.
    platform::RestrictDllSearch();
    // Decided before any window or setting is touched: a second Tunewick of the session would
    // publish beside the first, and its switch-off would fight the other's songs.
    platform::SingleInstance instance = platform::SingleInstance::Claim(platform::kMainWindowClass);
    if (!instance.ShouldRun()) {
        return 0;
    }
    platform::Program program;
    // The session belongs to the main window: once it has closed, a new start runs, while this
    // program may go on with its options dialog.
    program.WhenMainWindowCloses([&instance] { instance.GiveUp(); });
    return program.Run(showCommand);
}
