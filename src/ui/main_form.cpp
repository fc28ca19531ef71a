#include "ui/main_form.h"

#include <exception>
#include <utility>
#include <variant>

#include "settings/settings_file.h"

namespace tunewick {

namespace {

constexpr TextView kErrorTitle = u"Error";
constexpr TextView kTrapMessage = u"Error changing personal message";
constexpr TextView kSetTitle = u"Set Custom Message?";
constexpr TextView kSetQuestion =
    u"                             Tunewick is currently taking songs from RealPlayer\r\n"
    u"Do you still wish to set a custom message? (It will be changed back on the next timer "
    u"run)";
constexpr TextView kTrayTip = u"Tunewick";
constexpr TextView kCreditCaption = u"Tunewick\r\nBy Vantor";

}  // namespace

MainForm::MainForm(const MainFormControls& controls, const MainFormPeers& peers, MainFormHost& host)
    : c_(controls), p_(peers), host_(host) {}

CommandButton& MainForm::Button(PlayerKind mode) const {
    return c_.modeButtons[ModeIndex(mode)];
}

Timer& MainForm::ModeTimer(PlayerKind mode) const {
    return c_.modeTimers[ModeIndex(mode)];
}

bool MainForm::Running(PlayerKind mode) const {
    return !unloaded_ && ModeTimer(mode).Enabled();
}

void MainForm::Send(const NowPlayingRequest& request, std::optional<PlayerKind> forMode) {
    SendNowPlaying(p_.windows, request,
                   [this, forMode] { return forMode ? Running(*forMode) : !unloaded_; });
}

NowPlayingRequest MainForm::Song(Text title, Text artist) const {
    return {.title = std::move(title), .artist = std::move(artist), .format = c_.formatBox.Value()};
}

void MainForm::ToggleMode(PlayerKind mode) {
    const PlayerMode& info = ModeOf(mode);
    const bool switchOn = Button(mode).Caption() != info.onCaption;
    Button(mode).SetCaption(switchOn ? info.onCaption : info.offCaption);
    ModeTimer(mode).SetEnabled(switchOn);
    // Switching on sends nothing: the first update comes with the first tick.
    if (!switchOn) {
        Send({}, std::nullopt);
    }
}

void MainForm::SwitchOffWithBox(PlayerKind mode, TextView text, BoxKind kind) {
    tickBoxOpen_ = true;
    p_.boxes.Show(text, kind, kErrorTitle);
    tickBoxOpen_ = false;
    // The toggle switches the mode off; had the user done so while the box was open, it would
    // switch it back on, so then the mode is left alone.
    if (Running(mode)) {
        ToggleMode(mode);
    }
}

void MainForm::PollTick(PlayerKind mode) {
    // A stale tick of a mode switched off meanwhile, or one that arrives during a tick's
    // box or after the window unloaded, has nothing to do.
    if (unloaded_ || tickBoxOpen_ || !ModeTimer(mode).Enabled()) {
        return;
    }

    // Guard: the other modes in this mode's fixed order.
    for (const PlayerKind other : ModeOf(mode).guardOrder) {
        if (!ModeTimer(other).Enabled()) {
            continue;
        }
        const Text message = Text(ModeOf(other).name) +
                             u" is already activated! Please deactivate it to use " +
                             Text(ModeOf(mode).name);
        SwitchOffWithBox(mode, message, BoxKind::Error);
        // The mode is off now: reading its player and sending would speak for a mode that
        // no longer runs.
        return;
    }

    bool polled = false;
    try {
        polled = Poll(mode);
    } catch (const std::exception&) {
        polled = false;  // a failure of the toolkit underneath goes to the trap as well
    }
    if (!polled) {
        SwitchOffWithBox(mode, kTrapMessage, BoxKind::Warning);
    }
}

bool MainForm::Poll(PlayerKind mode) {
    const PlayerMode& info = ModeOf(mode);
    const PlayerTitle read = ReadPlayerTitle(p_.windows, info.windowClass);
    if (!Running(mode)) {
        // The window unloaded or the mode went off while the player was asked: what it
        // answered is for nobody now.
        return true;
    }
    if (read.status != TitleReadStatus::Read) {
        // A player that did not answer in time is asked again on the next tick.
        return read.status == TitleReadStatus::NotRead;
    }

    if (read.window == WindowHandle::None) {
        // The player is not running. RealPlayer mode asks the messenger to show the empty
        // record, the other two to hide it.
        Send({.show = mode == PlayerKind::RealPlayer}, mode);
        if (Running(mode)) {
            ModeTimer(mode).SetEnabled(false);
            Button(mode).SetCaption(info.offCaption);
        }
        return true;
    }

    const CutResult cut = CutTitle(mode, read.title);
    const SongInfo* song = std::get_if<SongInfo>(&cut);
    if (song == nullptr) {
        return false;
    }
    Send(Song(song->title, song->artist), mode);
    if (Running(mode) && c_.followPlayerBox.Value() == 1) {
        c_.artistBox.SetValue(song->artist);
        c_.songBox.SetValue(song->title);
    }
    return true;
}

void MainForm::SendCustomMessage() {
    // Only the RealPlayer mode is asked about; the other modes' next tick simply overwrites.
    const bool wanted = !ModeTimer(PlayerKind::RealPlayer).Enabled() ||
                        p_.boxes.Show(kSetQuestion, BoxKind::Question, kSetTitle) == BoxAnswer::Yes;
    // The box may have stayed open while the session ended.
    if (wanted && !unloaded_) {
        Send(Song(c_.songBox.Value(), c_.artistBox.Value()), std::nullopt);
    }
}

void MainForm::OpenHelp() {
    p_.help.Show();
}

void MainForm::OpenOptions() {
    p_.options.Show();
}

void MainForm::MinimizeToTray() {
    tray_.asked = true;
    // A minimized window needs no pending hide: the watcher sends it to the tray for as long as
    // it stays minimized, and one the user restored meanwhile is wanted on the screen.
    tray_.hidePending = !host_.Minimized();
    AddIconThenHide();
}

void MainForm::AddIconThenHide() {
    // Hidden without an icon, the window could not be reached at all, and Tunewick would go on
    // publishing. Until the shell shows the icon (at log-on it may be busy or not there yet,
    // and no "TaskbarCreated" follows a timed-out add) the window stays as it is; one in the
    // tray whose icon the shell lost and will not take back comes out until it does.
    if (!p_.tray.Add(tray_.icon)) {
        if (tray_.inTray) {
            tray_.inTray = false;
            tray_.hidePending = !host_.Minimized();
            host_.ShowMainWindow();
        }
        return;
    }
    if (tray_.hidePending || host_.Minimized()) {
        tray_.hidePending = false;
        tray_.inTray = true;
        host_.HideMainWindow();
    }
}

void MainForm::CheckForMinimize() {
    if (unloaded_) {
        return;
    }
    if (host_.Minimized()) {
        MinimizeToTray();
    } else if (tray_.hidePending) {
        AddIconThenHide();
    }
}

void MainForm::TrayIconEvent(TrayEvent event) {
    if (event == TrayEvent::DoubleClick) {
        ShowFromTray();
    } else if (event == TrayEvent::RightButtonDown) {
        p_.tray.PopUpMenu();
    }
}

void MainForm::ShowFromTray() {
    tray_.hidePending = false;
    tray_.inTray = false;
    host_.ShowMainWindow();
    host_.Restore();
}

void MainForm::CloseFromTray() {
    p_.help.Close();
    host_.CloseMainWindow();
}

Text MainForm::Setting(TextView section, TextView key) const {
    // The path is formed afresh for every read.
    return ReadSetting(p_.profile, section, key, SettingsPath(host_.ProgramDirectory()));
}

bool MainForm::Load() {
    c_.creditLine.SetCaption(kCreditCaption);
    tray_.icon = TrayIcon{host_.MainWindowHandle(), host_.IconHandle(), Text(kTrayTip)};

    if (Setting(u"General", u"Minimize_Startup") == u"1") {
        MinimizeToTray();
    }
    if (const PlayerMode* mode = ModeForSettingsWord(Setting(u"Defaults", u"Player"))) {
        ToggleMode(mode->player);
    }

    // Empty values replace the designed texts too.
    c_.artistBox.SetValue(Setting(u"Defaults", u"Artist"));
    c_.songBox.SetValue(Setting(u"Defaults", u"Song"));
    c_.formatBox.SetValue(Setting(u"Defaults", u"Format"));
    return tray_.inTray;
}

void MainForm::Unload() {
    if (unloaded_) {
        return;
    }
    unloaded_ = true;
    // Removed whether or not it was ever added.
    p_.tray.Remove(tray_.icon);
    // Unconditional: the one record that must reach every messenger.
    SendNowPlaying(p_.windows, NowPlayingRequest{});
    p_.help.Close();
    // The timers end with the window; no mode's toggle runs, so no further record goes out.
    for (Timer& timer : c_.modeTimers) {
        timer.SetEnabled(false);
    }
    c_.minimizeWatcher.SetEnabled(false);
}

void MainForm::TaskbarCreated() {
    if (tray_.asked && !unloaded_) {
        AddIconThenHide();
    }
}

void MainForm::SessionEnd() {
    // Windows ends a program a few seconds after the session's end: the clearing record's sends
    // share one bound, however many messengers hang, rather than taking one each.
    constexpr std::chrono::milliseconds kAllSends{3000};
    p_.windows.LimitWaitsTogether(kAllSends);
    Unload();
}

}  // namespace tunewick
