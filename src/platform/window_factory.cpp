#include "platform/window_factory.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <utility>

#include "platform/trace.h"
#include "platform/wide_text.h"
#include "platform/window_class.h"

namespace tunewick::platform {
namespace {

// Creates the control with no size yet; null, with a trace, when the platform refuses.
HWND CreateControl(HWND container, const ControlLayout& layout) {
    HWND control = CreateWindowExW(layout.exStyle, layout.className, Wide(Text(layout.text)),
                                   layout.style, 0, 0, 0, 0, container,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)),
                                   GetModuleHandleW(nullptr), nullptr);
    if (control == nullptr) {
        const DWORD error = GetLastError();
        TraceFailure(L"CreateWindowExW " + std::wstring(layout.className) + L" " +
                         Decimal(static_cast<unsigned>(layout.id)),
                     error);
    }
    return control;
}

// Where the control goes at `dpi`, in its container's client coordinates. An etched line
// takes the shape that the static control gives itself when it is created: no client area
// across the line, the line's place along it, and a static edge around that.
RECT PlaceOf(const ControlLayout& layout, int dpi) {
    RECT place = TwipsToPixels(layout.place, dpi);
    const DWORD type = layout.style & SS_TYPEMASK;
    if (lstrcmpiW(layout.className, WC_STATICW) == 0 &&
        (type == SS_ETCHEDHORZ || type == SS_ETCHEDVERT)) {
        RECT line = place;
        if (type == SS_ETCHEDHORZ) {
            line.bottom = line.top;
        } else {
            line.right = line.left;
        }
        AdjustWindowRectEx(&line, layout.style, FALSE, layout.exStyle | WS_EX_STATICEDGE);
        place.right = place.left + (line.right - line.left);
        place.bottom = place.top + (line.bottom - line.top);
    }
    return place;
}

void PlaceControl(HWND control, const ControlLayout& layout, int dpi, HFONT font) {
    const RECT place = PlaceOf(layout, dpi);
    SetWindowPos(control, nullptr, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // Null (a font the system could not make) is the system's font: the control lets go of
    // the font of another DPI, which is freed next.
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

// The frame around the client area differs between the DPIs of one window (Windows 10 draws
// it at the monitor's DPI, Windows 8.1 at the system's): the client area is measured and the
// window made larger or smaller by what it lacks.
void FitClientArea(HWND window, const WindowLayout& layout, int dpi) {
    if (IsIconic(window)) {
        return;
    }
    const LONG width = TwipsToPixels(layout.clientWidthTwips, dpi);
    const LONG height = TwipsToPixels(layout.clientHeightTwips, dpi);
    RECT outer;
    RECT client;
    if (!GetWindowRect(window, &outer) || !GetClientRect(window, &client) ||
        (client.right == width && client.bottom == height)) {
        return;
    }
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + width - client.right,
                 outer.bottom - outer.top + height - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

std::optional<std::vector<HWND>> MakeWindow(const WindowToMake& window,
                                            std::span<const ControlLayout> controls) {
    const WindowLayout& layout = window.layout;
    // No class icon: a window that carries the program's icon is given it at its DPI's sizes.
    if (!RegisterOnce({layout.className, window.procedure,
                       static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))})) {
        return std::nullopt;
    }
    const SIZE size = WindowSizeForClient(layout.clientWidthTwips, layout.clientHeightTwips,
                                          layout.style, layout.exStyle, SystemDpi());
    HWND hwnd = CreateWindowExW(layout.exStyle, layout.className, layout.caption, layout.style,
                                CW_USEDEFAULT, CW_USEDEFAULT, size.cx, size.cy, nullptr, nullptr,
                                GetModuleHandleW(nullptr), window.object);
    if (hwnd == nullptr) {
        const DWORD error = GetLastError();
        TraceFailure(L"CreateWindowExW " + std::wstring(layout.className), error);
        return std::nullopt;
    }
    std::vector<HWND> made;
    made.reserve(controls.size());
    for (const ControlLayout& control : controls) {
        // A container comes before what it holds.
        const auto at = static_cast<std::size_t>(control.container - kFirstControlId);
        HWND container = control.container == 0 ? hwnd : at < made.size() ? made[at] : nullptr;
        HWND child = CreateControl(container, control);
        if (child == nullptr) {
            DestroyWindow(hwnd);
            return std::nullopt;
        }
        made.push_back(child);
    }
    return made;
}

void LayOutAtDpi(HWND window, const WindowLayout& layout, std::span<const HWND> made,
                 std::span<const ControlLayout> controls, DpiResources& resources, int dpi) {
    DpiResources previous;  // goes at the end, when nothing uses it any more
    if (dpi != resources.dpi) {
        previous = std::exchange(resources, DpiResources{dpi});
        resources.fonts[0].Reset(CreateFormFont(dpi));
        const auto titled = [](const ControlLayout& c) { return c.font == kTitleFont; };
        if (std::ranges::any_of(controls, titled)) {
            resources.fonts[kTitleFont].Reset(
                CreateFormFont(dpi, /*bold=*/true, /*underline=*/true));
        }
        if (layout.carriesIcon) {
            resources.smallIcon = ApplicationIcon(SM_CXSMICON, dpi);
            resources.largeIcon = ApplicationIcon(SM_CXICON, dpi);
        }
    }
    FitClientArea(window, layout, dpi);
    for (std::size_t i = 0; i < made.size() && i < controls.size(); ++i) {
        const ControlLayout& control = controls[i];
        PlaceControl(
            made[i], control, dpi,
            control.font < resources.fonts.size() ? resources.fonts[control.font].Get() : nullptr);
    }
    if (layout.carriesIcon) {
        SendMessageW(window, WM_SETICON, ICON_SMALL,
                     reinterpret_cast<LPARAM>(resources.smallIcon.Get()));
        SendMessageW(window, WM_SETICON, ICON_BIG,
                     reinterpret_cast<LPARAM>(resources.largeIcon.Get()));
    }
}

}  // namespace tunewick::platform
