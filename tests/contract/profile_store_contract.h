#pragma once

// One suite of behaviour for every profile store: the stand-in that reimplements the
// platform's profile functions on plain files, and the store over the platform's own
// functions. A test binary instantiates it for its stores:
//
//   INSTANTIATE_TEST_SUITE_P(Stores, ProfileStoreContract,
//       ::testing::Values(ProfileStoreTarget{"Portable", MakeStore, MakeTempDir}),
//       ProfileStoreTargetName);
//
// The expected results are what the platform's functions were seen to do (under Wine).

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "settings/profile_store.h"

namespace tunewick::contract {

struct ProfileStoreTarget {
    std::string name;
    std::function<std::unique_ptr<FullProfileStore>()> makeStore;
    // A new, empty folder; the suite removes it after each test.
    std::function<std::filesystem::path()> makeTempDir;
};

void PrintTo(const ProfileStoreTarget& target, std::ostream* out);

// A fresh folder under the system's temporary folder.
std::filesystem::path MakeTempDir();

std::string ProfileStoreTargetName(const ::testing::TestParamInfo<ProfileStoreTarget>& info);

class ProfileStoreContract : public ::testing::TestWithParam<ProfileStoreTarget> {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A file's path as the store takes it: the folder, a backslash, the name.
    Text PathOf(std::string_view name) const;
    void PutBytes(std::string_view name, std::string_view bytes) const;
    std::string Bytes(std::string_view name) const;  // "<missing>" when there is no file
    bool Exists(std::string_view name) const;

    std::unique_ptr<FullProfileStore> store;
    std::filesystem::path tempDir;
};

}  // namespace tunewick::contract
