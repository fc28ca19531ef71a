#pragma once

// The forms are laid out in tables: the window's client area and each control's place in twips
// (1440 to the inch) relative to its container, its class, text, style and id. They are placed
// in pixels at the DPI of the window's monitor (at 96 DPI one pixel is 15 twips), in the forms'
// font of that DPI, and placed again when the window moves to a monitor of another DPI.

#include <windows.h>

#include <cstddef>

#include "core/text.h"

namespace tunewick::platform {

inline constexpr int kTwipsPerInch = 1440;

struct TwipRect {
    int left;
    int top;
    int width;
    int height;
};

// A top-level window as its form lays it out: the client area in twips, placed where the
// system puts new windows.
struct WindowLayout {
    const wchar_t* className;
    const wchar_t* caption;
    DWORD style;
    DWORD exStyle;
    int clientWidthTwips;
    int clientHeightTwips;
    bool carriesIcon = false;  // shows the program's icon, at the sizes of its DPI
};

// The controls of every window are numbered from here, in their layout table's order. None is
// IDOK or IDCANCEL, which keyboard navigation sends for Enter and Escape.
inline constexpr int kFirstControlId = 100;

// One control of a form.
struct ControlLayout {
    const wchar_t* className;
    TextView text;
    DWORD style;
    DWORD exStyle;
    TwipRect place;  // relative to the container
    int id;
    int container = 0;     // the id of the frame that holds it; 0: the window itself
    std::size_t font = 0;  // which of the window's fonts: its text's, or kTitleFont
};
inline constexpr std::size_t kTitleFont = 1;  // the forms' font, bold and underlined

// Styles of the kinds of control the forms use. Every control clips its siblings, so a frame
// never paints over the controls that lie in front of it.
inline constexpr DWORD kChildStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
inline constexpr DWORD kCommandButtonStyle = kChildStyle | WS_TABSTOP | BS_OWNERDRAW;
inline constexpr DWORD kTextBoxStyle = kChildStyle | WS_TABSTOP | ES_AUTOHSCROLL;
inline constexpr DWORD kCheckBoxStyle = kChildStyle | WS_TABSTOP | BS_3STATE;
inline constexpr DWORD kLabelStyle = kChildStyle;

// WM_DPICHANGED (Windows 8.1), which the Windows XP headers lack: a top-level window's monitor
// has another DPI now. wParam holds the new DPI, lParam the RECT the system suggests for the
// window there.
inline constexpr UINT kDpiChangedMessage = 0x02E0;

// The system DPI: that of every window where Windows knows no other (before Windows 8.1), and
// the one the shell draws the tray's icons at.
int SystemDpi();

// The DPI of the monitor the window is on, which its layout follows: GetDpiForWindow where the
// system has it (Windows 10 1607), else the system DPI.
int WindowDpi(HWND window);

// A system metric (SM_CXICON, SM_CXSMICON, ...) at `dpi`: GetSystemMetricsForDpi where the
// system has it (Windows 10 1607), else the system's value scaled from the system DPI.
int SystemMetricForDpi(int metric, int dpi);

// Nearest whole pixel, each value rounded on its own as the forms' designer did.
int TwipsToPixels(int twips, int dpi);
RECT TwipsToPixels(const TwipRect& rect, int dpi);

// The outer size of a top-level window whose client area is `clientTwips` wide and high.
SIZE WindowSizeForClient(int widthTwips, int heightTwips, DWORD style, DWORD exStyle, int dpi);

// The forms' font at the given DPI: 8.25-point "Microsoft Sans Serif", the scalable face of
// the forms' design metrics.
HFONT CreateFormFont(int dpi, bool bold = false, bool underline = false);

}  // namespace tunewick::platform
