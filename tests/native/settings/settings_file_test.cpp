#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <vector>

namespace tunewick {
namespace {

// Records what the settings layer hands the platform's functions, and answers reads with a
// set value and count.
class RecordingStore : public ProfileStore {
  public:
    struct Call {
        Text section;
        Text key;
        std::optional<Text> value;   // writes only
        std::size_t bufferSize = 0;  // reads only
        Text path;
    };

    std::size_t GetString(TextView section, TextView key, TextView defaultValue,
                          std::span<char16_t> buffer, TextView path) override {
        calls.push_back({Text(section), Text(key), std::nullopt, buffer.size(), Text(path)});
        defaults.emplace_back(defaultValue);
        const std::size_t count = std::min(answer.size(), buffer.size() - 1);
        std::copy_n(answer.begin(), count, buffer.begin());
        buffer[count] = u'\0';
        return reportedCount ? *reportedCount : count;
    }

    bool WriteString(TextView section, TextView key, std::optional<TextView> value,
                     TextView path) override {
        calls.push_back({Text(section), Text(key),
                         value ? std::optional<Text>(Text(*value)) : std::nullopt, 0, Text(path)});
        return writeResult;
    }
    Text LastWriteFailure() const override { return writeResult ? Text() : u"Access is denied."; }

    Text answer;
    std::optional<std::size_t> reportedCount;
    bool writeResult = true;
    std::vector<Call> calls;
    std::vector<Text> defaults;
};

TEST(SettingsPath, AppendsABackslashAndTheFileNameToTheProgramsFolder) {
    struct Case {
        std::u16string_view directory;
        std::u16string_view expected;
    };
    for (const auto& c : {
             Case{u"C:\\Program Files\\Tunewick", u"C:\\Program Files\\Tunewick\\settings.cfg"},
             Case{u"C:\\", u"C:\\settings.cfg"},  // a drive's root already ends in one
             Case{u"\\\\server\\share\\", u"\\\\server\\share\\settings.cfg"},
             Case{u"/home/user/tunewick", u"/home/user/tunewick\\settings.cfg"},
         }) {
        EXPECT_EQ(SettingsPath(c.directory), c.expected) << ToUtf8(c.directory);
    }
}

TEST(ReadSetting, LooksTheKeyUpInLowerCaseWithAnEmptyDefaultAnd750Units) {
    RecordingStore store;
    store.answer = u"1";
    const Text key = u"Minimize_Startup";
    EXPECT_EQ(ReadSetting(store, u"General", key, u"C:\\t\\settings.cfg"), u"1");
    ASSERT_EQ(store.calls.size(), 1u);
    EXPECT_EQ(store.calls[0].section, u"General");  // sections keep their case
    EXPECT_EQ(store.calls[0].key, u"minimize_startup");
    EXPECT_EQ(store.calls[0].bufferSize, 750u);
    EXPECT_EQ(store.calls[0].path, u"C:\\t\\settings.cfg");
    EXPECT_EQ(store.defaults[0], u"");
    EXPECT_EQ(key, u"Minimize_Startup") << "the caller's text is not changed";
}

TEST(ReadSetting, ReturnsAsManyUnitsAsTheStoreReportsCopied) {
    RecordingStore store;
    store.answer = u"Winamp";
    store.reportedCount = 3;
    EXPECT_EQ(ReadSetting(store, u"Defaults", u"Player", u"f"), u"Win");
    store.reportedCount = 0;
    EXPECT_EQ(ReadSetting(store, u"Defaults", u"Player", u"f"), u"");
    // A count past the buffer is held to the buffer.
    store.reportedCount = 5000;
    EXPECT_EQ(ReadSetting(store, u"Defaults", u"Player", u"f").size(), 750u);
}

TEST(ReadSetting, A749UnitValueComesBackWholeAndALongerOneCut) {
    RecordingStore store;
    store.answer = Text(749, u'a');
    EXPECT_EQ(ReadSetting(store, u"Defaults", u"Artist", u"f"), Text(749, u'a'));
    store.answer = Text(900, u'b');
    EXPECT_EQ(ReadSetting(store, u"Defaults", u"Artist", u"f"), Text(749, u'b'));
}

TEST(WriteSetting, PassesTheKeyInItsOwnCaseAndNoValueAsNone) {
    RecordingStore store;
    EXPECT_TRUE(WriteSetting(store, u"Defaults", u"Player", u"Winamp", u"f"));
    EXPECT_TRUE(WriteSetting(store, u"Defaults", u"Player", std::nullopt, u"f"));
    EXPECT_TRUE(WriteSetting(store, u"Defaults", u"Song", u"", u"f"));
    ASSERT_EQ(store.calls.size(), 3u);
    EXPECT_EQ(store.calls[0].key, u"Player");
    EXPECT_EQ(store.calls[0].value, std::optional<Text>(u"Winamp"));
    EXPECT_EQ(store.calls[1].value, std::nullopt);              // deletes the key
    EXPECT_EQ(store.calls[2].value, std::optional<Text>(u""));  // an empty value is a value
    store.writeResult = false;
    const WriteResult refused = WriteSetting(store, u"General", u"Minimize_Startup", u"1", u"f");
    EXPECT_FALSE(refused);
    EXPECT_EQ(refused.failure, u"Access is denied.");  // the store's reason, carried as it is
}

}  // namespace
}  // namespace tunewick
