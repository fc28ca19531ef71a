#include "platform/form_layout.h"

#include <string>

#include "platform/frame.h"
#include "platform/trace.h"
#include "platform/wide_text.h"
#include "platform/window_class.h"

namespace tunewick::platform {
namespace {

std::size_t IndexOf(int id) {
    return static_cast<std::size_t>(id - kFirstControlId);
}

}  // namespace

std::optional<std::vector<HWND>> BuildFromLayout(const WindowToBuild& window,
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
        TraceFailure(L"CreateWindowExW " + std::wstring(layout.className));
        return std::nullopt;
    }
    if (window.icon != nullptr) {
        SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(window.icon));
    }
    if (window.smallIcon != nullptr) {
        SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(window.smallIcon));
    }
    std::vector<HWND> created;
    created.reserve(controls.size());
    for (const ControlLayout& control : controls) {
        // A container comes before what it holds; a frame's class is registered with it.
        const std::size_t at = IndexOf(control.container);
        HWND container = control.container == 0 ? hwnd
                         : at < created.size()  ? created[at]
                                                : nullptr;
        HFONT font = control.font < fonts.size() ? fonts[control.font] : nullptr;
        HWND made = CreateControl(container, control, dpi, font);
        if (made == nullptr) {
            DestroyWindow(hwnd);
            return std::nullopt;
        }
        created.push_back(made);
    }
    return created;
}

HWND CreateControl(HWND container, const ControlLayout& layout, int dpi, HFONT font) {
    if (std::wstring_view(layout.className) == kFrameClassName && !RegisterFrameClass()) {
        return nullptr;
    }
    const RECT place = TwipsToPixels(layout.place, dpi);
    HWND control =
        CreateWindowExW(layout.exStyle, layout.className, Wide(Text(layout.text)), layout.style,
                        place.left, place.top, place.right - place.left, place.bottom - place.top,
                        container, reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)),
                        GetModuleHandleW(nullptr), nullptr);
    if (control == nullptr) {
        TraceFailure(L"CreateWindowExW " + std::wstring(layout.className) + L" " +
                     Decimal(static_cast<unsigned>(layout.id)));
        return nullptr;
    }
    if (font != nullptr) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    return control;
}

}  // namespace tunewick::platform
