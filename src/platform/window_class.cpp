#include "platform/window_class.h"

#include <string>

#include "platform/resources/version.h"
#include "platform/trace.h"

namespace tunewick::platform {

bool RegisterOnce(const WindowClass& windowClass) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = windowClass.procedure;
    wc.cbWndExtra = windowClass.windowExtraBytes;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = windowClass.icon;
    wc.hIconSm = windowClass.icon;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = windowClass.background;
    wc.lpszClassName = windowClass.name;
    if (RegisterClassExW(&wc) == 0) {
        const DWORD error = GetLastError();
        if (error == ERROR_CLASS_ALREADY_EXISTS) {
            return true;
        }
        TraceFailure(L"RegisterClassExW " + std::wstring(windowClass.name), error);
        return false;
    }
    return true;
}

HICON ApplicationIcon(int widthMetric, int heightMetric) {
    auto* icon = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(TUNEWICK_IDI_APP), IMAGE_ICON,
                   GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric), LR_SHARED));
    if (icon == nullptr) {
        const DWORD error = GetLastError();
        TraceFailure(L"LoadImageW of the program's icon", error);
    }
    return icon;
}

}  // namespace tunewick::platform
