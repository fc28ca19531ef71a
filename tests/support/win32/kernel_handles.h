#pragma once

// Owners for the kernel handles the tests and tools open: processes, threads, jobs and files.

#include <windows.h>

#include "platform/handles.h"

namespace tunewick::e2e {

// Processes, threads, events, jobs: the null handle owns nothing.
using UniqueKernelHandle = platform::UniqueResource<platform::ClosedBy<HANDLE, &CloseHandle>>;

using platform::UniqueFile;

}  // namespace tunewick::e2e
