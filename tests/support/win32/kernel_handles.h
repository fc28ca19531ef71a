#pragma once

// Owners for the kernel handles the tests and tools open: processes, threads, jobs and files.
// (The program itself opens none.)

#include <windows.h>

#include "platform/handles.h"

namespace tunewick::e2e {

// Processes, threads, events, jobs: the null handle owns nothing.
using UniqueKernelHandle = platform::UniqueResource<platform::ClosedBy<HANDLE, &CloseHandle>>;

// CreateFileW reports failure as INVALID_HANDLE_VALUE, not null.
struct FileHandle {
    using Value = HANDLE;
    static Value Null() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Value value) noexcept { CloseHandle(value); }
};
using UniqueFile = platform::UniqueResource<FileHandle>;

}  // namespace tunewick::e2e
