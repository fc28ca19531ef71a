#include "core/player_title.h"

#include <gtest/gtest.h>

#include <limits>

#include "cut_error_text.h"
#include "memory_window_system.h"
#include "utf8.h"

namespace tunewick {
namespace {

using testing::MemoryWindowSystem;

struct CutCase {
    const char* name;
    PlayerKind kind;
    Text caption;
    CutResult expected;
};

std::ostream& operator<<(std::ostream& os, const CutCase& c) {
    return os << c.name;
}

class CutTitleTest : public ::testing::TestWithParam<CutCase> {};

TEST_P(CutTitleTest, CutsByThePlayersRule) {
    const CutCase& c = GetParam();
    const CutResult actual = CutTitle(c.kind, c.caption);
    if (const auto* error = std::get_if<CutError>(&c.expected)) {
        ASSERT_TRUE(std::holds_alternative<CutError>(actual)) << "expected " << Describe(*error);
        EXPECT_EQ(std::get<CutError>(actual), *error) << Describe(std::get<CutError>(actual));
    } else {
        ASSERT_TRUE(std::holds_alternative<SongInfo>(actual))
            << "failed with " << Describe(std::get<CutError>(actual));
        const auto& song = std::get<SongInfo>(actual);
        const auto& want = std::get<SongInfo>(c.expected);
        EXPECT_EQ(ToUtf8(song.title), ToUtf8(want.title));
        EXPECT_EQ(ToUtf8(song.artist), ToUtf8(want.artist));
    }
}

SongInfo Song(Text title, Text artist) {
    return {std::move(title), std::move(artist)};
}

const Text kThirtyTwoK(32767, u'1');

INSTANTIATE_TEST_SUITE_P(
    Players, CutTitleTest,
    ::testing::Values(
        // Winamp: "N. Artist - Title - Winamp"
        CutCase{"WinampTypical", PlayerKind::Winamp, u"12. Some Band - Some Song - Winamp",
                Song(u"Some Song", u"Some Band")},
        CutCase{"WinampNoPositionFails", PlayerKind::Winamp, u"Winamp 5.08",
                CutError::NoSecondPiece},
        CutCase{"WinampNoDotFails", PlayerKind::Winamp, u"Some Band - Some Song",
                CutError::NegativeLength},
        CutCase{"WinampEndsWithFirstDot", PlayerKind::Winamp, u"12.", CutError::NothingToSplit},
        CutCase{"WinampEmpty", PlayerKind::Winamp, u"", CutError::NothingToSplit},
        CutCase{"WinampDotsLaterStay", PlayerKind::Winamp, u"3. Mr. X - St. Y",
                Song(u"St. Y", u"Mr. X")},
        CutCase{"WinampPositionOf32766Fits", PlayerKind::Winamp, Text(32766, u'1') + u". A - B",
                Song(u"B", u"A")},
        CutCase{"WinampPositionOf32767Overflows", PlayerKind::Winamp, kThirtyTwoK + u". A - B",
                CutError::CutOverflow},
        CutCase{"WinampLongCaptionWithoutDotOverflows", PlayerKind::Winamp, kThirtyTwoK,
                CutError::CutOverflow},
        // XMPlay: "Artist - Title"
        CutCase{"XMPlayTypical", PlayerKind::XMPlay, u"Some Band - Some Song",
                Song(u"Some Song", u"Some Band")},
        CutCase{"XMPlayHyphenInsideNameSplitsThere", PlayerKind::XMPlay, u"Ab-Cd - Song",
                Song(u"Cd", u"Ab")},
        CutCase{"XMPlayInnerSpacesStay", PlayerKind::XMPlay, u"  Some  Band -  Some  Song  ",
                Song(u"Some  Song", u"Some  Band")},
        CutCase{"XMPlayTabsAreNotTrimmed", PlayerKind::XMPlay, u"\tA\t-\tB\t",
                Song(u"\tB\t", u"\tA\t")},
        CutCase{"XMPlayNoHyphen", PlayerKind::XMPlay, u"Just a title", CutError::NoSecondPiece},
        CutCase{"XMPlayEmpty", PlayerKind::XMPlay, u"", CutError::NothingToSplit},
        CutCase{"XMPlayAllHyphens", PlayerKind::XMPlay, u"---", Song(u"", u"")},
        CutCase{"XMPlayUnicode", PlayerKind::XMPlay, u"Sigur R\u00f3s - Hopp\u00edpolla",
                Song(u"Hopp\u00edpolla", u"Sigur R\u00f3s")},
        // RealPlayer: 12-character prefix, then "Title - Artist"
        CutCase{"RealPlayerTypical", PlayerKind::RealPlayer, u"RealPlayer: Some Song - Some Band",
                Song(u"Some Song", u"Some Band")},
        CutCase{"RealPlayerShorterThanPrefix", PlayerKind::RealPlayer, u"RealPlayer",
                CutError::NegativeLength},
        CutCase{"RealPlayerExactlyPrefix", PlayerKind::RealPlayer, u"RealPlayer: ",
                CutError::NothingToSplit},
        CutCase{"RealPlayerPrefixHyphenIsDropped", PlayerKind::RealPlayer, u"Real-Player:Song",
                CutError::NoSecondPiece},
        CutCase{"RealPlayerEmpty", PlayerKind::RealPlayer, u"", CutError::NegativeLength}),
    [](const ::testing::TestParamInfo<CutCase>& info) { return std::string(info.param.name); });

TEST(ReadPlayerTitle, ReadsTheFirstWindowOfTheClass) {
    MemoryWindowSystem windows;
    windows.Open(u"other", u"not this");
    const auto player = windows.Open(u"xmplay-main", u"A - B");
    windows.Open(u"xmplay-main", u"second");
    const PlayerTitle read = ReadPlayerTitle(windows, u"xmplay-main");
    EXPECT_EQ(read.status, TitleReadStatus::Read);
    EXPECT_EQ(read.window, player);
    EXPECT_EQ(read.title, u"A - B");
}

TEST(ReadPlayerTitle, NoPlayerGivesNoWindowAndEmptyTitle) {
    MemoryWindowSystem windows;
    const PlayerTitle read = ReadPlayerTitle(windows, u"winamp v1.x");
    EXPECT_EQ(read.status, TitleReadStatus::Read);
    EXPECT_EQ(read.window, WindowHandle::None);
    EXPECT_TRUE(read.title.empty());
}

TEST(ReadPlayerTitle, HungPlayerIsNotRead) {
    MemoryWindowSystem windows;
    const auto player = windows.Open(u"winamp v1.x", u"1. A - B - Winamp");
    windows.SetHung(player, true);
    EXPECT_EQ(ReadPlayerTitle(windows, u"winamp v1.x").status, TitleReadStatus::NotRead);
}

TEST(ReadPlayerTitle, LargestLengthOverflowsButOneLessIsRead) {
    MemoryWindowSystem windows;
    const auto player = windows.Open(u"winamp v1.x", u"1. A - B");
    windows.SetReportedLength(player, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(ReadPlayerTitle(windows, u"winamp v1.x").status, TitleReadStatus::LengthOverflow);

    // Read, with no buffer of the length the window claims.
    windows.SetReportedLength(player, std::numeric_limits<std::int32_t>::max() - 1);
    const PlayerTitle read = ReadPlayerTitle(windows, u"winamp v1.x");
    EXPECT_EQ(read.status, TitleReadStatus::Read);
    EXPECT_EQ(read.title, u"1. A - B");
    EXPECT_EQ(windows.LargestCaptionCapacity(), kCaptionReadLimit + 1);
}

TEST(ReadPlayerTitle, CaptionLongerThanReportedIsCutToTheLength) {
    MemoryWindowSystem windows;
    const auto player = windows.Open(u"xmplay-main", u"Some Band - Some Song");
    windows.SetReportedLength(player, 9);
    EXPECT_EQ(ReadPlayerTitle(windows, u"xmplay-main").title, u"Some Band");
}

TEST(ReadPlayerTitle, MillionCharacterCaptionComesWhole) {
    MemoryWindowSystem windows;
    const Text caption = Text(500000, u'a') + u" - " + Text(500000, u'b');
    windows.Open(u"xmplay-main", caption);
    const PlayerTitle read = ReadPlayerTitle(windows, u"xmplay-main");
    EXPECT_EQ(read.title.size(), caption.size());
    const auto cut = CutTitle(PlayerKind::XMPlay, read.title);
    ASSERT_TRUE(std::holds_alternative<SongInfo>(cut));
    EXPECT_EQ(std::get<SongInfo>(cut).title.size(), 500000u);
}

}  // namespace
}  // namespace tunewick
