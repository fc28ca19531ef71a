// The stand-ins' own logic: how the stand-in messenger reads a record, how the stand-ins read
// their options, and how the driver quotes a command line.

#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include <gtest/gtest.h>

#include "core/now_playing.h"
#include "standin_common/options.h"
#include "standin_messenger/personal_message.h"
#include "utf8.h"
#include "win32/messenger_log.h"
#include "win32/process.h"
#include "win32/wide.h"

namespace tunewick {
namespace {

using standin::NowPlayingFields;
using standin::Options;
using standin::ParseNowPlayingRecord;
using standin::ShownPersonalMessage;

TEST(PersonalMessage, RecordsBuiltBySendNowPlayingReadBackToTheirFields) {
    const NowPlayingRequest requests[] = {
        {u"Song", u"Band", u"", u"", u"{0} - {1}", true},
        {u"", u"", u"", u"", u"", true},
        {u"Hoppípolla", u"Sigur Rós", u"Takk", u"42", u"{1}: {0}", false},
        {u"0", u"\\", u"{1}", u"}", u"\\", true},  // a lone backslash is no separator
    };
    for (const auto& r : requests) {
        const auto fields = ParseNowPlayingRecord(BuildNowPlayingRecord(r));
        ASSERT_TRUE(fields) << ToUtf8(BuildNowPlayingRecord(r));
        EXPECT_EQ(*fields,
                  (NowPlayingFields{r.show, r.format, r.title, r.artist, r.album, r.contentId}));
    }
}

TEST(PersonalMessage, MalformedRecordsAreDropped) {
    const TextView records[] = {
        u"",
        u"\\0Music\\01\\0{0}\\0Song\\0Band\\0\\0\\0\\0",  // one field too many
        u"\\0Music\\01\\0{0}\\0Song\\0Band\\0\\0",        // one field too few
        u"\\0Games\\01\\0{0}\\0Song\\0Band\\0\\0\\0",     // not music
        u"\\0Music\\0-1\\0{0}\\0Song\\0Band\\0\\0\\0",    // show is one digit
        u"x\\0Music\\01\\0{0}\\0Song\\0Band\\0\\0\\0",
    };
    for (const TextView record : records) {
        EXPECT_FALSE(ParseNowPlayingRecord(record)) << ToUtf8(record);
    }
}

TEST(PersonalMessage, ShownTextReplacesPlaceholdersOnce) {
    struct Case {
        NowPlayingFields fields;
        Text shown;
    };
    const Case cases[] = {
        {{true, u"{0} - {1}", u"Song", u"Band"}, u"Song - Band"},
        {{true, u"{1}{1} {0}", u"Song", u"Band"}, u"BandBand Song"},
        {{true, u"{0}", u"{1}", u"Band"}, u"{1}"},  // the title is not replaced again
        {{true, u"{2} {0", u"Song", u"Band"}, u"{2} {0"},
        {{true, u"{0} - {1}", u"", u"Band"}, u" - Band"},
        {{true, u"{0} - {1}", u"", u""}, u""},
        {{false, u"{0} - {1}", u"Song", u"Band"}, u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShownPersonalMessage(c.fields), c.shown) << ToUtf8(c.fields.format);
    }
}

TEST(StandInOptions, ParsesValuesAndFlags) {
    const auto options = Options::Parse(
        {u"--class", u"xmplay-main", u"--hang", u"--caption", u"--x", u"--x", u"12"}, {u"hang"});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->Value(u"class"), u"xmplay-main");
    EXPECT_TRUE(options->Has(u"hang"));
    EXPECT_EQ(options->Value(u"caption"), u"--x");  // a value may look like an option
    EXPECT_EQ(options->Number(u"x", 0), 12);
    EXPECT_EQ(options->Number(u"y", 7), 7);
    EXPECT_FALSE(options->Has(u"y"));
}

TEST(StandInOptions, RejectsMalformedCommandLines) {
    const std::vector<std::vector<Text>> lines = {
        {u"positional"},
        {u"--log"},
        {u"--"},
        {u"--x", u"1", u"--x", u"2"},
    };
    for (const auto& args : lines) {
        EXPECT_FALSE(Options::Parse(args, {u"hang"}));
    }
    const auto notNumber = Options::Parse({u"--x", u"12px"}, {});
    ASSERT_TRUE(notNumber);
    EXPECT_EQ(notNumber->Number(u"x", 0), std::nullopt);
}

TEST(CommandLine, QuotedArgumentsComeBackAsTheyWere) {
    const std::vector<Text> arguments = {
        u"plain",     u"",
        u"two words", u"say \"hi\"",
        u"C:\\dir\\", u"C:\\dir with space\\",
        u"a\\\\\"b",  u"Sigur Rós 坂本龍一 🎵",
        u"\t",        u"\\\\server\\share",
    };
    const std::wstring line =
        e2e::ToWide(e2e::QuoteCommandLine(L"C:\\some dir\\program.exe", arguments));
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(line.c_str(), &count);
    ASSERT_NE(argv, nullptr);
    ASSERT_EQ(count, static_cast<int>(arguments.size()) + 1);
    EXPECT_EQ(std::wstring(argv[0]), L"C:\\some dir\\program.exe");
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        EXPECT_EQ(e2e::FromWide(argv[i + 1]), arguments[i]) << i;
    }
    LocalFree(argv);
}

TEST(MessengerLog, KeepsRecordsAndDropsAPartialTail) {
    const std::vector<std::byte> first = EncodeUtf16Le(u"ab");
    std::vector<std::byte> log = e2e::EncodeMessengerLogRecord(0x547, first);
    const std::vector<std::byte> second = e2e::EncodeMessengerLogRecord(0xFFFFFFFF, {});
    log.insert(log.end(), second.begin(), second.end());
    const std::vector<std::byte> third = e2e::EncodeMessengerLogRecord(7, first);
    log.insert(log.end(), third.begin(), third.end() - 1);  // still being written

    const auto records = e2e::ParseMessengerLog(log);

    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0], (e2e::MessengerLogRecord{0x547, first}));
    EXPECT_EQ(records[1], (e2e::MessengerLogRecord{0xFFFFFFFF, {}}));
}

}  // namespace
}  // namespace tunewick
