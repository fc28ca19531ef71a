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
#include "ui/tray.h"

namespace tunewick {

inline constexpr std::chrono::milliseconds kModeInterval{5000};     // each mode's poll
inline constexpr std::chrono::milliseconds kWatcherInterval{2000};  // the minimize watcher

// The format box's text as the window is created; Load replaces it. (The mode buttons start
// with their modes' off captions.)
inline constexpr TextView kDesignedFormat = u"{0} - {1}";

// What the main window's logic asks of its own window. The Win32 layer implements it over the
// real window; tests record the calls.
class MainFormHost {
  public:
    virtual ~MainFormHost() = default;

    virtual WindowHandle MainWindowHandle() const = 0;
    virtual std::uintptr_t IconHandle() const = 0;  // the main window's icon
    virtual Text ProgramDirectory() const = 0;      // where settings.cfg lives

    virtual void ShowMainWindow() = 0;
    virtual void HideMainWindow() = 0;
    virtual bool Minimized() const = 0;
    virtual void Restore() = 0;  // a minimized window to its size; nothing for another
    // Closes (unloads) the main window; the window's unload runs MainForm::Unload.
    virtual void CloseMainWindow() = 0;
};

// What the main window's logic works with besides its own window and controls.
struct MainFormPeers {
    WindowSystem& windows;  // the players and messengers
    MessageBoxes& boxes;
    ProfileStore& profile;
    TrayShell& tray;
    SecondaryWindow& help;
    SecondaryWindow& options;
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
//
// Waits. A handler waits in three places: while a player is asked for its caption, while each
// messenger takes the record (both bounded sends to other programs), and while a message box
// is open. Meanwhile the window goes on taking the messages sent to it, so any other handler
// may run in the middle of the waiting one: a tick, a button, the tray menu, the end of the
// session. Hence after every wait the form checks again that what it was doing is still
// wanted (the window still loaded, the tick's mode still on) and stops there if not, and a
// tick that comes while a tick's box is open is skipped, not queued. What the shutdown or a
// switch-off sent stays the last record each messenger gets, and a tick that lost its mode
// writes nothing into the artist and song boxes.
class MainForm {
  public:
    MainForm(const MainFormControls& controls, const MainFormPeers& peers, MainFormHost& host);

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
    // "Minimize To Tray": the window hides once the tray icon is there. While the shell refuses
    // the icon, the window stays where the user can reach it (on the screen, or minimized on
    // the taskbar) and the watcher asks the shell again.
    void MinimizeToTray();
    // The watcher's timer: a minimized window goes to the tray, and a hide that waits for the
    // icon tries the icon again.
    void CheckForMinimize();

    void TrayIconEvent(TrayEvent event);
    // The tray menu's "Show"; a hide still waiting for the icon is called off.
    void ShowFromTray();
    void CloseFromTray();  // the tray menu's "Close"

    // Start-up, before the window is first shown. True when it put the window into the tray,
    // where it stays unseen.
    bool Load();
    // Shutdown. Runs once; later calls (a close after the session ended) do nothing.
    void Unload();

    // The shell's "TaskbarCreated": the shell restarted, so an icon that had been added is
    // gone; add it again (and hide the window, if that waited for the icon). A window in the
    // tray comes out while the new shell refuses the icon.
    void TaskbarCreated();
    // The session ends (the user logs off, or the system shuts down): run the shutdown as a
    // close would.
    void SessionEnd();

  private:
    CommandButton& Button(PlayerKind mode) const;
    Timer& ModeTimer(PlayerKind mode) const;
    // The tick's work after the guard; false when the error trap is to run.
    bool Poll(PlayerKind mode);
    // Shows a box from a tick, then switches the tick's mode off if it is still running.
    void SwitchOffWithBox(PlayerKind mode, TextView text, BoxKind kind);
    // The mode is on and the window loaded: checked again after every wait (see "Waits").
    bool Running(PlayerKind mode) const;
    // Sends while the window stays loaded, and `forMode`, when given, stays on.
    void Send(const NowPlayingRequest& request, std::optional<PlayerKind> forMode);
    // A song with the format box's text, to be shown.
    NowPlayingRequest Song(Text title, Text artist) const;
    // Asks the shell for the icon; once it is there, a pending hide happens.
    void AddIconThenHide();
    Text Setting(TextView section, TextView key) const;

    MainFormControls c_;
    MainFormPeers p_;
    MainFormHost& host_;
    TrayState tray_;
    bool tickBoxOpen_ = false;
    bool unloaded_ = false;
};

}  // namespace tunewick
