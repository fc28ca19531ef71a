#pragma once

// The fixture every Tunewick scenario starts from: an empty folder for Tunewick.exe, its
// settings file and the stand-in messengers' logs, and no messenger or Tunewick left by a
// test before. Header only: the test programs link GoogleTest, the driver library does not.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "win32/standins.h"
#include "win32/tunewick_app.h"

namespace tunewick::e2e {

class TunewickScenario : public ::testing::Test {
  protected:
    // `folderPrefix` names the scenario's temporary folder.
    explicit TunewickScenario(std::wstring_view folderPrefix) : folderPrefix_(folderPrefix) {}

    void SetUp() override {
        auto folder = TempFolder::Create(folderPrefix_);
        ASSERT_TRUE(folder);
        folder_.emplace(std::move(*folder));
        ASSERT_TRUE(FindTopLevelWindows({.className = u"MsnMsgrUIManager"}).empty())
            << "a messenger left by an earlier test would receive records too";
        ASSERT_TRUE(FindTopLevelWindows({.caption = Text(kMainCaption)}).empty())
            << "a Tunewick left by an earlier test would send records too";
    }

    const std::filesystem::path& Folder() const { return folder_->Path(); }
    std::filesystem::path SettingsPath() const { return Folder() / L"settings.cfg"; }

    std::optional<StandInMessenger> StartMessenger(MessengerOptions options = {}) const {
        return StandInMessenger::Start(Folder(), options);
    }
    std::optional<TunewickApp> StartTunewick() const { return TunewickApp::Start(Folder()); }

    void WriteSettings(std::string_view bytes) const {
        ASSERT_TRUE(WriteFileBytes(SettingsPath(), bytes));
    }

  private:
    std::wstring folderPrefix_;
    // Removed with the fixture, after the programs a test started in it have ended.
    std::optional<TempFolder> folder_;
};

}  // namespace tunewick::e2e
