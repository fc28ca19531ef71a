#pragma once

// Makes a form's window and its controls from its layout tables.

#include <windows.h>

#include <optional>
#include <span>
#include <vector>

#include "platform/layout.h"

namespace tunewick::platform {

// A top-level window to make: its layout, the procedure its class is registered with, the
// object that procedure finds in CREATESTRUCT's lpCreateParams, and its icons (none: the
// system's).
struct WindowToMake {
    WindowLayout layout;
    WNDPROC procedure;
    void* object;
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
};

// Creates the window hidden, with its client area as laid out at `dpi`, then its controls in
// table order, which is the tab order. A control's id is kFirstControlId plus its place in
// the table; each gets the font its layout names. The controls' classes are registered
// already. The controls' handles, in table order, are the result. Nothing, with nothing left
// over, when the platform refuses any of it.
std::optional<std::vector<HWND>> MakeWindow(const WindowToMake& window,
                                            std::span<const ControlLayout> controls,
                                            std::span<const HFONT> fonts, int dpi);

// Creates one control; null, with a trace, when the platform refuses.
HWND MakeControl(HWND container, const ControlLayout& layout, int dpi, HFONT font);

}  // namespace tunewick::platform
