#pragma once

#include <windows.h>

#include <functional>
#include <utility>

#include "platform/help_window.h"
#include "platform/live_windows.h"
#include "platform/main_window.h"
#include "platform/options_window.h"
#include "platform/win32_profile_store.h"
#include "platform/win32_window_system.h"

namespace tunewick::platform {

// Tunewick as a whole: its three windows, the window and profile functions they work with,
// and the message loop. The window objects live as long as the program; their windows come
// and go.
class Program final : private SecondaryWindows {
  public:
    Program();

    // Creates the main window, runs its load, and pumps messages until the last window has
    // closed. Returns the exit code.
    int Run(int showCommand);
    // Runs `action` when the main window has closed.
    void WhenMainWindowCloses(std::function<void()> action) { main_.WhenClosed(std::move(action)); }

  private:
    void ShowHelp() override { help_.Show(); }
    void CloseHelp() override { help_.Close(); }
    void ShowOptions() override { options_.Show(); }

    LiveWindows live_;
    Win32WindowSystem windows_;
    Win32ProfileStore profile_;
    HelpWindow help_;
    OptionsWindow options_;
    MainWindow main_;
};

}  // namespace tunewick::platform
