#include <gtest/gtest.h>

#include "platform/frame.h"
#include "win32/run_dpi.h"

// -municode programs start at wmain; GoogleTest takes wide arguments as they are.
int wmain(int argc, wchar_t** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!tunewick::e2e::RunsAtTheAskedDpi() || !tunewick::platform::RegisterFrameClass()) {
        return 1;
    }
    return RUN_ALL_TESTS();
}
