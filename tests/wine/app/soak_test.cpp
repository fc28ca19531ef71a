// Tunewick runs for weeks: its windows opened and closed a few hundred times must leave its
// private memory flat once it has warmed up.

#include <psapi.h>

#include <functional>

#include "scenario.h"

namespace tunewick::e2e {
namespace {

class SoakScenario : public Scenario {};

// The process's private memory: its commit charge (Wine gives the process's resident private
// pages there, and no PrivateUsage); nullopt when the system does not say.
std::optional<SIZE_T> PrivateBytes(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(process, &counters, sizeof(counters)) ||
        counters.PagefileUsage == 0) {
        return std::nullopt;
    }
    return counters.PagefileUsage;
}

struct Cycle {
    const char* name;
    // Opens the window and closes it again, by its button or its close box; false when either
    // did not happen.
    std::function<bool(const TunewickApp&, bool byButton)> openAndClose;
};

bool CloseByBox(HWND window) {
    return PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0) && WaitForWindowGone(window, 2s);
}

HWND OpenHelp(const TunewickApp& app) {
    return Click(app.Button(u"Help"))
               ? WaitForTopLevel({.caption = Text(kHelpCaption), .processId = app.Id()}, 2s)
               : nullptr;
}

TEST_F(SoakScenario, WindowsOpenedAndClosedAgainAndAgainLeaveMemoryFlat) {
    constexpr int kWarmUp = 30;
    constexpr int kRound = 100;
    // Heap pages come and go in a few KB; a leak of a few hundred bytes a cycle shows as
    // far more than this over a round.
    constexpr SIZE_T kNoise = 48 * 1024;

    auto app = StartTunewick();
    ASSERT_TRUE(app);
    // Each cycle closes the window the two ways a user does, by turns.
    const Cycle cycles[] = {
        {"Help, then OK or the close box",
         [](const TunewickApp& app, bool byButton) {
             HWND help = OpenHelp(app);
             return help != nullptr && (byButton ? Click(FindChild(help, u"OK", u"Button")) &&
                                                       WaitForWindowGone(help, 2s)
                                                 : CloseByBox(help));
         }},
        {"Options, then Cancel or the close box",
         [](const TunewickApp& app, bool byButton) {
             auto dialog = OptionsDialog::Open(app);
             return dialog &&
                    (byButton ? Click(dialog->cancel) && WaitForWindowGone(dialog->window, 2s)
                              : CloseByBox(dialog->window));
         }},
    };
    for (const Cycle& cycle : cycles) {
        SCOPED_TRACE(cycle.name);
        auto run = [&](int times) {
            for (int i = 0; i < times; ++i) {
                if (!cycle.openAndClose(*app, i % 2 == 0)) {
                    return false;
                }
            }
            return true;
        };
        ASSERT_TRUE(run(kWarmUp));
        const auto start = PrivateBytes(app->Process().Handle());
        ASSERT_TRUE(run(kRound));
        const auto middle = PrivateBytes(app->Process().Handle());
        ASSERT_TRUE(run(kRound));
        const auto end = PrivateBytes(app->Process().Handle());
        ASSERT_TRUE(start && middle && end);
        // One round may land on a fresh heap page; both growing is a leak.
        const bool firstGrew = *middle > *start + kNoise;
        const bool secondGrew = *end > *middle + kNoise;
        EXPECT_FALSE(firstGrew && secondGrew)
            << "private bytes " << *start / 1024 << " -> " << *middle / 1024 << " -> "
            << *end / 1024 << " KB over two rounds of " << kRound;
    }
}

}  // namespace
}  // namespace tunewick::e2e
