// Captions of stand-in players read through the real window system by ReadPlayerTitle.

#include <gtest/gtest.h>

#include <chrono>

#include "core/player_title.h"
#include "platform/win32_window_system.h"
#include "ui/player_modes.h"
#include "utf8.h"
#include "win32/standins.h"

namespace tunewick {
namespace {

using e2e::PlayerOptions;
using e2e::StandInPlayer;
using platform::FromHwnd;
using platform::Win32WindowSystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

class PlayerTitle : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const PlayerKind kind :
             {PlayerKind::RealPlayer, PlayerKind::Winamp, PlayerKind::XMPlay}) {
            ASSERT_EQ(windows_.FindNextTopLevel(ModeOf(kind).windowClass, WindowHandle::None),
                      WindowHandle::None)
                << "a player window was left by an earlier test";
        }
    }

    Win32WindowSystem windows_;
};

TEST_F(PlayerTitle, ReadsEachPlayersCaptionIntactAndCutsIt) {
    struct Case {
        PlayerKind kind;
        Text caption;
        SongInfo song;
        Text className = {};  // none: the mode's own
    };
    const Case cases[] = {
        {PlayerKind::XMPlay, u"Sigur Rós - Hoppípolla", {u"Hoppípolla", u"Sigur Rós"}},
        {PlayerKind::Winamp,
         u"12. 坂本龍一 - 戦場のメリークリスマス - Winamp",
         {u"戦場のメリークリスマス", u"坂本龍一"}},
        {PlayerKind::RealPlayer,
         u"RealPlayer: Ágætis byrjun - Sigur Rós",
         {u"Ágætis byrjun", u"Sigur Rós"}},
        {PlayerKind::XMPlay, u"Band 🎸 - Song", {u"Song", u"Band 🎸"}},
        // foobar2000 with foo_winamp_spam presents Winamp's window, its position from 0.
        {PlayerKind::Winamp,
         u"0. Múm - Green Grass of Tunnel - Winamp",
         {u"Green Grass of Tunnel", u"Múm"},
         u"Winamp v1.x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(c.caption));
        const Text className = c.className.empty() ? Text(ModeOf(c.kind).windowClass) : c.className;
        auto player = StandInPlayer::Start({.className = className, .caption = c.caption});
        ASSERT_TRUE(player);

        const auto read = ReadPlayerTitle(windows_, ModeOf(c.kind).windowClass);

        EXPECT_EQ(read.status, TitleReadStatus::Read);
        EXPECT_EQ(read.window, FromHwnd(player->Window()));
        EXPECT_EQ(read.title, c.caption);
        EXPECT_EQ(CutTitle(c.kind, read.title), CutResult(c.song));
    }
}

TEST_F(PlayerTitle, NoPlayerReadsAsNoWindowAndEmptyTitle) {
    const auto read = ReadPlayerTitle(windows_, ModeOf(PlayerKind::Winamp).windowClass);
    EXPECT_EQ(read.status, TitleReadStatus::Read);
    EXPECT_EQ(read.window, WindowHandle::None);
    EXPECT_EQ(read.title, u"");
}

TEST_F(PlayerTitle, EmptyAndLongCaptions) {
    const Text longCaption = Text(2000, u'é') + u" - " + Text(2000, u'語');
    for (const Text& caption : {Text(), longCaption}) {
        auto player = StandInPlayer::Start({.className = u"xmplay-main", .caption = caption});
        ASSERT_TRUE(player);
        const auto read = ReadPlayerTitle(windows_, u"xmplay-main");
        EXPECT_EQ(read.status, TitleReadStatus::Read);
        EXPECT_EQ(read.window, FromHwnd(player->Window()));
        EXPECT_EQ(read.title, caption);
    }
}

TEST_F(PlayerTitle, ClassIsFoundWithoutRegardToCase) {
    auto player = StandInPlayer::Start({.className = u"WinAmp V1.X", .caption = u"1. A - B"});
    ASSERT_TRUE(player);
    EXPECT_EQ(ReadPlayerTitle(windows_, u"winamp v1.x").window, FromHwnd(player->Window()));
}

TEST_F(PlayerTitle, CaptionSetFromOutsideIsReadNextTime) {
    auto player = StandInPlayer::Start({.className = u"xmplay-main", .caption = u"A - B"});
    ASSERT_TRUE(player);
    ASSERT_EQ(ReadPlayerTitle(windows_, u"xmplay-main").title, u"A - B");

    ASSERT_TRUE(player->SetCaption(u"Múm - Green Grass of Tunnel"));

    EXPECT_EQ(ReadPlayerTitle(windows_, u"xmplay-main").title, u"Múm - Green Grass of Tunnel");
}

TEST_F(PlayerTitle, CaptionsFileStepsThroughItsLines) {
    auto folder = e2e::TempFolder::Create(L"captions");
    ASSERT_TRUE(folder);
    const auto file = folder->Path() / L"captions.txt";
    const std::vector<Text> lines = {u"Sigur Rós - Hoppípolla",
                                     u"坂本龍一 - 戦場のメリークリスマス"};
    ASSERT_TRUE(e2e::WriteUtf8Lines(file, lines));
    auto player = StandInPlayer::Start(
        {.className = u"xmplay-main", .captionsFile = file, .intervalMs = 200});
    ASSERT_TRUE(player);

    // It starts with the first line, moves to the second, then starts over.
    for (const Text& expected : {lines[0], lines[1], lines[0]}) {
        EXPECT_TRUE(e2e::WaitUntil(
            [&] { return ReadPlayerTitle(windows_, u"xmplay-main").title == expected; }, 5s))
            << ToUtf8(expected);
    }
}

TEST_F(PlayerTitle, CaptionTextTakesAtMostTheCapacity) {
    auto player = StandInPlayer::Start({.className = u"xmplay-main", .caption = u"Sigur Rós"});
    ASSERT_TRUE(player);
    const WindowHandle window = FromHwnd(player->Window());

    EXPECT_EQ(windows_.CaptionLength(window), 9);
    EXPECT_EQ(windows_.CaptionText(window, 10), u"Sigur Rós");
    EXPECT_EQ(windows_.CaptionText(window, 7), u"Sigur ");  // room for six and the NUL
    EXPECT_EQ(windows_.CaptionText(window, 1), u"");
}

TEST_F(PlayerTitle, WindowThatHasGoneAnswersLikeNoWindow) {
    auto player = StandInPlayer::Start({.className = u"xmplay-main", .caption = u"A - B"});
    ASSERT_TRUE(player);
    const WindowHandle window = FromHwnd(player->Window());
    player->Process().Kill();
    ASSERT_TRUE(e2e::WaitForWindowGone(player->Window()));

    EXPECT_EQ(windows_.CaptionLength(window), 0);
    EXPECT_EQ(windows_.CaptionText(window, 10), u"");
    EXPECT_FALSE(windows_.SendCopyData(window, 0x547, {}));
}

TEST_F(PlayerTitle, HungPlayerIsNotReadAndCostsAtMostTheBound) {
    auto player = StandInPlayer::Start(
        {.className = u"xmplay-main", .caption = u"Sigur Rós - Hoppípolla", .hang = true});
    ASSERT_TRUE(player);

    const auto start = Clock::now();
    const auto read = ReadPlayerTitle(windows_, u"xmplay-main");
    const auto took = Clock::now() - start;

    EXPECT_EQ(read.status, TitleReadStatus::NotRead);
    EXPECT_EQ(read.window, FromHwnd(player->Window()));
    EXPECT_GE(took, 1500ms) << "the player was not waited for";
    EXPECT_LE(took, 3500ms);
}

}  // namespace
}  // namespace tunewick
