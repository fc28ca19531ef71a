#pragma once

// What the fault scenarios add to the shared scenario driver: how quickly Tunewick's windows
// answer, messengers stacked in an order, a program folder it cannot write to, and the
// settings as the next start reads them.

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
#include "win32/tunewick_scenario.h"
#include "win32/window_driver.h"

namespace tunewick::e2e {

inline constexpr TextView kWinampClass = u"winamp v1.x";
inline constexpr TextView kXMPlayClass = u"xmplay-main";

// How long Tunewick waits for another program's window before it gives up on it.
inline constexpr Milliseconds kPeerBound = 2s;
// How quickly Tunewick's own windows must answer whatever it is waiting for.
inline constexpr Milliseconds kAnswerBound = 1s;

// A short summary for failure messages: a megabyte record printed byte by byte helps
// nobody.
std::string Describe(const std::vector<MessengerLogRecord>& records);

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

// Puts the windows of `className` at the top of the z-order in the order `windows` gives, and
// waits until the platform lists them so and keeps doing it; false when it never settles
// within `bound`.
bool StackInOrder(const std::vector<HWND>& windows, TextView className, Milliseconds bound = 10s);

// The folder given as --locked-folder=DIR (a Unix path, as the ctest fixture that makes it
// knows it), as a Windows path; nullopt when none was given.
std::optional<std::filesystem::path> LockedFolder();
// Takes --locked-folder=DIR out of the arguments GoogleTest left.
void ReadLockedFolderArgument(int argc, wchar_t** argv);

// True when a new file can be created in `folder`.
bool FolderWritable(const std::filesystem::path& folder);

class FaultScenario : public TunewickScenario {
  protected:
    FaultScenario() : TunewickScenario(L"faults") {}
};

}  // namespace tunewick::e2e
