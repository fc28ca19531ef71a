#include <gtest/gtest.h>

#include "contract/profile_store_contract.h"
#include "platform/win32_profile_store.h"
#include "settings/portable_profile_store.h"

namespace tunewick {
namespace {

using contract::ProfileStoreContract;
using contract::ProfileStoreTarget;

// The platform's functions set the expectations; the stand-in runs here too, on Windows
// paths and the Windows file system.
INSTANTIATE_TEST_SUITE_P(
    Stores, ProfileStoreContract,
    ::testing::Values(
        ProfileStoreTarget{"Win32", [] { return std::make_unique<platform::Win32ProfileStore>(); },
                           contract::MakeTempDir},
        ProfileStoreTarget{"Portable", [] { return std::make_unique<PortableProfileStore>(); },
                           contract::MakeTempDir}),
    contract::ProfileStoreTargetName);

}  // namespace
}  // namespace tunewick
