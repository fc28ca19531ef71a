#pragma once

// Tunewick.exe as a user meets it: a copy in a folder of its own with the settings file the
// scenario wants, its windows found by their captions, its tray icon as Wine shows it.

#include <windows.h>

#include <filesystem>
#include <optional>

#include "core/text.h"
#include "win32/process.h"
#include "win32/tunewick_app_scenarios.h"
#include "win32/window_driver.h"

namespace tunewick::e2e {

inline constexpr TextView kHelpCaption = u"Help";

// The shell's mouse messages as the tray icon reports them through its callback message.
inline constexpr LPARAM kTrayDoubleClick = WM_LBUTTONDBLCLK;  // 515
inline constexpr LPARAM kTrayRightDown = WM_RBUTTONDOWN;      // 516
inline constexpr UINT kTrayCallbackMessage = WM_MOUSEMOVE;    // 512
inline constexpr WPARAM kTrayIconId = 1;                       // the icon's id, in wParam

class TunewickApp : public RunningTunewick {
  public:
    // Copies Tunewick.exe beside the test program into `folder` (where it looks for
    // settings.cfg), starts it and waits for its main window, shown or not.
    static std::optional<TunewickApp> Start(const std::filesystem::path& folder);

    // The main window's text box on the row of the label `label`.
    HWND BoxBeside(TextView label) const {
        return ControlBesideLabel(main_, label, u"Edit", Side::Right);
    }

    // This program's visible top-level windows with `caption`.
    std::vector<HWND> WindowsCaptioned(TextView caption) const;
    // The tray icon's callback, as the shell posts it: the icon's id and the mouse message.
    bool PostTrayEvent(LPARAM mouseMessage) const;

    enum class Side { Left, Right };
    // The control of class `className` nearest to the label `label` on its row, on the given
    // side: how a user finds the box or the check box that a label names.
    static HWND ControlBesideLabel(HWND window, TextView label, TextView className, Side side);

  private:
    TunewickApp(ChildProcess process, HWND main) : RunningTunewick(std::move(process), main) {}
};

// The pop-up menu of process `processId` once it shows, nullptr after `timeout`.
HWND WaitForPopupMenu(DWORD processId, Milliseconds timeout = kDefaultWait);
// A key pressed while the menu tracks: the menu's loop reads its thread's key messages.
bool PostMenuKey(HWND menu, WPARAM virtualKey);

}  // namespace tunewick::e2e
