#include "platform/window_factory.h"

#include <string>

#include "platform/trace.h"
#include "platform/wide_text.h"
#include "platform/window_class.h"

namespace tunewick::platform {

std::optional<std::vector<HWND>> MakeWindow(const WindowToMake& window,
                                            std::span<const ControlLayout> controls,
                                            std::span<const HFONT> fonts, int dpi) {
    const WindowLayout& layout = window.layout;
    if (!RegisterOnce({layout.className, window.procedure, window.icon,
                       static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))})) {
        return std::nullopt;
    }
    const SIZE size = WindowSizeForClient(layout.clientWidthTwips, layout.clientHeightTwips,
                                          layout.style, layout.exStyle, dpi);
    HWND hwnd = CreateWindowExW(layout.exStyle, layout.className, layout.caption, layout.style,
                                CW_USEDEFAULT, CW_USEDEFAULT, size.cx, size.cy, nullptr, nullptr,
                                GetModuleHandleW(nullptr), window.object);
    if (hwnd == nullptr) {
        const DWORD error = GetLastError();
        TraceFailure(L"CreateWindowExW " + std::wstring(layout.className), error);
        return std::nullopt;
    }
    if (window.icon != nullptr) {
        SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(window.icon));
    }
    if (window.smallIcon != nullptr) {
        SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(window.smallIcon));
    }
    std::vector<HWND> made;
    made.reserve(controls.size());
    for (const ControlLayout& control : controls) {
        // A container comes before what it holds.
        const auto at = static_cast<std::size_t>(control.container - kFirstControlId);
        HWND container = control.container == 0 ? hwnd : at < made.size() ? made[at] : nullptr;
        HFONT font = control.font < fonts.size() ? fonts[control.font] : nullptr;
        HWND child = MakeControl(container, control, dpi, font);
        if (child == nullptr) {
            DestroyWindow(hwnd);
            return std::nullopt;
        }
        made.push_back(child);
    }
    return made;
}

HWND MakeControl(HWND container, const ControlLayout& layout, int dpi, HFONT font) {
    const RECT place = TwipsToPixels(layout.place, dpi);
    HWND control =
        CreateWindowExW(layout.exStyle, layout.className, Wide(Text(layout.text)), layout.style,
                        place.left, place.top, place.right - place.left, place.bottom - place.top,
                        container, reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)),
                        GetModuleHandleW(nullptr), nullptr);
    if (control == nullptr) {
        const DWORD error = GetLastError();
        TraceFailure(L"CreateWindowExW " + std::wstring(layout.className) + L" " +
                         Decimal(static_cast<unsigned>(layout.id)),
                     error);
        return nullptr;
    }
    if (font != nullptr) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    return control;
}

}  // namespace tunewick::platform
