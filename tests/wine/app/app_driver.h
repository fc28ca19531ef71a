#pragma once

// Tunewick.exe as a user meets it: a copy in a folder of its own with the settings file the
// scenario wants, its windows found by their captions, its tray icon as Wine shows it.

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/text.h"
#include "win32/messenger_log.h"
#include "win32/process.h"
#include "win32/window_driver.h"

namespace tunewick::e2e {

inline constexpr TextView kMainCaption = u"Tunewick";
inline constexpr TextView kHelpCaption = u"Help";
inline constexpr TextView kOptionsCaption = u"   Tunewick :: Options";

// The shell's mouse messages as the tray icon reports them through its callback message.
inline constexpr LPARAM kTrayDoubleClick = WM_LBUTTONDBLCLK;  // 515
inline constexpr LPARAM kTrayRightDown = WM_RBUTTONDOWN;      // 516
inline constexpr UINT kTrayCallbackMessage = WM_MOUSEMOVE;    // 512

// The record a messenger gets for a now-playing request with empty album and content id.
MessengerLogRecord NowPlayingRecord(TextView title, TextView artist, TextView format, bool show);
// Five empty texts: what switching a mode off, a vanished player and the shutdown send.
MessengerLogRecord EmptyRecord(bool show);

bool WriteFileBytes(const std::filesystem::path& path, std::string_view bytes);
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path);

class TunewickApp {
  public:
    // Copies Tunewick.exe beside the test program into `folder` (where it looks for
    // settings.cfg), starts it and waits for its main window, shown or not.
    static std::optional<TunewickApp> Start(const std::filesystem::path& folder);

    HWND MainWindow() const { return main_; }
    ChildProcess& Process() { return process_; }
    DWORD Id() const { return process_.Id(); }

    // A button of the main window, found by the caption it shows now.
    HWND Button(TextView caption) const;
    // The main window's text box on the row of the label `label`.
    HWND BoxBeside(TextView label) const {
        return ControlBesideLabel(main_, label, u"Edit", Side::Right);
    }

    // This program's visible top-level windows with `caption`.
    std::vector<HWND> WindowsCaptioned(TextView caption) const;
    // This program's message boxes.
    std::optional<MessageBoxInfo> WaitForMessageBox(Milliseconds timeout = kDefaultWait) const;

    // The tray icon's callback, as the shell posts it.
    bool PostTrayEvent(LPARAM mouseMessage) const;

    enum class Side { Left, Right };
    // The control of class `className` nearest to the label `label` on its row, on the given
    // side: how a user finds the box or the check box that a label names.
    static HWND ControlBesideLabel(HWND window, TextView label, TextView className, Side side);

  private:
    TunewickApp(ChildProcess process, HWND main) : process_(std::move(process)), main_(main) {}

    ChildProcess process_;
    HWND main_;
};

// The icons Wine's stand-alone tray shows (no desktop tray under Xvfb): children of class
// "__winex11_tray_icon" of the "Wine System Tray" window.
std::size_t TrayIconCount();

// The pop-up menu of process `processId` once it shows, nullptr after `timeout`.
HWND WaitForPopupMenu(DWORD processId, Milliseconds timeout = kDefaultWait);
// A key pressed while the menu tracks: the menu's loop reads its thread's key messages.
bool PostMenuKey(HWND menu, WPARAM virtualKey);

}  // namespace tunewick::e2e
