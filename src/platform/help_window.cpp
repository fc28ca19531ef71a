#include "platform/help_window.h"

#include "platform/live_windows.h"

namespace tunewick::platform {
namespace {

constexpr wchar_t kClassName[] = L"TunewickHelp";
constexpr wchar_t kCaption[] = L"Help";
// A tool window with a thin caption and a close box, fixed size: no icon, not in the taskbar.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;
constexpr int kClientWidthTwips = 6855;
constexpr int kClientHeightTwips = 4680;

enum ControlId : int { kCommand1 = 100, kText1 };

// Command1 is first in the tab order, so it has the focus when the window opens.
constexpr ControlLayout kCommand1Layout = {
    L"BUTTON", u"OK", kChildStyle | WS_TABSTOP | BS_PUSHBUTTON, 0, {2820, 4260, 1275, 375},
    kCommand1};
constexpr ControlLayout kText1Layout = {
    L"EDIT",
    u"",
    kChildStyle | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY,
    WS_EX_CLIENTEDGE,
    {180, 0, 6495, 4155},
    kText1};

}  // namespace

HelpWindow::HelpWindow(LiveWindows& live) : live_(live) {}

HelpWindow::~HelpWindow() = default;

bool HelpWindow::Create() {
    if (!RegisterOnce(kClassName, nullptr, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)))) {
        return false;
    }
    const int dpi = SystemDpi();
    if (!font_) {
        font_.Reset(CreateFormFont(dpi));
    }
    const SIZE size =
        WindowSizeForClient(kClientWidthTwips, kClientHeightTwips, kStyle, kExStyle, dpi);
    if (!CreateTopLevel(kClassName, kCaption, kStyle, kExStyle, size)) {
        return false;
    }
    command1_ = CreateControl(hwnd_, kCommand1Layout, dpi, font_.Get());
    HWND text1 = CreateControl(hwnd_, kText1Layout, dpi, font_.Get());
    if (command1_ == nullptr || text1 == nullptr) {
        DestroyWindow(hwnd_);
        return false;
    }
    focus_ = command1_;
    text1_ = std::make_unique<Win32TextBox>(text1);
    HelpFormHost& host = *this;
    form_ = std::make_unique<HelpForm>(*text1_, host);
    return true;
}

void HelpWindow::Show() {
    if (BringForward() || !Create()) {
        return;
    }
    form_->Form_Load();
    ShowLoaded(command1_);
}

void HelpWindow::Close() {
    DestroyIfOpen();
}

LRESULT HelpWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == kCommand1 && HIWORD(wParam) == BN_CLICKED && form_) {
                form_->Command1_Click();
            }
            return 0;
        case WM_CTLCOLORSTATIC:
            // Text1 is read-only, so it asks as a static control does: red on black.
            SetTextColor(reinterpret_cast<HDC>(wParam), RGB(255, 0, 0));
            SetBkColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 0));
            return reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH));
        default:
            return CommonMessage(live_, focus_, message, wParam, lParam);
    }
}

}  // namespace tunewick::platform
