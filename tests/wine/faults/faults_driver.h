#pragma once

// What the fault scenarios share: Tunewick.exe started from a folder of its own, its buttons
// and boxes, the records it should send, how quickly its window answers, the tray icons Wine
// shows, and the bytes of files.

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/text.h"
#include "win32/messenger_log.h"
#include "win32/process.h"
#include "win32/standins.h"
#include "win32/window_driver.h"

namespace tunewick::e2e {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

inline constexpr TextView kMainCaption = u"Tunewick";
inline constexpr TextView kOptionsCaption = u"   Tunewick :: Options";
inline constexpr TextView kWinampClass = u"winamp v1.x";
inline constexpr TextView kXMPlayClass = u"xmplay-main";

// One interval of the mode timers, and how far a tick may stray from it under Wine.
inline constexpr Milliseconds kInterval = 5s;
inline constexpr Milliseconds kTickSlack = 1500ms;
// How long Tunewick waits for another program's window before it gives up on it.
inline constexpr Milliseconds kPeerBound = 2s;
// How quickly Tunewick's own windows must answer whatever it is waiting for.
inline constexpr Milliseconds kAnswerBound = 1s;

// The record a messenger gets for a now-playing request with empty album and content id.
MessengerLogRecord NowPlayingRecord(TextView title, TextView artist, TextView format, bool show);
MessengerLogRecord EmptyRecord(bool show);
// A short description for failure messages: a megabyte record printed byte by byte helps
// nobody.
std::string Describe(const std::vector<MessengerLogRecord>& records);

bool WriteFileBytes(const std::filesystem::path& path, std::string_view bytes);
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path);

// A value as the platform's profile functions read it from `file` (what the next start sees).
Text ProfileValue(const std::filesystem::path& file, TextView section, TextView key);

// How long `window` took to answer WM_GETTEXT; nullopt when it did not within `bound`.
std::optional<Milliseconds> AnswerTime(HWND window, Milliseconds bound = kPeerBound);

// Measures how quickly the windows answer, again and again, until `done` holds or `timeout`
// passes; keeps the slowest answer (an unanswered one counts as `timeout`).
struct Responsiveness {
    bool done = false;
    Milliseconds slowest{0};
    int probes = 0;
};
Responsiveness ProbeUntil(const std::vector<HWND>& windows, const std::function<bool()>& done,
                          Milliseconds timeout);

// Puts `windows` at the top of the z-order so that the platform lists them in this order.
void StackInOrder(const std::vector<HWND>& windows);

class TunewickApp {
  public:
    // Copies Tunewick.exe beside the test program into `folder` (unless it is there already),
    // starts it and waits for its main window, shown or not.
    static std::optional<TunewickApp> Start(const std::filesystem::path& folder);

    HWND MainWindow() const { return main_; }
    ChildProcess& Process() { return process_; }
    DWORD Id() const { return process_.Id(); }

    // A button of the main window by the caption it shows now.
    HWND Button(TextView caption) const { return FindChild(main_, caption, u"Button"); }
    // The artist, song and format boxes, in this order.
    std::vector<HWND> Boxes() const;
    // Types into the artist and song boxes and presses "Set" without waiting for it.
    bool PostSet(TextView artist, TextView song) const;

    std::optional<MessageBoxInfo> WaitForMessageBox(Milliseconds timeout = kDefaultWait) const {
        return e2e::WaitForMessageBox(process_.Id(), timeout);
    }

    // Closes the main window with its close box and waits for the program to end.
    std::optional<DWORD> Close(Milliseconds timeout = 10s);

  private:
    TunewickApp(ChildProcess process, HWND main) : process_(std::move(process)), main_(main) {}

    ChildProcess process_;
    HWND main_;
};

// The options dialog of process `processId`.
struct OptionsDialog {
    HWND window = nullptr;
    HWND ok = nullptr;
    std::vector<HWND> boxes;  // artist, song, format

    static std::optional<OptionsDialog> WaitFor(DWORD processId);
};

// The folder given as --locked-folder=DIR (a Unix path, as the ctest fixture that makes it
// knows it), as a Windows path; nullopt when none was given.
std::optional<std::filesystem::path> LockedFolder();
// Takes --locked-folder=DIR out of the arguments GoogleTest left.
void ReadLockedFolderArgument(int argc, wchar_t** argv);

// True when a new file can be created in `folder`.
bool FolderWritable(const std::filesystem::path& folder);

// The icons Wine's stand-alone tray shows (no desktop tray under Xvfb).
std::size_t TrayIconCount();

// Every scenario starts in an empty folder with no messenger or Tunewick left by a test before.
class FaultScenario : public ::testing::Test {
  protected:
    void SetUp() override;

    const std::filesystem::path& Folder() const { return folder_->Path(); }
    std::filesystem::path SettingsPath() const { return Folder() / L"settings.cfg"; }

    std::optional<StandInMessenger> StartMessenger(MessengerOptions options = {}) const {
        return StandInMessenger::Start(Folder(), options);
    }
    std::optional<TunewickApp> StartTunewick() const { return TunewickApp::Start(Folder()); }

  private:
    // Declared first: removed after the programs that write into it have ended.
    std::optional<TempFolder> folder_;
};

inline long long Ms(Clock::duration duration) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(duration).count();
}

}  // namespace tunewick::e2e
