#pragma once

// The stand-in messenger and player (tools/), started and watched from a test. Declare the
// TempFolder before the stand-ins that write into it, so they end before it is removed.

#include <windows.h>

#include <filesystem>
#include <optional>
#include <vector>

#include "core/text.h"
#include "win32/messenger_log.h"
#include "win32/process.h"
#include "win32/window_driver.h"

namespace tunewick::e2e {

struct MessengerOptions {
    Text caption = u"Stand-in Messenger";
    Text className = u"MsnMsgrUIManager";
    int sleepMs = 0;     // sleep in the WM_COPYDATA handler...
    int sleepAfter = 0;  // ...for every record after this many
    std::optional<POINT> position{};
    bool messageOnly = false;  // a message-only window, as some listeners open it
    bool refuse = false;       // answers every WM_COPYDATA with FALSE (logged all the same)
};

class StandInMessenger {
  public:
    // Starts one that logs to a fresh file in `folder`, and waits for its window.
    static std::optional<StandInMessenger> Start(const std::filesystem::path& folder,
                                                 const MessengerOptions& options = {});

    HWND Window() const { return window_; }
    ChildProcess& Process() { return process_; }
    const std::filesystem::path& LogPath() const { return logPath_; }

    std::vector<MessengerLogRecord> Records() const { return ReadMessengerLog(logPath_); }
    // The records once at least `count` are there, or what is there after `timeout`.
    std::vector<MessengerLogRecord> WaitForRecords(std::size_t count,
                                                   Milliseconds timeout = kDefaultWait) const;
    // The personal message it shows; nullopt when it did not answer.
    std::optional<Text> ShownMessage() const;

  private:
    StandInMessenger(ChildProcess process, HWND window, std::filesystem::path logPath)
        : process_(std::move(process)), window_(window), logPath_(std::move(logPath)) {}

    ChildProcess process_;
    HWND window_;
    std::filesystem::path logPath_;
};

struct PlayerOptions {
    Text className{};
    Text caption{};
    std::optional<std::filesystem::path> captionsFile{};  // steps through its UTF-8 lines...
    int intervalMs = 1000;                                // ...one every this many ms
    bool hang = false;  // sleeps before answering another thread's WM_GETTEXT(LENGTH)
    int hangMs = 30000;
    int slowTextMs = 0;  // sleeps before answering another thread's WM_GETTEXT only
    std::optional<POINT> position{};
};

class StandInPlayer {
  public:
    // Starts one and waits for its window.
    static std::optional<StandInPlayer> Start(const PlayerOptions& options);

    HWND Window() const { return window_; }
    ChildProcess& Process() { return process_; }
    // WM_SETTEXT from outside, as the player itself would change its caption.
    bool SetCaption(TextView caption) const { return SetText(window_, caption); }

  private:
    StandInPlayer(ChildProcess process, HWND window)
        : process_(std::move(process)), window_(window) {}

    ChildProcess process_;
    HWND window_;
};

// Writes `lines` as a UTF-8 text file, one per line.
bool WriteUtf8Lines(const std::filesystem::path& path, const std::vector<Text>& lines);

}  // namespace tunewick::e2e
