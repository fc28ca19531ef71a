#include <gtest/gtest.h>

#include "fault_probes.h"

// -municode programs start at wmain; GoogleTest takes wide arguments as they are.
int wmain(int argc, wchar_t** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    tunewick::e2e::ReadLockedFolderArgument(argc, argv);
    return RUN_ALL_TESTS();
}
