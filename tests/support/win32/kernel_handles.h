#pragma once

// Owners for the kernel handles the tests and tools open: processes, threads, jobs and files.
// (The program itself opens none.)

#include <windows.h>

#include "platform/handles.h"

namespace tunewick::e2e {

namespace handle_traits {

// Processes, threads, events, jobs: the null handle owns nothing.
struct Kernel {
    using Value = HANDLE;
    static Value Null() noexcept { return nullptr; }
    static void Close(Value value) noexcept { CloseHandle(value); }
};

// CreateFileW reports failure as INVALID_HANDLE_VALUE, not null.
struct File {
    using Value = HANDLE;
    static Value Null() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Value value) noexcept { CloseHandle(value); }
};

}  // namespace handle_traits

using UniqueKernelHandle = platform::UniqueResource<handle_traits::Kernel>;
using UniqueFile = platform::UniqueResource<handle_traits::File>;

}  // namespace tunewick::e2e
