// Messengers that misbehave while Tunewick sends to them: one that stops answering, ones that
// close in the middle of a delivery, one that closes and opens again. Tunewick must keep
// answering and every messenger alive at the time must get every record.

#include "fault_probes.h"

#include "core/now_playing.h"
#include "utf8.h"

namespace tunewick::e2e {
namespace {

constexpr std::string_view kFormatSettings = "[Defaults]\r\nFormat={0} - {1}\r\n";
constexpr TextView kFormat = u"{0} - {1}";
// Long enough that a sleeping messenger never wakes up during a scenario.
constexpr int kAsleepMs = 60000;

class MessengerFaults : public FaultScenario {};

TEST_F(MessengerFaults, OneStopsAnsweringTheWindowStillAnswersAndTheNextGetsEveryRecord) {
    ASSERT_TRUE(WriteFileBytes(SettingsPath(), kFormatSettings));
    auto healthy = StartMessenger({.caption = u"Healthy"});
    auto asleep = StartMessenger({.caption = u"Asleep", .sleepMs = kAsleepMs});
    auto winamp = StandInPlayer::Start(
        {.className = Text(kWinampClass), .caption = u"12. Some Band - Some Song - Winamp"});
    auto app = StartTunewick();
    ASSERT_TRUE(healthy && asleep && winamp && app);
    // The sleeping messenger comes first in the platform's order, so every delivery waits
    // for it before it reaches the healthy one.
    ASSERT_TRUE(StackInOrder({asleep->Window(), healthy->Window()}, kMessengerWindowClass));
    HWND set = app->Button(u"Set");
    HWND kestrin = app->Button(u"Activate Kestrin");
    ASSERT_TRUE(set && kestrin);
    const std::vector<HWND> probed = {app->MainWindow(), set};

    // "Set" twice: the first waits on the messenger falling asleep, the second on one that
    // sleeps. Meanwhile the window answers at once, and each record reaches the healthy one.
    ASSERT_TRUE(app->PostSet(u"First Artist", u"First Song"));
    ASSERT_EQ(asleep->WaitForRecords(1).size(), 1u) << "it logs the record, then sleeps";
    auto probe = ProbeUntil(
        probed, [&] { return healthy->Records().size() >= 1; }, kPeerBound + 3s);
    EXPECT_TRUE(probe.done);
    EXPECT_LT(probe.slowest, kAnswerBound) << probe.probes << " probes";

    ASSERT_TRUE(app->PostSet(u"Second Artist", u"Second Song"));
    probe = ProbeUntil(
        probed, [&] { return healthy->Records().size() >= 2; }, kPeerBound + 3s);
    EXPECT_TRUE(probe.done);
    EXPECT_LT(probe.slowest, kAnswerBound) << probe.probes << " probes";

    // A tick of the Kestrin mode, by now with a messenger the platform counts as hung.
    ASSERT_TRUE(Click(kestrin));
    probe = ProbeUntil(
        probed, [&] { return healthy->Records().size() >= 3; }, kInterval + 2 * kTickSlack);
    EXPECT_TRUE(probe.done);
    EXPECT_LT(probe.slowest, kAnswerBound) << probe.probes << " probes";

    // The shutdown's empty record still goes out, and the program ends.
    EXPECT_EQ(app->Close(), 0u);
    const auto records = healthy->Records();
    const std::vector<MessengerLogRecord> expected = {
        NowPlayingRecord(u"First Song", u"First Artist", kFormat, true),
        NowPlayingRecord(u"Second Song", u"Second Artist", kFormat, true),
        NowPlayingRecord(u"Some Song", u"Some Band", kFormat, true),
        EmptyRecord(true),
    };
    EXPECT_EQ(records, expected) << Describe(records);
    EXPECT_EQ(asleep->Records().size(), 1u) << "the rest wait in its queue";
}

TEST_F(MessengerFaults, MessengersClosingInTheMiddleOfADeliveryCostTheOthersNothing) {
    ASSERT_TRUE(WriteFileBytes(SettingsPath(), kFormatSettings));
    // In the platform's order: A sleeps; B closes after it was found, before its turn; C
    // closes while it handles the record; D must get every record all the same.
    auto d = StartMessenger({.caption = u"D"});
    auto c = StartMessenger({.caption = u"C", .sleepMs = kAsleepMs});
    auto b = StartMessenger({.caption = u"B"});
    auto a = StartMessenger({.caption = u"A", .sleepMs = kAsleepMs});
    auto app = StartTunewick();
    ASSERT_TRUE(a && b && c && d && app);
    ASSERT_TRUE(
        StackInOrder({a->Window(), b->Window(), c->Window(), d->Window()}, kMessengerWindowClass));

    ASSERT_TRUE(app->PostSet(u"Artist", u"Song"));
    // A has the record and sleeps on it: Tunewick is waiting for A, and has found B.
    ASSERT_EQ(a->WaitForRecords(1).size(), 1u);
    b->Process().Kill();
    // C has the record and sleeps on it: it closes before it has answered.
    ASSERT_EQ(c->WaitForRecords(1, kPeerBound + 3s).size(), 1u);
    c->Process().Kill();
    auto records = d->WaitForRecords(1, kPeerBound + 3s);
    EXPECT_EQ(records, (std::vector{NowPlayingRecord(u"Song", u"Artist", kFormat, true)}))
        << Describe(records);
    EXPECT_TRUE(b->Records().empty());

    // The next record finds A and D.
    ASSERT_TRUE(app->PostSet(u"Artist 2", u"Song 2"));
    records = d->WaitForRecords(2, kPeerBound + 3s);
    ASSERT_EQ(records.size(), 2u) << Describe(records);
    EXPECT_EQ(records[1], NowPlayingRecord(u"Song 2", u"Artist 2", kFormat, true));
    EXPECT_LT(AnswerTime(app->MainWindow()).value_or(kPeerBound), kAnswerBound);
}

TEST_F(MessengerFaults, AMessengerThatClosesAndOpensAgainGetsEveryRecordWhileOpen) {
    ASSERT_TRUE(WriteFileBytes(SettingsPath(), kFormatSettings));
    auto staying = StartMessenger({.caption = u"Staying"});
    auto first = StartMessenger({.caption = u"Reopening"});
    auto app = StartTunewick();
    ASSERT_TRUE(staying && first && app);
    const auto record = [](int n) {
        const Text number = FromUtf8(std::to_string(n));
        return NowPlayingRecord(u"Song " + number, u"Artist " + number, kFormat, true);
    };
    const auto set = [&](int n) {
        const Text number = FromUtf8(std::to_string(n));
        ASSERT_TRUE(app->PostSet(u"Artist " + number, u"Song " + number));
        ASSERT_EQ(staying->WaitForRecords(static_cast<std::size_t>(n), 5s).size(),
                  static_cast<std::size_t>(n));
    };

    set(1);
    // It closes the way a user closes it.
    ASSERT_TRUE(PostMessageW(first->Window(), WM_CLOSE, 0, 0));
    ASSERT_EQ(first->Process().WaitForExit(5s), 0u);
    set(2);
    auto second = StartMessenger({.caption = u"Reopening"});
    ASSERT_TRUE(second);
    set(3);
    // Behind the staying one this time: the order does not matter.
    StackInOrder({staying->Window(), second->Window()}, kMessengerWindowClass);
    set(4);
    EXPECT_EQ(app->Close(), 0u);

    const auto stayed = staying->Records();
    EXPECT_EQ(stayed, (std::vector{record(1), record(2), record(3), record(4), EmptyRecord(true)}))
        << Describe(stayed);
    const auto beforeClosing = first->Records();
    EXPECT_EQ(beforeClosing, (std::vector{record(1)})) << Describe(beforeClosing);
    const auto afterOpening = second->Records();
    EXPECT_EQ(afterOpening, (std::vector{record(3), record(4), EmptyRecord(true)}))
        << Describe(afterOpening);
}

}  // namespace
}  // namespace tunewick::e2e
