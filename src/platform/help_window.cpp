#include "platform/help_window.h"

#include <commctrl.h>

#include "platform/control_adapters.h"
#include "ui/help_text.h"

namespace tunewick::platform {
namespace {

// A tool window with a thin caption and a close box, fixed size: no icon, not in the taskbar.
constexpr WindowLayout kWindow = {
    L"TunewickHelp",  L"Help", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
    WS_EX_TOOLWINDOW, 6855,    4680,
};

// The controls, in tab order, with the form designer's names. "OK" is first, so it has the
// focus when the window opens.
enum ControlId : int {
    kOkButton = kFirstControlId,  // Command1
    kHelpTextBox,                 // Text1
};

// clang-format off
constexpr ControlLayout kControls[] = {
    {WC_BUTTONW, u"OK", kChildStyle | WS_TABSTOP | BS_PUSHBUTTON, 0, {2820, 4260, 1275, 375}, kOkButton},
    {WC_EDITW, u"", kChildStyle | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY,
     WS_EX_CLIENTEDGE, {180, 0, 6495, 4155}, kHelpTextBox},
};
// clang-format on

}  // namespace

HelpWindow::HelpWindow(LiveWindows& live) : FormWindow(live) {}

HelpWindow::~HelpWindow() = default;

void HelpWindow::Show() {
    if (BringForwardIfOpen(hwnd_) || !CreateFromLayout(kWindow, kControls)) {
        return;
    }
    focus_ = Control(kOkButton);
    Win32Text(Control(kHelpTextBox)).SetValue(kHelpText);
    ShowFirstTime(hwnd_, focus_);
}

void HelpWindow::Close() {
    DestroyIfOpen();
}

std::optional<Surface> HelpWindow::SurfaceOf(int id) {
    return id == kHelpTextBox ? std::optional(Surface::HelpText) : std::nullopt;
}

LRESULT HelpWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == kOkButton && HIWORD(wParam) == BN_CLICKED) {
                Close();
            }
            return 0;
        case WM_DESTROY:
            // A multi-line edit control destroyed with its text still in it may keep some of
            // that text's layout for good: emptied first, the window can open and close for
            // weeks with memory flat (docs/wine.md).
            SetWindowTextW(Control(kHelpTextBox), L"");
            [[fallthrough]];
        default:
            return CommonMessage(message, wParam, lParam);
    }
}

}  // namespace tunewick::platform
