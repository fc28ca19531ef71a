#include "ui/main_form.h"

#include <gtest/gtest.h>

#include <climits>

#include "core/now_playing.h"
#include "form_doubles.h"
#include "settings/settings_file.h"
#include "utf8.h"

namespace tunewick::testing {
namespace {

using std::chrono::milliseconds;
using Shown = ScriptedBoxes::Shown;

Text Record(TextView title, TextView artist, TextView format, bool show = true) {
    return BuildNowPlayingRecord({Text(title), Text(artist), u"", u"", Text(format), show});
}

Text EmptyRecord(bool show) {
    return Record(u"", u"", u"", show);
}

constexpr TextView kRealPlayerClass = u"geminiwindowclass";
constexpr TextView kWinampClass = u"winamp v1.x";
constexpr TextView kXMPlayClass = u"xmplay-main";
// The icon the form puts into the tray for FakeMainHost's window.
const TrayIcon kTrayIcon{FakeMainHost::kWindow, FakeMainHost::kIcon, u"Tunewick"};

class MainFormTest : public ::testing::Test, protected MainFormRig {
  protected:
    static constexpr PlayerKind kReal = PlayerKind::RealPlayer;
    static constexpr PlayerKind kWinamp = PlayerKind::Winamp;
    static constexpr PlayerKind kXM = PlayerKind::XMPlay;

    MainFormTest() { windows.Open(u"MsnMsgrUIManager"); }

    void Click(PlayerKind mode) { form.ToggleMode(mode); }
    void Tick(PlayerKind mode) { form.PollTick(mode); }
    static TextView PlayerClass(PlayerKind mode) {
        return mode == kReal ? kRealPlayerClass : mode == kWinamp ? kWinampClass : kXMPlayClass;
    }
    std::vector<Text> Records() const { return windows.DeliveredRecords(); }
    void Advance(int ms) { clock.Advance(milliseconds(ms)); }
    void Forget() {
        windows.ClearDeliveries();
        boxes.shown.clear();
        log.clear();
    }
};

// --- Toggles ---------------------------------------------------------------------------------

TEST_F(MainFormTest, ToggleSwitchesOnSilentlyAndOffWithOneEmptyRecord) {
    struct Row {
        PlayerKind mode;
        TextView off;
        TextView on;
    };
    for (const Row& row : {Row{kReal, u"Activate Ospray", u"Deactivate Ospray"},
                           Row{kWinamp, u"Activate Kestrin", u"Deactivate Kestrin"},
                           Row{kXM, u"Activate Lumbrel", u"Deactivate Lumbrel"}}) {
        SCOPED_TRACE(ToUtf8(row.on));
        Forget();
        Click(row.mode);
        EXPECT_EQ(Button(row.mode).Caption(), row.on);
        EXPECT_TRUE(ModeTimer(row.mode).Enabled());
        EXPECT_TRUE(Records().empty());

        Click(row.mode);
        EXPECT_EQ(Button(row.mode).Caption(), row.off);
        EXPECT_FALSE(ModeTimer(row.mode).Enabled());
        EXPECT_EQ(Records(), std::vector<Text>{EmptyRecord(true)});
        EXPECT_TRUE(boxes.shown.empty());
    }
}

TEST_F(MainFormTest, ModesDoNotBlockEachOtherAtTheButton) {
    form.ToggleMode(kReal);
    form.ToggleMode(kWinamp);
    form.ToggleMode(kXM);
    EXPECT_TRUE(realPlayerTimer.Enabled() && winampTimer.Enabled() && xmplayTimer.Enabled());
    EXPECT_TRUE(boxes.shown.empty());
}

// --- Ticks: player found ---------------------------------------------------------------------

TEST_F(MainFormTest, TickSendsTheCutCaptionWithTheFormatOneIntervalAfterSwitchingOn) {
    struct Row {
        PlayerKind mode;
        TextView caption;
        TextView title;
        TextView artist;
    };
    for (const Row& row : {
             Row{kReal, u"RealPlayer: Some Song - Some Band", u"Some Song", u"Some Band"},
             Row{kWinamp, u"12. Some Band - Some Song - Winamp", u"Some Song", u"Some Band"},
             Row{kXM, u"Some Band - Some Song", u"Some Song", u"Some Band"},
             // Unicode all the way: nothing passes through a code page.
             Row{kXM, u"Bj\u00f6rk \u00c6ther - \u6b4c \U0001D11E", u"\u6b4c \U0001D11E",
                 u"Bj\u00f6rk \u00c6ther"},
         }) {
        SCOPED_TRACE(ToUtf8(row.caption));
        Forget();
        const WindowHandle player = windows.Open(PlayerClass(row.mode), row.caption);
        formatBox.SetValue(u"{1} sings {0}");
        followPlayerBox.SetValue(1);
        Click(row.mode);

        Advance(4999);
        EXPECT_TRUE(Records().empty());
        Advance(1);
        EXPECT_EQ(Records(), std::vector<Text>{Record(row.title, row.artist, u"{1} sings {0}")});
        EXPECT_EQ(artistBox.Value(), row.artist);
        EXPECT_EQ(songBox.Value(), row.title);
        EXPECT_TRUE(ModeTimer(row.mode).Enabled());

        // Every further tick sends again, following the caption.
        windows.SetCaption(player, u"123456789012. A - B - C");
        Advance(5000);
        ASSERT_EQ(Records().size(), 2u);
        EXPECT_NE(Records()[1], Records()[0]);
        EXPECT_TRUE(boxes.shown.empty());

        Click(row.mode);
        windows.Close(player);
    }
}

TEST_F(MainFormTest, UpdateWithTimersCopiesOnlyWhenCheckedExactly) {
    windows.Open(kXMPlayClass, u"Some Band - Some Song");
    for (const int value : {0, 1, 2}) {
        SCOPED_TRACE(value);
        artistBox.SetValue(u"typed artist");
        songBox.SetValue(u"typed song");
        followPlayerBox.SetValue(value);
        form.ToggleMode(kXM);
        Advance(5000);
        EXPECT_EQ(artistBox.Value(), value == 1 ? u"Some Band" : u"typed artist");
        EXPECT_EQ(songBox.Value(), value == 1 ? u"Some Song" : u"typed song");
        form.ToggleMode(kXM);
    }
}

TEST_F(MainFormTest, EmptyFormatIsSentAsAnEmptyField) {
    windows.Open(kWinampClass, u"3. Band - Song - Winamp");
    formatBox.SetValue(u"");
    form.ToggleMode(kWinamp);
    Advance(5000);
    EXPECT_EQ(Records(), std::vector<Text>{Record(u"Song", u"Band", u"")});
}

// --- Ticks: player gone ----------------------------------------------------------------------

TEST_F(MainFormTest, PlayerNotRunningSwitchesTheModeOffSilently) {
    struct Row {
        PlayerKind mode;
        bool show;  // RealPlayer mode shows the empty record, the other two hide it
        TextView off;
    };
    for (const Row& row :
         {Row{kReal, true, u"Activate Ospray"}, Row{kWinamp, false, u"Activate Kestrin"},
          Row{kXM, false, u"Activate Lumbrel"}}) {
        SCOPED_TRACE(ToUtf8(row.off));
        Forget();
        Click(row.mode);
        Advance(5000);
        EXPECT_EQ(Records(), std::vector<Text>{EmptyRecord(row.show)});
        EXPECT_EQ(Button(row.mode).Caption(), row.off);
        EXPECT_FALSE(ModeTimer(row.mode).Enabled());
        EXPECT_TRUE(boxes.shown.empty());
        Advance(20000);
        EXPECT_EQ(Records().size(), 1u);
    }
}

// --- Ticks: guard ----------------------------------------------------------------------------

TEST_F(MainFormTest, GuardReportsTheFirstOtherModeOnAndSwitchesItsOwnModeOff) {
    struct Row {
        PlayerKind ticking;
        std::vector<PlayerKind> othersOn;
        TextView message;
    };
    const Row rows[] = {
        {kReal, {kWinamp}, u"Kestrin is already activated! Please deactivate it to use Ospray"},
        {kReal, {kXM}, u"Lumbrel is already activated! Please deactivate it to use Ospray"},
        {kWinamp, {kXM}, u"Lumbrel is already activated! Please deactivate it to use Kestrin"},
        {kWinamp, {kReal}, u"Ospray is already activated! Please deactivate it to use Kestrin"},
        {kXM, {kWinamp}, u"Kestrin is already activated! Please deactivate it to use Lumbrel"},
        {kXM, {kReal}, u"Ospray is already activated! Please deactivate it to use Lumbrel"},
        // Both others on: the fixed order decides which one is named.
        {kReal,
         {kXM, kWinamp},
         u"Kestrin is already activated! Please deactivate it to use Ospray"},
        {kWinamp,
         {kReal, kXM},
         u"Lumbrel is already activated! Please deactivate it to use Kestrin"},
        {kXM,
         {kReal, kWinamp},
         u"Kestrin is already activated! Please deactivate it to use Lumbrel"},
    };
    // Every player runs with a caption that cuts, so a tick that went on would send it.
    windows.Open(kRealPlayerClass, u"RealPlayer: Song - Band");
    windows.Open(kWinampClass, u"1. Band - Song - Winamp");
    windows.Open(kXMPlayClass, u"Band - Song");
    for (const Row& row : rows) {
        SCOPED_TRACE(ToUtf8(row.message));
        Click(row.ticking);
        for (const PlayerKind other : row.othersOn) {
            Click(other);
        }
        Forget();

        Tick(row.ticking);
        EXPECT_EQ(boxes.shown, (std::vector<Shown>{{Text(row.message), BoxKind::Error, u"Error"}}));
        EXPECT_FALSE(ModeTimer(row.ticking).Enabled());
        EXPECT_EQ(Button(row.ticking).Caption().rfind(u"Activate", 0), 0u);
        // The box comes first, then the toggle's empty record, and the tick ends there.
        EXPECT_EQ(log.front(), "box:" + ToUtf8(row.message));
        EXPECT_EQ(Records(), std::vector<Text>{EmptyRecord(true)});
        for (const PlayerKind other : row.othersOn) {
            EXPECT_TRUE(ModeTimer(other).Enabled());
            Click(other);
        }
    }
}

TEST_F(MainFormTest, GuardedTickThatWouldFailDoesNotSwitchItsModeBackOn) {
    // Winamp's caption does not fit; the guard switches the mode off first, and the tick must
    // not go on to fail and let the error trap flip it on again.
    windows.Open(kWinampClass, u"Winamp 5.08");
    form.ToggleMode(kWinamp);
    form.ToggleMode(kXM);
    form.PollTick(kWinamp);
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, BoxKind::Error);
    EXPECT_FALSE(winampTimer.Enabled());
    EXPECT_EQ(winampButton.Caption(), u"Activate Kestrin");
    EXPECT_EQ(Records(), std::vector<Text>{EmptyRecord(true)});
}

TEST_F(MainFormTest, SecondModeSwitchedOnLaterIsKeptWhileTheEarlierOneGivesWay) {
    windows.Open(kWinampClass, u"1. Band - Song - Winamp");
    windows.Open(kXMPlayClass, u"Other Band - Other Song");
    form.ToggleMode(kWinamp);
    Advance(1000);
    form.ToggleMode(kXM);
    Advance(4000);  // Winamp's tick comes first and gives way
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_FALSE(winampTimer.Enabled());
    EXPECT_TRUE(xmplayTimer.Enabled());
    Advance(1000);  // XMPlay's first tick finds no other mode on
    EXPECT_EQ(Records(), (std::vector<Text>{EmptyRecord(true), Record(u"Other Song", u"Other Band",
                                                                      kDesignedFormat)}));
    EXPECT_EQ(boxes.shown.size(), 1u);
}

// --- Ticks: error trap -----------------------------------------------------------------------

TEST_F(MainFormTest, CaptionThatDoesNotFitGoesToTheErrorTrap) {
    struct Row {
        PlayerKind mode;
        TextView caption;
        std::optional<std::int32_t> reportedLength;
    };
    const Row rows[] = {
        {kWinamp, u"Winamp 5.08", {}},  // no playlist position: no second piece
        {kWinamp, u"Winamp", {}},       // no "." at all
        {kWinamp, u"12.", {}},          // nothing after the position
        {kXM, u"XMPlay", {}},           // no "-"
        {kXM, u"", {}},                 // an empty caption
        {kReal, u"RealPlayer", {}},     // shorter than the prefix
        {kReal, u"RealPlayer: ", {}},   // exactly the prefix
        {kXM, u"A - B", INT32_MAX},     // the caption length leaves no room
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(ToUtf8(row.caption));
        Forget();
        const WindowHandle player = windows.Open(PlayerClass(row.mode), row.caption);
        if (row.reportedLength) {
            windows.SetReportedLength(player, *row.reportedLength);
        }
        followPlayerBox.SetValue(1);
        artistBox.SetValue(u"kept");
        Click(row.mode);
        Advance(5000);
        EXPECT_EQ(
            boxes.shown,
            (std::vector<Shown>{{u"Error changing personal message", BoxKind::Warning, u"Error"}}));
        EXPECT_FALSE(ModeTimer(row.mode).Enabled());
        EXPECT_EQ(Button(row.mode).Caption().rfind(u"Activate ", 0), 0u);
        // The box first, then the toggle's empty record with show = true.
        EXPECT_EQ(log.back(), "send");
        EXPECT_EQ(Records(), std::vector<Text>{EmptyRecord(true)});
        EXPECT_EQ(artistBox.Value(), u"kept");
        windows.Close(player);
    }
}

// --- Sound behaviour around ticks ------------------------------------------------------------

TEST_F(MainFormTest, TicksWhileATickBoxIsOpenAreSkippedNotQueued) {
    windows.Open(kXMPlayClass, u"Band - Song");
    form.ToggleMode(kWinamp);  // due at 5000, 10000, ...
    Advance(1000);
    form.ToggleMode(kXM);  // due at 6000, 11000, 16000, ...
    int xmFiredDuringBox = 0;
    boxes.duringNextBox = [&] {
        const int before = xmplayTimer.Fired();
        Advance(7000);  // the box stays open from 5000 to 12000
        xmFiredDuringBox = xmplayTimer.Fired() - before;
    };
    Advance(4000);  // Winamp's tick at 5000 finds XMPlay on and opens its box

    EXPECT_EQ(xmFiredDuringBox, 2);  // the ticks at 6000 and 11000 came and were skipped
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(Records(), std::vector<Text>{EmptyRecord(true)});
    EXPECT_FALSE(winampTimer.Enabled());
    EXPECT_TRUE(xmplayTimer.Enabled());

    // XMPlay resumes with its next interval after the box closed.
    Advance(3999);
    EXPECT_EQ(Records().size(), 1u);
    Advance(1);
    EXPECT_EQ(Records().back(), Record(u"Song", u"Band", kDesignedFormat));
}

TEST_F(MainFormTest, FailingCaptionOpensOneBoxNotOneEveryInterval) {
    windows.Open(kWinampClass, u"Winamp 5.08");
    form.ToggleMode(kWinamp);
    boxes.duringNextBox = [&] { Advance(30000); };
    Advance(5000);
    EXPECT_GE(winampTimer.Fired(), 6);
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_FALSE(winampTimer.Enabled());
    EXPECT_EQ(Records(), std::vector<Text>{EmptyRecord(true)});
}

TEST_F(MainFormTest, ModeSwitchedOffWhileItsTickBoxIsOpenStaysOff) {
    windows.Open(kXMPlayClass, u"no hyphen");
    // The trap's box, then a guard's box: each time the user switches the mode off by hand
    // while the box is open, and the tick's own toggle must not switch it back on.
    form.ToggleMode(kXM);
    boxes.duringNextBox = [&] { form.ToggleMode(kXM); };
    Advance(5000);
    EXPECT_EQ(boxes.shown.at(0).kind, BoxKind::Warning);
    EXPECT_FALSE(xmplayTimer.Enabled());
    EXPECT_EQ(xmplayButton.Caption(), u"Activate Lumbrel");

    form.ToggleMode(kXM);
    form.ToggleMode(kReal);
    boxes.duringNextBox = [&] { form.ToggleMode(kXM); };
    form.PollTick(kXM);
    EXPECT_EQ(boxes.shown.at(1).kind, BoxKind::Error);
    EXPECT_FALSE(xmplayTimer.Enabled());
    EXPECT_EQ(xmplayButton.Caption(), u"Activate Lumbrel");
    // Only the two hand toggles sent anything.
    EXPECT_EQ(Records(), (std::vector<Text>{EmptyRecord(true), EmptyRecord(true)}));
}

TEST_F(MainFormTest, CaptionNotReadInTimeSendsNothingAndKeepsTheMode) {
    const WindowHandle player = windows.Open(kWinampClass, u"7. Band - Song - Winamp");
    windows.SetHung(player, true);
    form.ToggleMode(kWinamp);
    Advance(10000);
    EXPECT_TRUE(Records().empty());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(winampTimer.Enabled());
    EXPECT_EQ(winampButton.Caption(), u"Deactivate Kestrin");

    windows.SetHung(player, false);
    Advance(5000);
    EXPECT_EQ(Records(), std::vector<Text>{Record(u"Song", u"Band", kDesignedFormat)});
}

// --- Custom message --------------------------------------------------------------------------

TEST_F(MainFormTest, SetSendsTheBoxesAtOnceWhileTheRealPlayerModeIsOff) {
    struct Row {
        TextView song;
        TextView artist;
        TextView format;
        std::vector<PlayerKind> modesOn;
    };
    const Row rows[] = {
        {u"", u"", u"", {}},
        {u"My Song", u"My Band", u"{0} by {1}", {}},
        {u"S", u"A", u"{0} - {1}", {kWinamp, kXM}},  // only RealPlayer mode asks
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(ToUtf8(row.song));
        for (const PlayerKind mode : row.modesOn) {
            Click(mode);
        }
        Forget();
        songBox.SetValue(row.song);
        artistBox.SetValue(row.artist);
        formatBox.SetValue(row.format);
        form.SendCustomMessage();
        EXPECT_TRUE(boxes.shown.empty());
        EXPECT_EQ(Records(), std::vector<Text>{Record(row.song, row.artist, row.format)});
        for (const PlayerKind mode : row.modesOn) {
            EXPECT_TRUE(ModeTimer(mode).Enabled());
            Click(mode);
        }
    }
}

TEST_F(MainFormTest, SetAsksFirstWhileTheRealPlayerModeIsOn) {
    const Shown question{
        u"                             Tunewick is currently taking songs from RealPlayer\r\n"
        u"Do you still wish to set a custom message? (It will be changed back on the next "
        u"timer run)",
        BoxKind::Question, u"Set Custom Message?"};
    windows.Open(kRealPlayerClass, u"RealPlayer: Real Song - Real Band");
    form.ToggleMode(kReal);
    songBox.SetValue(u"Custom");
    artistBox.SetValue(u"Me");

    for (const BoxAnswer answer : {BoxAnswer::No, BoxAnswer::Cancel, BoxAnswer::Ok}) {
        Forget();
        boxes.answers = {answer};
        form.SendCustomMessage();
        EXPECT_EQ(boxes.shown, std::vector<Shown>{question});
        EXPECT_TRUE(Records().empty());
        EXPECT_EQ(songBox.Value(), u"Custom");
        EXPECT_EQ(artistBox.Value(), u"Me");
    }

    Forget();
    boxes.answers = {BoxAnswer::Yes};
    form.SendCustomMessage();
    EXPECT_EQ(boxes.shown, std::vector<Shown>{question});
    EXPECT_EQ(Records(), std::vector<Text>{Record(u"Custom", u"Me", kDesignedFormat)});
    EXPECT_TRUE(realPlayerTimer.Enabled());
    EXPECT_EQ(realPlayerButton.Caption(), u"Deactivate Ospray");
    Advance(5000);  // the mode's next tick replaces the custom message
    EXPECT_EQ(Records().back(), Record(u"Real Song", u"Real Band", kDesignedFormat));
}

// --- Tray ------------------------------------------------------------------------------------

TEST_F(MainFormTest, TrayEventsAreTheDoubleClickAndTheRightButton) {
    struct Row {
        TrayEvent event;
        EventLog expected;
    };
    const Row rows[] = {
        {TrayEvent::DoubleClick, {"show", "state=0"}},
        {TrayEvent::RightButtonDown, {"popup"}},
        {TrayEvent::Other, {}},  // a move over the icon, a single click
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.event));
        log.clear();
        form.TrayIconEvent(row.event);
        EXPECT_EQ(log, row.expected);
    }
}

TEST_F(MainFormTest, TrayNotificationsAreToldFromMovesOverTheWindow) {
    constexpr std::uint32_t kIconId = 1;
    constexpr int kFar = -600;  // the pointer over the icon, far from the window's client area
    struct Row {
        MouseMove move;
        bool notification;
    };
    const Row rows[] = {
        {{1, 516, kFar, kFar}, true},
        {{1, 512, 515, 40}, true},  // the pointer over the window, but not where the point says
        {{0, 516, 516, 0}, false},  // a move at x = 516 without buttons
        {{0, 515 | (40 << 16), 515, 40}, false},
        {{1, 516, 516, 0}, false},      // left button held, at the very point it carries
        {{2, 516, kFar, kFar}, false},  // another icon's id, or the right button
        {{1, 516 | (1 << 16), kFar, kFar}, false},  // y is part of the point
        {{1, -1, kFar, kFar}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.move.keyState << ", " << row.move.point << " at "
                                          << row.move.pointerX << "," << row.move.pointerY);
        EXPECT_EQ(IsTrayNotification(row.move, kIconId), row.notification);
    }
}

TEST_F(MainFormTest, MinimizeToTrayAddsTheIconThenHides) {
    form.Load();
    log.clear();
    form.MinimizeToTray();
    EXPECT_EQ(log, (EventLog{"add", "hide"}));
    // The window's own icon, with the program's name as its tip.
    EXPECT_EQ(host.icons, std::vector<TrayIcon>{kTrayIcon});
}

TEST_F(MainFormTest, WatcherSendsAMinimizedWindowToTheTrayOnEveryTickUntilRestored) {
    form.Load();
    log.clear();
    Advance(2000);
    EXPECT_TRUE(log.empty());

    host.state = 1;
    Advance(1999);
    EXPECT_TRUE(log.empty());
    Advance(1);
    EXPECT_EQ(log, (EventLog{"add", "hide"}));
    Advance(2000);  // still minimized: the add is tried again
    EXPECT_EQ(log, (EventLog{"add", "hide", "add", "hide"}));

    log.clear();
    form.TrayIconEvent(TrayEvent::DoubleClick);
    Advance(4000);
    EXPECT_EQ(log, (EventLog{"show", "state=0"}));
}

// At log-on the shell may refuse the icon (busy, or not there yet), and no "TaskbarCreated"
// follows. The window then stays where the user can reach it, the watcher asks the shell
// again on each tick, and the window goes to the tray once the icon is there.
TEST_F(MainFormTest, WindowGoesToTheTrayOnlyOnceTheShellTakesTheIcon) {
    enum class Asked { StartUp, Button, Minimize };
    enum class AtThreeSeconds { Nothing, Show, Restore, ShellRestarts, ShellRestartsRefusingTwice };
    struct Row {
        const char* name;
        Asked asked;
        int refused;  // adds the shell refuses first
        AtThreeSeconds meanwhile;
        const char* seen;  // the window at 0, 1, ... 10 s: Visible or Hidden
    };
    const Row rows[] = {
        {"Minimize On Startup", Asked::StartUp, 2, AtThreeSeconds::Nothing, "VVVVHHHHHHH"},
        {"the button", Asked::Button, 1, AtThreeSeconds::Nothing, "VVHHHHHHHHH"},
        {"a minimize, seen by the watcher", Asked::Minimize, 2, AtThreeSeconds::Nothing,
         "VVVVVVHHHHH"},
        {"the button, then Show (or a second start)", Asked::Button, 3, AtThreeSeconds::Show,
         "VVVVVVVVVVV"},
        {"a minimize, then restored by the user", Asked::Minimize, 3, AtThreeSeconds::Restore,
         "VVVVVVVVVVV"},
        {"the button, then a shell that takes it", Asked::Button, 99, AtThreeSeconds::ShellRestarts,
         "VVVHHHHHHHH"},
        {"in the tray, then a shell that refuses twice", Asked::Button, 0,
         AtThreeSeconds::ShellRestartsRefusingTwice, "HHHVVVHHHHH"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MainFormRig rig;
        rig.host.refuseAdds = row.refused;
        if (row.asked == Asked::StartUp) {
            rig.profile.Put(u"General", u"Minimize_Startup", u"1");
        }
        rig.form.Load();
        if (row.asked == Asked::Button) {
            rig.form.MinimizeToTray();
        } else if (row.asked == Asked::Minimize) {
            rig.host.state = 1;
        }
        std::string seen;
        for (int second = 0; second <= 10; ++second) {
            rig.clock.Advance(milliseconds(second == 0 ? 0 : 1000));
            if (second == 3) {
                switch (row.meanwhile) {
                    case AtThreeSeconds::Nothing:
                        break;
                    case AtThreeSeconds::Show:
                        rig.form.ShowFromTray();
                        break;
                    case AtThreeSeconds::Restore:
                        rig.host.state = 0;
                        break;
                    case AtThreeSeconds::ShellRestarts:
                    case AtThreeSeconds::ShellRestartsRefusingTwice:
                        rig.host.iconThere = false;
                        rig.host.refuseAdds =
                            row.meanwhile == AtThreeSeconds::ShellRestarts ? 0 : 2;
                        rig.form.TaskbarCreated();
                        break;
                }
            }
            seen += rig.host.visible ? 'V' : 'H';
        }
        EXPECT_EQ(seen, row.seen);
        EXPECT_EQ(rig.host.hiddenWithoutIcon, 0);
    }
}

TEST_F(MainFormTest, MenuShowRestoresAndCloseClosesHelpThenTheWindow) {
    form.Load();
    form.ShowFromTray();
    EXPECT_EQ(log.back(), "state=0");
    log.clear();
    form.CloseFromTray();
    // The window's close runs the shutdown, which closes the help window again if needed.
    EXPECT_EQ(log, (EventLog{"closeHelp", "close", "delete", "send", "closeHelp"}));
}

TEST_F(MainFormTest, HelpAndOptionsButtonsOpenTheirWindows) {
    form.OpenHelp();
    form.OpenOptions();
    form.OpenHelp();
    EXPECT_EQ(log, (EventLog{"showHelp", "showOptions", "showHelp"}));
}

TEST_F(MainFormTest, RestartedShellGetsTheIconBackOnlyIfItHadBeenAdded) {
    form.Load();
    form.TaskbarCreated();
    EXPECT_TRUE(host.icons.empty());

    form.MinimizeToTray();
    form.ShowFromTray();  // showing the window keeps the icon
    log.clear();
    form.TaskbarCreated();
    EXPECT_EQ(log, EventLog{"add"});
    EXPECT_EQ(host.icons.back(), kTrayIcon);

    form.Unload();
    log.clear();
    form.TaskbarCreated();
    EXPECT_TRUE(log.empty());
}

// --- Start-up --------------------------------------------------------------------------------

TEST_F(MainFormTest, StartUpWithoutASettingsFile) {
    form.Load();
    EXPECT_EQ(creditLine.Caption(), u"Tunewick\r\nBy Vantor");
    EXPECT_FALSE(profile.exists);
    EXPECT_TRUE(host.icons.empty());
    EXPECT_TRUE(host.visible);
    EXPECT_FALSE(realPlayerTimer.Enabled() || winampTimer.Enabled() || xmplayTimer.Enabled());
    EXPECT_EQ(artistBox.Value(), u"");
    EXPECT_EQ(songBox.Value(), u"");
    EXPECT_EQ(formatBox.Value(), u"");  // the designed "{0} - {1}" is gone
    EXPECT_TRUE(Records().empty());
    // Every read goes to settings.cfg beside the program.
    ASSERT_FALSE(profile.paths.empty());
    for (const Text& path : profile.paths) {
        EXPECT_EQ(path, u"C:\\Program Files\\Tunewick\\settings.cfg");
    }

    // Ticks then send an empty format.
    windows.Open(kXMPlayClass, u"Band - Song");
    form.ToggleMode(kXM);
    Advance(5000);
    EXPECT_EQ(Records(), std::vector<Text>{Record(u"Song", u"Band", u"")});
}

TEST_F(MainFormTest, StartUpGoesToTheTrayOnlyForMinimizeStartupExactlyOne) {
    for (const TextView value : {u"1", u"2", u"0", u"", u" 1", u"1 ", u"-1", u"true"}) {
        SCOPED_TRACE(ToUtf8(value));
        MemoryProfileStore store;
        store.Put(u"General", u"Minimize_Startup", value);
        FakeMainHost freshHost(log);
        MainForm fresh(Controls(), {windows, boxes, store, freshHost, help, options}, freshHost);
        log.clear();
        fresh.Load();
        const bool toTray = value == u"1";
        EXPECT_EQ(log, toTray ? (EventLog{"creditLine=Tunewick\r\nBy Vantor", "add", "hide"})
                              : EventLog{"creditLine=Tunewick\r\nBy Vantor"});
        EXPECT_EQ(freshHost.visible, !toTray);
    }
}

TEST_F(MainFormTest, StartUpSwitchesOnOnlyTheModeNamedExactly) {
    struct Row {
        TextView player;
        std::optional<PlayerKind> mode;
    };
    const Row rows[] = {
        {u"Realplayer", kReal}, {u"Winamp", kWinamp}, {u"XMPlay", kXM},
        {u"winamp", {}},        {u"realplayer", {}},  {u"RealPlayer", {}},
        {u"XMPLAY", {}},        {u"Winamp ", {}},     {u"", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(ToUtf8(row.player));
        MemoryProfileStore store;
        store.Put(u"Defaults", u"Player", row.player);
        for (const PlayerKind mode : {kReal, kWinamp, kXM}) {
            if (ModeTimer(mode).Enabled()) {
                Click(mode);
            }
        }
        Forget();
        MainForm fresh(Controls(), {windows, boxes, store, host, help, options}, host);
        fresh.Load();
        for (const PlayerKind mode : {kReal, kWinamp, kXM}) {
            EXPECT_EQ(ModeTimer(mode).Enabled(), row.mode == mode);
        }
        EXPECT_TRUE(Records().empty());  // switching on sends nothing
    }
}

TEST_F(MainFormTest, StartUpToTrayComesBeforeTheModeAndTheFirstTickComesAnIntervalLater) {
    profile.Put(u"General", u"Minimize_Startup", u"1");
    profile.Put(u"Defaults", u"Player", u"XMPlay");
    windows.Open(kXMPlayClass, u"Band - Song");
    form.Load();
    EXPECT_EQ(log, (EventLog{"creditLine=Tunewick\r\nBy Vantor", "add", "hide",
                             "xmplayButton=Deactivate Lumbrel"}));
    EXPECT_FALSE(host.visible);
    EXPECT_EQ(host.icons, std::vector<TrayIcon>{kTrayIcon});

    Advance(4999);
    EXPECT_TRUE(Records().empty());
    Advance(1);
    EXPECT_EQ(Records(), std::vector<Text>{Record(u"Song", u"Band", u"")});
}

TEST_F(MainFormTest, StartUpFillsTheBoxesFromTheFile) {
    profile.Put(u"Defaults", u"Artist", u"Default Band");
    profile.Put(u"Defaults", u"Song", u"Default \u00c9t\u00e9");
    form.Load();
    EXPECT_EQ(artistBox.Value(), u"Default Band");
    EXPECT_EQ(songBox.Value(), u"Default \u00c9t\u00e9");
    EXPECT_EQ(formatBox.Value(), u"");  // "Format" missing

    profile.Put(u"Defaults", u"Format", u"{1}: {0}");
    form.Load();
    EXPECT_EQ(formatBox.Value(), u"{1}: {0}");
}

TEST_F(MainFormTest, StartUpPathHasNoDoubledBackslashInADriveRoot) {
    host.directory = u"D:\\";
    form.Load();
    ASSERT_FALSE(profile.paths.empty());
    EXPECT_EQ(profile.paths.front(), u"D:\\settings.cfg");
}

// --- Shutdown --------------------------------------------------------------------------------

TEST_F(MainFormTest, ShutdownWithAModeOnSendsOneEmptyRecordAndNoTickFollows) {
    windows.Open(kWinampClass, u"1. Band - Song - Winamp");
    form.Load();
    form.ToggleMode(kWinamp);
    form.MinimizeToTray();
    Advance(5000);
    Forget();
    const int winFired = winampTimer.Fired();
    const int watcherFired = minimizeWatcher.Fired();

    form.Unload();
    EXPECT_EQ(log, (EventLog{"delete", "send", "closeHelp"}));
    EXPECT_EQ(Records(), std::vector<Text>{EmptyRecord(true)});
    EXPECT_EQ(host.icons.back(), kTrayIcon);
    // No toggle ran: the button still reads as it did.
    EXPECT_EQ(winampButton.Caption(), u"Deactivate Kestrin");

    host.state = 1;
    Advance(60000);
    form.PollTick(kWinamp);  // a tick already on its way when the window went
    EXPECT_EQ(winampTimer.Fired(), winFired);
    EXPECT_EQ(minimizeWatcher.Fired(), watcherFired);
    EXPECT_EQ(Records().size(), 1u);
}

TEST_F(MainFormTest, ShutdownRemovesTheIconEvenIfItWasNeverAdded) {
    form.Load();
    form.Unload();
    EXPECT_EQ(log.back(), "closeHelp");
    EXPECT_EQ(host.icons, std::vector<TrayIcon>{kTrayIcon});
    EXPECT_EQ(Records(), std::vector<Text>{EmptyRecord(true)});
}

TEST_F(MainFormTest, SessionEndRunsTheShutdownOnceEvenWhenTheWindowClosesAfter) {
    form.Load();
    form.ToggleMode(kXM);
    Forget();
    form.SessionEnd();
    form.CloseFromTray();
    EXPECT_EQ(log, (EventLog{"delete", "send", "closeHelp", "closeHelp", "close"}));
    EXPECT_EQ(Records(), std::vector<Text>{EmptyRecord(true)});
}

TEST_F(MainFormTest, ShutdownDuringATickBoxEndsTheTickThere) {
    windows.Open(kXMPlayClass, u"no hyphen");
    form.ToggleMode(kXM);
    boxes.duringNextBox = [&] { form.SessionEnd(); };
    Advance(5000);
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(Records(), std::vector<Text>{EmptyRecord(true)});  // the shutdown's only
}

// While a tick, "Set" or a toggle waits on another program, the window still takes the messages
// sent to it: the session ends, or the mode is switched off. What that sent stays the last
// record each messenger gets, and no box is written after it.
struct WaitCase {
    const char* name;
    MemoryWindowSystem::Wait wait;
    enum { kSessionEnds, kModeGoesOff } interruption;
    enum { kTick, kSet, kToggleOff } waiting;
    std::vector<Text> first;   // what the first messenger gets, in order
    std::vector<Text> second;  // what the second gets
};

void PrintTo(const WaitCase& c, std::ostream* out) {
    *out << c.name;
}

class InterruptedWait : public MainFormTest, public ::testing::WithParamInterface<WaitCase> {};

TEST_P(InterruptedWait, NothingFollowsWhatTheInterruptionSent) {
    const WaitCase& c = GetParam();
    const WindowHandle first = windows.FindNextTopLevel(kMessengerWindowClass, WindowHandle::None);
    windows.Open(kMessengerWindowClass);
    windows.Open(kWinampClass, u"1. Band - Song - Winamp");
    followPlayerBox.SetValue(1);
    artistBox.SetValue(u"Typed Artist");
    songBox.SetValue(u"Typed Song");
    form.ToggleMode(kWinamp);
    windows.DuringNext(c.wait, [&] {
        if (c.interruption == WaitCase::kSessionEnds) {
            form.SessionEnd();
        } else {
            form.ToggleMode(kWinamp);
        }
    });

    switch (c.waiting) {
        case WaitCase::kTick:
            Advance(5000);
            break;
        case WaitCase::kSet:
            form.SendCustomMessage();
            break;
        case WaitCase::kToggleOff:
            form.ToggleMode(kWinamp);
            break;
    }

    std::vector<Text> got[2];
    const std::vector<Text> records = Records();
    for (std::size_t i = 0; i < records.size(); ++i) {
        got[windows.Deliveries()[i].window == first ? 0 : 1].push_back(records[i]);
    }
    EXPECT_EQ(got[0], c.first);
    EXPECT_EQ(got[1], c.second);
    EXPECT_EQ(artistBox.Value(), u"Typed Artist") << "the tick wrote the boxes";
    EXPECT_FALSE(winampTimer.Enabled());
}

const Text kSong = Record(u"Song", u"Band", kDesignedFormat);
const Text kTyped = Record(u"Typed Song", u"Typed Artist", kDesignedFormat);
const Text kEmpty = EmptyRecord(true);
using Wait = MemoryWindowSystem::Wait;

INSTANTIATE_TEST_SUITE_P(MainForm, InterruptedWait,
                         ::testing::Values(WaitCase{"SessionEndsWhileATickReads",
                                                    Wait::CaptionRead,
                                                    WaitCase::kSessionEnds,
                                                    WaitCase::kTick,
                                                    {kEmpty},
                                                    {kEmpty}},
                                           WaitCase{"SessionEndsWhileATickSends",
                                                    Wait::CopyDataSend,
                                                    WaitCase::kSessionEnds,
                                                    WaitCase::kTick,
                                                    {kSong, kEmpty},
                                                    {kEmpty}},
                                           WaitCase{"ModeGoesOffWhileATickReads",
                                                    Wait::CaptionRead,
                                                    WaitCase::kModeGoesOff,
                                                    WaitCase::kTick,
                                                    {kEmpty},
                                                    {kEmpty}},
                                           WaitCase{"ModeGoesOffWhileATickSends",
                                                    Wait::CopyDataSend,
                                                    WaitCase::kModeGoesOff,
                                                    WaitCase::kTick,
                                                    {kSong, kEmpty},
                                                    {kEmpty}},
                                           WaitCase{"SessionEndsWhileSetSends",
                                                    Wait::CopyDataSend,
                                                    WaitCase::kSessionEnds,
                                                    WaitCase::kSet,
                                                    {kTyped, kEmpty},
                                                    {kEmpty}},
                                           WaitCase{"SessionEndsWhileAToggleSendsItsEmptyRecord",
                                                    Wait::CopyDataSend,
                                                    WaitCase::kSessionEnds,
                                                    WaitCase::kToggleOff,
                                                    {kEmpty, kEmpty},
                                                    {kEmpty}}),
                         [](const ::testing::TestParamInfo<WaitCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(MainFormTest, SessionEndingWhileSetAsksSendsNothingAfterTheShutdown) {
    form.ToggleMode(kReal);
    boxes.answers = {BoxAnswer::Yes};
    boxes.duringNextBox = [&] { form.SessionEnd(); };
    form.SendCustomMessage();
    EXPECT_EQ(Records(), std::vector<Text>{EmptyRecord(true)});
}

}  // namespace
}  // namespace tunewick::testing
