#include "platform/base_window.h"

#include "platform/resources/version.h"

namespace tunewick::platform {

HICON ApplicationIcon(int widthMetric, int heightMetric) {
    auto* icon = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(TUNEWICK_IDI_APP), IMAGE_ICON,
                   GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric), LR_SHARED));
    if (icon == nullptr) {
        TraceFailure(L"LoadImageW of the program's icon");
    }
    return icon;
}

}  // namespace tunewick::platform
