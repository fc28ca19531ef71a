#include "platform/window_class.h"

#include <string>

#include "platform/layout.h"
#include "platform/resources/version.h"
#include "platform/trace.h"
#include "platform/wide_text.h"

namespace tunewick::platform {

bool RegisterOnce(const WindowClass& windowClass) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = windowClass.procedure;
    wc.cbWndExtra = windowClass.windowExtraBytes;
    wc.hInstance = GetModuleHandleW(nullptr);
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

UniqueIcon ApplicationIcon(int metric, int dpi) {
    const int size = SystemMetricForDpi(metric, dpi);
    UniqueIcon icon(static_cast<HICON>(LoadImageW(
        GetModuleHandleW(nullptr), MAKEINTRESOURCEW(TUNEWICK_IDI_APP), IMAGE_ICON, size, size, 0)));
    if (!icon) {
        const DWORD error = GetLastError();
        TraceFailure(L"LoadImageW of the program's icon at " + Decimal(static_cast<unsigned>(size)),
                     error);
    }
    return icon;
}

}  // namespace tunewick::platform
