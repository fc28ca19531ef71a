#include "ui/session_start.h"

namespace tunewick {

StartDecision DecideStart(SessionClaim& session) {
    using Answer = SessionClaim::Answer;
    const SessionClaim::Claim claim = session.TryClaim();
    if (claim == SessionClaim::Claim::Taken) {
        return StartDecision::RunClaimed;
    }
    const std::chrono::milliseconds started = session.Now();
    for (;;) {
        // Asked again on every round: a Tunewick that is starting shows its window a moment
        // later, and only a window that says it showed itself lets this start end.
        const Answer answer = session.AskToShow();
        if (answer == Answer::Shown) {
            return StartDecision::EndShown;
        }
        if (claim == SessionClaim::Claim::Unavailable && answer == Answer::NoWindow) {
            return StartDecision::RunUnguarded;
        }
        // No window, or one that is closing or does not answer: the other one may be ending,
        // and then the session is this start's.
        switch (session.WaitForClaim(kSessionLookEvery)) {
            case SessionClaim::Wait::Released:
            case SessionClaim::Wait::Abandoned:
                return StartDecision::RunTakenOver;
            case SessionClaim::Wait::Failed:
                return StartDecision::EndWaitFailed;
            case SessionClaim::Wait::Held:
                break;
        }
        if (session.Now() - started >= kSessionWait) {
            return answer == Answer::NotAnswered ? StartDecision::EndUnanswered
                                                 : StartDecision::EndNotShown;
        }
    }
}

}  // namespace tunewick
