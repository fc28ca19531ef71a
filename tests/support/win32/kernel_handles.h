#pragma once

// Owners for the kernel handles the tests and tools open: processes, threads, jobs and files.

#include <windows.h>

#include "platform/handles.h"

namespace tunewick::e2e {

using platform::UniqueKernelHandle;

// CreateFileW reports failure as INVALID_HANDLE_VALUE, not null.
struct FileHandle {
    using Value = HANDLE;
    static Value Null() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Value value) noexcept { CloseHandle(value); }
};
using UniqueFile = platform::UniqueResource<FileHandle>;

}  // namespace tunewick::e2e
