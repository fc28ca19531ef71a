#pragma once

#include <windows.h>

#include "platform/handles.h"

namespace tunewick::platform {

struct WindowClass {
    const wchar_t* name;
    WNDPROC procedure;
    HBRUSH background = nullptr;
    int windowExtraBytes = 0;
};

// Registers the class once per process; later calls find it registered.
bool RegisterOnce(const WindowClass& windowClass);

// The program's icon at the size that `metric` (SM_CXICON or SM_CXSMICON) has at `dpi`, the
// image of that size picked from the icon resource. Loaded for the caller alone: the shared
// cache of LR_SHARED ignores the size asked for, and a second size would come back as the
// first. Null, with a trace, when it cannot be loaded.
UniqueIcon ApplicationIcon(int metric, int dpi);

}  // namespace tunewick::platform
