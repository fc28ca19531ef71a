#pragma once

// The lines the platform layer traces while a CapturedTrace lives, for tests that check what a
// failure left (header only).

#include <string>
#include <vector>

#include "platform/trace.h"

namespace tunewick::platform {

class CapturedTrace {
  public:
    CapturedTrace()
        : previous_(SetTraceSink([this](const std::wstring& line) { lines.push_back(line); })) {}
    CapturedTrace(const CapturedTrace&) = delete;
    CapturedTrace& operator=(const CapturedTrace&) = delete;
    ~CapturedTrace() { SetTraceSink(previous_); }

    std::vector<std::wstring> lines;

  private:
    TraceSink previous_;
};

}  // namespace tunewick::platform
