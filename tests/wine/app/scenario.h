#pragma once

// The fixture every scenario here starts from: an empty folder for Tunewick.exe, its settings
// file and the stand-in messengers' logs, and no messenger, player or tray icon left by a test
// before.

#include <chrono>

#include "win32/tunewick_scenario.h"

namespace tunewick::e2e {

class Scenario : public TunewickScenario {
  protected:
    Scenario() : TunewickScenario(L"app") {}
};

// The time left until `deadline`; none once it has passed.
inline Milliseconds Remaining(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<Milliseconds>(deadline - Clock::now());
    return left > Milliseconds::zero() ? left : Milliseconds::zero();
}

}  // namespace tunewick::e2e
