#pragma once

#include <windows.h>

namespace tunewick::platform {

// A window class of the program.
struct WindowClass {
    const wchar_t* name;
    WNDPROC procedure;
    HICON icon = nullptr;
    HBRUSH background = nullptr;
    int windowExtraBytes = 0;
};

// Registers the class once per process; later calls find it registered.
bool RegisterOnce(const WindowClass& windowClass);

// The program's icon (a shared resource: the system frees it) at the size of the two metrics.
HICON ApplicationIcon(int widthMetric, int heightMetric);

}  // namespace tunewick::platform
