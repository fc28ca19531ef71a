#include "platform/main_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <utility>

#include "platform/control_adapters.h"
#include "platform/frame.h"
#include "platform/program_directory.h"
#include "platform/single_instance.h"
#include "platform/trace.h"
#include "platform/window_class.h"

namespace tunewick::platform {
namespace {

// Fixed single border, minimize box, no maximize box; the program's icon.
constexpr WindowLayout kWindow = {
    kMainWindowClass,
    L"Tunewick",
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
    0,
    3165,
    5295,
    true};

// The controls in tab order, which is the layout table's order, with the form designer's names.
enum ControlId : int {
    kUnseenFocusBox = kFirstControlId,  // Text2
    kRealPlayerButton,                  // cmdON
    kHelpButton,                        // Command4
    kCustomMessageFrame,                // Frame1
    kArtistLabel,                       // Label1
    kArtistBox,                         // txtArt
    kSongLabel,                         // Label2
    kSongBox,                           // txtSong
    kSetButton,                         // Command2
    kFollowPlayerBox,                   // Check1
    kFollowPlayerLabel,                 // Label4
    kFormatLabel,                       // Label5
    kFormatBox,                         // txtFormat
    kCreditLine,                        // Label3
    kMinimizeToTrayButton,              // cmdHide
    kWinampButton,                      // cmdWinamp
    kXMPlayButton,                      // cmdXM
    kOptionsButton,                     // cmdOptions
};

// Each mode's button and timer, in PlayerKind order; the minimize watcher's timer after them.
constexpr std::array<int, 3> kModeButtonIds = {kRealPlayerButton, kWinampButton, kXMPlayButton};
enum TimerId : UINT_PTR {
    kRealPlayerTimer = 1,  // Timer1
    kWinampTimer,          // tmrWin
    kXMPlayTimer,          // tmrXM
    kMinimizeWatcher,      // tmrMiniCheck
};
constexpr std::array<UINT_PTR, 3> kModeTimerIds = {kRealPlayerTimer, kWinampTimer, kXMPlayTimer};

// Positions in twips relative to the container. The unseen box lies outside the client area:
// it takes the focus at start, but Tab never stops in it. A screen reader names each text box
// after the label just before it, and the check box after its own text, which its size (the
// box alone) keeps from being drawn; the label beside it shows the text.
// clang-format off
constexpr ControlLayout kControls[] = {
    {WC_EDITW,   u"1863",                     kTextBoxStyle & ~WS_TABSTOP, WS_EX_CLIENTEDGE, {5400, 6420, 1575, 315}, kUnseenFocusBox},
    {WC_BUTTONW, kPlayerModes[0].offCaption,  kCommandButtonStyle, 0,                {120, 120, 2955, 375},   kRealPlayerButton},
    {WC_BUTTONW, u"Help",                     kCommandButtonStyle, 0,                {120, 3900, 2955, 375},  kHelpButton},
    {kFrameClassName, u"Custom Artist / Song", kFrameStyle,     kFrameExStyle,    {120, 1800, 2955, 1995}, kCustomMessageFrame},
    {WC_STATICW, u"Artist",                   kLabelStyle | SS_LEFT, 0,              {600, 300, 375, 195},    kArtistLabel,       kCustomMessageFrame},
    {WC_EDITW,   u"",                         kTextBoxStyle,       WS_EX_CLIENTEDGE, {1080, 240, 1755, 315},  kArtistBox,         kCustomMessageFrame},
    {WC_STATICW, u"Song Name",                kLabelStyle | SS_LEFT, 0,              {120, 720, 855, 195},    kSongLabel,         kCustomMessageFrame},
    {WC_EDITW,   u"",                         kTextBoxStyle,       WS_EX_CLIENTEDGE, {1080, 660, 1755, 315},  kSongBox,           kCustomMessageFrame},
    {WC_BUTTONW, u"Set",                      kCommandButtonStyle, 0,                {180, 1500, 1395, 375},  kSetButton,         kCustomMessageFrame},
    {WC_BUTTONW, u"Update with timers?",      kCheckBoxStyle,      0,                {1740, 1620, 195, 195},  kFollowPlayerBox,   kCustomMessageFrame},
    {WC_STATICW, u"Update with timers?",      kLabelStyle | SS_LEFT, 0,              {1980, 1500, 855, 375},  kFollowPlayerLabel, kCustomMessageFrame},
    {WC_STATICW, u"Format",                   kLabelStyle | SS_RIGHT, 0,             {420, 1140, 555, 195},   kFormatLabel,       kCustomMessageFrame},
    {WC_EDITW,   kDesignedFormat,             kTextBoxStyle,       WS_EX_CLIENTEDGE, {1080, 1080, 1755, 315}, kFormatBox,         kCustomMessageFrame},
    {WC_STATICW, u"",                         kLabelStyle | SS_CENTER, 0,            {120, 4800, 2955, 495},  kCreditLine},
    {WC_BUTTONW, u"Minimize To Tray",         kCommandButtonStyle, 0,                {120, 1380, 2955, 375},  kMinimizeToTrayButton},
    {WC_BUTTONW, kPlayerModes[1].offCaption,  kCommandButtonStyle, 0,                {120, 540, 2955, 375},   kWinampButton},
    {WC_BUTTONW, kPlayerModes[2].offCaption,  kCommandButtonStyle, 0,                {120, 960, 2955, 375},   kXMPlayButton},
    {WC_BUTTONW, u"Options",                  kCommandButtonStyle, 0,                {120, 4320, 2955, 375},  kOptionsButton},
};
// clang-format on

// A tool tip for `tool`: a comfort, so a failure is only traced. The tip window belongs to
// `owner` and goes with it.
void AddToolTip(HWND owner, HWND tool, const wchar_t* text) {
    HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (tip == nullptr) {
        const DWORD error = GetLastError();
        TraceFailure(L"CreateWindowExW " TOOLTIPS_CLASSW, error);
        return;
    }
    TOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = owner;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = const_cast<wchar_t*>(text);
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

}  // namespace

struct MainWindow::Controls {
    explicit Controls(const MainWindow& w)
        : modeButtons(AdaptersFor<Win32Text>(kModeButtonIds,
                                             [&](int id) { return Win32Text(w.Control(id)); })),
          modeTimers(AdaptersFor<Win32Timer>(
              kModeTimerIds,
              [&](UINT_PTR id) {
                  return Win32Timer(w.hwnd_, id, static_cast<UINT>(kModeInterval.count()));
              })),
          artistBox(w.Control(kArtistBox)),
          songBox(w.Control(kSongBox)),
          formatBox(w.Control(kFormatBox)),
          followPlayerBox(w.Control(kFollowPlayerBox)),
          creditLine(w.Control(kCreditLine)),
          minimizeWatcher(w.hwnd_, kMinimizeWatcher, static_cast<UINT>(kWatcherInterval.count())) {}

    std::array<Win32Text, 3> modeButtons;
    std::array<Win32Timer, 3> modeTimers;
    Win32Text artistBox;
    Win32Text songBox;
    Win32Text formatBox;
    Win32CheckBox followPlayerBox;
    Win32Text creditLine;
    Win32Timer minimizeWatcher;

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

MainWindow::MainWindow(WindowSystem& windows, ProfileStore& profile, SecondaryWindow& help,
                       SecondaryWindow& options, LiveWindows& live)
    : FormWindow(live), windows_(windows), profile_(profile), help_(help), options_(options) {}

MainWindow::~MainWindow() = default;

bool MainWindow::Create() {
    // The shell draws the tray's icons at the system DPI, whatever the window's monitor.
    trayIcon_ = ApplicationIcon(SM_CXSMICON, SystemDpi());
    taskbarCreated_ = TaskbarCreatedMessage();
    showRequest_ = ShowRunningInstanceMessage();

    if (!CreateFromLayout(kWindow, kControls)) {
        return false;
    }
    tray_.CreateMenu(hwnd_);
    controls_ = std::make_unique<Controls>(*this);
    // Only the watcher runs from the start.
    controls_->minimizeWatcher.SetEnabled(true);
    AddToolTip(hwnd_, Control(kMinimizeToTrayButton), L"Minimize Ospray To The Tray");
    focus_ = Control(kUnseenFocusBox);
    boxes_ = std::make_unique<Win32MessageBoxes>([this] {
        // A box of a window in the tray has no owner: it would otherwise be hidden with it.
        return hwnd_ != nullptr && IsWindowVisible(hwnd_) ? hwnd_ : nullptr;
    });
    MainFormHost& host = *this;
    form_ = std::make_unique<MainForm>(
        controls_->ForForm(), MainFormPeers{windows_, *boxes_, profile_, tray_, help_, options_},
        host);
    return true;
}

void MainWindow::Start(int showCommand) {
    if (!form_->Load() && hwnd_ != nullptr) {
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
        case WM_CLOSE:
            closing_ = true;
            if (form_) {
                form_->Unload();
            }
            DestroyWindow(hwnd_);
            return 0;
        case WM_ENDSESSION:
            // Logging off: the user's status must not keep showing a song after they have
            // left. A cancelled log-off changes nothing.
            if (wParam != FALSE) {
                closing_ = true;
                if (form_) {
                    form_->SessionEnd();
                }
                DestroyWindow(hwnd_);
            }
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

std::optional<Surface> MainWindow::SurfaceOf(int id) {
    if (id == kFollowPlayerBox) {
        return std::nullopt;
    }
    return id == kCustomMessageFrame ? Surface::Frame : Surface::Label;
}

void MainWindow::OnCommand(int id, int code) {
    if (!form_) {
        return;
    }
    // The buttons whose click is one of the form's handlers.
    static constexpr std::pair<int, void (MainForm::*)()> kClicks[] = {
        {kMinimizeToTrayButton, &MainForm::MinimizeToTray},
        {kSetButton, &MainForm::SendCustomMessage},
        {kHelpButton, &MainForm::OpenHelp},
        {kOptionsButton, &MainForm::OpenOptions},
    };
    // An owner-drawn button reports a quick second click as a double click: still a click.
    const bool clicked = code == BN_CLICKED || code == BN_DOUBLECLICKED;
    for (const PlayerMode& mode : kPlayerModes) {
        if (id == kModeButtonIds[ModeIndex(mode.player)] && clicked) {
            form_->ToggleMode(mode.player);
        }
    }
    for (const auto& [button, handler] : kClicks) {
        if (id == button && clicked) {
            (form_.get()->*handler)();
        }
    }
    if (id == kUnseenFocusBox && code == EN_SETFOCUS) {
        // The box lies outside the client area: its caret would blink unseen and wake the
        // program twice a second for as long as the window is active.
        HideCaret(Control(kUnseenFocusBox));
    } else if (id == kFollowPlayerBox && code == BN_CLICKED) {
        ClickCheckBox(Control(kFollowPlayerBox));
    } else if (id == Win32Tray::kShowCommand) {
        form_->ShowFromTray();
    } else if (id == Win32Tray::kCloseCommand) {
        form_->CloseFromTray();
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
    return reinterpret_cast<std::uintptr_t>(trayIcon_.Get());
}

Text MainWindow::ProgramDirectory() const {
    return platform::ProgramDirectory();
}

void MainWindow::ShowMainWindow() {
    ShowWindow(hwnd_, SW_SHOW);
}

void MainWindow::HideMainWindow() {
    ShowWindow(hwnd_, SW_HIDE);
}

bool MainWindow::Minimized() const {
    return hwnd_ != nullptr && IsIconic(hwnd_);
}

void MainWindow::Restore() {
    if (Minimized()) {
        ShowWindow(hwnd_, SW_RESTORE);
    }
}

void MainWindow::CloseMainWindow() {
    if (hwnd_ != nullptr) {
        SendMessageW(hwnd_, WM_CLOSE, 0, 0);
    }
}

}  // namespace tunewick::platform
