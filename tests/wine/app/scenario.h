#pragma once

// The fixture every scenario starts from: an empty folder for Tunewick.exe, its settings file
// and the stand-in messengers' logs, and no messenger, player or tray icon left by a test
// before.

#include <gtest/gtest.h>

#include <chrono>
#include <string_view>

#include "app_driver.h"
#include "win32/standins.h"

namespace tunewick::e2e {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// One interval of the mode timers, and how far a tick may stray from it under Wine.
inline constexpr Milliseconds kInterval = 5s;
inline constexpr Milliseconds kTickSlack = 1500ms;

class Scenario : public ::testing::Test {
  protected:
    void SetUp() override {
        auto folder = TempFolder::Create(L"app");
        ASSERT_TRUE(folder);
        folder_.emplace(std::move(*folder));
        ASSERT_TRUE(FindTopLevelWindows({.className = u"MsnMsgrUIManager"}).empty())
            << "a messenger left by an earlier test would receive records too";
        ASSERT_TRUE(FindTopLevelWindows({.caption = Text(kMainCaption)}).empty())
            << "a Tunewick left by an earlier test would send records too";
    }

    const std::filesystem::path& Folder() const { return folder_->Path(); }
    std::filesystem::path SettingsPath() const { return Folder() / L"settings.cfg"; }

    void WriteSettings(std::string_view bytes) const {
        ASSERT_TRUE(WriteFileBytes(SettingsPath(), bytes));
    }

    std::optional<StandInMessenger> StartMessenger(MessengerOptions options = {}) const {
        return StandInMessenger::Start(Folder(), options);
    }

    std::optional<TunewickApp> StartTunewick() const { return TunewickApp::Start(Folder()); }

  private:
    // Declared first: removed after the programs that write into it have ended.
    std::optional<TempFolder> folder_;
};

// How long `action` took.
template <typename F>
Clock::duration Timed(F&& action) {
    const auto start = Clock::now();
    action();
    return Clock::now() - start;
}

// The time left until `deadline`; none once it has passed.
inline Milliseconds Remaining(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<Milliseconds>(deadline - Clock::now());
    return left > Milliseconds::zero() ? left : Milliseconds::zero();
}

inline long long Ms(Clock::duration duration) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(duration).count();
}

}  // namespace tunewick::e2e
