#include "ui/session_start.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace tunewick::testing {
namespace {

using std::chrono::milliseconds;
using namespace std::chrono_literals;
using Answer = SessionClaim::Answer;
using Claim = SessionClaim::Claim;
using Wait = SessionClaim::Wait;

// A session whose other Tunewick follows a script, on a manual clock: what each request finds
// (the last answer repeats), and when the other gives its claim up.
class ScriptedSession : public SessionClaim {
  public:
    Claim claim = Claim::Held;
    std::vector<Answer> answers;
    std::optional<milliseconds> givenUpAt;  // on this clock
    Wait givenUpAs = Wait::Released;
    bool waitFails = false;

    milliseconds now{0};
    int asks = 0;

    Claim TryClaim() override { return claim; }
    Answer AskToShow() override {
        const std::size_t index = std::min<std::size_t>(asks++, answers.size() - 1);
        return answers[index];
    }
    Wait WaitForClaim(milliseconds timeout) override {
        // Only a claim this start holds a handle to can come to it.
        if (claim == Claim::Held && givenUpAt && *givenUpAt <= now + timeout && !waitFails) {
            now = std::max(now, *givenUpAt);
            return givenUpAs;
        }
        now += timeout;
        return waitFails ? Wait::Failed : Wait::Held;
    }
    milliseconds Now() const override { return now; }
};

// Every path a start can take, and how long it takes on the clock.
TEST(DecideStart, EachPathEndsOrRunsAsTheOtherTunewickBehaves) {
    using D = StartDecision;
    constexpr Answer kShown = Answer::Shown;
    constexpr Answer kNone = Answer::NoWindow;
    constexpr Answer kRefused = Answer::Refused;
    constexpr Answer kUnanswered = Answer::NotAnswered;
    const milliseconds wait = kSessionWait;
    const milliseconds step = kSessionLookEvery;
    struct Case {
        std::string name;
        Claim claim;
        std::vector<Answer> answers;
        milliseconds givenUpAt;  // never: held throughout
        Wait givenUpAs;
        bool waitFails;
        D decision;
        milliseconds took;
        int asks;
    };
    const milliseconds never{-1};
    // clang-format off
    const std::vector<Case> cases = {
        {"the session is free",                   Claim::Taken,       {kNone},                     never,  {},              false, D::RunClaimed,    {},        0},
        {"the running one shows its window",      Claim::Held,        {kShown},                    never,  {},              false, D::EndShown,      {},        1},
        {"starting: no window yet, then shown",   Claim::Held,        {kNone, kNone, kShown},      never,  {},              false, D::EndShown,      2 * step,  3},
        {"closing: refuses until it has ended",   Claim::Held,        {kRefused},                  1234ms, Wait::Released,  false, D::RunTakenOver,  1234ms,    25},
        {"given up just as the wait ends",        Claim::Held,        {kNone},                     wait,   Wait::Released,  false, D::RunTakenOver,  wait,      100},
        {"given up a moment after the wait",      Claim::Held,        {kNone},                     wait + 1ms, Wait::Released, false, D::EndNotShown, wait,   100},
        {"crashed: the claim abandoned",          Claim::Held,        {kNone},                     20ms,   Wait::Abandoned, false, D::RunTakenOver,  20ms,      1},
        {"no window for the whole wait",          Claim::Held,        {kNone},                     never,  {},              false, D::EndNotShown,   wait,      100},
        {"refusing for the whole wait",           Claim::Held,        {kRefused},                  never,  {},              false, D::EndNotShown,   wait,      100},
        {"requests that never reach it",          Claim::Held,        {kUnanswered},               never,  {},              false, D::EndUnanswered, wait,      100},
        {"one that did not reach it, then shown", Claim::Held,        {kUnanswered, kShown},       never,  {},              false, D::EndShown,      step,      2},
        {"unreached, then the claim given up",    Claim::Held,        {kUnanswered},               500ms,  Wait::Released,  false, D::RunTakenOver,  500ms,     10},
        {"the wait for the claim fails",          Claim::Held,        {kNone},                     never,  {},              true,  D::EndWaitFailed, step,      1},
        {"unclaimable, a window that shows",      Claim::Unavailable, {kShown},                    never,  {},              false, D::EndShown,      {},        1},
        {"unclaimable, no window",                Claim::Unavailable, {kNone},                     never,  {},              false, D::RunUnguarded,  {},        1},
        {"unclaimable, closing, then no window",  Claim::Unavailable, {kRefused, kRefused, kNone}, never,  {},              false, D::RunUnguarded,  2 * step,  3},
        {"unclaimable, a window never reached",   Claim::Unavailable, {kUnanswered},               never,  {},              false, D::EndUnanswered, wait,      100},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedSession session;
        session.claim = c.claim;
        session.answers = c.answers;
        if (c.givenUpAt != never) {
            session.givenUpAt = c.givenUpAt;
        }
        session.givenUpAs = c.givenUpAs;
        session.waitFails = c.waitFails;
        const StartDecision decision = DecideStart(session);
        EXPECT_EQ(decision, c.decision);
        EXPECT_EQ(session.now.count(), c.took.count());
        EXPECT_EQ(session.asks, c.asks);
    }
}

}  // namespace
}  // namespace tunewick::testing
