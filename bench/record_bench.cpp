// Building the now-playing record and its UTF-16LE bytes, as SendNowPlaying does once a tick.

#include <benchmark/benchmark.h>

#include "core/now_playing.h"

namespace tunewick {
namespace {

void BuildAndEncode(benchmark::State& state, const NowPlayingRequest& request) {
    std::size_t bytes = 0;
    for (auto _ : state) {
        const Text record = BuildNowPlayingRecord(request);
        const std::vector<std::byte> encoded = EncodeUtf16Le(record);
        benchmark::DoNotOptimize(encoded.data());
        bytes += encoded.size();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}

void BM_RecordTypical(benchmark::State& state) {
    BuildAndEncode(state, {u"Some Song", u"Some Band", u"", u"", u"{0} - {1}", true});
}
BENCHMARK(BM_RecordTypical);

// Title and artist of the given length each: the cost grows with the text, nothing else.
void BM_RecordLongFields(benchmark::State& state) {
    const Text field(static_cast<std::size_t>(state.range(0)), u'x');
    BuildAndEncode(state, {field, field, u"", u"", u"{0} - {1}", true});
}
BENCHMARK(BM_RecordLongFields)->Arg(256)->Arg(4096)->Arg(65536);

}  // namespace
}  // namespace tunewick
