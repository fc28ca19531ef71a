// A player that stops answering must not take Tunewick down with it: a tick that cannot read
// its player sends nothing and tries again next time, and Tunewick's own window keeps
// answering. (A messenger that stops answering is among the messenger faults.)

#include <thread>

#include "scenario.h"

namespace tunewick::e2e {
namespace {

class HungProgramScenario : public Scenario {};

// How long Tunewick may wait for another program's window, and a margin for Wine on a busy machine.
constexpr Milliseconds kSendBound = 2s;
constexpr Milliseconds kMargin = 1500ms;

TEST_F(HungProgramScenario, ATickThatCannotReadItsPlayerSendsNothingAndTheNextOneTriesAgain) {
    WriteSettings("[Defaults]\r\nPlayer=XMPlay\r\nFormat={0} - {1}\r\n");
    auto messenger = StartMessenger();
    auto hungPlayer = StandInPlayer::Start({.className = u"xmplay-main",
                                            .caption = u"Some Band - Some Song",
                                            .hang = true,
                                            .hangMs = 30000});
    auto app = StartTunewick();
    const auto started = Clock::now();
    ASSERT_TRUE(messenger && hungPlayer && app);
    HWND lumbrel = app->Button(u"Deactivate Lumbrel");
    ASSERT_TRUE(lumbrel) << "the settings switch the XMPlay mode on";

    // The first tick gives up on the caption after its bound: no record, no box, mode on.
    std::this_thread::sleep_until(started + kInterval + kSendBound + kMargin / 3);
    EXPECT_TRUE(messenger->Records().empty());
    EXPECT_TRUE(FindMessageBoxes(app->Id()).empty());
    EXPECT_EQ(ReadText(lumbrel), u"Deactivate Lumbrel");
    EXPECT_EQ(ReadText(app->MainWindow(), 1s), Text(kMainCaption)) << "Tunewick's window hangs";

    // XMPlay answers again (a fresh one in place of the hung one): the next tick sends.
    auto player =
        StandInPlayer::Start({.className = u"xmplay-main", .caption = u"Some Band - Some Song"});
    ASSERT_TRUE(player);
    hungPlayer->Process().Kill();
    // The second tick, not a later one.
    const auto records =
        messenger->WaitForRecords(1, Remaining(started + 2 * kInterval + kTickSlack));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0], NowPlayingRecord(u"Some Song", u"Some Band", u"{0} - {1}", true));
}

TEST_F(HungProgramScenario, TheSessionEndingWhileATickWaitsOnThePlayerLeavesTheMessageCleared) {
    WriteSettings("[Defaults]\r\nPlayer=XMPlay\r\nFormat={0} - {1}\r\n");
    auto messenger = StartMessenger();
    // Slow, not hung: it hands over its caption after 1.5 s, within Tunewick's bound.
    auto slowPlayer = StandInPlayer::Start(
        {.className = u"xmplay-main", .caption = u"Some Band - Some Song", .slowTextMs = 1500});
    auto app = StartTunewick();
    ASSERT_TRUE(messenger && slowPlayer && app);
    ASSERT_TRUE(app->Button(u"Deactivate Lumbrel")) << "the settings switch the XMPlay mode on";

    // The first tick is reading the caption once the player is too busy to take a message.
    const auto busy = [&] { return !SendBounded(slowPlayer->Window(), WM_NULL, 0, 0, 100ms); };
    ASSERT_TRUE(WaitUntil(busy, kInterval + kTickSlack, 20ms));

    // The session ends in the middle of that read; Tunewick takes the messages while it waits.
    ASSERT_TRUE(SendBounded(app->MainWindow(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
    ASSERT_TRUE(SendBounded(app->MainWindow(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF));
    EXPECT_TRUE(busy()) << "the session should have ended during the read";

    // The read ends after the shutdown; the song it brings must not follow the empty record.
    EXPECT_EQ(app->Process().WaitForExit(10s), 0u);
    const auto records = messenger->Records();
    EXPECT_EQ(records, std::vector<MessengerLogRecord>{EmptyRecord(true)});
}

}  // namespace
}  // namespace tunewick::e2e
