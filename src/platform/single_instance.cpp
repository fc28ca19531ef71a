#include "platform/single_instance.h"

#include "platform/trace.h"

namespace tunewick::platform {
namespace {

// How long a second start waits for a Tunewick that holds the session but shows no main
// window, and how often it looks for one meanwhile.
constexpr DWORD kRunningInstanceWaitMs = 5000;
constexpr DWORD kLookEveryMs = 50;

// Asks the running Tunewick's main window to come forward. False when there is no such window
// (not yet, or no longer) or it cannot be asked; then `refusal` holds the post's error, if any.
bool AskRunningToShow(const wchar_t* mainWindowClass, DWORD& refusal) {
    const UINT showRequest = ShowRunningInstanceMessage();
    HWND running = FindWindowExW(nullptr, nullptr, mainWindowClass, nullptr);
    if (showRequest == 0 || running == nullptr) {
        return false;
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(running, &processId);
    // Windows lets a process take the foreground only when the foreground process hands it
    // on. This start, begun by the user, usually may; if not, the window still shows, behind
    // others, and nothing needs to be traced.
    AllowSetForegroundWindow(processId);
    // Posted, not sent: a running Tunewick busy in a wait on another program must not hold up
    // this start. It handles the request once it takes messages again.
    if (PostMessageW(running, showRequest, 0, 0) == FALSE) {
        refusal = GetLastError();
        return false;
    }
    TraceNote(
        L"another Tunewick runs in this session; it was asked to show its window, and "
        L"this start ends");
    return true;
}

}  // namespace

UINT ShowRunningInstanceMessage() {
    static const UINT kShowRequest = [] {
        const UINT registered = RegisterWindowMessageW(L"Tunewick.ShowMainWindow");
        if (registered == 0) {
            const DWORD error = GetLastError();
            TraceFailure(L"RegisterWindowMessageW", error);
        }
        return registered;
    }();
    return kShowRequest;
}

SingleInstance SingleInstance::Claim(const wchar_t* mainWindowClass) {
    UniqueKernelHandle mutex(CreateMutexW(nullptr, TRUE, kInstanceMutexName));
    if (!mutex) {
        // The session cannot be claimed (the name taken by an object of another kind, or
        // guarded against this user). A Tunewick found by its window still wins; otherwise
        // running unguarded beats not running at all.
        const DWORD error = GetLastError();
        TraceFailure(L"CreateMutexW(the session's Tunewick mutex)", error);
        DWORD refusal = ERROR_SUCCESS;
        return SingleInstance(OwnedMutex(), !AskRunningToShow(mainWindowClass, refusal));
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) {
        return SingleInstance(OwnedMutex(mutex.Release()), true);
    }

    // Another Tunewick holds the session (the initial ownership asked for was not given).
    const DWORD started = GetTickCount();
    DWORD refusal = ERROR_SUCCESS;
    while (true) {
        if (AskRunningToShow(mainWindowClass, refusal)) {
            return SingleInstance(OwnedMutex(), false);
        }
        // No window: the other one is starting or ending. One that ends gives the session to
        // this start; abandoned by a crash, it is this start's all the same.
        const DWORD wait = WaitForSingleObject(mutex.Get(), kLookEveryMs);
        if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) {
            return SingleInstance(OwnedMutex(mutex.Release()), true);
        }
        if (wait == WAIT_FAILED) {
            const DWORD error = GetLastError();
            TraceFailure(L"WaitForSingleObject(the session's Tunewick mutex)", error);
            return SingleInstance(OwnedMutex(), false);
        }
        if (GetTickCount() - started >= kRunningInstanceWaitMs) {
            // One line for the whole wait, however often the window was looked for.
            if (refusal != ERROR_SUCCESS) {
                TraceFailure(L"PostMessageW(the request to show the running Tunewick)", refusal);
            } else {
                TraceNote(
                    L"another Tunewick holds this session but shows no window; this "
                    L"start ends");
            }
            return SingleInstance(OwnedMutex(), false);
        }
    }
}

}  // namespace tunewick::platform
