#include "platform/help_window.h"

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
    kHelpText,                    // Text1
};

// clang-format off
constexpr ControlLayout kControls[] = {
    {L"BUTTON", u"OK", kChildStyle | WS_TABSTOP | BS_PUSHBUTTON, 0, {2820, 4260, 1275, 375}, kOkButton},
    {L"EDIT", u"", kChildStyle | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY,
     WS_EX_CLIENTEDGE, {180, 0, 6495, 4155}, kHelpText},
};
// clang-format on

}  // namespace

HelpWindow::HelpWindow(LiveWindows& live) : FormWindow(live) {}

HelpWindow::~HelpWindow() = default;

bool HelpWindow::Create() {
    const int dpi = SystemDpi();
    if (!font_) {
        font_.Reset(CreateFormFont(dpi));
    }
    const HFONT fonts[] = {font_.Get()};
    if (!CreateFromLayout(kWindow, nullptr, nullptr, kControls, fonts, dpi)) {
        return false;
    }
    focus_ = Control(kOkButton);
    helpText_ = std::make_unique<Win32TextBox>(Control(kHelpText));
    HelpFormHost& host = *this;
    form_ = std::make_unique<HelpForm>(*helpText_, host);
    return true;
}

void HelpWindow::Show() {
    if (BringForward() || !Create()) {
        return;
    }
    form_->Load();
    ShowLoaded(Control(kOkButton));
}

void HelpWindow::Close() {
    DestroyIfOpen();
}

LRESULT HelpWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == kOkButton && HIWORD(wParam) == BN_CLICKED && form_) {
                form_->Dismiss();
            }
            return 0;
        case WM_CTLCOLORSTATIC:
            // The help text is read-only, so it asks as a static control does: red on black.
            SetTextColor(reinterpret_cast<HDC>(wParam), RGB(255, 0, 0));
            SetBkColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 0));
            return reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH));
        case WM_DESTROY:
            // A multi-line edit control of the common controls 6 destroyed with its text still
            // in it has been seen to keep about a kilobyte of that text's layout for good (under
            // Wine): emptied first, the help window can open and close for weeks.
            SetWindowTextW(Control(kHelpText), L"");
            [[fallthrough]];
        default:
            return CommonMessage(message, wParam, lParam);
    }
}

}  // namespace tunewick::platform
