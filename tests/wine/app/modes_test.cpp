// The main window's modes, "Set" and "Help", driven from outside through Tunewick's buttons,
// keys, text boxes and message boxes, with the records checked in a stand-in messenger's log.

#include <algorithm>
#include <thread>

#include "scenario.h"
#include "utf8.h"

namespace tunewick::e2e {
namespace {

// The designed format, so that the records carry one (without a file the box starts empty).
constexpr std::string_view kFormatSettings = "[Defaults]\r\nFormat={0} - {1}\r\n";
constexpr TextView kFormat = u"{0} - {1}";
constexpr TextView kWinampClass = u"winamp v1.x";

class MainWindowScenario : public Scenario {};

bool ShowsSoon(HWND box, TextView text) {
    return WaitUntil([&] { return ReadText(box) == Text(text); }, 2s);
}

TEST_F(MainWindowScenario, KestrinFollowsWinampUntilItClosesThenSetAndHelp) {
    WriteSettings(kFormatSettings);
    auto messenger = StartMessenger();
    // A listener in a message-only window, beside the top-level one: it gets every record.
    auto listener = StartMessenger({.caption = u"Message-only listener", .messageOnly = true});
    auto winamp = StandInPlayer::Start(
        {.className = Text(kWinampClass), .caption = u"12. Some Band - Some Song - Winamp"});
    auto app = StartTunewick();
    ASSERT_TRUE(messenger && listener && winamp && app);

    HWND main = app->MainWindow();
    HWND unseenBox = FindChild(main, u"1863", u"Edit");
    HWND ospray = app->Button(u"Activate Ospray");
    HWND kestrin = app->Button(u"Activate Kestrin");
    HWND lumbrel = app->Button(u"Activate Lumbrel");
    HWND minimize = app->Button(u"Minimize To Tray");
    HWND set = app->Button(u"Set");
    HWND help = app->Button(u"Help");
    HWND options = app->Button(u"Options");
    HWND artistBox = app->BoxBeside(u"Artist");
    HWND songBox = app->BoxBeside(u"Song Name");
    HWND formatBox = app->BoxBeside(u"Format");
    HWND updateWithTimers = TunewickApp::ControlBesideLabel(main, u"Update with timers?", u"Button",
                                                            TunewickApp::Side::Left);

    // From the keyboard: Tab goes round the tab stops from the unseen box, which has the focus
    // at start. On the way Space presses the focused check box (checked, unchecked, checked:
    // never greyed) and Enter the focused "Activate Kestrin".
    const HWND round[] = {ospray,    help,     artistBox, songBox, set,     updateWithTimers,
                          formatBox, minimize, kestrin,   lumbrel, options, unseenBox};
    ASSERT_TRUE(std::ranges::none_of(round, [](HWND control) { return control == nullptr; }));
    ASSERT_TRUE(WaitUntil([&] { return app->Focus() == unseenBox; }));
    Clock::time_point switchedOn;
    for (std::size_t stop = 0; stop < std::size(round); ++stop) {
        ASSERT_TRUE(app->PressKey(VK_TAB));
        ASSERT_TRUE(WaitUntil([&] { return app->Focus() == round[stop]; }, 2s)) << "stop " << stop;
        if (round[stop] == updateWithTimers) {
            for (const int state : {1, 0, 1}) {
                ASSERT_TRUE(app->PressKey(VK_SPACE));
                ASSERT_TRUE(WaitUntil([&] { return CheckState(updateWithTimers) == state; }, 2s));
            }
        } else if (round[stop] == kestrin) {
            switchedOn = Clock::now();
            ASSERT_TRUE(app->PressKey(VK_RETURN));
            ASSERT_TRUE(WaitUntil([&] { return ReadText(kestrin) == u"Deactivate Kestrin"; }, 2s));
        }
    }
    EXPECT_TRUE(messenger->Records().empty()) << "switching a mode on sends nothing yet";

    // The first tick, one interval later, sends the playing song.
    auto records = messenger->WaitForRecords(1, kInterval + 2 * kTickSlack);
    const auto firstAfter = Clock::now() - switchedOn;
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0], NowPlayingRecord(u"Some Song", u"Some Band", kFormat, true));
    EXPECT_GE(firstAfter, kInterval - kTickSlack) << Ms(firstAfter) << " ms";
    EXPECT_LE(firstAfter, kInterval + kTickSlack) << Ms(firstAfter) << " ms";
    // The boxes follow right after the send, which may still be waiting on the messenger.
    EXPECT_TRUE(ShowsSoon(artistBox, u"Some Band")) << ToUtf8(ReadText(artistBox).value_or(u"?"));
    EXPECT_TRUE(ShowsSoon(songBox, u"Some Song")) << ToUtf8(ReadText(songBox).value_or(u"?"));

    // The next song: accents of the Latin-1 range and a character outside every ANSI code
    // page and outside the basic plane, in the record and in the boxes.
    ASSERT_TRUE(winamp->SetCaption(u"3. Sigur Rós - Hoppípolla 🎵 - Winamp"));
    records = messenger->WaitForRecords(2, kInterval + 2 * kTickSlack);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1], NowPlayingRecord(u"Hoppípolla 🎵", u"Sigur Rós", kFormat, true));
    EXPECT_TRUE(ShowsSoon(artistBox, u"Sigur Rós")) << ToUtf8(ReadText(artistBox).value_or(u"?"));
    EXPECT_TRUE(ShowsSoon(songBox, u"Hoppípolla 🎵")) << ToUtf8(ReadText(songBox).value_or(u"?"));

    // Winamp closes: the next tick hides the message and switches the mode off, silently.
    winamp->Process().Kill();
    records = messenger->WaitForRecords(3, kInterval + 2 * kTickSlack);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[2], EmptyRecord(false));
    EXPECT_TRUE(WaitUntil([&] { return ReadText(kestrin) == u"Activate Kestrin"; }, 2s));
    EXPECT_TRUE(FindMessageBoxes(app->Id()).empty());

    // "Set" with every mode off sends the boxes at once, without asking; empty boxes too.
    ASSERT_TRUE(SetText(artistBox, u"坂本龍一"));
    ASSERT_TRUE(SetText(songBox, u"戦場のメリークリスマス"));
    ASSERT_TRUE(Click(set));
    ASSERT_TRUE(SetText(artistBox, u""));
    ASSERT_TRUE(SetText(songBox, u""));
    ASSERT_TRUE(Click(set));
    EXPECT_TRUE(FindMessageBoxes(app->Id()).empty());
    records = messenger->Records();
    ASSERT_EQ(records.size(), 5u);
    EXPECT_EQ(records[3], NowPlayingRecord(u"戦場のメリークリスマス", u"坂本龍一", kFormat, true));
    EXPECT_EQ(records[4], NowPlayingRecord(u"", u"", kFormat, true));

    // "Help" twice: one help window; the second press only brings it forward.
    ASSERT_TRUE(Click(help));
    EXPECT_TRUE(WaitUntil([&] { return app->WindowsCaptioned(kHelpCaption).size() == 1; }));
    ASSERT_TRUE(Click(help));
    EXPECT_EQ(FindTopLevelWindows({.caption = Text(kHelpCaption), .processId = app->Id()}).size(),
              1u);

    // The close box: one empty record, and the program ends, so the help window closed too
    // (the program lives while any of its windows is open).
    ASSERT_TRUE(PostMessageW(app->MainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0));
    EXPECT_EQ(app->Process().WaitForExit(5s), 0u);
    records = messenger->Records();
    ASSERT_EQ(records.size(), 6u);
    EXPECT_EQ(records[5], EmptyRecord(true));
    EXPECT_EQ(listener->Records(), records);
}

TEST_F(MainWindowScenario, SetAsksWhileOsprayRunsAndAnUnfitCaptionStopsKestrin) {
    WriteSettings(kFormatSettings);
    auto messenger = StartMessenger();
    // No playlist position: the caption does not fit Winamp's rule.
    auto winamp =
        StandInPlayer::Start({.className = Text(kWinampClass), .caption = u"Winamp 5.08"});
    auto app = StartTunewick();
    ASSERT_TRUE(messenger && winamp && app);

    HWND ospray = app->Button(u"Activate Ospray");
    HWND kestrin = app->Button(u"Activate Kestrin");
    HWND set = app->Button(u"Set");
    HWND artistBox = app->BoxBeside(u"Artist");
    HWND songBox = app->BoxBeside(u"Song Name");
    ASSERT_TRUE(ospray && kestrin && set && artistBox && songBox);
    ASSERT_TRUE(SetText(artistBox, u"Typed Artist"));
    ASSERT_TRUE(SetText(songBox, u"Typed Song"));

    // Everything with Ospray on happens well within its first interval: no RealPlayer runs,
    // so its first tick would switch it off.
    const auto osprayOn = Clock::now();
    ASSERT_TRUE(Click(ospray));
    ASSERT_EQ(ReadText(ospray), u"Deactivate Ospray");
    const Text question =
        u"                             Tunewick is currently taking songs from RealPlayer\r\n"
        u"Do you still wish to set a custom message? (It will be changed back on the next "
        u"timer run)";
    for (const int answer : {IDNO, IDYES}) {
        SCOPED_TRACE(answer == IDNO ? "No" : "Yes");
        ASSERT_TRUE(PostClick(set));
        const auto box = app->WaitForMessageBox();
        ASSERT_TRUE(box);
        EXPECT_EQ(box->title, u"Set Custom Message?");
        EXPECT_EQ(box->text, question);
        EXPECT_TRUE(messenger->Records().empty()) << "nothing goes out before the answer";
        ASSERT_TRUE(PressMessageBoxButton(box->window, answer));
    }
    auto records = messenger->WaitForRecords(1, 2s);
    ASSERT_EQ(records.size(), 1u) << "No sends nothing, Yes sends once";
    EXPECT_EQ(records[0], NowPlayingRecord(u"Typed Song", u"Typed Artist", kFormat, true));
    EXPECT_EQ(ReadText(artistBox), u"Typed Artist");
    EXPECT_EQ(ReadText(songBox), u"Typed Song");
    EXPECT_EQ(ReadText(ospray), u"Deactivate Ospray") << "the mode stays on after Yes";
    ASSERT_TRUE(Click(ospray));
    EXPECT_EQ(ReadText(ospray), u"Activate Ospray");
    ASSERT_LT(Clock::now() - osprayOn, kInterval) << "Ospray's first tick may have run";
    records = messenger->Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1], EmptyRecord(true));

    // Kestrin on a caption that does not fit: one interval later, the error box.
    const auto kestrinOn = Clock::now();
    ASSERT_TRUE(Click(kestrin));
    const auto box = app->WaitForMessageBox(kInterval + 2 * kTickSlack);
    const auto boxAfter = Clock::now() - kestrinOn;
    ASSERT_TRUE(box);
    EXPECT_EQ(box->title, u"Error");
    EXPECT_EQ(box->text, u"Error changing personal message");
    EXPECT_GE(boxAfter, kInterval - kTickSlack) << Ms(boxAfter) << " ms";
    EXPECT_LE(boxAfter, kInterval + kTickSlack) << Ms(boxAfter) << " ms";
    // The mode goes off only once the box is answered.
    EXPECT_EQ(ReadText(kestrin), u"Deactivate Kestrin");
    EXPECT_EQ(messenger->Records().size(), 2u);

    // The next interval passes while the box is open: its tick is skipped, no second box.
    std::this_thread::sleep_until(kestrinOn + 2 * kInterval + kTickSlack);
    EXPECT_EQ(FindMessageBoxes(app->Id()).size(), 1u);
    EXPECT_EQ(messenger->Records().size(), 2u);

    ASSERT_TRUE(PressMessageBoxButton(box->window, IDOK));
    records = messenger->WaitForRecords(3, 2s);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[2], EmptyRecord(true));
    EXPECT_EQ(ReadText(kestrin), u"Activate Kestrin");
    EXPECT_TRUE(FindMessageBoxes(app->Id()).empty());
}

}  // namespace
}  // namespace tunewick::e2e
