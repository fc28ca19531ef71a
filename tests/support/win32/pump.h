#pragma once

// Runs this thread's messages for a while, as a program's message loop would: for tests that
// create windows in their own thread and need their posted messages and timers to arrive.

#include <windows.h>

namespace tunewick::e2e {

// Dispatches this thread's messages for `ms` milliseconds. A WM_QUIT (which the program's last
// closed window posts) is taken off the queue and dropped: the test goes on.
inline void Pump(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    MSG msg;
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message != WM_QUIT) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        Sleep(5);
    }
}

}  // namespace tunewick::e2e
