#include "platform/main_window.h"

#include <windowsx.h>

#include "platform/live_windows.h"
#include "platform/program_directory.h"
#include "platform/resources/version.h"
#include "platform/win32_window_system.h"

namespace tunewick::platform {
namespace {

constexpr wchar_t kClassName[] = L"TunewickMain";
constexpr wchar_t kCaption[] = L"Tunewick";
// Fixed single border, minimize box, no maximize box.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr int kClientWidthTwips = 3165;
constexpr int kClientHeightTwips = 5295;

// Control ids: none is IDOK or IDCANCEL, which keyboard navigation sends for Enter and Escape.
enum ControlId : int {
    kText2 = 100,
    kCmdON,
    kCommand4,
    kFrame1,
    kTxtArt,
    kTxtSong,
    kLabel1,
    kLabel2,
    kCommand2,
    kCheck1,
    kLabel4,
    kTxtFormat,
    kLabel5,
    kLabel3,
    kCmdHide,
    kCmdWinamp,
    kCmdXM,
    kCmdOptions,
};

enum TimerId : UINT_PTR { kTimer1 = 1, kTmrWin, kTmrXM, kTmrMiniCheck };

constexpr wchar_t kButton[] = L"BUTTON";
constexpr wchar_t kEdit[] = L"EDIT";
constexpr wchar_t kStatic[] = L"STATIC";

// The window's own controls, in tab order; positions in twips relative to the window.
// Text2 lies outside the client area: never seen, it takes the focus at start.
constexpr ControlLayout kWindowControlsBeforeFrame[] = {
    {kEdit, u"1863", kTextBoxStyle, WS_EX_CLIENTEDGE, {5400, 6420, 1575, 315}, kText2},
    {kButton, kOsprayOffCaption, kCommandButtonStyle, 0, {120, 120, 2955, 375}, kCmdON},
    {kButton, u"Help", kCommandButtonStyle, 0, {120, 3900, 2955, 375}, kCommand4},
};
constexpr ControlLayout kFrame1Layout = {kFrameClassName, u"Custom Artist / Song", kFrameStyle,
                                         kFrameExStyle,   {120, 1800, 2955, 1995}, kFrame1};
// Frame1's controls, in tab order; positions relative to the frame.
constexpr ControlLayout kFrameControls[] = {
    {kEdit, u"", kTextBoxStyle, WS_EX_CLIENTEDGE, {1080, 240, 1755, 315}, kTxtArt},
    {kEdit, u"", kTextBoxStyle, WS_EX_CLIENTEDGE, {1080, 660, 1755, 315}, kTxtSong},
    {kStatic, u"Artist", kLabelStyle | SS_LEFT, 0, {600, 300, 375, 195}, kLabel1},
    {kStatic, u"Song Name", kLabelStyle | SS_LEFT, 0, {120, 720, 855, 195}, kLabel2},
    {kButton, u"Set", kCommandButtonStyle, 0, {180, 1500, 1395, 375}, kCommand2},
    {kButton, u"", kCheckBoxStyle, 0, {1740, 1620, 195, 195}, kCheck1},
    {kStatic, u"Update with timers?", kLabelStyle | SS_LEFT, 0, {1980, 1500, 855, 375}, kLabel4},
    {kEdit, kDesignedFormat, kTextBoxStyle, WS_EX_CLIENTEDGE, {1080, 1080, 1755, 315}, kTxtFormat},
    {kStatic, u"Format", kLabelStyle | SS_RIGHT, 0, {420, 1140, 555, 195}, kLabel5},
};
constexpr ControlLayout kWindowControlsAfterFrame[] = {
    {kStatic, u"", kLabelStyle | SS_CENTER, 0, {120, 4800, 2955, 495}, kLabel3},
    {kButton, u"Minimize To Tray", kCommandButtonStyle, 0, {120, 1380, 2955, 375}, kCmdHide},
    {kButton, kKestrinOffCaption, kCommandButtonStyle, 0, {120, 540, 2955, 375}, kCmdWinamp},
    {kButton, kLumbrelOffCaption, kCommandButtonStyle, 0, {120, 960, 2955, 375}, kCmdXM},
    {kButton, u"Options", kCommandButtonStyle, 0, {120, 4320, 2955, 375}, kCmdOptions},
};

constexpr TextView kHideToolTip = u"Minimize Ospray To The Tray";

}  // namespace

// The controls' handles and the adapters the form logic works through.
struct MainWindow::Controls {
    HWND handles[kCmdOptions - kText2 + 1] = {};

    HWND operator[](int id) const { return handles[id - kText2]; }

    Win32Caption cmdON;
    Win32Caption cmdWinamp;
    Win32Caption cmdXM;
    Win32TextBox txtArt;
    Win32TextBox txtSong;
    Win32TextBox txtFormat;
    Win32CheckBox check1;
    Win32Caption label3;
    Win32Timer timer1;
    Win32Timer tmrWin;
    Win32Timer tmrXM;
    Win32Timer tmrMiniCheck;

    Controls(HWND window, const HWND (&created)[kCmdOptions - kText2 + 1])
        : cmdON(created[kCmdON - kText2]),
          cmdWinamp(created[kCmdWinamp - kText2]),
          cmdXM(created[kCmdXM - kText2]),
          txtArt(created[kTxtArt - kText2]),
          txtSong(created[kTxtSong - kText2]),
          txtFormat(created[kTxtFormat - kText2]),
          check1(created[kCheck1 - kText2]),
          label3(created[kLabel3 - kText2]),
          timer1(window, kTimer1, static_cast<UINT>(kModeInterval.count())),
          tmrWin(window, kTmrWin, static_cast<UINT>(kModeInterval.count())),
          tmrXM(window, kTmrXM, static_cast<UINT>(kModeInterval.count())),
          tmrMiniCheck(window, kTmrMiniCheck, static_cast<UINT>(kWatcherInterval.count())) {
        std::copy(std::begin(created), std::end(created), std::begin(handles));
    }

    MainFormControls ForForm() {
        return MainFormControls{cmdON,  cmdWinamp, cmdXM,  txtArt, txtSong, txtFormat,
                                check1, label3,    timer1, tmrWin, tmrXM,   tmrMiniCheck};
    }
};

MainWindow::MainWindow(WindowSystem& windows, ProfileStore& profile, SecondaryWindows& secondary,
                       LiveWindows& live)
    : windows_(windows), profile_(profile), secondary_(secondary), live_(live) {}

MainWindow::~MainWindow() = default;

bool MainWindow::Create() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    // Shared resource icons belong to the system: nothing to free.
    icon_ = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(TUNEWICK_IDI_APP), IMAGE_ICON,
                                          GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON),
                                          LR_SHARED));
    smallIcon_ = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(TUNEWICK_IDI_APP),
                                               IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    if (!RegisterOnce(kClassName, icon_, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))) ||
        !RegisterFrameClass()) {
        return false;
    }
    dpi_ = SystemDpi();
    font_.Reset(CreateFormFont(dpi_));
    taskbarCreated_ = TaskbarCreatedMessage();
    // Without the menu the tray icon still adds and restores on a double click.
    trayMenu_.Create();

    const SIZE size = WindowSizeForClient(kClientWidthTwips, kClientHeightTwips, kStyle, 0, dpi_);
    if (!CreateTopLevel(kClassName, kCaption, kStyle, 0, size)) {
        return false;
    }
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
    if (!CreateControls()) {
        DestroyWindow(hwnd_);
        return false;
    }
    boxes_ = std::make_unique<Win32MessageBoxes>([this] {
        // A box of a window in the tray has no owner: it would otherwise be hidden with it.
        return hwnd_ != nullptr && IsWindowVisible(hwnd_) ? hwnd_ : nullptr;
    });
    MainFormHost& host = *this;
    form_ = std::make_unique<MainForm>(controls_->ForForm(), windows_, *boxes_, profile_, host);
    return true;
}

bool MainWindow::CreateControls() {
    HWND created[kCmdOptions - kText2 + 1] = {};
    HFONT font = font_.Get();
    auto make = [&](HWND container, const ControlLayout& layout) {
        created[layout.id - kText2] = CreateControl(container, layout, dpi_, font);
        return created[layout.id - kText2] != nullptr;
    };
    // Child windows are added at the bottom of the z-order, which is the tab order, so
    // creating them in tab order gives the form's tab order.
    bool ok = true;
    for (const ControlLayout& layout : kWindowControlsBeforeFrame) {
        ok = make(hwnd_, layout) && ok;
    }
    if (!make(hwnd_, kFrame1Layout)) {
        return false;
    }
    for (const ControlLayout& layout : kFrameControls) {
        ok = make(created[kFrame1 - kText2], layout) && ok;
    }
    for (const ControlLayout& layout : kWindowControlsAfterFrame) {
        ok = make(hwnd_, layout) && ok;
    }
    if (!ok) {
        return false;
    }
    controls_ = std::make_unique<Controls>(hwnd_, created);
    // Only the watcher runs from the start.
    controls_->tmrMiniCheck.SetEnabled(true);
    // The tip is a comfort: the button works without it.
    AddToolTip(hwnd_, (*controls_)[kCmdHide], kHideToolTip);
    focus_ = (*controls_)[kText2];
    return true;
}

void MainWindow::Start(int showCommand) {
    loading_ = true;
    form_->Form_Load();
    loading_ = false;
    if (!hiddenByLoad_ && hwnd_ != nullptr) {
        ::ShowWindow(hwnd_, showCommand);
        UpdateWindow(hwnd_);
    }
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_TIMER:
            OnTimer(wParam);
            return 0;
        case WM_MOUSEMOVE:
            // The tray icon's events arrive here too: the shell puts the mouse message's
            // number where a mouse move carries x. Real moves over the window do nothing.
            if (form_ && IsTrayNotification(form_->trayRecord(), AsMouseMove(wParam, lParam))) {
                form_->Form_MouseMove(GET_X_LPARAM(lParam));
            }
            return 0;
        case WM_DRAWITEM:
            DrawCommandButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return OnControlColor(message, reinterpret_cast<HDC>(wParam),
                                  reinterpret_cast<HWND>(lParam));
        case DM_GETDEFID:
            return OnGetDefaultId();
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            OnEndSession(wParam != FALSE);
            return 0;
        default:
            if (message == taskbarCreated_ && taskbarCreated_ != 0 && form_) {
                form_->TaskbarCreated();
                return 0;
            }
            return CommonMessage(live_, focus_, message, wParam, lParam);
    }
}

void MainWindow::OnCommand(int id, int code) {
    if (!form_) {
        return;
    }
    // An owner-drawn button reports a quick second click as a double click: still a click.
    const bool clicked = code == BN_CLICKED || code == BN_DOUBLECLICKED;
    switch (id) {
        case kCmdON:
            if (clicked)
                form_->cmdON_Click();
            break;
        case kCmdWinamp:
            if (clicked)
                form_->cmdWinamp_Click();
            break;
        case kCmdXM:
            if (clicked)
                form_->cmdXM_Click();
            break;
        case kCmdHide:
            if (clicked)
                form_->cmdHide_Click();
            break;
        case kCommand2:
            if (clicked)
                form_->Command2_Click();
            break;
        case kCommand4:
            if (clicked)
                form_->Command4_Click();
            break;
        case kCmdOptions:
            if (clicked)
                form_->cmdOptions_Click();
            break;
        case kText2:
            // Text2 lies outside the client area: its caret would blink unseen and wake the
            // program twice a second for as long as the window is active.
            if (code == EN_SETFOCUS)
                HideCaret((*controls_)[kText2]);
            break;
        case kCheck1:
            if (code == BN_CLICKED)
                ClickCheckBox((*controls_)[kCheck1]);
            break;
        case TrayMenu::kShowCommand:
            form_->SysShow_Click();
            break;
        case TrayMenu::kCloseCommand:
            form_->SysClose_Click();
            break;
        default:
            break;
    }
}

void MainWindow::OnTimer(UINT_PTR id) {
    if (!form_) {
        return;
    }
    switch (id) {
        case kTimer1:
            form_->Timer1_Timer();
            break;
        case kTmrWin:
            form_->tmrWin_Timer();
            break;
        case kTmrXM:
            form_->tmrXM_Timer();
            break;
        case kTmrMiniCheck:
            form_->tmrMiniCheck_Timer();
            break;
        default:
            break;
    }
}

MouseMove MainWindow::AsMouseMove(WPARAM wParam, LPARAM lParam) const {
    // Where the pointer was when the message was sent, not where it is now.
    const DWORD at = GetMessagePos();
    POINT pointer{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    ScreenToClient(hwnd_, &pointer);
    return MouseMove{wParam, lParam, pointer.x, pointer.y};
}

LRESULT MainWindow::OnControlColor(UINT message, HDC dc, HWND control) {
    // The check box keeps the platform's colours; labels and frames are white on black.
    if (controls_ && control == (*controls_)[kCheck1]) {
        return Default(message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    }
    return reinterpret_cast<LRESULT>(WhiteOnBlack(dc));
}

LRESULT MainWindow::OnGetDefaultId() {
    return FocusedCommandButtonAsDefault(hwnd_);
}

void MainWindow::OnClose() {
    if (form_) {
        form_->Form_Unload();
    }
    DestroyWindow(hwnd_);
}

void MainWindow::OnEndSession(bool ending) {
    if (!ending) {
        return;
    }
    // Logging off: the user's status must not keep showing a song after they have left.
    if (form_) {
        form_->SessionEnd();
    }
    DestroyWindow(hwnd_);
}

WindowHandle MainWindow::MainWindowHandle() const {
    return FromHwnd(hwnd_);
}

std::uintptr_t MainWindow::IconHandle() const {
    return reinterpret_cast<std::uintptr_t>(smallIcon_ != nullptr ? smallIcon_ : icon_);
}

Text MainWindow::ProgramDirectory() const {
    return platform::ProgramDirectory();
}

void MainWindow::ShowWindow() {
    if (loading_) {
        hiddenByLoad_ = false;
    }
    ::ShowWindow(hwnd_, SW_SHOW);
}

void MainWindow::HideWindow() {
    if (loading_) {
        hiddenByLoad_ = true;
    }
    ::ShowWindow(hwnd_, SW_HIDE);
}

int MainWindow::WindowState() const {
    return hwnd_ != nullptr && IsIconic(hwnd_) ? 1 : 0;
}

void MainWindow::SetWindowState(int state) {
    if (hwnd_ == nullptr) {
        return;
    }
    if (state == 0 && IsIconic(hwnd_)) {
        ::ShowWindow(hwnd_, SW_RESTORE);
    } else if (state == 1 && !IsIconic(hwnd_)) {
        ::ShowWindow(hwnd_, SW_MINIMIZE);
    }
}

void MainWindow::CloseWindow() {
    if (hwnd_ != nullptr) {
        SendMessageW(hwnd_, WM_CLOSE, 0, 0);
    }
}

void MainWindow::PopUpTrayMenu() {
    trayMenu_.PopUp(hwnd_);
}

bool MainWindow::AddTrayIcon(const TrayRecord& record) {
    return platform::AddTrayIcon(record);
}

bool MainWindow::DeleteTrayIcon(const TrayRecord& record) {
    return platform::DeleteTrayIcon(record);
}

void MainWindow::ShowHelp() {
    secondary_.ShowHelp();
}

void MainWindow::CloseHelp() {
    secondary_.CloseHelp();
}

void MainWindow::ShowOptions() {
    secondary_.ShowOptions();
}

}  // namespace tunewick::platform
