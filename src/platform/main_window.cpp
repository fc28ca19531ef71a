#include "platform/main_window.h"

#include <windowsx.h>

#include "platform/frame.h"
#include "platform/program_directory.h"
#include "platform/single_instance.h"
#include "platform/trace.h"
#include "platform/win32_window_system.h"
#include "platform/window_class.h"

namespace tunewick::platform {
namespace {

// Fixed single border, minimize box, no maximize box.
constexpr WindowLayout kWindow = {
    kMainWindowClass,
    L"Tunewick",
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
    0,
    3165,
    5295,
};

// The controls, in tab order: the ids follow the layout table below. The form designer's
// names in the comments link each control to the description of its handler.
enum ControlId : int {
    kUnseenFocusBox = kFirstControlId,  // Text2
    kRealPlayerButton,                  // cmdON
    kHelpButton,                        // Command4
    kCustomMessageFrame,                // Frame1
    kArtistBox,                         // txtArt
    kSongBox,                           // txtSong
    kArtistLabel,                       // Label1
    kSongLabel,                         // Label2
    kSetButton,                         // Command2
    kFollowPlayerBox,                   // Check1
    kFollowPlayerLabel,                 // Label4
    kFormatBox,                         // txtFormat
    kFormatLabel,                       // Label5
    kCreditLine,                        // Label3
    kMinimizeToTrayButton,              // cmdHide
    kWinampButton,                      // cmdWinamp
    kXMPlayButton,                      // cmdXM
    kOptionsButton,                     // cmdOptions
};

// Each mode's button and timer, in PlayerKind order; the minimize watcher's timer after them.
constexpr int kModeButtonIds[] = {kRealPlayerButton, kWinampButton, kXMPlayButton};
enum TimerId : UINT_PTR {
    kRealPlayerTimer = 1,  // Timer1
    kWinampTimer,          // tmrWin
    kXMPlayTimer,          // tmrXM
    kMinimizeWatcher,      // tmrMiniCheck
};
constexpr UINT_PTR kModeTimerIds[] = {kRealPlayerTimer, kWinampTimer, kXMPlayTimer};

constexpr wchar_t kButton[] = L"BUTTON";
constexpr wchar_t kEdit[] = L"EDIT";
constexpr wchar_t kStatic[] = L"STATIC";

// Positions in twips relative to the container. The unseen box lies outside the client area:
// it takes the focus at start.
// clang-format off
constexpr ControlLayout kControls[] = {
    {kEdit,   u"1863",                     kTextBoxStyle,       WS_EX_CLIENTEDGE, {5400, 6420, 1575, 315}, kUnseenFocusBox},
    {kButton, kPlayerModes[0].offCaption,  kCommandButtonStyle, 0,                {120, 120, 2955, 375},   kRealPlayerButton},
    {kButton, u"Help",                     kCommandButtonStyle, 0,                {120, 3900, 2955, 375},  kHelpButton},
    {kFrameClassName, u"Custom Artist / Song", kFrameStyle,     kFrameExStyle,    {120, 1800, 2955, 1995}, kCustomMessageFrame},
    {kEdit,   u"",                         kTextBoxStyle,       WS_EX_CLIENTEDGE, {1080, 240, 1755, 315},  kArtistBox,         kCustomMessageFrame},
    {kEdit,   u"",                         kTextBoxStyle,       WS_EX_CLIENTEDGE, {1080, 660, 1755, 315},  kSongBox,           kCustomMessageFrame},
    {kStatic, u"Artist",                   kLabelStyle | SS_LEFT, 0,              {600, 300, 375, 195},    kArtistLabel,       kCustomMessageFrame},
    {kStatic, u"Song Name",                kLabelStyle | SS_LEFT, 0,              {120, 720, 855, 195},    kSongLabel,         kCustomMessageFrame},
    {kButton, u"Set",                      kCommandButtonStyle, 0,                {180, 1500, 1395, 375},  kSetButton,         kCustomMessageFrame},
    {kButton, u"",                         kCheckBoxStyle,      0,                {1740, 1620, 195, 195},  kFollowPlayerBox,   kCustomMessageFrame},
    {kStatic, u"Update with timers?",      kLabelStyle | SS_LEFT, 0,              {1980, 1500, 855, 375},  kFollowPlayerLabel, kCustomMessageFrame},
    {kEdit,   kDesignedFormat,             kTextBoxStyle,       WS_EX_CLIENTEDGE, {1080, 1080, 1755, 315}, kFormatBox,         kCustomMessageFrame},
    {kStatic, u"Format",                   kLabelStyle | SS_RIGHT, 0,             {420, 1140, 555, 195},   kFormatLabel,       kCustomMessageFrame},
    {kStatic, u"",                         kLabelStyle | SS_CENTER, 0,            {120, 4800, 2955, 495},  kCreditLine},
    {kButton, u"Minimize To Tray",         kCommandButtonStyle, 0,                {120, 1380, 2955, 375},  kMinimizeToTrayButton},
    {kButton, kPlayerModes[1].offCaption,  kCommandButtonStyle, 0,                {120, 540, 2955, 375},   kWinampButton},
    {kButton, kPlayerModes[2].offCaption,  kCommandButtonStyle, 0,                {120, 960, 2955, 375},   kXMPlayButton},
    {kButton, u"Options",                  kCommandButtonStyle, 0,                {120, 4320, 2955, 375},  kOptionsButton},
};
// clang-format on

constexpr TextView kMinimizeToTrayTip = u"Minimize Ospray To The Tray";

}  // namespace

// The adapters the form logic works through, over the controls' handles.
struct MainWindow::Controls {
    std::array<Win32Caption, 3> modeButtons;
    std::array<Win32Timer, 3> modeTimers;
    Win32TextBox artistBox;
    Win32TextBox songBox;
    Win32TextBox formatBox;
    Win32CheckBox followPlayerBox;
    Win32Caption creditLine;
    Win32Timer minimizeWatcher;

    Controls(HWND window, const std::function<HWND(int)>& control)
        : modeButtons{Win32Caption(control(kModeButtonIds[0])),
                      Win32Caption(control(kModeButtonIds[1])),
                      Win32Caption(control(kModeButtonIds[2]))},
          modeTimers{ModeTimer(window, 0), ModeTimer(window, 1), ModeTimer(window, 2)},
          artistBox(control(kArtistBox)),
          songBox(control(kSongBox)),
          formatBox(control(kFormatBox)),
          followPlayerBox(control(kFollowPlayerBox)),
          creditLine(control(kCreditLine)),
          minimizeWatcher(window, kMinimizeWatcher, static_cast<UINT>(kWatcherInterval.count())) {}

    static Win32Timer ModeTimer(HWND window, std::size_t index) {
        return Win32Timer(window, kModeTimerIds[index], static_cast<UINT>(kModeInterval.count()));
    }

    MainFormControls ForForm() {
        return MainFormControls{{modeButtons[0], modeButtons[1], modeButtons[2]},
                                {modeTimers[0], modeTimers[1], modeTimers[2]},
                                artistBox,
                                songBox,
                                formatBox,
                                followPlayerBox,
                                creditLine,
                                minimizeWatcher};
    }
};

MainWindow::MainWindow(WindowSystem& windows, ProfileStore& profile, SecondaryWindows& secondary,
                       LiveWindows& live)
    : FormWindow(live), windows_(windows), profile_(profile), secondary_(secondary) {}

MainWindow::~MainWindow() = default;

bool MainWindow::Create() {
    icon_ = ApplicationIcon(SM_CXICON, SM_CYICON);
    smallIcon_ = ApplicationIcon(SM_CXSMICON, SM_CYSMICON);
    const int dpi = SystemDpi();
    font_.Reset(CreateFormFont(dpi));
    taskbarCreated_ = TaskbarCreatedMessage();
    showRequest_ = ShowRunningInstanceMessage();
    // Without the menu the tray icon still adds and restores on a double click.
    trayMenu_.Create();

    const HFONT fonts[] = {font_.Get()};
    if (!CreateFromLayout(kWindow, icon_, smallIcon_, kControls, fonts, dpi)) {
        return false;
    }
    controls_ = std::make_unique<Controls>(hwnd_, [this](int id) { return Control(id); });
    // Only the watcher runs from the start.
    controls_->minimizeWatcher.SetEnabled(true);
    // The tip is a comfort: the button works without it.
    AddToolTip(hwnd_, Control(kMinimizeToTrayButton), kMinimizeToTrayTip);
    focus_ = Control(kUnseenFocusBox);
    boxes_ = std::make_unique<Win32MessageBoxes>([this] {
        // A box of a window in the tray has no owner: it would otherwise be hidden with it.
        return hwnd_ != nullptr && IsWindowVisible(hwnd_) ? hwnd_ : nullptr;
    });
    MainFormHost& host = *this;
    form_ = std::make_unique<MainForm>(controls_->ForForm(), windows_, *boxes_, profile_, host);
    return true;
}

void MainWindow::Start(int showCommand) {
    loading_ = true;
    form_->Load();
    loading_ = false;
    if (!hiddenByLoad_ && hwnd_ != nullptr) {
        ShowWindow(hwnd_, showCommand);
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
            // The tray icon's events arrive here too (see tray.h). Real moves over the window
            // do nothing.
            if (form_ && IsTrayNotification(AsMouseMove(wParam, lParam), kTrayIconId)) {
                form_->TrayIconEvent(TrayEventOf(static_cast<UINT>(lParam)));
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
            return FocusedCommandButtonAsDefault(hwnd_);
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            OnEndSession(wParam != FALSE);
            return 0;
        case WM_DESTROY:
            if (whenClosed_) {
                whenClosed_();
            }
            return CommonMessage(message, wParam, lParam);
        default:
            if (message == taskbarCreated_ && taskbarCreated_ != 0 && form_) {
                form_->TaskbarCreated();
                return 0;
            }
            if (message == showRequest_ && showRequest_ != 0) {
                return OnShowRequest();
            }
            return CommonMessage(message, wParam, lParam);
    }
}

void MainWindow::OnCommand(int id, int code) {
    if (!form_) {
        return;
    }
    // An owner-drawn button reports a quick second click as a double click: still a click.
    const bool clicked = code == BN_CLICKED || code == BN_DOUBLECLICKED;
    for (const PlayerMode& mode : kPlayerModes) {
        if (id == kModeButtonIds[ModeIndex(mode.player)]) {
            if (clicked) {
                form_->ToggleMode(mode.player);
            }
            return;
        }
    }
    switch (id) {
        case kMinimizeToTrayButton:
            if (clicked)
                form_->MinimizeToTray();
            break;
        case kSetButton:
            if (clicked)
                form_->SendCustomMessage();
            break;
        case kHelpButton:
            if (clicked)
                form_->OpenHelp();
            break;
        case kOptionsButton:
            if (clicked)
                form_->OpenOptions();
            break;
        case kUnseenFocusBox:
            // The box lies outside the client area: its caret would blink unseen and wake the
            // program twice a second for as long as the window is active.
            if (code == EN_SETFOCUS)
                HideCaret(Control(kUnseenFocusBox));
            break;
        case kFollowPlayerBox:
            if (code == BN_CLICKED)
                ClickCheckBox(Control(kFollowPlayerBox));
            break;
        case TrayMenu::kShowCommand:
            form_->ShowFromTray();
            break;
        case TrayMenu::kCloseCommand:
            form_->CloseFromTray();
            break;
        default:
            break;
    }
}

void MainWindow::OnTimer(UINT_PTR id) {
    if (!form_) {
        return;
    }
    for (const PlayerMode& mode : kPlayerModes) {
        if (id == kModeTimerIds[ModeIndex(mode.player)]) {
            form_->PollTick(mode.player);
            return;
        }
    }
    if (id == kMinimizeWatcher) {
        form_->CheckForMinimize();
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
    if (control != nullptr && control == Control(kFollowPlayerBox)) {
        return Default(message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    }
    return reinterpret_cast<LRESULT>(WhiteOnBlack(dc));
}

void MainWindow::OnClose() {
    closing_ = true;
    if (form_) {
        form_->Unload();
    }
    DestroyWindow(hwnd_);
}

void MainWindow::OnEndSession(bool ending) {
    if (!ending) {
        return;
    }
    closing_ = true;
    // Logging off: the user's status must not keep showing a song after they have left.
    if (form_) {
        form_->SessionEnd();
    }
    DestroyWindow(hwnd_);
}

LRESULT MainWindow::OnShowRequest() {
    // A window that is closing says no: the second start then waits for this program to end.
    if (!form_ || closing_) {
        return 0;
    }
    // The second start ends; this window comes back as "Show" brings it, and to the front,
    // which the other start allowed this process to take.
    form_->ShowFromTray();
    SetForegroundWindow(hwnd_);
    return kShownAnswer;
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

void MainWindow::ShowMainWindow() {
    if (loading_) {
        hiddenByLoad_ = false;
    }
    ShowWindow(hwnd_, SW_SHOW);
}

void MainWindow::HideMainWindow() {
    if (loading_) {
        hiddenByLoad_ = true;
    }
    ShowWindow(hwnd_, SW_HIDE);
}

int MainWindow::WindowState() const {
    return hwnd_ != nullptr && IsIconic(hwnd_) ? 1 : 0;
}

void MainWindow::SetWindowState(int state) {
    if (hwnd_ == nullptr) {
        return;
    }
    if (state == 0 && IsIconic(hwnd_)) {
        ShowWindow(hwnd_, SW_RESTORE);
    } else if (state == 1 && !IsIconic(hwnd_)) {
        ShowWindow(hwnd_, SW_MINIMIZE);
    }
}

void MainWindow::CloseMainWindow() {
    if (hwnd_ != nullptr) {
        SendMessageW(hwnd_, WM_CLOSE, 0, 0);
    }
}

void MainWindow::PopUpTrayMenu() {
    trayMenu_.PopUp(hwnd_);
}

bool MainWindow::AddTrayIcon(const TrayIcon& icon) {
    // While the shell refuses, the watcher asks again every 2 seconds: one line when the
    // refusals begin, one when they end, not one a tick.
    if (platform::AddTrayIcon(icon)) {
        if (failedTrayAdds_ > 0) {
            TraceNote(L"Shell_NotifyIconW(NIM_ADD) worked after " + Decimal(failedTrayAdds_) +
                      L" refusals: the tray icon is there");
            failedTrayAdds_ = 0;
        }
        return true;
    }
    if (failedTrayAdds_++ == 0) {
        TraceFailure(L"Shell_NotifyIconW(NIM_ADD)");
    }
    return false;
}

bool MainWindow::DeleteTrayIcon(const TrayIcon& icon) {
    // The shutdown removes the icon whether or not it was ever added: nothing to trace.
    return platform::DeleteTrayIcon(icon);
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
