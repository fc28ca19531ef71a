#include "core/now_playing.h"

#include <gtest/gtest.h>

#include "memory_window_system.h"

namespace tunewick {
namespace {

using testing::MemoryWindowSystem;

// The record with its closing NUL made visible, for readable failures.
Text Record(const NowPlayingRequest& request) {
    return BuildNowPlayingRecord(request);
}

TEST(NowPlayingRecord, TypicalSongHasFortyUnitsAndTitleBeforeArtist) {
    const Text record = Record({.title = u"Song", .artist = u"Band", .format = u"{0} - {1}"});
    EXPECT_EQ(record, Text(u"\\0Music\\01\\0{0} - {1}\\0Song\\0Band\\0\\0\\0") + u'\0');
    EXPECT_EQ(record.size(), 40u);
    EXPECT_EQ(EncodeUtf16Le(record).size(), 80u);
}

TEST(NowPlayingRecord, ShowFlagIsOneDigit) {
    EXPECT_EQ(Record({.show = true}).substr(0, 12), u"\\0Music\\01\\0");
    EXPECT_EQ(Record({.show = false}).substr(0, 12), u"\\0Music\\00\\0");
}

TEST(NowPlayingRecord, EmptyFieldsGiveAdjacentSeparators) {
    EXPECT_EQ(Record({}), Text(u"\\0Music\\01\\0\\0\\0\\0\\0\\0") + u'\0');
}

TEST(NowPlayingRecord, FieldsGoInTheirOrder) {
    const Text record = Record({.title = u"T",
                                .artist = u"A",
                                .album = u"L",
                                .contentId = u"C",
                                .format = u"",
                                .show = true});
    EXPECT_EQ(record, Text(u"\\0Music\\01\\0\\0T\\0A\\0L\\0C\\0") + u'\0');
}

// The record's separator is the text backslash + zero: a field must never hold one, and every
// field fits a listener's fixed buffer.
TEST(NowPlayingRecord, FieldsHoldNoSeparatorAndAreCutWithoutSplittingACharacter) {
    const Text a255(255, u'a');
    const Text note = u"\U0001F3B5";  // one character, two code units
    const char16_t loneHigh = 0xD800;
    struct Row {
        const char* what;
        Text field;
        Text expected;
    };
    const Row rows[] = {
        {"a separator inside", u"T\\0x", u"T\\\u200C0x"},
        {"a backslash before it", u"\\\\0", u"\\\\\u200C0"},
        {"a backslash alone", u"a\\b\\", u"a\\b\\"},
        {"exactly the limit", Text(256, u'a'), Text(256, u'a')},
        {"one over", Text(257, u'a'), Text(256, u'a')},
        {"a million", Text(1'000'000, u'a'), Text(256, u'a')},
        {"a pair across the limit", a255 + note, a255},
        {"a pair just inside", Text(254, u'a') + note + u"b", Text(254, u'a') + note},
        // A lone surrogate is the text's own: only a pair is kept whole or left out.
        {"a lone high surrogate at the limit", a255 + loneHigh + u"b", a255 + loneHigh},
        {"a lone high surrogate ending a full field", a255 + loneHigh, a255 + loneHigh},
        {"lone high surrogates across the limit", Text(300, loneHigh), Text(256, loneHigh)},
        {"a pair across the limit after a lone one", Text(254, u'a') + loneHigh + note,
         Text(254, u'a') + loneHigh},
        {"a separator across the limit", a255 + u"\\0", a255 + u"\\"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(RecordField(row.field), row.expected);
    }
}

TEST(NowPlayingRecord, EncodesUtf16LittleEndianIncludingSurrogates) {
    const Text text = u"R\u00f3\u3042\U0001F3B5";
    const auto bytes = EncodeUtf16Le(text);
    const std::vector<std::byte> expected = {
        std::byte{0x52}, std::byte{0x00}, std::byte{0xF3}, std::byte{0x00}, std::byte{0x42},
        std::byte{0x30}, std::byte{0x3C}, std::byte{0xD8}, std::byte{0xB5}, std::byte{0xDF}};
    EXPECT_EQ(bytes, expected);
}

TEST(SendNowPlaying, NoMessengerSendsNothing) {
    MemoryWindowSystem windows;
    windows.Open(u"winamp v1.x", u"1. A - B - Winamp");
    SendNowPlaying(windows, {.title = u"x"});
    EXPECT_TRUE(windows.Deliveries().empty());
}

TEST(SendNowPlaying, EveryMessengerGetsTheSameBytesInPlatformOrder) {
    MemoryWindowSystem windows;
    const auto first = windows.Open(u"MsnMsgrUIManager");
    windows.Open(u"SomethingElse");
    const auto second = windows.Open(u"msnmsgruimanager");
    const NowPlayingRequest request{
        .title = u"Hopp\u00edpolla", .artist = u"Sigur R\u00f3s", .format = u"{1} sings {0}"};
    SendNowPlaying(windows, request);

    ASSERT_EQ(windows.Deliveries().size(), 2u);
    const auto expected = EncodeUtf16Le(BuildNowPlayingRecord(request));
    EXPECT_EQ(windows.Deliveries()[0].window, first);
    EXPECT_EQ(windows.Deliveries()[1].window, second);
    for (const auto& delivery : windows.Deliveries()) {
        EXPECT_EQ(delivery.kind, 0x547u);
        EXPECT_EQ(delivery.data, expected);
    }
}

TEST(SendNowPlaying, MessageOnlyMessengersGetItAfterTheTopLevelOnesAndEachOnce) {
    // Some platforms list a message-only window among the top-level ones when no top-level
    // window of the class is open.
    class ListingTwice : public MemoryWindowSystem {
      public:
        WindowHandle FindNextTopLevel(TextView className, WindowHandle after) override {
            const WindowHandle next = MemoryWindowSystem::FindNextTopLevel(className, after);
            return next != WindowHandle::None || after == messageOnly ? next : messageOnly;
        }
        WindowHandle messageOnly = WindowHandle::None;
    } windows;
    const auto hidden = windows.OpenMessageOnly(u"MsnMsgrUIManager");
    const auto shown = windows.Open(u"MsnMsgrUIManager");
    windows.OpenMessageOnly(u"SomethingElse");
    SendNowPlaying(windows, {.title = u"Song"});
    ASSERT_EQ(windows.Deliveries().size(), 2u);
    EXPECT_EQ(windows.Deliveries()[0].window, shown);
    EXPECT_EQ(windows.Deliveries()[1].window, hidden);

    windows.ClearDeliveries();
    windows.Close(shown);
    windows.messageOnly = hidden;
    SendNowPlaying(windows, {.title = u"Song"});
    ASSERT_EQ(windows.Deliveries().size(), 1u);
    EXPECT_EQ(windows.Deliveries()[0].window, hidden);
}

TEST(SendNowPlaying, HungMessengerIsSkippedAndTheWalkGoesOn) {
    MemoryWindowSystem windows;
    const auto hung = windows.Open(u"MsnMsgrUIManager");
    const auto healthy = windows.Open(u"MsnMsgrUIManager");
    windows.SetHung(hung, true);
    SendNowPlaying(windows, {.title = u"Song"});
    ASSERT_EQ(windows.Deliveries().size(), 1u);
    EXPECT_EQ(windows.Deliveries()[0].window, healthy);
}

// Closes windows the moment a given window has been sent a record: a messenger that quits
// while another one keeps the sender waiting, or while it handles the record itself.
class ClosingWindowSystem : public MemoryWindowSystem {
  public:
    void CloseWhenSentTo(WindowHandle sentTo, WindowHandle closing) {
        closings_.emplace_back(sentTo, closing);
    }

    bool SendCopyData(WindowHandle window, std::uint32_t kind,
                      std::span<const std::byte> data) override {
        const bool taken = MemoryWindowSystem::SendCopyData(window, kind, data);
        for (const auto& [sentTo, closing] : closings_) {
            if (sentTo == window) {
                Close(closing);
            }
        }
        return taken;
    }

  private:
    std::vector<std::pair<WindowHandle, WindowHandle>> closings_;
};

TEST(SendNowPlaying, MessengersClosingDuringTheWalkCostTheOthersNothing) {
    ClosingWindowSystem windows;
    const auto a = windows.Open(u"MsnMsgrUIManager");
    const auto b = windows.Open(u"MsnMsgrUIManager");
    const auto c = windows.Open(u"MsnMsgrUIManager");
    const auto d = windows.Open(u"MsnMsgrUIManager");
    windows.CloseWhenSentTo(a, b);  // found, closed before its turn
    windows.CloseWhenSentTo(c, c);  // closed while it handled the record
    SendNowPlaying(windows, {.title = u"Song"});

    std::vector<WindowHandle> reached;
    for (const auto& delivery : windows.Deliveries()) {
        reached.push_back(delivery.window);
    }
    EXPECT_EQ(reached, (std::vector{a, c, d}));
}

}  // namespace
}  // namespace tunewick
