#include "ui/main_form.h"

#include <gtest/gtest.h>

#include <climits>

#include "core/now_playing.h"
#include "form_doubles.h"
#include "settings/settings_file.h"

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

class MainFormTest : public ::testing::Test {
  protected:
    enum Mode { kReal, kWinamp, kXM };

    MainFormTest() {
        Timer1.OnTick([this] { form.Timer1_Timer(); });
        tmrWin.OnTick([this] { form.tmrWin_Timer(); });
        tmrXM.OnTick([this] { form.tmrXM_Timer(); });
        tmrMiniCheck.OnTick([this] { form.tmrMiniCheck_Timer(); });
        host.onClose = [this] { form.Form_Unload(); };
        windows.Open(u"MsnMsgrUIManager");
    }

    void Click(Mode mode) {
        switch (mode) {
            case kReal:
                return form.cmdON_Click();
            case kWinamp:
                return form.cmdWinamp_Click();
            case kXM:
                return form.cmdXM_Click();
        }
    }
    void Tick(Mode mode) {
        switch (mode) {
            case kReal:
                return form.Timer1_Timer();
            case kWinamp:
                return form.tmrWin_Timer();
            case kXM:
                return form.tmrXM_Timer();
        }
    }
    MemoryCaption& Button(Mode mode) {
        return mode == kReal ? cmdON : mode == kWinamp ? cmdWinamp : cmdXM;
    }
    ManualClock::ClockTimer& ModeTimer(Mode mode) {
        return mode == kReal ? Timer1 : mode == kWinamp ? tmrWin : tmrXM;
    }
    static TextView PlayerClass(Mode mode) {
        return mode == kReal ? kRealPlayerClass : mode == kWinamp ? kWinampClass : kXMPlayClass;
    }
    std::vector<Text> Records() const { return windows.DeliveredRecords(); }
    void Advance(int ms) { clock.Advance(milliseconds(ms)); }
    void Forget() {
        windows.ClearDeliveries();
        boxes.shown.clear();
        log.clear();
    }

    EventLog log;
    ManualClock clock;
    MemoryCaption cmdON{log, "cmdON", kOsprayOffCaption};
    MemoryCaption cmdWinamp{log, "cmdWinamp", kKestrinOffCaption};
    MemoryCaption cmdXM{log, "cmdXM", kLumbrelOffCaption};
    MemoryCaption Label3{log, "Label3", u""};
    MemoryTextBox txtArt;
    MemoryTextBox txtSong;
    MemoryTextBox txtFormat{kDesignedFormat};
    MemoryCheckBox Check1;
    ManualClock::ClockTimer& Timer1 = clock.AddTimer(kModeInterval, false);
    ManualClock::ClockTimer& tmrWin = clock.AddTimer(kModeInterval, false);
    ManualClock::ClockTimer& tmrXM = clock.AddTimer(kModeInterval, false);
    ManualClock::ClockTimer& tmrMiniCheck = clock.AddTimer(kWatcherInterval, true);
    LoggingWindowSystem windows{log};
    ScriptedBoxes boxes{log};
    FakeMainHost host{log};
    MemoryProfileStore profile;
    MainForm form{{cmdON, cmdWinamp, cmdXM, txtArt, txtSong, txtFormat, Check1, Label3, Timer1,
                   tmrWin, tmrXM, tmrMiniCheck},
                  windows,
                  boxes,
                  profile,
                  host};
};

// --- Toggles ---------------------------------------------------------------------------------

TEST_F(MainFormTest, ToggleSwitchesOnSilentlyAndOffWithOneEmptyRecord) {
    struct Row {
        Mode mode;
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
    form.cmdON_Click();
    form.cmdWinamp_Click();
    form.cmdXM_Click();
    EXPECT_TRUE(Timer1.Enabled() && tmrWin.Enabled() && tmrXM.Enabled());
    EXPECT_TRUE(boxes.shown.empty());
}

// --- Ticks: player found ---------------------------------------------------------------------

TEST_F(MainFormTest, TickSendsTheCutCaptionWithTheFormatOneIntervalAfterSwitchingOn) {
    struct Row {
        Mode mode;
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
        txtFormat.SetValue(u"{1} sings {0}");
        Check1.SetValue(1);
        Click(row.mode);

        Advance(4999);
        EXPECT_TRUE(Records().empty());
        Advance(1);
        EXPECT_EQ(Records(), std::vector<Text>{Record(row.title, row.artist, u"{1} sings {0}")});
        EXPECT_EQ(txtArt.Value(), row.artist);
        EXPECT_EQ(txtSong.Value(), row.title);
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
        txtArt.SetValue(u"typed artist");
        txtSong.SetValue(u"typed song");
        Check1.SetValue(value);
        form.cmdXM_Click();
        Advance(5000);
        EXPECT_EQ(txtArt.Value(), value == 1 ? u"Some Band" : u"typed artist");
        EXPECT_EQ(txtSong.Value(), value == 1 ? u"Some Song" : u"typed song");
        form.cmdXM_Click();
    }
}

TEST_F(MainFormTest, EmptyFormatIsSentAsAnEmptyField) {
    windows.Open(kWinampClass, u"3. Band - Song - Winamp");
    txtFormat.SetValue(u"");
    form.cmdWinamp_Click();
    Advance(5000);
    EXPECT_EQ(Records(), std::vector<Text>{Record(u"Song", u"Band", u"")});
}

// --- Ticks: player gone ----------------------------------------------------------------------

TEST_F(MainFormTest, PlayerNotRunningSwitchesTheModeOffSilently) {
    struct Row {
        Mode mode;
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
        Mode ticking;
        std::vector<Mode> othersOn;
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
        for (const Mode other : row.othersOn) {
            Click(other);
        }
        Forget();

        Tick(row.ticking);
        EXPECT_EQ(boxes.shown, (std::vector<Shown>{{Text(row.message), 16, u"Error"}}));
        EXPECT_FALSE(ModeTimer(row.ticking).Enabled());
        EXPECT_EQ(Button(row.ticking).Caption().rfind(u"Activate", 0), 0u);
        // The box comes first, then the toggle's empty record, and the tick ends there.
        EXPECT_EQ(log.front(), "box:" + ToUtf8(row.message));
        EXPECT_EQ(Records(), std::vector<Text>{EmptyRecord(true)});
        for (const Mode other : row.othersOn) {
            EXPECT_TRUE(ModeTimer(other).Enabled());
            Click(other);
        }
    }
}

TEST_F(MainFormTest, GuardedTickThatWouldFailDoesNotSwitchItsModeBackOn) {
    // Winamp's caption does not fit; the guard switches the mode off first, and the tick must
    // not go on to fail and let the error trap flip it on again.
    windows.Open(kWinampClass, u"Winamp 5.08");
    form.cmdWinamp_Click();
    form.cmdXM_Click();
    form.tmrWin_Timer();
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].style, 16);
    EXPECT_FALSE(tmrWin.Enabled());
    EXPECT_EQ(cmdWinamp.Caption(), u"Activate Kestrin");
    EXPECT_EQ(Records(), std::vector<Text>{EmptyRecord(true)});
}

TEST_F(MainFormTest, SecondModeSwitchedOnLaterIsKeptWhileTheEarlierOneGivesWay) {
    windows.Open(kWinampClass, u"1. Band - Song - Winamp");
    windows.Open(kXMPlayClass, u"Other Band - Other Song");
    form.cmdWinamp_Click();
    Advance(1000);
    form.cmdXM_Click();
    Advance(4000);  // Winamp's tick comes first and gives way
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_FALSE(tmrWin.Enabled());
    EXPECT_TRUE(tmrXM.Enabled());
    Advance(1000);  // XMPlay's first tick finds no other mode on
    EXPECT_EQ(Records(), (std::vector<Text>{EmptyRecord(true), Record(u"Other Song", u"Other Band",
                                                                      kDesignedFormat)}));
    EXPECT_EQ(boxes.shown.size(), 1u);
}

// --- Ticks: error trap -----------------------------------------------------------------------

TEST_F(MainFormTest, CaptionThatDoesNotFitGoesToTheErrorTrap) {
    struct Row {
        Mode mode;
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
        Check1.SetValue(1);
        txtArt.SetValue(u"kept");
        Click(row.mode);
        Advance(5000);
        EXPECT_EQ(boxes.shown,
                  (std::vector<Shown>{{u"Error changing personal message", 48, u"Error"}}));
        EXPECT_FALSE(ModeTimer(row.mode).Enabled());
        EXPECT_EQ(Button(row.mode).Caption().rfind(u"Activate ", 0), 0u);
        // The box first, then the toggle's empty record with show = true.
        EXPECT_EQ(log.back(), "send");
        EXPECT_EQ(Records(), std::vector<Text>{EmptyRecord(true)});
        EXPECT_EQ(txtArt.Value(), u"kept");
        windows.Close(player);
    }
}

// --- Sound behaviour around ticks ------------------------------------------------------------

TEST_F(MainFormTest, TicksWhileATickBoxIsOpenAreSkippedNotQueued) {
    windows.Open(kXMPlayClass, u"Band - Song");
    form.cmdWinamp_Click();  // due at 5000, 10000, ...
    Advance(1000);
    form.cmdXM_Click();  // due at 6000, 11000, 16000, ...
    int xmFiredDuringBox = 0;
    boxes.duringNextBox = [&] {
        const int before = tmrXM.fired();
        Advance(7000);  // the box stays open from 5000 to 12000
        xmFiredDuringBox = tmrXM.fired() - before;
    };
    Advance(4000);  // Winamp's tick at 5000 finds XMPlay on and opens its box

    EXPECT_EQ(xmFiredDuringBox, 2);  // the ticks at 6000 and 11000 came and were skipped
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(Records(), std::vector<Text>{EmptyRecord(true)});
    EXPECT_FALSE(tmrWin.Enabled());
    EXPECT_TRUE(tmrXM.Enabled());

    // XMPlay resumes with its next interval after the box closed.
    Advance(3999);
    EXPECT_EQ(Records().size(), 1u);
    Advance(1);
    EXPECT_EQ(Records().back(), Record(u"Song", u"Band", kDesignedFormat));
}

TEST_F(MainFormTest, FailingCaptionOpensOneBoxNotOneEveryInterval) {
    windows.Open(kWinampClass, u"Winamp 5.08");
    form.cmdWinamp_Click();
    boxes.duringNextBox = [&] { Advance(30000); };
    Advance(5000);
    EXPECT_GE(tmrWin.fired(), 6);
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_FALSE(tmrWin.Enabled());
    EXPECT_EQ(Records(), std::vector<Text>{EmptyRecord(true)});
}

TEST_F(MainFormTest, ModeSwitchedOffWhileItsTickBoxIsOpenStaysOff) {
    windows.Open(kXMPlayClass, u"no hyphen");
    // The trap's box, then a guard's box: each time the user switches the mode off by hand
    // while the box is open, and the tick's own toggle must not switch it back on.
    form.cmdXM_Click();
    boxes.duringNextBox = [&] { form.cmdXM_Click(); };
    Advance(5000);
    EXPECT_EQ(boxes.shown.at(0).style, 48);
    EXPECT_FALSE(tmrXM.Enabled());
    EXPECT_EQ(cmdXM.Caption(), u"Activate Lumbrel");

    form.cmdXM_Click();
    form.cmdON_Click();
    boxes.duringNextBox = [&] { form.cmdXM_Click(); };
    form.tmrXM_Timer();
    EXPECT_EQ(boxes.shown.at(1).style, 16);
    EXPECT_FALSE(tmrXM.Enabled());
    EXPECT_EQ(cmdXM.Caption(), u"Activate Lumbrel");
    // Only the two hand toggles sent anything.
    EXPECT_EQ(Records(), (std::vector<Text>{EmptyRecord(true), EmptyRecord(true)}));
}

TEST_F(MainFormTest, CaptionNotReadInTimeSendsNothingAndKeepsTheMode) {
    const WindowHandle player = windows.Open(kWinampClass, u"7. Band - Song - Winamp");
    windows.SetHung(player, true);
    form.cmdWinamp_Click();
    Advance(10000);
    EXPECT_TRUE(Records().empty());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(tmrWin.Enabled());
    EXPECT_EQ(cmdWinamp.Caption(), u"Deactivate Kestrin");

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
        std::vector<Mode> modesOn;
    };
    const Row rows[] = {
        {u"", u"", u"", {}},
        {u"My Song", u"My Band", u"{0} by {1}", {}},
        {u"S", u"A", u"{0} - {1}", {kWinamp, kXM}},  // only RealPlayer mode asks
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(ToUtf8(row.song));
        for (const Mode mode : row.modesOn) {
            Click(mode);
        }
        Forget();
        txtSong.SetValue(row.song);
        txtArt.SetValue(row.artist);
        txtFormat.SetValue(row.format);
        form.Command2_Click();
        EXPECT_TRUE(boxes.shown.empty());
        EXPECT_EQ(Records(), std::vector<Text>{Record(row.song, row.artist, row.format)});
        for (const Mode mode : row.modesOn) {
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
        4, u"Set Custom Message?"};
    windows.Open(kRealPlayerClass, u"RealPlayer: Real Song - Real Band");
    form.cmdON_Click();
    txtSong.SetValue(u"Custom");
    txtArt.SetValue(u"Me");

    for (const box::Answer answer : {box::Answer::No, box::Answer::Cancel, box::Answer::Ok}) {
        Forget();
        boxes.answers = {answer};
        form.Command2_Click();
        EXPECT_EQ(boxes.shown, std::vector<Shown>{question});
        EXPECT_TRUE(Records().empty());
        EXPECT_EQ(txtSong.Value(), u"Custom");
        EXPECT_EQ(txtArt.Value(), u"Me");
    }

    Forget();
    boxes.answers = {box::Answer::Yes};
    form.Command2_Click();
    EXPECT_EQ(boxes.shown, std::vector<Shown>{question});
    EXPECT_EQ(Records(), std::vector<Text>{Record(u"Custom", u"Me", kDesignedFormat)});
    EXPECT_TRUE(Timer1.Enabled());
    EXPECT_EQ(cmdON.Caption(), u"Deactivate Ospray");
    Advance(5000);  // the mode's next tick replaces the custom message
    EXPECT_EQ(Records().back(), Record(u"Real Song", u"Real Band", kDesignedFormat));
}

// --- Tray ------------------------------------------------------------------------------------

TEST_F(MainFormTest, TrayEventsAreTheDoubleClickAndTheRightButton) {
    struct Row {
        int x;
        EventLog expected;
    };
    const Row rows[] = {
        {515, {"show", "state=0"}},
        {516, {"popup"}},
        {512, {}},  // a plain move over the icon
        {513, {}},  // left button down: a single click does nothing
        {514, {}},
        {517, {}},
        {518, {}},
        {0, {}},
        {7725, {}},  // 515 in twips: the conversion is the caller's
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.x);
        log.clear();
        form.Form_MouseMove(row.x);
        EXPECT_EQ(log, row.expected);
    }
}

TEST_F(MainFormTest, TrayNotificationsAreToldFromMovesOverTheWindow) {
    form.Form_Load();
    constexpr int kFar = -600;  // the pointer over the icon, far from the window's client area
    struct Row {
        MouseMove move;
        bool notification;
    };
    const Row rows[] = {
        {{1, 516, kFar, kFar}, true},
        {{1, 515, 900, 700}, true},
        {{1, 512, 515, 40}, true},  // the pointer over the window, but not where lParam says
        {{0, 516, 516, 0}, false},  // a move at x = 516 without buttons
        {{0, 515 | (40 << 16), 515, 40}, false},
        {{1, 516, 516, 0}, false},      // left button held, at the very point lParam gives
        {{2, 516, kFar, kFar}, false},  // another icon's id, or the right button
        {{1, 516 | (1 << 16), kFar, kFar}, false},  // y is part of lParam
        {{1, -1, kFar, kFar}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.move.wParam << ", " << row.move.lParam << " at "
                                        << row.move.pointerX << "," << row.move.pointerY);
        EXPECT_EQ(IsTrayNotification(form.trayRecord(), row.move), row.notification);
    }
}

TEST_F(MainFormTest, MinimizeToTrayAddsTheIconThenHides) {
    form.Form_Load();
    log.clear();
    form.cmdHide_Click();
    EXPECT_EQ(log, (EventLog{"add", "hide"}));
    ASSERT_EQ(host.records.size(), 1u);
    EXPECT_EQ(host.records[0], form.trayRecord());
}

TEST_F(MainFormTest, TrayRecordHoldsTheShellValues) {
    form.Form_Load();
    const TrayRecord& record = form.trayRecord();
    EXPECT_EQ(record.cbSize, 88u);
    EXPECT_EQ(record.hWnd, FakeMainHost::kWindow);
    EXPECT_EQ(record.uID, 1u);
    EXPECT_EQ(record.uFlags, 7u);
    EXPECT_EQ(record.uCallbackMessage, 512u);
    EXPECT_EQ(record.hIcon, FakeMainHost::kIcon);
    EXPECT_EQ(record.szTip, Text(u"Tunewick") + u'\0' + Text(55, u' '));
    EXPECT_EQ(record.Tip(), u"Tunewick");
}

TEST_F(MainFormTest, WatcherSendsAMinimizedWindowToTheTrayOnEveryTickUntilRestored) {
    form.Form_Load();
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
    form.Form_MouseMove(515);
    Advance(4000);
    EXPECT_EQ(log, (EventLog{"show", "state=0"}));
}

TEST_F(MainFormTest, MenuShowRestoresAndCloseClosesHelpThenTheWindow) {
    form.Form_Load();
    form.SysShow_Click();
    EXPECT_EQ(log.back(), "state=0");
    log.clear();
    form.SysClose_Click();
    // The window's close runs the shutdown, which closes the help window again if needed.
    EXPECT_EQ(log, (EventLog{"closeHelp", "close", "delete", "send", "closeHelp"}));
}

TEST_F(MainFormTest, HelpAndOptionsButtonsOpenTheirWindows) {
    form.Command4_Click();
    form.cmdOptions_Click();
    form.Command4_Click();
    EXPECT_EQ(log, (EventLog{"showHelp", "showOptions", "showHelp"}));
}

TEST_F(MainFormTest, RestartedShellGetsTheIconBackOnlyIfItHadBeenAdded) {
    form.Form_Load();
    form.TaskbarCreated();
    EXPECT_TRUE(host.records.empty());

    form.cmdHide_Click();
    form.SysShow_Click();  // showing the window keeps the icon
    log.clear();
    form.TaskbarCreated();
    EXPECT_EQ(log, EventLog{"add"});
    EXPECT_EQ(host.records.back(), form.trayRecord());

    form.Form_Unload();
    log.clear();
    form.TaskbarCreated();
    EXPECT_TRUE(log.empty());
}

// --- Start-up --------------------------------------------------------------------------------

TEST_F(MainFormTest, StartUpWithoutASettingsFile) {
    form.Form_Load();
    EXPECT_EQ(Label3.Caption(), u"Tunewick\r\nBy Vantor");
    EXPECT_FALSE(profile.exists);
    EXPECT_TRUE(host.records.empty());
    EXPECT_TRUE(host.visible);
    EXPECT_FALSE(Timer1.Enabled() || tmrWin.Enabled() || tmrXM.Enabled());
    EXPECT_EQ(txtArt.Value(), u"");
    EXPECT_EQ(txtSong.Value(), u"");
    EXPECT_EQ(txtFormat.Value(), u"");  // the designed "{0} - {1}" is gone
    EXPECT_TRUE(Records().empty());
    // Every read goes to settings.cfg beside the program.
    ASSERT_FALSE(profile.paths.empty());
    for (const Text& path : profile.paths) {
        EXPECT_EQ(path, u"C:\\Program Files\\Tunewick\\settings.cfg");
    }

    // Ticks then send an empty format.
    windows.Open(kXMPlayClass, u"Band - Song");
    form.cmdXM_Click();
    Advance(5000);
    EXPECT_EQ(Records(), std::vector<Text>{Record(u"Song", u"Band", u"")});
}

TEST_F(MainFormTest, StartUpGoesToTheTrayOnlyForMinimizeStartupExactlyOne) {
    for (const TextView value : {u"1", u"2", u"0", u"", u" 1", u"1 ", u"-1", u"true"}) {
        SCOPED_TRACE(ToUtf8(value));
        MemoryProfileStore store;
        store.Put(u"General", u"Minimize_Startup", value);
        FakeMainHost freshHost(log);
        MainForm fresh({cmdON, cmdWinamp, cmdXM, txtArt, txtSong, txtFormat, Check1, Label3, Timer1,
                        tmrWin, tmrXM, tmrMiniCheck},
                       windows, boxes, store, freshHost);
        log.clear();
        fresh.Form_Load();
        const bool toTray = value == u"1";
        EXPECT_EQ(log, toTray ? (EventLog{"Label3=Tunewick\r\nBy Vantor", "add", "hide"})
                              : EventLog{"Label3=Tunewick\r\nBy Vantor"});
        EXPECT_EQ(freshHost.visible, !toTray);
    }
}

TEST_F(MainFormTest, StartUpSwitchesOnOnlyTheModeNamedExactly) {
    struct Row {
        TextView player;
        std::optional<Mode> mode;
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
        for (const Mode mode : {kReal, kWinamp, kXM}) {
            if (ModeTimer(mode).Enabled()) {
                Click(mode);
            }
        }
        Forget();
        MainForm fresh({cmdON, cmdWinamp, cmdXM, txtArt, txtSong, txtFormat, Check1, Label3, Timer1,
                        tmrWin, tmrXM, tmrMiniCheck},
                       windows, boxes, store, host);
        fresh.Form_Load();
        for (const Mode mode : {kReal, kWinamp, kXM}) {
            EXPECT_EQ(ModeTimer(mode).Enabled(), row.mode == mode);
        }
        EXPECT_TRUE(Records().empty());  // switching on sends nothing
    }
}

TEST_F(MainFormTest, StartUpToTrayComesBeforeTheModeAndTheFirstTickComesAnIntervalLater) {
    profile.Put(u"General", u"Minimize_Startup", u"1");
    profile.Put(u"Defaults", u"Player", u"XMPlay");
    windows.Open(kXMPlayClass, u"Band - Song");
    form.Form_Load();
    EXPECT_EQ(
        log, (EventLog{"Label3=Tunewick\r\nBy Vantor", "add", "hide", "cmdXM=Deactivate Lumbrel"}));
    EXPECT_FALSE(host.visible);
    EXPECT_EQ(host.records, std::vector<TrayRecord>{form.trayRecord()});

    Advance(4999);
    EXPECT_TRUE(Records().empty());
    Advance(1);
    EXPECT_EQ(Records(), std::vector<Text>{Record(u"Song", u"Band", u"")});
}

TEST_F(MainFormTest, StartUpFillsTheBoxesFromTheFile) {
    profile.Put(u"Defaults", u"Artist", u"Default Band");
    profile.Put(u"Defaults", u"Song", u"Default \u00c9t\u00e9");
    form.Form_Load();
    EXPECT_EQ(txtArt.Value(), u"Default Band");
    EXPECT_EQ(txtSong.Value(), u"Default \u00c9t\u00e9");
    EXPECT_EQ(txtFormat.Value(), u"");  // "Format" missing

    profile.Put(u"Defaults", u"Format", u"{1}: {0}");
    form.Form_Load();
    EXPECT_EQ(txtFormat.Value(), u"{1}: {0}");
}

TEST_F(MainFormTest, StartUpPathHasNoDoubledBackslashInADriveRoot) {
    host.directory = u"D:\\";
    form.Form_Load();
    ASSERT_FALSE(profile.paths.empty());
    EXPECT_EQ(profile.paths.front(), u"D:\\settings.cfg");
}

// --- Shutdown --------------------------------------------------------------------------------

TEST_F(MainFormTest, ShutdownWithAModeOnSendsOneEmptyRecordAndNoTickFollows) {
    windows.Open(kWinampClass, u"1. Band - Song - Winamp");
    form.Form_Load();
    form.cmdWinamp_Click();
    form.cmdHide_Click();
    Advance(5000);
    Forget();
    const int winFired = tmrWin.fired();
    const int watcherFired = tmrMiniCheck.fired();

    form.Form_Unload();
    EXPECT_EQ(log, (EventLog{"delete", "send", "closeHelp"}));
    EXPECT_EQ(Records(), std::vector<Text>{EmptyRecord(true)});
    EXPECT_EQ(host.records.back(), form.trayRecord());
    // No toggle ran: the button still reads as it did.
    EXPECT_EQ(cmdWinamp.Caption(), u"Deactivate Kestrin");

    host.state = 1;
    Advance(60000);
    form.tmrWin_Timer();  // a tick already on its way when the window went
    EXPECT_EQ(tmrWin.fired(), winFired);
    EXPECT_EQ(tmrMiniCheck.fired(), watcherFired);
    EXPECT_EQ(Records().size(), 1u);
}

TEST_F(MainFormTest, ShutdownRemovesTheIconEvenIfItWasNeverAdded) {
    form.Form_Load();
    form.Form_Unload();
    EXPECT_EQ(log.back(), "closeHelp");
    EXPECT_EQ(host.records, std::vector<TrayRecord>{form.trayRecord()});
    EXPECT_EQ(Records(), std::vector<Text>{EmptyRecord(true)});
}

TEST_F(MainFormTest, SessionEndRunsTheShutdownOnceEvenWhenTheWindowClosesAfter) {
    form.Form_Load();
    form.cmdXM_Click();
    Forget();
    form.SessionEnd();
    form.SysClose_Click();
    EXPECT_EQ(log, (EventLog{"delete", "send", "closeHelp", "closeHelp", "close"}));
    EXPECT_EQ(Records(), std::vector<Text>{EmptyRecord(true)});
}

TEST_F(MainFormTest, ShutdownDuringATickBoxEndsTheTickThere) {
    windows.Open(kXMPlayClass, u"no hyphen");
    form.cmdXM_Click();
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
    const WindowHandle first = windows.FindTopLevel(kMessengerWindowClass);
    windows.Open(kMessengerWindowClass);
    windows.Open(kWinampClass, u"1. Band - Song - Winamp");
    Check1.SetValue(1);
    txtArt.SetValue(u"Typed Artist");
    txtSong.SetValue(u"Typed Song");
    form.cmdWinamp_Click();
    windows.DuringNext(c.wait, [&] {
        if (c.interruption == WaitCase::kSessionEnds) {
            form.SessionEnd();
        } else {
            form.cmdWinamp_Click();
        }
    });

    switch (c.waiting) {
        case WaitCase::kTick:
            Advance(5000);
            break;
        case WaitCase::kSet:
            form.Command2_Click();
            break;
        case WaitCase::kToggleOff:
            form.cmdWinamp_Click();
            break;
    }

    std::vector<Text> got[2];
    const std::vector<Text> records = Records();
    for (std::size_t i = 0; i < records.size(); ++i) {
        got[windows.deliveries()[i].window == first ? 0 : 1].push_back(records[i]);
    }
    EXPECT_EQ(got[0], c.first);
    EXPECT_EQ(got[1], c.second);
    EXPECT_EQ(txtArt.Value(), u"Typed Artist") << "the tick wrote the boxes";
    EXPECT_FALSE(tmrWin.Enabled());
}

const Text kSong = BuildNowPlayingRecord({u"Song", u"Band", u"", u"", Text(kDesignedFormat)});
const Text kTyped =
    BuildNowPlayingRecord({u"Typed Song", u"Typed Artist", u"", u"", Text(kDesignedFormat)});
const Text kEmpty = BuildNowPlayingRecord({});
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
    form.cmdON_Click();
    boxes.answers = {box::Answer::Yes};
    boxes.duringNextBox = [&] { form.SessionEnd(); };
    form.Command2_Click();
    EXPECT_EQ(Records(), std::vector<Text>{EmptyRecord(true)});
}

}  // namespace
}  // namespace tunewick::testing
