#pragma once

// What every scenario that drives Tunewick.exe from outside needs: its captions, the timing
// of its mode timers, the records a messenger should get from it, its main window once it
// starts, the tray icons Wine shows and the bytes of the files it reads and writes.

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/text.h"
#include "win32/messenger_log.h"
#include "win32/process.h"
#include "win32/window_driver.h"

namespace tunewick::e2e {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

inline constexpr TextView kMainCaption = u"Tunewick";
inline constexpr TextView kOptionsCaption = u"   Tunewick :: Options";

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

// A running Tunewick.exe and its main window: what each test program's own handle on it
// builds on.
class RunningTunewick {
  public:
    HWND MainWindow() const { return main_; }
    ChildProcess& Process() { return process_; }
    DWORD Id() const { return process_.Id(); }

    // A button of the main window, found by the caption it shows now.
    HWND Button(TextView caption) const { return FindChild(main_, caption, u"Button"); }
    // This program's message boxes.
    std::optional<MessageBoxInfo> WaitForMessageBox(Milliseconds timeout = kDefaultWait) const {
        return e2e::WaitForMessageBox(process_.Id(), timeout);
    }

  protected:
    RunningTunewick(ChildProcess process, HWND main) : process_(std::move(process)), main_(main) {}

    ChildProcess process_;
    HWND main_;
};

// The icons Wine's stand-alone tray shows (no desktop tray under Xvfb): children of class
// "__winex11_tray_icon" of the "Wine System Tray" window.
std::size_t TrayIconCount();

inline long long Ms(Clock::duration duration) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(duration).count();
}

}  // namespace tunewick::e2e
