#include "platform/options_window.h"

#include <commctrl.h>

#include <initializer_list>

#include "platform/control_adapters.h"
#include "platform/frame.h"
#include "platform/program_directory.h"
#include "platform/system_library.h"

namespace tunewick::platform {
namespace {

// A tool window with a thin caption and a close box, fixed size, not in the taskbar; the
// program's icon.
constexpr WindowLayout kWindow = {L"TunewickOptions",
                                  L"   Tunewick :: Options",
                                  WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                                  WS_EX_TOOLWINDOW,
                                  3660,
                                  4215,
                                  true};

// The controls in tab order, which is the layout table's order, with the form designer's names.
enum ControlId : int {
    kOkButton = kFirstControlId,  // cmdOK
    kRealPlayerOption,            // AutoAct(0)
    kWinampOption,                // AutoAct(1)
    kXMPlayOption,                // AutoAct(2)
    kStartupModeFrame,            // Frame1
    kStartupModeLabel,            // labels(0)
    kStartupModeRule,             // Frame2
    kMinimizeAtStartupBox,        // chkMiniStart
    kOtherFrame,                  // Frame3
    kOtherLabel,                  // labels(1)
    kDefaultsRule,                // Line1
    kDefaultsLabel,               // labels(2)
    kArtistLabel,                 // labels(3)
    kArtistBox,                   // txtArtist
    kSongLabel,                   // labels(4)
    kSongBox,                     // txtSong
    kFormatLabel,                 // labels(5)
    kFormatBox,                   // txtFormat
    kCancelButton,                // cmdCancel
    kTitleLabel,                  // labels(6)
};

// The start-up mode's option buttons, in PlayerKind order.
constexpr std::array<int, 3> kStartupModeOptionIds = {kRealPlayerOption, kWinampOption,
                                                      kXMPlayOption};

constexpr DWORD kOptionStyle = kChildStyle | BS_AUTORADIOBUTTON;
constexpr DWORD kCenteredLabel = kLabelStyle | SS_CENTER;

// The option buttons and the check box belong to the window and lie in front of the frames;
// the title lies behind the first frame.
// clang-format off
constexpr ControlLayout kControls[] = {
    {WC_BUTTONW, u"OK",                  kCommandButtonStyle, 0, {720, 3720, 1095, 375}, kOkButton},
    {WC_BUTTONW, u"Realplayer",          kOptionStyle | WS_GROUP | WS_TABSTOP, 0, {300, 780, 1155, 195}, kRealPlayerOption},
    {WC_BUTTONW, u"Winamp",              kOptionStyle,        0, {1500, 780, 975, 195},  kWinampOption},
    {WC_BUTTONW, u"XMPlay",              kOptionStyle,        0, {2580, 780, 915, 195},  kXMPlayOption},
    {kFrameClassName, u"",            kFrameStyle | WS_GROUP, kFrameExStyle, {120, 240, 3435, 975}, kStartupModeFrame},
    {WC_STATICW, u"Auto activate player compatibility:", kCenteredLabel, 0, {540, 240, 2355, 255}, kStartupModeLabel, kStartupModeFrame},
    // 15 twips high: a rule along the first frame's bottom.
    {kFrameClassName, u"",            kFrameStyle, kFrameExStyle, {0, 960, 3435, 15}, kStartupModeRule, kStartupModeFrame},
    {WC_BUTTONW, u"Minimize On Startup", kCheckBoxStyle | WS_GROUP, 0, {953, 1680, 1755, 195}, kMinimizeAtStartupBox},
    {kFrameClassName, u"",            kFrameStyle, kFrameExStyle, {120, 1200, 3435, 2415}, kOtherFrame},
    {WC_STATICW, u"Other:",              kCenteredLabel,      0, {600, 180, 2295, 195},  kOtherLabel,    kOtherFrame},
    // The line from (0, 840) to (3405, 840), drawn etched.
    {WC_STATICW, u"",                    kChildStyle | SS_ETCHEDHORZ, 0, {0, 840, 3405, 30}, kDefaultsRule, kOtherFrame},
    {WC_STATICW, u"Defaults:",           kCenteredLabel,      0, {1080, 900, 1335, 195}, kDefaultsLabel, kOtherFrame},
    // Each label just before its text box: a screen reader names the box after it.
    {WC_STATICW, u"Artist      -",       kLabelStyle,         0, {480, 1260, 855, 195},  kArtistLabel,   kOtherFrame},
    {WC_EDITW,   u"",                    kTextBoxStyle, WS_EX_CLIENTEDGE, {1500, 1200, 1515, 315}, kArtistBox, kOtherFrame},
    {WC_STATICW, u"Ttile       -",       kLabelStyle,         0, {480, 1620, 855, 195},  kSongLabel,     kOtherFrame},
    {WC_EDITW,   u"",                    kTextBoxStyle, WS_EX_CLIENTEDGE, {1500, 1560, 1515, 315}, kSongBox,   kOtherFrame},
    {WC_STATICW, u"Format   -",          kLabelStyle,         0, {480, 1980, 855, 195},  kFormatLabel,   kOtherFrame},
    {WC_EDITW,   u"{0} - {1}",           kTextBoxStyle, WS_EX_CLIENTEDGE, {1500, 1920, 1515, 315}, kFormatBox, kOtherFrame},
    {WC_BUTTONW, u"Cancel",              kCommandButtonStyle, 0, {1920, 3720, 1095, 375}, kCancelButton},
    {WC_STATICW, u"Options",             kCenteredLabel,      0, {1320, 50, 1155, 255},  kTitleLabel, 0, kTitleFont},
};
// clang-format on

// Turns visual styles off for the controls, so that they draw in the colours their parent's
// WM_CTLCOLOR* answer gives: themed option buttons and check boxes draw their captions in the
// theme's colour, which would be black on this black window. A system without uxtheme draws
// classic controls anyway.
void UseClassicLook(std::initializer_list<HWND> controls) {
    const SystemLibrary uxtheme = SystemLibrary::Load(L"uxtheme.dll");
    using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
    if (const auto setWindowTheme = uxtheme.Find<SetWindowThemeFn>("SetWindowTheme")) {
        for (HWND control : controls) {
            setWindowTheme(control, L"", L"");
        }
    }
}

}  // namespace

struct OptionsWindow::Controls {
    explicit Controls(const OptionsWindow& w)
        : startupModeButtons(AdaptersFor<Win32OptionButton>(
              kStartupModeOptionIds,
              [&](int id) {
                  return Win32OptionButton(w.Control(id), kStartupModeOptionIds.front(),
                                           kStartupModeOptionIds.back());
              })),
          minimizeAtStartupBox(w.Control(kMinimizeAtStartupBox)),
          artistBox(w.Control(kArtistBox)),
          songBox(w.Control(kSongBox)),
          formatBox(w.Control(kFormatBox)) {}

    std::array<Win32OptionButton, 3> startupModeButtons;
    Win32CheckBox minimizeAtStartupBox;
    Win32Text artistBox;
    Win32Text songBox;
    Win32Text formatBox;

    OptionsFormControls ForForm() {
        return OptionsFormControls{
            {startupModeButtons[0], startupModeButtons[1], startupModeButtons[2]},
            minimizeAtStartupBox,
            artistBox,
            songBox,
            formatBox};
    }
};

OptionsWindow::OptionsWindow(ProfileStore& profile, LiveWindows& live)
    : FormWindow(live), profile_(profile) {}

OptionsWindow::~OptionsWindow() = default;

bool OptionsWindow::Create() {
    if (!CreateFromLayout(kWindow, kControls)) {
        return false;
    }
    UseClassicLook({Control(kRealPlayerOption), Control(kWinampOption), Control(kXMPlayOption),
                    Control(kMinimizeAtStartupBox)});
    controls_ = std::make_unique<Controls>(*this);
    focus_ = Control(kOkButton);
    OptionsFormHost& host = *this;
    form_ = std::make_unique<OptionsForm>(controls_->ForForm(), profile_, boxes_, host);
    return true;
}

void OptionsWindow::Show() {
    // Already open: forward as it is, unsaved edits and all.
    if (BringForwardIfOpen(hwnd_) || !Create()) {
        return;
    }
    form_->Load();
    ShowFirstTime(hwnd_, Control(kOkButton));
}

Text OptionsWindow::ProgramDirectory() const {
    return platform::ProgramDirectory();
}

void OptionsWindow::Close() {
    DestroyIfOpen();
}

std::optional<Surface> OptionsWindow::SurfaceOf(int id) {
    const bool frame = id == kStartupModeFrame || id == kStartupModeRule || id == kOtherFrame;
    return frame ? Surface::Frame : Surface::Label;
}

LRESULT OptionsWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            const int code = HIWORD(wParam);
            const bool clicked = code == BN_CLICKED || code == BN_DOUBLECLICKED;
            if (!form_ || !controls_) {
                return 0;
            }
            if (id == kOkButton && clicked) {
                form_->Save();
            } else if (id == kCancelButton && clicked) {
                form_->Cancel();
            } else if (id == kMinimizeAtStartupBox && code == BN_CLICKED) {
                ClickCheckBox(Control(kMinimizeAtStartupBox));
            }
            return 0;
        }
        default:
            return CommonMessage(message, wParam, lParam);
    }
}

}  // namespace tunewick::platform
