#include "platform/options_window.h"

#include "platform/live_windows.h"
#include "platform/program_directory.h"
#include "platform/resources/version.h"

namespace tunewick::platform {
namespace {

constexpr wchar_t kClassName[] = L"TunewickOptions";
constexpr wchar_t kCaption[] = L"   Tunewick :: Options";
// A tool window with a thin caption and a close box, fixed size, not in the taskbar.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;
constexpr int kClientWidthTwips = 3660;
constexpr int kClientHeightTwips = 4215;

enum ControlId : int {
    kCmdOK = 100,
    kAutoAct0,
    kAutoAct1,
    kAutoAct2,
    kFrame1,
    kLabels0,
    kFrame2,
    kChkMiniStart,
    kFrame3,
    kLabels1,
    kLine1,
    kLabels2,
    kLabels3,
    kLabels4,
    kLabels5,
    kTxtArtist,
    kTxtSong,
    kTxtFormat,
    kCmdCancel,
    kLabels6,
    kLastId = kLabels6,
};

constexpr wchar_t kButton[] = L"BUTTON";
constexpr wchar_t kEdit[] = L"EDIT";
constexpr wchar_t kStatic[] = L"STATIC";

constexpr DWORD kOptionStyle = kChildStyle | BS_AUTORADIOBUTTON;
constexpr DWORD kCenteredLabel = kLabelStyle | SS_CENTER;

// Tab order: OK, the option buttons, Frame1 (its label and rule), the check box, Frame3 (its
// labels, rule and boxes), Cancel, and the title label last. The option buttons and the check
// box belong to the window and lie in front of the frames; the title lies behind Frame1.
constexpr ControlLayout kBeforeFrame1[] = {
    {kButton, u"OK", kCommandButtonStyle, 0, {720, 3720, 1095, 375}, kCmdOK},
    {kButton,
     u"Realplayer",
     kOptionStyle | WS_GROUP | WS_TABSTOP,
     0,
     {300, 780, 1155, 195},
     kAutoAct0},
    {kButton, u"Winamp", kOptionStyle, 0, {1500, 780, 975, 195}, kAutoAct1},
    {kButton, u"XMPlay", kOptionStyle, 0, {2580, 780, 915, 195}, kAutoAct2},
};
constexpr ControlLayout kFrame1Layout = {
    kFrameClassName, u"", kFrameStyle | WS_GROUP, kFrameExStyle, {120, 240, 3435, 975}, kFrame1};
constexpr ControlLayout kInFrame1[] = {
    {kStatic,
     u"Auto activate player compatibility:",
     kCenteredLabel,
     0,
     {540, 240, 2355, 255},
     kLabels0},
    // 15 twips high: a rule along Frame1's bottom.
    {kFrameClassName, u"", kFrameStyle, kFrameExStyle, {0, 960, 3435, 15}, kFrame2},
};
constexpr ControlLayout kChkMiniStartLayout = {
    kButton, u"Minimize On Startup", kCheckBoxStyle | WS_GROUP,
    0,       {953, 1680, 1755, 195}, kChkMiniStart};
constexpr ControlLayout kFrame3Layout = {
    kFrameClassName, u"", kFrameStyle, kFrameExStyle, {120, 1200, 3435, 2415}, kFrame3};
constexpr ControlLayout kInFrame3[] = {
    {kStatic, u"Other:", kCenteredLabel, 0, {600, 180, 2295, 195}, kLabels1},
    // The line from (0, 840) to (3405, 840), drawn etched.
    {kStatic, u"", kChildStyle | SS_ETCHEDHORZ, 0, {0, 840, 3405, 30}, kLine1},
    {kStatic, u"Defaults:", kCenteredLabel, 0, {1080, 900, 1335, 195}, kLabels2},
    {kStatic, u"Artist      -", kLabelStyle, 0, {480, 1260, 855, 195}, kLabels3},
    {kStatic, u"Ttile       -", kLabelStyle, 0, {480, 1620, 855, 195}, kLabels4},
    {kStatic, u"Format   -", kLabelStyle, 0, {480, 1980, 855, 195}, kLabels5},
    {kEdit, u"", kTextBoxStyle, WS_EX_CLIENTEDGE, {1500, 1200, 1515, 315}, kTxtArtist},
    {kEdit, u"", kTextBoxStyle, WS_EX_CLIENTEDGE, {1500, 1560, 1515, 315}, kTxtSong},
    {kEdit, u"{0} - {1}", kTextBoxStyle, WS_EX_CLIENTEDGE, {1500, 1920, 1515, 315}, kTxtFormat},
};
constexpr ControlLayout kAfterFrame3[] = {
    {kButton, u"Cancel", kCommandButtonStyle, 0, {1920, 3720, 1095, 375}, kCmdCancel},
};
constexpr ControlLayout kLabels6Layout = {
    kStatic, u"Options", kCenteredLabel, 0, {1320, 50, 1155, 255}, kLabels6};

constexpr int kControlCount = kLastId - kCmdOK + 1;

}  // namespace

struct OptionsWindow::Controls {
    HWND handles[kControlCount] = {};
    std::array<HWND, 3> autoActHandles;

    Win32OptionButton autoAct0;
    Win32OptionButton autoAct1;
    Win32OptionButton autoAct2;
    Win32CheckBox chkMiniStart;
    Win32TextBox txtArtist;
    Win32TextBox txtSong;
    Win32TextBox txtFormat;

    HWND operator[](int id) const { return handles[id - kCmdOK]; }

    explicit Controls(const HWND (&created)[kControlCount])
        : autoActHandles{created[kAutoAct0 - kCmdOK], created[kAutoAct1 - kCmdOK],
                         created[kAutoAct2 - kCmdOK]},
          autoAct0(autoActHandles, 0),
          autoAct1(autoActHandles, 1),
          autoAct2(autoActHandles, 2),
          chkMiniStart(created[kChkMiniStart - kCmdOK]),
          txtArtist(created[kTxtArtist - kCmdOK]),
          txtSong(created[kTxtSong - kCmdOK]),
          txtFormat(created[kTxtFormat - kCmdOK]) {
        std::copy(std::begin(created), std::end(created), std::begin(handles));
    }

    OptionsFormControls ForForm() {
        return OptionsFormControls{
            {std::ref<OptionButton>(autoAct0), std::ref<OptionButton>(autoAct1),
             std::ref<OptionButton>(autoAct2)},
            chkMiniStart,
            txtArtist,
            txtSong,
            txtFormat};
    }
};

OptionsWindow::OptionsWindow(ProfileStore& profile, LiveWindows& live)
    : profile_(profile), live_(live) {}

OptionsWindow::~OptionsWindow() = default;

bool OptionsWindow::Create() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    icon_ = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(TUNEWICK_IDI_APP), IMAGE_ICON,
                                          0, 0, LR_DEFAULTSIZE | LR_SHARED));
    if (!RegisterOnce(kClassName, icon_, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))) ||
        !RegisterFrameClass()) {
        return false;
    }
    const int dpi = SystemDpi();
    if (!font_) {
        font_.Reset(CreateFormFont(dpi));
        titleFont_.Reset(CreateFormFont(dpi, /*bold=*/true, /*underline=*/true));
    }
    const SIZE size =
        WindowSizeForClient(kClientWidthTwips, kClientHeightTwips, kStyle, kExStyle, dpi);
    if (!CreateTopLevel(kClassName, kCaption, kStyle, kExStyle, size)) {
        return false;
    }
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    if (!CreateControls(dpi)) {
        DestroyWindow(hwnd_);
        return false;
    }
    OptionsFormHost& host = *this;
    form_ = std::make_unique<OptionsForm>(controls_->ForForm(), profile_, boxes_, host);
    return true;
}

bool OptionsWindow::CreateControls(int dpi) {
    HWND created[kControlCount] = {};
    bool ok = true;
    auto make = [&](HWND container, const ControlLayout& layout, HFONT font) {
        HWND control = CreateControl(container, layout, dpi, font);
        created[layout.id - kCmdOK] = control;
        ok = ok && control != nullptr;
        return control;
    };
    HFONT font = font_.Get();
    for (const ControlLayout& layout : kBeforeFrame1) {
        make(hwnd_, layout, font);
    }
    HWND frame1 = make(hwnd_, kFrame1Layout, font);
    for (const ControlLayout& layout : kInFrame1) {
        make(frame1, layout, font);
    }
    make(hwnd_, kChkMiniStartLayout, font);
    HWND frame3 = make(hwnd_, kFrame3Layout, font);
    for (const ControlLayout& layout : kInFrame3) {
        make(frame3, layout, font);
    }
    for (const ControlLayout& layout : kAfterFrame3) {
        make(hwnd_, layout, font);
    }
    make(hwnd_, kLabels6Layout, titleFont_.Get());
    if (!ok) {
        return false;
    }
    // Themed option buttons and check boxes draw their captions in the theme's colour, which
    // would be black on this black window.
    for (int id : {kAutoAct0, kAutoAct1, kAutoAct2, kChkMiniStart}) {
        UseClassicLook(created[id - kCmdOK]);
    }
    controls_ = std::make_unique<Controls>(created);
    focus_ = (*controls_)[kCmdOK];
    return true;
}

void OptionsWindow::Show() {
    // Already open: forward as it is, unsaved edits and all.
    if (BringForward() || !Create()) {
        return;
    }
    form_->Form_Load();
    ShowLoaded((*controls_)[kCmdOK]);
}

Text OptionsWindow::ProgramDirectory() const {
    return platform::ProgramDirectory();
}

void OptionsWindow::Close() {
    DestroyIfOpen();
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
            if (id == kCmdOK && clicked) {
                form_->cmdOK_Click();
            } else if (id == kCmdCancel && clicked) {
                form_->cmdCancel_Click();
            } else if (id == kChkMiniStart && code == BN_CLICKED) {
                ClickCheckBox((*controls_)[kChkMiniStart]);
            }
            return 0;
        }
        case WM_DRAWITEM:
            DrawCommandButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return reinterpret_cast<LRESULT>(WhiteOnBlack(reinterpret_cast<HDC>(wParam)));
        case DM_GETDEFID:
            return FocusedCommandButtonAsDefault(hwnd_);
        default:
            return CommonMessage(live_, focus_, message, wParam, lParam);
    }
}

}  // namespace tunewick::platform
