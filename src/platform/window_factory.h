#pragma once

// Makes a form's window and its controls from its layout tables, and lays them out at a DPI.

#include <windows.h>

#include <array>
#include <optional>
#include <span>
#include <vector>

#include "platform/handles.h"
#include "platform/layout.h"

namespace tunewick::platform {

// A top-level window to make: its layout, the procedure its class is registered with, and the
// object that procedure finds in CREATESTRUCT's lpCreateParams.
struct WindowToMake {
    WindowLayout layout;
    WNDPROC procedure;
    void* object;
};

// Creates the window hidden, its client area as laid out at the system DPI, then its controls
// in table order, which is the tab order, not yet placed (LayOutAtDpi places them). A control's
// id is kFirstControlId plus its place in the table; the controls' classes are registered
// already. The controls' handles, in table order; nothing, with nothing left over, when the
// platform refuses any of it.
std::optional<std::vector<HWND>> MakeWindow(const WindowToMake& window,
                                            std::span<const ControlLayout> controls);

// What a window is laid out with at one DPI: the forms' fonts by the controls' font index (the
// title font only where a control names it) and, for a window that carries it, the program's
// icon at the small and large sizes of that DPI.
struct DpiResources {
    int dpi = 0;  // 0: none made yet
    std::array<UniqueFont, kTitleFont + 1> fonts;
    UniqueIcon smallIcon;
    UniqueIcon largeIcon;
};

// Lays out a window that MakeWindow made at `dpi`, at its start and at every change of its DPI:
// its client area as designed, whatever frame the system draws around it there (a minimized
// window keeps its size), every control at its place in the font its layout names, and the
// icons of that DPI. What `resources` holds for another DPI is replaced by what `dpi` needs.
void LayOutAtDpi(HWND window, const WindowLayout& layout, std::span<const HWND> made,
                 std::span<const ControlLayout> controls, DpiResources& resources, int dpi);

}  // namespace tunewick::platform
