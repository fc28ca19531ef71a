// One whole poll tick of the form logic: find the player, read and cut its caption, build
// the record, deliver it to the messenger and fill the artist and song boxes.

#include <benchmark/benchmark.h>

#include "form_doubles.h"
#include "ui/main_form.h"

namespace tunewick::testing {
namespace {

// Winamp mode on, a Winamp and `messengers` messenger windows open, "Update with timers?"
// checked so the tick writes the boxes too.
void BM_WinampTick(benchmark::State& state) {
    MainFormRig f(/*quiet=*/true);
    f.windows.Open(u"winamp v1.x", u"12. Some Band - Some Song - Winamp");
    for (std::int64_t i = 0; i < state.range(0); ++i) {
        f.windows.Open(u"MsnMsgrUIManager");
    }
    f.followPlayerBox.SetValue(1);
    f.form.ToggleMode(PlayerKind::Winamp);
    for (auto _ : state) {
        f.form.PollTick(PlayerKind::Winamp);
    }
    // A tick that failed would have switched the mode off and sent nothing more.
    if (!f.winampTimer.Enabled() || !f.boxes.shown.empty() ||
        f.windows.DeliveryCount() !=
            static_cast<std::size_t>(state.iterations() * state.range(0)) ||
        f.songBox.Value() != u"Some Song") {
        state.SkipWithError("the tick did not deliver the song");
    }
    state.counters["records"] = benchmark::Counter(static_cast<double>(f.windows.DeliveryCount()));
}
BENCHMARK(BM_WinampTick)->ArgName("messengers")->Arg(1)->Arg(2);

// The same tick when Winamp's window is gone: the mode switches off after one empty record.
// Measured as toggle on + tick, since the tick leaves the mode off.
void BM_WinampTickPlayerGone(benchmark::State& state) {
    MainFormRig f(/*quiet=*/true);
    f.windows.Open(u"MsnMsgrUIManager");
    for (auto _ : state) {
        f.form.ToggleMode(PlayerKind::Winamp);
        f.form.PollTick(PlayerKind::Winamp);
    }
    if (f.winampTimer.Enabled() || !f.boxes.shown.empty()) {
        state.SkipWithError("the tick did not switch the mode off");
    }
}
BENCHMARK(BM_WinampTickPlayerGone);

}  // namespace
}  // namespace tunewick::testing
