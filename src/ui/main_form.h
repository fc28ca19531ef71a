#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

#include "core/now_playing.h"
#include "core/player_title.h"
#include "core/text.h"
#include "core/window_system.h"
#include "settings/profile_store.h"
#include "ui/controls.h"
#include "ui/player_modes.h"

namespace tunewick {

// Timer intervals the window binds its timers with.
inline constexpr std::chrono::milliseconds kModeInterval{5000};     // each mode's poll
inline constexpr std::chrono::milliseconds kWatcherInterval{2000};  // the minimize watcher

// Texts the window is created with; the form logic changes them from there. (The mode
// buttons start with their modes' off captions.)
inline constexpr TextView kDesignedFormat = u"{0} - {1}";
inline constexpr TextView kCreditCaption = u"Tunewick\r\nBy Vantor";

// Mouse message numbers the shell reports for the tray icon (as the x of a mouse move).
inline constexpr int kTrayDoubleClick = 515;  // WM_LBUTTONDBLCLK
inline constexpr int kTrayRightDown = 516;    // WM_RBUTTONDOWN

// The shell's notification-icon record as the program fills it once at load. The Win32 layer
// copies it field by field into its NOTIFYICONDATA.
struct TrayRecord {
    static constexpr std::size_t kTipLength = 64;

    std::uint32_t cbSize = 0;
    WindowHandle hWnd = WindowHandle::None;  // the main window, which receives the icon's events
    std::uint32_t uID = 0;
    std::uint32_t uFlags = 0;
    std::uint32_t uCallbackMessage = 0;
    std::uintptr_t hIcon = 0;  // the main window's own icon
    // The fixed 64-unit tip field: "Tunewick", one NUL, then spaces to the end.
    Text szTip;

    // The tip as the shell shows it: the field up to its first NUL.
    TextView Tip() const;

    bool operator==(const TrayRecord&) const = default;
};

// The record for this window and icon: cbSize 88, uID 1, uFlags 7 (message, icon, tip),
// uCallbackMessage 512 (WM_MOUSEMOVE), tip "Tunewick".
TrayRecord MakeTrayRecord(WindowHandle window, std::uintptr_t icon);

// A WM_MOUSEMOVE of the main window as it arrived, and where the pointer was (in client
// coordinates) when it was sent.
struct MouseMove {
    std::uintptr_t wParam;
    std::intptr_t lParam;
    int pointerX;
    int pointerY;
};

// Whether the move is the shell's notification for the record's icon, not the pointer moving
// over the window. The shell puts the icon's id in wParam and the mouse message's number alone
// in lParam, while the pointer is over the icon; a real move carries the key state and the
// pointer's own client position. At high DPI the window is wide enough for a real move to
// carry x = 515 or 516.
bool IsTrayNotification(const TrayRecord& record, const MouseMove& move);

// What the main window's logic asks of its own window, the shell and the program's other
// windows. The Win32 layer implements it over the real window; tests record the calls.
class MainFormHost {
  public:
    virtual ~MainFormHost() = default;

    virtual WindowHandle MainWindowHandle() const = 0;
    virtual std::uintptr_t IconHandle() const = 0;  // the main window's icon
    virtual Text ProgramDirectory() const = 0;      // where settings.cfg lives

    virtual void ShowWindow() = 0;
    virtual void HideWindow() = 0;
    virtual int WindowState() const = 0;  // 0 normal, 1 minimized
    virtual void SetWindowState(int state) = 0;
    // Closes (unloads) the main window; the window's unload runs MainForm::Unload.
    virtual void CloseWindow() = 0;

    // Pops up the tray menu at the mouse position, "Show" as its default (bold) item. A pick
    // comes back as ShowFromTray or CloseFromTray.
    virtual void PopUpTrayMenu() = 0;

    // Shell_NotifyIcon with NIM_ADD / NIM_DELETE. True on success; the form ignores it.
    virtual bool AddTrayIcon(const TrayRecord& record) = 0;
    virtual bool DeleteTrayIcon(const TrayRecord& record) = 0;

    // The help window and the options dialog: modeless, ownerless, one instance each. Show
    // opens the window, or brings an open one forward without reloading it.
    virtual void ShowHelp() = 0;
    virtual void CloseHelp() = 0;  // nothing when it is not open
    virtual void ShowOptions() = 0;
};

// The main window's controls the logic reads and writes. Buttons whose captions never change
// ("Minimize To Tray", "Set", "Help", "Options") are reached only through what they do.
struct MainFormControls {
    // Each mode's button and poll timer, in PlayerKind order.
    std::array<std::reference_wrapper<CommandButton>, 3> modeButtons;
    std::array<std::reference_wrapper<Timer>, 3> modeTimers;
    // The custom message's fields, which also show what a tick sent when they follow the player.
    TextBox& artistBox;
    TextBox& songBox;
    TextBox& formatBox;
    CheckBox& followPlayerBox;  // "Update with timers?"
    Label& creditLine;
    Timer& minimizeWatcher;
};

// The main window: the three player modes and their poll ticks, the custom message, the tray
// and the program's start-up and shutdown. Every method is an event handler of the
// user-interface thread; they call one another as the window's handlers do.
class MainForm {
  public:
    MainForm(const MainFormControls& controls, WindowSystem& windows, MessageBoxes& boxes,
             ProfileStore& profile, MainFormHost& host);

    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    // The mode's button: switches it on, or off with an empty record.
    void ToggleMode(PlayerKind mode);
    // The mode's timer. A tick whose guard switches its own mode off ends there; while a box
    // raised by a tick is open, every mode's tick is skipped.
    void PollTick(PlayerKind mode);

    void SendCustomMessage();  // "Set"
    void OpenHelp();           // "Help"
    void OpenOptions();        // "Options"
    void MinimizeToTray();     // "Minimize To Tray"
    // The watcher's timer: a minimized window goes to the tray.
    void CheckForMinimize();

    // The tray icon's events: the mouse message number the shell put in the low word of
    // lParam, already in pixels (the Win32 layer passes GET_X_LPARAM unchanged).
    void TrayIconEvent(int mouseMessage);
    void ShowFromTray();   // the tray menu's "Show"
    void CloseFromTray();  // the tray menu's "Close"

    // Start-up, before the window is first shown.
    void Load();
    // Shutdown. Runs once; later calls (a close after the session ended) do nothing.
    void Unload();

    // The shell's "TaskbarCreated": the shell restarted, so an icon that had been added is
    // gone; add it again.
    void TaskbarCreated();
    // The session ends (WM_ENDSESSION with TRUE): run the shutdown as a close would.
    void SessionEnd();

    const TrayRecord& TrayIconRecord() const { return trayRecord_; }

  private:
    CommandButton& Button(PlayerKind mode) const;
    Timer& ModeTimer(PlayerKind mode) const;
    // The tick's work after the guard; false when the error trap is to run.
    bool Poll(PlayerKind mode);
    void ErrorTrap(PlayerKind mode);
    // Shows a box from a tick; false when the form was unloaded while it was open.
    bool ShowTickBox(TextView text, int style);
    // The mode is on and the window loaded: checked again after every wait on another program.
    bool Running(PlayerKind mode) const;
    // Sends while the window stays loaded, and `forMode`, when given, stays on.
    void Send(const NowPlayingRequest& request, std::optional<PlayerKind> forMode);
    void SendEmpty(bool show, std::optional<PlayerKind> forMode);
    // A song with the format box's text, to be shown.
    void SendSong(Text title, Text artist, std::optional<PlayerKind> forMode);
    Text Setting(TextView section, TextView key) const;

    MainFormControls c_;
    WindowSystem& windows_;
    MessageBoxes& boxes_;
    ProfileStore& profile_;
    MainFormHost& host_;

    TrayRecord trayRecord_;
    bool trayAdded_ = false;  // an add has been asked for since load
    bool tickBoxOpen_ = false;
    bool unloaded_ = false;
};

}  // namespace tunewick
