// The work of one tick of a player mode, timed against live windows: read the player's
// caption, cut it, send the record to every messenger. These are the calls Tunewick's timer
// makes every 5 s; the stand-in player and messenger (tools/) must already be running.
//   tick_timing [--ticks N] [--player realplayer|winamp|xmplay]
// Prints a table (median, mean and 90th percentile wall time of each step and of the whole
// tick, in microseconds) and this process's CPU time per tick, and last a line
//   tick_us median=.. mean=.. p90=.. cpu=..
// for scripts. Exit code 1 when there is no player or messenger window, or the caption does
// not cut; 2 on a wrong command line.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <numeric>
#include <string>
#include <vector>

#include "core/now_playing.h"
#include "core/player_title.h"
#include "platform/win32_window_system.h"
#include "ui/player_modes.h"

namespace {

using namespace tunewick;

constexpr int kWarmUpTicks = 50;

struct Options {
    int ticks = 2000;
    PlayerKind player = PlayerKind::Winamp;
};

bool ParseOptions(int argc, wchar_t** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::wstring name = argv[i];
        if (i + 1 >= argc) {
            return false;
        }
        const std::wstring value = argv[++i];
        if (name == L"--ticks") {
            options.ticks = static_cast<int>(std::wcstol(value.c_str(), nullptr, 10));
            if (options.ticks <= 0) {
                return false;
            }
        } else if (name == L"--player" && value == L"realplayer") {
            options.player = PlayerKind::RealPlayer;
        } else if (name == L"--player" && value == L"winamp") {
            options.player = PlayerKind::Winamp;
        } else if (name == L"--player" && value == L"xmplay") {
            options.player = PlayerKind::XMPlay;
        } else {
            return false;
        }
    }
    return true;
}

class Stopwatch {
  public:
    Stopwatch() { QueryPerformanceFrequency(&frequency_); }
    LONGLONG Now() const {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return now.QuadPart;
    }
    double Microseconds(LONGLONG from, LONGLONG to) const {
        return static_cast<double>(to - from) * 1e6 / static_cast<double>(frequency_.QuadPart);
    }

  private:
    LARGE_INTEGER frequency_;
};

// User plus kernel time of this process, in microseconds.
double ProcessCpuMicroseconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 10.0;
}

struct Summary {
    double median;
    double mean;
    double p90;
};

Summary Summarize(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    const double sum = std::accumulate(samples.begin(), samples.end(), 0.0);
    return {samples[samples.size() / 2], sum / static_cast<double>(samples.size()),
            samples[samples.size() * 9 / 10]};
}

int CountMessengers(WindowSystem& windows) {
    int count = 0;
    for (WindowHandle window = windows.FindNextTopLevel(kMessengerWindowClass, WindowHandle::None);
         window != WindowHandle::None;
         window = windows.FindNextTopLevel(kMessengerWindowClass, window)) {
        ++count;
    }
    return count;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: tick_timing [--ticks N] [--player realplayer|winamp|xmplay]\n");
        return 2;
    }
    platform::Win32WindowSystem windows;
    const TextView playerClass = ModeOf(options.player).windowClass;
    const int messengers = CountMessengers(windows);
    if (windows.FindNextTopLevel(playerClass, WindowHandle::None) == WindowHandle::None ||
        messengers == 0) {
        std::fprintf(stderr, "tick_timing: start a stand-in player and messenger first\n");
        return 1;
    }

    Stopwatch clock;
    std::vector<double> read, cut, send, whole;
    const int total = kWarmUpTicks + options.ticks;
    double cpuStart = 0;
    for (int tick = 0; tick < total; ++tick) {
        if (tick == kWarmUpTicks) {
            cpuStart = ProcessCpuMicroseconds();
        }
        const LONGLONG t0 = clock.Now();
        const PlayerTitle title = ReadPlayerTitle(windows, playerClass);
        const LONGLONG t1 = clock.Now();
        const CutResult cutResult = CutTitle(options.player, title.title);
        const LONGLONG t2 = clock.Now();
        const SongInfo* song = std::get_if<SongInfo>(&cutResult);
        if (title.status != TitleReadStatus::Read || song == nullptr) {
            std::fprintf(stderr, "tick_timing: the player's caption did not read or cut\n");
            return 1;
        }
        NowPlayingRequest request;
        request.title = song->title;
        request.artist = song->artist;
        request.format = u"{0} - {1}";
        SendNowPlaying(windows, request);
        const LONGLONG t3 = clock.Now();
        if (tick >= kWarmUpTicks) {
            read.push_back(clock.Microseconds(t0, t1));
            cut.push_back(clock.Microseconds(t1, t2));
            send.push_back(clock.Microseconds(t2, t3));
            whole.push_back(clock.Microseconds(t0, t3));
        }
    }
    const double cpuPerTick = (ProcessCpuMicroseconds() - cpuStart) / options.ticks;

    std::printf("tick_timing: %d ticks (after %d to warm up), %d messenger window(s), %s\n",
                options.ticks, kWarmUpTicks, messengers, sizeof(void*) == 8 ? "x86_64" : "i686");
    std::printf("%-16s %10s %10s %10s  (wall time, us)\n", "step", "median", "mean", "p90");
    const struct {
        const char* name;
        const std::vector<double>& samples;
    } rows[] = {{"ReadPlayerTitle", read},
                {"CutTitle", cut},
                {"SendNowPlaying", send},
                {"whole tick", whole}};
    for (const auto& row : rows) {
        const Summary s = Summarize(row.samples);
        std::printf("%-16s %10.2f %10.2f %10.2f\n", row.name, s.median, s.mean, s.p90);
    }
    std::printf("CPU time of this process per tick: %.1f us\n", cpuPerTick);
    const Summary tick = Summarize(whole);
    std::printf("tick_us median=%.2f mean=%.2f p90=%.2f cpu=%.2f\n", tick.median, tick.mean,
                tick.p90, cpuPerTick);
    return 0;
}
