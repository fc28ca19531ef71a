// Now-playing records delivered by SendNowPlaying over the real window system to stand-in
// messengers, checked byte for byte in their logs and in the message they show.

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "core/now_playing.h"
#include "platform/win32_window_system.h"
#include "win32/standins.h"

namespace tunewick {
namespace {

using e2e::MessengerOptions;
using e2e::StandInMessenger;
using platform::FromHwnd;
using platform::Win32WindowSystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

std::vector<std::byte> RecordBytes(const NowPlayingRequest& request) {
    return EncodeUtf16Le(BuildNowPlayingRecord(request));
}

// Bytes as hex text, so that a mismatch prints as a readable diff.
std::string Hex(const std::vector<std::byte>& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (const std::byte b : bytes) {
        text += kDigits[std::to_integer<unsigned>(b) >> 4];
        text += kDigits[std::to_integer<unsigned>(b) & 0xF];
        text += ' ';
    }
    return text;
}

template <typename F>
Clock::duration Timed(F&& action) {
    const auto start = Clock::now();
    action();
    return Clock::now() - start;
}

class Delivery : public ::testing::Test {
  protected:
    void SetUp() override {
        auto folder = e2e::TempFolder::Create(L"delivery");
        ASSERT_TRUE(folder);
        folder_.emplace(std::move(*folder));
        // A messenger left by an earlier test would receive records too.
        ASSERT_TRUE(e2e::FindTopLevelWindows({.className = Text(kMessengerWindowClass)}).empty());
    }

    std::optional<StandInMessenger> StartMessenger(MessengerOptions options = {}) {
        return StandInMessenger::Start(folder_->Path(), options);
    }

    // Declared first: removed after the stand-ins that write into it have ended.
    std::optional<e2e::TempFolder> folder_;
    Win32WindowSystem windows_;
};

const NowPlayingRequest kSongByBand{u"Song", u"Band", u"", u"", u"{0} - {1}", true};

TEST_F(Delivery, OneMessengerGetsEachRecordByteForByteAndShowsIt) {
    struct Case {
        const char* name;
        NowPlayingRequest request;
        Text shown;
    };
    const Case cases[] = {
        {"title and artist", kSongByBand, u"Song - Band"},
        {"hidden", {u"Song", u"Band", u"", u"", u"{0} - {1}", false}, u""},
        {"shutdown record: all empty", {u"", u"", u"", u"", u"", true}, u""},
        {"accents",
         {u"Hoppípolla", u"Sigur Rós", u"", u"", u"{1} - {0}", true},
         u"Sigur Rós - Hoppípolla"},
        {"Japanese",
         {u"戦場のメリークリスマス", u"坂本龍一", u"", u"", u"{0} / {1}", true},
         u"戦場のメリークリスマス / 坂本龍一"},
        {"outside the basic plane",
         {u"Song 🎵", u"Bänd", u"", u"", u"♪ {0} ({1})", true},
         u"♪ Song 🎵 (Bänd)"},
        {"album and content id", {u"Song", u"Band", u"Album", u"id-7", u"{0}", true}, u"Song"},
        {"empty format", {u"Song", u"Band", u"", u"", u"", true}, u""},
        // Broken by a character that draws as nothing: one field all the same.
        {"field holding the separator",
         {u"A\\0B", u"Band", u"", u"", u"{0}", true},
         u"A\\\u200C0B"},
        {"ampersand",
         {u"Rock & Roll", u"Band", u"", u"", u"{0} - {1}", true},
         u"Rock & Roll - Band"},
    };
    auto messenger = StartMessenger();
    ASSERT_TRUE(messenger);

    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].name);
        SendNowPlaying(windows_, cases[i].request);
        // The send is synchronous: by now the window has logged and shown the record.
        const auto records = messenger->Records();
        ASSERT_EQ(records.size(), i + 1);
        EXPECT_EQ(records[i].kind, 0x547u);
        EXPECT_EQ(Hex(records[i].data), Hex(RecordBytes(cases[i].request)));
        EXPECT_EQ(messenger->ShownMessage(), cases[i].shown);
    }
    // «\0Music\01\0{0} - {1}\0Song\0Band\0\0\0» and its NUL: 40 code units.
    EXPECT_EQ(messenger->Records().front().data.size(), 80u);
}

TEST_F(Delivery, TwoMessengersEachGetEveryRecordOnce) {
    auto first = StartMessenger({.caption = u"Messenger A", .position = POINT{0, 0}});
    auto second = StartMessenger({.caption = u"Messenger B", .position = POINT{0, 200}});
    ASSERT_TRUE(first && second);

    // The walk lists exactly the two windows, then nothing.
    const WindowHandle listed1 =
        windows_.FindNextTopLevel(kMessengerWindowClass, WindowHandle::None);
    const WindowHandle listed2 = windows_.FindNextTopLevel(kMessengerWindowClass, listed1);
    EXPECT_EQ(windows_.FindNextTopLevel(kMessengerWindowClass, listed2), WindowHandle::None);
    EXPECT_TRUE((listed1 == FromHwnd(first->Window()) && listed2 == FromHwnd(second->Window())) ||
                (listed1 == FromHwnd(second->Window()) && listed2 == FromHwnd(first->Window())));

    const NowPlayingRequest japanese{
        u"戦場のメリークリスマス", u"坂本龍一", u"", u"", u"{0} - {1}", true};
    SendNowPlaying(windows_, kSongByBand);
    SendNowPlaying(windows_, japanese);

    for (const StandInMessenger* messenger : {&*first, &*second}) {
        const auto records = messenger->Records();
        ASSERT_EQ(records.size(), 2u);
        EXPECT_EQ(records[0], (e2e::MessengerLogRecord{0x547, RecordBytes(kSongByBand)}));
        EXPECT_EQ(records[1], (e2e::MessengerLogRecord{0x547, RecordBytes(japanese)}));
        EXPECT_EQ(messenger->ShownMessage(), u"戦場のメリークリスマス - 坂本龍一");
    }
}

TEST_F(Delivery, WithoutMessengerNothingIsSentToOtherWindows) {
    // Same program, other class: it must not receive the record.
    auto decoy =
        StartMessenger({.caption = u"MsnMsgrUIManager", .className = u"MsnMsgrUIManager2"});
    ASSERT_TRUE(decoy);
    ASSERT_EQ(windows_.FindNextTopLevel(kMessengerWindowClass, WindowHandle::None),
              WindowHandle::None);

    const auto took = Timed([&] { SendNowPlaying(windows_, kSongByBand); });

    EXPECT_LT(took, 500ms);
    EXPECT_TRUE(decoy->Records().empty());
}

TEST_F(Delivery, CopyDataToHungWindowReportsNotTakenWithinTheBound) {
    auto hung = StartMessenger({.sleepMs = 6000, .sleepAfter = 1});
    ASSERT_TRUE(hung);
    const std::vector<std::byte> bytes = RecordBytes(kSongByBand);
    const WindowHandle window = FromHwnd(hung->Window());

    // The first record is taken at once; the second one the window sleeps on.
    EXPECT_TRUE(windows_.SendCopyData(window, kNowPlayingDataKind, bytes));
    bool taken = true;
    const auto took =
        Timed([&] { taken = windows_.SendCopyData(window, kNowPlayingDataKind, bytes); });
    EXPECT_FALSE(taken);
    EXPECT_GE(took, 1500ms);
    EXPECT_LE(took, 3500ms);
}

}  // namespace
}  // namespace tunewick
