#pragma once

// The program's windows are built from layout tables: the window's client area and each
// control's place in twips, its class, text, style and id. This builds a window and its
// controls from its tables.

#include <windows.h>

#include <optional>
#include <span>
#include <vector>

#include "core/text.h"
#include "platform/layout.h"

namespace tunewick::platform {

// The controls of every window are numbered from here, in their layout table's order. None is
// IDOK or IDCANCEL, which keyboard navigation sends for Enter and Escape.
inline constexpr int kFirstControlId = 100;

// A top-level window as its form lays it out: the client area in twips, placed where the
// system puts new windows.
struct WindowLayout {
    const wchar_t* className;
    const wchar_t* caption;
    DWORD style;
    DWORD exStyle;
    int clientWidthTwips;
    int clientHeightTwips;
};

// One control of a form.
struct ControlLayout {
    const wchar_t* className;
    TextView text;
    DWORD style;
    DWORD exStyle;
    TwipRect place;  // relative to the container
    int id;
    int container = 0;     // the id of the frame that holds it; 0: the window itself
    std::size_t font = 0;  // which of the window's fonts: 0 its text's, 1 its title's
};

// Styles of the kinds of control the forms use. Every control clips its siblings, so a frame
// never paints over the controls that lie in front of it.
inline constexpr DWORD kChildStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
inline constexpr DWORD kCommandButtonStyle = kChildStyle | WS_TABSTOP | BS_OWNERDRAW;
inline constexpr DWORD kTextBoxStyle = kChildStyle | WS_TABSTOP | ES_AUTOHSCROLL;
inline constexpr DWORD kCheckBoxStyle = kChildStyle | WS_TABSTOP | BS_3STATE;
inline constexpr DWORD kLabelStyle = kChildStyle;

// A top-level window to build: its layout, the procedure its class is registered with, the
// object that procedure finds in CREATESTRUCT's lpCreateParams, and its icons (none: the
// system's).
struct WindowToBuild {
    WindowLayout layout;
    WNDPROC procedure;
    void* object;
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
};

// Creates the window hidden, with its client area as laid out at `dpi`, then its controls in
// table order, which is the tab order. A control's id is kFirstControlId plus its place in
// the table; each gets the font its layout names. The controls' handles, in table order, are
// the result. Nothing, with nothing left over, when the platform refuses any of it.
std::optional<std::vector<HWND>> BuildFromLayout(const WindowToBuild& window,
                                                 std::span<const ControlLayout> controls,
                                                 std::span<const HFONT> fonts, int dpi);

// Creates one control (registering the frame class for a frame); null, with a trace, when the
// platform refuses.
HWND CreateControl(HWND container, const ControlLayout& layout, int dpi, HFONT font);

}  // namespace tunewick::platform
