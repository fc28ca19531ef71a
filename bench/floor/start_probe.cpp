// Times how long a GUI program takes from its start until its main window is there.
//   start_probe [--keep] PROGRAM.exe
// Starts the program, watches for the first visible top-level window of its process, and
// prints "window_ms N" (milliseconds from CreateProcessW) and "pid N" (its Windows process
// id). Then ends the program, or with --keep leaves it running. Exit code 1 when the program
// did not start or showed no window within 30 s, 2 on a wrong command line.
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/handles.h"

namespace {

using tunewick::platform::UniqueKernelHandle;

constexpr DWORD kGiveUpMs = 30000;

struct WindowSearch {
    DWORD processId;
    bool found;
};

BOOL CALLBACK FindShownWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window)) {
        search->found = true;
        return FALSE;
    }
    return TRUE;
}

bool HasShownWindow(DWORD processId) {
    WindowSearch search{processId, false};
    EnumWindows(FindShownWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

double MillisecondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    bool keep = false;
    int next = 1;
    if (next < argc && std::wstring(argv[next]) == L"--keep") {
        keep = true;
        ++next;
    }
    if (next + 1 != argc) {
        std::fprintf(stderr, "usage: start_probe [--keep] PROGRAM.exe\n");
        return 2;
    }
    std::wstring commandLine = L"\"" + std::wstring(argv[next]) + L"\"";

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(argv[next], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info)) {
        std::fprintf(stderr, "start_probe: CreateProcessW failed (%lu)\n", GetLastError());
        return 1;
    }
    UniqueKernelHandle process(info.hProcess);
    UniqueKernelHandle thread(info.hThread);

    // A millisecond between looks leaves the CPU to the program that is starting.
    bool shown = false;
    while (!(shown = HasShownWindow(info.dwProcessId))) {
        if (WaitForSingleObject(process.Get(), 1) == WAIT_OBJECT_0 ||
            MillisecondsSince(start) > kGiveUpMs) {
            break;
        }
    }
    const double elapsed = MillisecondsSince(start);
    if (!shown) {
        std::fprintf(stderr, "start_probe: no window within %lu ms\n", kGiveUpMs);
        TerminateProcess(process.Get(), 1);
        return 1;
    }
    std::printf("window_ms %.1f\npid %lu\n", elapsed, info.dwProcessId);
    if (!keep) {
        TerminateProcess(process.Get(), 0);
        // Gone before the next start: a Tunewick still ending would hold its session, and the
        // next start would be timed as a second one.
        if (WaitForSingleObject(process.Get(), 5000) != WAIT_OBJECT_0) {
            std::fprintf(stderr, "start_probe: the program did not end within 5 s\n");
            return 1;
        }
    }
    return 0;
}
