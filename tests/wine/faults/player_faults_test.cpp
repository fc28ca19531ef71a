// Players whose captions lie at the edges of what the cutting rules meet, and a player that
// closes while Tunewick reads it. Every record must carry the caption's pieces exactly, and
// the window must keep answering.

#include <thread>

#include "fault_probes.h"

namespace tunewick::e2e {
namespace {

constexpr std::string_view kFormatSettings = "[Defaults]\r\nFormat={1} :: {0}\r\n";
constexpr TextView kFormat = u"{1} :: {0}";

// `length` characters cycling through `pattern`.
Text Repeat(TextView pattern, std::size_t length) {
    Text text;
    text.reserve(length);
    while (text.size() < length) {
        text += pattern.substr(0, length - text.size());
    }
    return text;
}

class PlayerFaults : public FaultScenario {};

TEST_F(PlayerFaults, KestrinOnAMillionCharactersCharactersOutsideTheCodePageAndNothing) {
    ASSERT_TRUE(WriteFileBytes(SettingsPath(), kFormatSettings));
    // "1. Artist - Title - Winamp", a million characters in all, without a space at either
    // end of a piece.
    const Text artist = Repeat(u"Art\u00EFst \u0100\u4E50 ", 499'989) + u"A";
    const Text title = Repeat(u"T\u00EFtle \u00DF\u266B ", 499'994) + u"T";
    const Text million = u"1. " + artist + u" - " + title + u" - Winamp";
    ASSERT_EQ(million.size(), 1'000'000u);
    const std::filesystem::path captions = Folder() / L"captions.txt";
    ASSERT_TRUE(WriteUtf8Lines(captions, {million}));

    auto messenger = StartMessenger();
    auto winamp = StandInPlayer::Start({.className = Text(kWinampClass), .captionsFile = captions});
    auto app = StartTunewick();
    ASSERT_TRUE(messenger && winamp && app);
    HWND kestrin = app->Button(u"Activate Kestrin");
    // The box beside "Update with timers?": the one button without a caption.
    HWND updateWithTimers = FindChild(app->MainWindow(), u"", u"Button");
    const std::vector<HWND> boxes = app->Boxes();
    ASSERT_TRUE(kestrin && updateWithTimers);
    ASSERT_EQ(boxes.size(), 3u);
    ASSERT_TRUE(Click(updateWithTimers));
    ASSERT_EQ(CheckState(updateWithTimers), 1);
    const std::vector<HWND> probed = {app->MainWindow(), kestrin};

    ASSERT_TRUE(Click(kestrin));
    auto probe = ProbeUntil(
        probed, [&] { return messenger->Records().size() >= 1; }, kInterval + 2 * kTickSlack);
    ASSERT_TRUE(probe.done) << "no record from the million-character caption";
    EXPECT_LT(probe.slowest, kAnswerBound);
    auto records = messenger->Records();
    // Compared without printing: a failure would print four megabytes.
    EXPECT_TRUE(records[0] == NowPlayingRecord(title, artist, kFormat, true)) << Describe(records);
    // The record keeps the start of each piece: every listener's buffer takes it whole.
    EXPECT_LT(records[0].data.size(), 2 * 800u) << Describe(records);
    // The tick fills the boxes once its send has returned, a moment after the messenger
    // logged the record.
    EXPECT_TRUE(WaitUntil([&] { return ReadText(boxes[0]) == artist; })) << "the artist box";
    EXPECT_TRUE(WaitUntil([&] { return ReadText(boxes[1]) == title; })) << "the song box";

    // Outside every ANSI code page: Cyrillic, a character outside the basic plane, a
    // noncharacter, a C1 control, and surrogates that pair with nothing.
    Text odd = u"Кино \u0081\uFFFF";
    odd.push_back(char16_t{0xD800});
    const Text oddTitle = Text(u"Группа крови 🎸") + char16_t{0xDC00} + u"!";
    ASSERT_TRUE(winamp->SetCaption(u"2. " + odd + u" - " + oddTitle + u" - Winamp"));
    // A tick of the million characters may still come before the new caption is read.
    const auto lastIsNew = [&, first = records[0]] {
        const auto now = messenger->Records();
        return !now.empty() && !(now.back() == first);
    };
    probe = ProbeUntil(probed, lastIsNew, 2 * (kInterval + kTickSlack));
    ASSERT_TRUE(probe.done);
    EXPECT_LT(probe.slowest, kAnswerBound);
    records = messenger->Records();
    EXPECT_EQ(records.back(), NowPlayingRecord(oddTitle, odd, kFormat, true));
    EXPECT_TRUE(WaitUntil([&] { return ReadText(boxes[1]) == oddTitle; }));
    EXPECT_EQ(ReadText(boxes[0]), odd);
    EXPECT_EQ(ReadText(boxes[1]), oddTitle);

    // No caption at all does not fit the rule: the error box, and its answer switches the
    // mode off with an empty record. The boxes keep the last song.
    ASSERT_TRUE(winamp->SetCaption(u""));
    const auto box = app->WaitForMessageBox(kInterval + 2 * kTickSlack);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->title, u"Error");
    EXPECT_EQ(box->text, u"Error changing personal message");
    EXPECT_LT(AnswerTime(app->MainWindow()).value_or(kPeerBound), kAnswerBound);
    const std::size_t before = messenger->Records().size();
    ASSERT_TRUE(PressMessageBoxButton(box->window, IDOK));
    records = messenger->WaitForRecords(before + 1, 2s);
    ASSERT_EQ(records.size(), before + 1) << Describe(records);
    EXPECT_EQ(records.back(), EmptyRecord(true));
    EXPECT_EQ(ReadText(kestrin), u"Activate Kestrin");
    EXPECT_EQ(ReadText(boxes[0]), odd);
}

TEST_F(PlayerFaults, LumbrelOnAPlayerThatQuitsWhileItIsReadThenOnHyphens) {
    ASSERT_TRUE(WriteFileBytes(SettingsPath(), kFormatSettings));
    auto messenger = StartMessenger();
    // A player that hangs when asked for its caption, and quits while Tunewick waits for it.
    auto hanging = StandInPlayer::Start(
        {.className = Text(kXMPlayClass), .caption = u"Band - Song", .hang = true});
    auto app = StartTunewick();
    ASSERT_TRUE(messenger && hanging && app);
    HWND lumbrel = app->Button(u"Activate Lumbrel");
    ASSERT_TRUE(lumbrel);

    const auto on = Clock::now();
    ASSERT_TRUE(Click(lumbrel));
    const auto busy = [&] {
        DWORD_PTR ignored = 0;
        return SendMessageTimeoutW(hanging->Window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 100,
                                   &ignored) == 0;
    };
    ASSERT_TRUE(WaitUntil(busy, kInterval + 2 * kTickSlack)) << "the first tick never asked";
    const auto askedAt = Clock::now();
    EXPECT_LT(AnswerTime(app->MainWindow()).value_or(kPeerBound), kAnswerBound);
    hanging->Process().Kill();

    // The player left without answering: that tick sends nothing, shows nothing, and the mode
    // stays on for the next. (However the wait ended, it is over after its bound.)
    std::this_thread::sleep_until(askedAt + kPeerBound + 200ms);
    EXPECT_LT(AnswerTime(app->MainWindow()).value_or(kPeerBound), kAnswerBound);
    EXPECT_EQ(ReadText(lumbrel), u"Deactivate Lumbrel")
        << "asked " << Ms(askedAt - on) << " ms after on";
    EXPECT_TRUE(messenger->Records().empty());
    EXPECT_TRUE(FindMessageBoxes(app->Id()).empty());

    // The next player shows nothing but hyphens: two empty pieces, sent as they are.
    auto hyphens = StandInPlayer::Start({.className = Text(kXMPlayClass), .caption = u"-----"});
    ASSERT_TRUE(hyphens);
    auto records = messenger->WaitForRecords(1, kInterval + 2 * kTickSlack);
    EXPECT_EQ(records, (std::vector{NowPlayingRecord(u"", u"", kFormat, true)}))
        << Describe(records);
    EXPECT_EQ(ReadText(lumbrel), u"Deactivate Lumbrel");
    EXPECT_TRUE(FindMessageBoxes(app->Id()).empty());
}

}  // namespace
}  // namespace tunewick::e2e
