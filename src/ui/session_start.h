#pragma once

#include <chrono>

namespace tunewick {

// How long a start waits for the Tunewick that holds the user's session to show its window or
// to end, and how often it looks meanwhile.
inline constexpr std::chrono::milliseconds kSessionWait{5000};
inline constexpr std::chrono::milliseconds kSessionLookEvery{50};

// The user's session as a start of Tunewick finds it: the claim that one Tunewick holds while
// its main window is open, and that Tunewick's main window. The Win32 layer implements it over
// a named mutex and the window's class; tests script it.
class SessionClaim {
  public:
    virtual ~SessionClaim() = default;

    enum class Claim {
        Taken,        // the session is this start's now
        Held,         // another Tunewick holds it
        Unavailable,  // it cannot be claimed (its name taken by something else, or guarded)
    };
    virtual Claim TryClaim() = 0;

    enum class Answer {
        Shown,        // the running Tunewick's main window shows, in front
        NoWindow,     // there is none: the other one is starting, or has closed it
        Refused,      // it answered no: its window is closing
        NotAnswered,  // the request did not reach it, or it did not answer in time
    };
    // Asks the running Tunewick's main window to show itself, as the tray menu's "Show" does,
    // and to come to the front.
    virtual Answer AskToShow() = 0;

    enum class Wait {
        Released,   // the other one gave the claim up: it is this start's now
        Abandoned,  // the other one ended without giving it up (it crashed): this start's too
        Held,       // still held after the time given; also where the session has no claim
        Failed,
    };
    // Waits for the claim another Tunewick holds, `timeout` at most. Where the session cannot
    // be claimed, only lets the time pass.
    virtual Wait WaitForClaim(std::chrono::milliseconds timeout) = 0;

    // A clock that only moves forward.
    virtual std::chrono::milliseconds Now() const = 0;
};

// What a start does, and why.
enum class StartDecision {
    RunClaimed,     // the session was free
    RunTakenOver,   // the Tunewick that held it ended (or crashed) while this start waited
    RunUnguarded,   // it cannot be claimed and no Tunewick shows a window: better than none
    EndShown,       // the running Tunewick showed its window: this start ends
    EndNotShown,    // another holds the session, and no window of it showed within the wait
    EndUnanswered,  // ...and its window never took the request within the wait
    EndWaitFailed,  // the wait for the claim failed
};

inline bool Runs(StartDecision decision) {
    return decision == StartDecision::RunClaimed || decision == StartDecision::RunTakenOver ||
           decision == StartDecision::RunUnguarded;
}

// One Tunewick per session. A start claims the session; if another Tunewick holds it, its main
// window is asked to show itself, and this start ends once it has confirmed that it did. A
// Tunewick that shows no window (starting, or closing its main window) is asked again every
// kSessionLookEvery while this start waits for it to end, kSessionWait at most: one that ends
// in the meantime hands the session to this start, which runs.
StartDecision DecideStart(SessionClaim& session);

}  // namespace tunewick
