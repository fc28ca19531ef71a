#pragma once

// Tunewick.exe as a user meets it, driven from outside: a copy in a folder of its own with the
// settings file a scenario wants, its windows found by their captions, its boxes by the labels
// beside them, its tray icon as Wine shows it; and what a messenger should get from it.

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/text.h"
#include "win32/messenger_log.h"
#include "win32/process.h"
#include "win32/window_driver.h"

namespace tunewick::e2e {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

inline constexpr TextView kMainCaption = u"Tunewick";
inline constexpr TextView kOptionsCaption = u"   Tunewick :: Options";
inline constexpr TextView kHelpCaption = u"Help";

// One interval of the mode timers, and how far a tick may stray from it under Wine.
inline constexpr Milliseconds kInterval = 5s;
inline constexpr Milliseconds kTickSlack = 1500ms;

// The record a messenger gets for a now-playing request with empty album and content id.
MessengerLogRecord NowPlayingRecord(TextView title, TextView artist, TextView format, bool show);
// Five empty texts: what switching a mode off, a vanished player and the shutdown send.
MessengerLogRecord EmptyRecord(bool show);

bool WriteFileBytes(const std::filesystem::path& path, std::string_view bytes);
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path);

// The main window of the Tunewick started as `process`, shown or not; nullptr when the
// program ends or none appears within kDefaultWait.
HWND WaitForMainWindow(const ChildProcess& process);

// Tunewick.exe beside the test program copied into `folder` (unless one is there already), where
// it looks for settings.cfg; nullopt when the copy failed.
std::optional<std::filesystem::path> PlaceTunewickIn(const std::filesystem::path& folder);

class TunewickApp {
  public:
    // Places Tunewick.exe in `folder`, starts it, and waits until its main window, shown or
    // not, has run its load.
    static std::optional<TunewickApp> Start(const std::filesystem::path& folder);

    HWND MainWindow() const { return main_; }
    ChildProcess& Process() { return process_; }
    DWORD Id() const { return process_.Id(); }

    // A button of the main window, found by the caption it shows now.
    HWND Button(TextView caption) const { return FindChild(main_, caption, u"Button"); }
    // The main window's text box on the row of the label `label`.
    HWND BoxBeside(TextView label) const {
        return ControlBesideLabel(main_, label, u"Edit", Side::Right);
    }
    // The artist, song and format boxes, in this order.
    std::vector<HWND> Boxes() const;
    // Types into the artist and song boxes and presses "Set" without waiting for it.
    bool PostSet(TextView artist, TextView song) const;

    // This program's message boxes.
    std::optional<MessageBoxInfo> WaitForMessageBox(Milliseconds timeout = kDefaultWait) const {
        return e2e::WaitForMessageBox(process_.Id(), timeout);
    }
    // This program's visible top-level windows with `caption`.
    std::vector<HWND> WindowsCaptioned(TextView caption) const;
    // The tray icon's callback, as the shell posts it: the icon's id and the mouse message.
    bool PostTrayEvent(LPARAM mouseMessage) const;
    // The control that has the keyboard focus, nullptr while no window of the program is active.
    HWND Focus() const;
    // A key pressed and released on the control that has the focus, posted into the program's
    // queue as the keyboard's messages arrive: its message loop takes them as a user's keys.
    bool PressKey(WPARAM virtualKey) const;

    // Closes the main window with its close box and waits for the program to end.
    std::optional<DWORD> Close(Milliseconds timeout = 10s);

    enum class Side { Left, Right };
    // The control of class `className` nearest to the label `label` on its row, on the given
    // side: how a user finds the box or the check box that a label names.
    static HWND ControlBesideLabel(HWND window, TextView label, TextView className, Side side);

  private:
    TunewickApp(ChildProcess process, HWND main) : process_(std::move(process)), main_(main) {}

    ChildProcess process_;
    HWND main_;
};

// The options dialog's controls as a user finds them: by caption, or by the label in front.
struct OptionsDialog {
    HWND window = nullptr;
    HWND realplayer = nullptr;
    HWND winamp = nullptr;
    HWND xmplay = nullptr;
    HWND minimizeOnStartup = nullptr;
    HWND artist = nullptr;
    HWND song = nullptr;
    HWND format = nullptr;
    HWND ok = nullptr;
    HWND cancel = nullptr;

    // Presses "Options" and finds the dialog once it shows, every control in it.
    static std::optional<OptionsDialog> Open(const TunewickApp& app);
    static OptionsDialog Find(HWND window);

    std::vector<HWND> Boxes() const { return {artist, song, format}; }
};

// The pop-up menu of process `processId` once it shows, nullptr after `timeout`.
HWND WaitForPopupMenu(DWORD processId, Milliseconds timeout = kDefaultWait);
// A key pressed while the menu tracks: the menu's loop reads its thread's key messages.
bool PostMenuKey(HWND menu, WPARAM virtualKey);

// The icons Wine's stand-alone tray shows (no desktop tray under Xvfb): children of class
// "__winex11_tray_icon" of the "Wine System Tray" window.
std::size_t TrayIconCount();

inline long long Ms(Clock::duration duration) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(duration).count();
}

}  // namespace tunewick::e2e
