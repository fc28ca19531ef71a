#pragma once

// Owners for the kernel handles the tests and tools open: processes, threads, jobs and files.

#include <windows.h>

#include "platform/handles.h"

namespace tunewick::e2e {

using platform::UniqueKernelHandle;

using platform::UniqueFile;

}  // namespace tunewick::e2e
