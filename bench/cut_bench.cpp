// Cutting each player's caption into song title and artist.

#include <benchmark/benchmark.h>

#include "core/player_title.h"

namespace tunewick {
namespace {

void Cut(benchmark::State& state, PlayerKind kind, TextView caption) {
    for (auto _ : state) {
        CutResult cut = CutTitle(kind, caption);
        benchmark::DoNotOptimize(cut);
    }
}

void BM_CutRealPlayer(benchmark::State& state) {
    Cut(state, PlayerKind::RealPlayer, u"RealPlayer: Some Song - Some Band");
}
void BM_CutWinamp(benchmark::State& state) {
    Cut(state, PlayerKind::Winamp, u"12. Some Band - Some Song - Winamp");
}
void BM_CutXMPlay(benchmark::State& state) {
    Cut(state, PlayerKind::XMPlay, u"Some Band - Some Song");
}
BENCHMARK(BM_CutRealPlayer);
BENCHMARK(BM_CutWinamp);
BENCHMARK(BM_CutXMPlay);

// A caption of the given length with its "-" at the very end: the search for the separator
// walks the whole text.
void BM_CutLongCaption(benchmark::State& state) {
    const auto kind = static_cast<PlayerKind>(state.range(0));
    Text caption = u"1. " + Text(static_cast<std::size_t>(state.range(1)), u'x');
    caption += u" - Song";
    Cut(state, kind, caption);
}
BENCHMARK(BM_CutLongCaption)
    ->ArgNames({"player", "length"})
    ->ArgsProduct({{static_cast<int>(PlayerKind::RealPlayer), static_cast<int>(PlayerKind::Winamp),
                    static_cast<int>(PlayerKind::XMPlay)},
                   {4096, 1 << 20}});

}  // namespace
}  // namespace tunewick
