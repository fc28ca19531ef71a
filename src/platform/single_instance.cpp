#include "platform/single_instance.h"

#include <chrono>

#include "platform/system_library.h"
#include "platform/trace.h"
#include "platform/win32_window_system.h"
#include "ui/session_start.h"

namespace tunewick::platform {
namespace {

// How long a start waits for the running Tunewick's window to answer its request. The window
// answers at once, even in the middle of a wait on another program; only a hung one makes a
// start wait this long.
constexpr UINT kAnswerBoundMs = 1000;

// The session over the named mutex and the main window's class.
class Win32SessionClaim final : public SessionClaim {
  public:
    explicit Win32SessionClaim(const wchar_t* mainWindowClass)
        : mainWindowClass_(mainWindowClass), startTicks_(GetTickCount()) {}

    Claim TryClaim() override {
        HANDLE created = CreateMutexW(nullptr, TRUE, kInstanceMutexName);
        const DWORD error = GetLastError();
        mutex_.Reset(created);
        if (!mutex_) {
            // The name taken by an object of another kind, or the mutex of an elevated
            // Tunewick, which this user's normal processes may not open.
            TraceFailure(L"CreateMutexW(the session's Tunewick mutex)", error);
            return Claim::Unavailable;
        }
        // Without ERROR_ALREADY_EXISTS the initial ownership asked for was given.
        owned_ = error != ERROR_ALREADY_EXISTS;
        return owned_ ? Claim::Taken : Claim::Held;
    }

    Answer AskToShow() override {
        const UINT request = ShowRunningInstanceMessage();
        HWND running = FindWindowExW(nullptr, nullptr, mainWindowClass_, nullptr);
        if (running == nullptr) {
            return Answer::NoWindow;
        }
        if (request == 0) {
            askError_ = ERROR_INVALID_MESSAGE;  // registering it failed, traced there
            return Answer::NotAnswered;
        }
        DWORD processId = 0;
        GetWindowThreadProcessId(running, &processId);
        // Windows lets a process take the foreground only when the foreground process hands it
        // on. This start, begun by the user, usually may; if not, the window still shows, behind
        // others, and nothing needs to be traced.
        AllowSetForegroundWindow(processId);
        // Sent, not posted: the answer says whether it showed, and a window that is closing
        // answers so.
        DWORD_PTR answer = 0;
        switch (SendBounded(running, request, 0, 0, kAnswerBoundMs, answer)) {
            case SendOutcome::Answered:
                return static_cast<LRESULT>(answer) == kShownAnswer ? Answer::Shown
                                                                    : Answer::Refused;
            case SendOutcome::NoWindow:
                return Answer::NoWindow;  // closed while it was asked
            case SendOutcome::NotAnswered:
                break;
        }
        const DWORD error = GetLastError();
        askError_ = error == ERROR_SUCCESS ? ERROR_TIMEOUT : error;
        return Answer::NotAnswered;
    }

    Wait WaitForClaim(std::chrono::milliseconds timeout) override {
        const auto ms = static_cast<DWORD>(timeout.count());
        if (!mutex_) {
            Sleep(ms);
            return Wait::Held;
        }
        switch (WaitForSingleObject(mutex_.Get(), ms)) {
            case WAIT_OBJECT_0:
                owned_ = true;
                return Wait::Released;
            case WAIT_ABANDONED:
                owned_ = true;
                return Wait::Abandoned;
            case WAIT_TIMEOUT:
                return Wait::Held;
            default: {
                const DWORD error = GetLastError();
                TraceFailure(L"WaitForSingleObject(the session's Tunewick mutex)", error);
                return Wait::Failed;
            }
        }
    }

    std::chrono::milliseconds Now() const override {
        // Unsigned difference: right across the counter's wrap every 49.7 days.
        return std::chrono::milliseconds(GetTickCount() - startTicks_);
    }

    // Why the latest request did not reach the running Tunewick's window.
    DWORD AskError() const { return askError_; }
    // The mutex, when this start owns it.
    HANDLE TakeOwnedMutex() { return owned_ ? mutex_.Release() : nullptr; }

  private:
    const wchar_t* mainWindowClass_;
    DWORD startTicks_;
    UniqueKernelHandle mutex_;
    bool owned_ = false;
    DWORD askError_ = ERROR_SUCCESS;
};

}  // namespace

UINT ShowRunningInstanceMessage() {
    static const UINT kShowRequest = [] {
        const UINT registered = RegisterWindowMessageW(L"Tunewick.ShowMainWindow");
        if (registered == 0) {
            const DWORD error = GetLastError();
            TraceFailure(L"RegisterWindowMessageW", error);
        }
        AcceptFromLowerIntegrity(registered);
        return registered;
    }();
    return kShowRequest;
}

SingleInstance SingleInstance::Claim(const wchar_t* mainWindowClass) {
    Win32SessionClaim session(mainWindowClass);
    const StartDecision decision = DecideStart(session);
    switch (decision) {
        case StartDecision::RunClaimed:
        case StartDecision::RunUnguarded:   // the failed claim has left its trace
        case StartDecision::EndWaitFailed:  // so has the wait
            break;
        case StartDecision::RunTakenOver:
            TraceNote(L"the Tunewick that held this session has ended; this start runs");
            break;
        case StartDecision::EndShown:
            TraceNote(
                L"another Tunewick runs in this session; it showed its window, and this "
                L"start ends");
            break;
        case StartDecision::EndNotShown:
            TraceNote(
                L"another Tunewick holds this session but shows no window; this start "
                L"ends");
            break;
        case StartDecision::EndUnanswered:
            // One line for the whole wait, however often the window was asked.
            TraceFailure(L"SendMessageTimeoutW(the request to show the running Tunewick)",
                         session.AskError());
            break;
    }
    return SingleInstance(OwnedMutex(session.TakeOwnedMutex()), Runs(decision));
}

}  // namespace tunewick::platform
