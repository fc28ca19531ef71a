// The platform's profile functions, through the program's store, held to what the settings
// file relies on: keys found whatever their case, values cut to the 750-unit buffer, no value
// deleting a key, missing files and sections made by a write, a refused write giving the
// system's reason, and ANSI and UTF-16 files kept as they are.

#include "platform/win32_profile_store.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "platform/trace.h"
#include "platform/wide_text.h"
#include "settings/settings_file.h"

namespace tunewick::platform {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using namespace std::string_view_literals;

// What a read left: the count it returned and the whole buffer, '#' where it wrote nothing.
struct Got {
    std::size_t count;
    Text buffer;
    Text Value() const { return buffer.substr(0, count); }
};

std::string Utf8(TextView text) {
    return ToUtf8(text);
}

fs::path MakeTempDir() {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (;;) {
        fs::path dir =  // not const: returned, it moves
            fs::temp_directory_path() /
            ("tunewick-profile-" + std::to_string(stamp) + "-" + std::to_string(counter++));
        std::error_code error;
        if (fs::create_directory(dir, error)) {
            return dir;
        }
        if (error) {
            ADD_FAILURE() << "cannot make " << dir.string() << ": " << error.message();
            return dir;
        }
    }
}

class ProfileStoreTest : public ::testing::Test {
  protected:
    void TearDown() override {
        std::error_code ignored;
        for (const auto& entry : fs::recursive_directory_iterator(tempDir, ignored)) {
            SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        }
        fs::remove_all(tempDir, ignored);
    }

    // A file's path as the store takes it: the folder, a backslash, the name.
    Text PathOf(std::string_view name) const {
        return FromWide(tempDir.wstring()) + u'\\' + FromUtf8(name);
    }
    void PutBytes(std::string_view name, std::string_view bytes) const {
        std::ofstream out(tempDir / fs::path(name), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        ASSERT_TRUE(out.good()) << "cannot write " << name;
    }
    // "<missing>" when there is no file.
    std::string Bytes(std::string_view name) const {
        std::ifstream in(tempDir / fs::path(name), std::ios::binary);
        if (!in) {
            return "<missing>";
        }
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    bool Exists(std::string_view name) const { return fs::exists(tempDir / fs::path(name)); }

    Got Get(TextView section, TextView key, TextView defaultValue, std::size_t size,
            TextView path) {
        Text buffer(size, u'#');
        const std::size_t count = store.GetString(section, key, defaultValue, buffer, path);
        return {count, buffer};
    }
    // A value read into a roomy buffer, checked for its terminator.
    Text Read(TextView section, TextView key, TextView path, TextView defaultValue = u"") {
        const Got got = Get(section, key, defaultValue, 100, path);
        EXPECT_LT(got.count, got.buffer.size());
        if (got.count >= got.buffer.size()) {
            return u"<overrun>";
        }
        EXPECT_EQ(got.buffer[got.count], u'\0') << "no terminator after the value";
        return got.Value();
    }

    Win32ProfileStore store;
    fs::path tempDir = MakeTempDir();
};

// ---- reading ----

TEST_F(ProfileStoreTest, FindsSectionsAndKeysWithoutRegardToTheCaseOfAToZ) {
    PutBytes("a.cfg", "[General]\r\nMinimize_Startup=1\r\n[Defaults]\r\nPlayer=Winamp\r\n");
    struct Case {
        std::u16string_view section;
        std::u16string_view key;
        std::u16string_view expected;  // "D" where the default is what comes back
    };
    for (const auto& c : std::vector<Case>{
             {u"General", u"Minimize_Startup", u"1"},
             {u"general", u"minimize_startup", u"1"},
             {u"GENERAL", u"MINIMIZE_STARTUP", u"1"},
             {u"Defaults", u"player", u"Winamp"},
             {u"defaults", u"Player", u"Winamp"},
             {u"General", u"Player", u"D"},  // a key of another section
         }) {
        EXPECT_EQ(Read(c.section, c.key, PathOf("a.cfg"), u"D"), c.expected)
            << "[" << Utf8(c.section) << "] " << Utf8(c.key);
    }
}

TEST_F(ProfileStoreTest, AValueLongerThanTheBufferIsCutToOneLessThanItsSize) {
    PutBytes("a.cfg", "[S]\r\nshort=abcdef\r\n");
    struct Case {
        std::size_t size;
        std::u16string_view key;
        std::u16string_view defaultValue;
        std::u16string_view buffer;  // all of it after the call
        std::size_t count;
    };
    for (const auto& c : std::vector<Case>{
             {0, u"short", u"", u"", 0},  // nothing written at all
             {1, u"short", u"", u"\0"sv, 0},
             {2, u"short", u"", u"a\0"sv, 1},
             {6, u"short", u"", u"abcde\0"sv, 5},
             {7, u"short", u"", u"abcdef\0"sv, 6},
             {8, u"short", u"", u"abcdef\0#"sv, 6},
             {5, u"none", u"defaultvalue", u"defa\0"sv, 4},
             {1, u"none", u"defaultvalue", u"\0"sv, 0},
         }) {
        const Got got = Get(u"S", c.key, c.defaultValue, c.size, PathOf("a.cfg"));
        EXPECT_EQ(got.count, c.count) << Utf8(c.key) << " size " << c.size;
        EXPECT_EQ(got.buffer, c.buffer) << Utf8(c.key) << " size " << c.size;
    }
}

TEST_F(ProfileStoreTest, TheDefaultComesBackForAnythingMissingAndAReadCreatesNothing) {
    PutBytes("a.cfg", "[S]\r\nk=v\r\nnoequals\r\nempty=\r\n");
    struct Case {
        std::u16string_view section;
        std::u16string_view key;
        std::string_view file;
        std::u16string_view expected;
    };
    for (const auto& c : std::vector<Case>{
             {u"S", u"missing", "a.cfg", u"def"},
             {u"Missing", u"k", "a.cfg", u"def"},
             {u"S", u"noequals", "a.cfg", u"def"},  // a line without '=' has no value
             {u"S", u"empty", "a.cfg", u""},        // an empty value is a value
             {u"S", u"k", "none.cfg", u"def"},
             {u"S", u"k", "none\\none.cfg", u"def"},
         }) {
        EXPECT_EQ(Read(c.section, c.key, PathOf(c.file), u"def"), c.expected)
            << "[" << Utf8(c.section) << "] " << Utf8(c.key) << " in " << c.file;
    }
    EXPECT_FALSE(Exists("none.cfg"));
    EXPECT_FALSE(Exists("none"));
}

TEST_F(ProfileStoreTest, AnEmptyFileReadsAsEmptyAndTakesAWrite) {
    PutBytes("a.cfg", "");
    EXPECT_EQ(Read(u"S", u"k", PathOf("a.cfg"), u"d"), u"d");
    ASSERT_TRUE(store.WriteString(u"S", u"k", u"v", PathOf("a.cfg")));
    EXPECT_EQ(Bytes("a.cfg"), "[S]\r\nk=v\r\n");
}

TEST_F(ProfileStoreTest, TextsEndAtTheirFirstNul) {
    PutBytes("a.cfg", "[S]\r\nk=v\r\n");
    EXPECT_EQ(Read(u"S\0junk"sv, u"k\0junk"sv, PathOf("a.cfg")), u"v");
    EXPECT_EQ(Read(u"S", u"none", PathOf("a.cfg"), u"de\0f"sv), u"de");
    ASSERT_TRUE(store.WriteString(u"S", u"k", u"w\0junk"sv, PathOf("a.cfg")));
    EXPECT_EQ(Bytes("a.cfg"), "[S]\r\nk=w\r\n");
}

// ---- the file's encoding ----

TEST_F(ProfileStoreTest, AnAnsiFileIsReadAndWrittenInTheCodePageWithQuestionMarksForTheRest) {
    PutBytes("a.cfg", "[S]\r\nk=\xE9\x80\x81\x8D\x9F\xFF\r\n");
    EXPECT_EQ(Read(u"S", u"k", PathOf("a.cfg")), u"\u00E9\u20AC\u0081\u008D\u0178\u00FF");

    // A missing file is made ANSI too.
    const Text path = PathOf("new.cfg");
    ASSERT_TRUE(store.WriteString(u"S\u00E9", u"k", u"\u00E9\u20AC\u0081\u0178\u00FF", path));
    ASSERT_TRUE(store.WriteString(u"S\u00E9", u"cjk", u"\u4E2D\u6587", path));
    ASSERT_TRUE(store.WriteString(u"S\u00E9", u"pair", u"a\U0001F600b", path));
    EXPECT_EQ(Bytes("new.cfg"), "[S\xE9]\r\nk=\xE9\x80\x81\x9F\xFF\r\ncjk=??\r\npair=a??b\r\n");
    EXPECT_EQ(Read(u"S\u00E9", u"k", path), u"\u00E9\u20AC\u0081\u0178\u00FF");
}

TEST_F(ProfileStoreTest, AUtf16FileIsReadAndKeptInUtf16) {
    PutBytes("a.cfg", "\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0\xE9\0\x42\x01\r\0\n\0"s);
    EXPECT_EQ(Read(u"S", u"k", PathOf("a.cfg")), u"\u00E9\u0142");
    ASSERT_TRUE(store.WriteString(u"S", u"j", u"\u4E2D", PathOf("a.cfg")));
    EXPECT_EQ(Bytes("a.cfg"),
              "\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0\xE9\0\x42\x01\r\0\n\0j\0=\0\x2D\x4E\r\0\n\0"s);
}

// ---- writing ----

TEST_F(ProfileStoreTest, AWriteCreatesTheMissingFileSectionAndKey) {
    const Text path = PathOf("settings.cfg");
    ASSERT_TRUE(store.WriteString(u"General", u"Minimize_Startup", u"0", path));
    EXPECT_EQ(Bytes("settings.cfg"), "[General]\r\nMinimize_Startup=0\r\n");
    ASSERT_TRUE(store.WriteString(u"Defaults", u"Player", u"Winamp", path));
    ASSERT_TRUE(store.WriteString(u"defaults", u"ARTIST", u"x", path));       // a new key
    ASSERT_TRUE(store.WriteString(u"DEFAULTS", u"player", u"XMPlay", path));  // found
    EXPECT_EQ(Bytes("settings.cfg"),
              "[General]\r\nMinimize_Startup=0\r\n[Defaults]\r\nPlayer=XMPlay\r\nARTIST=x\r\n");
}

TEST_F(ProfileStoreTest, NoValueDeletesTheKeyAndOnlyThat) {
    const std::string file = "[S]\r\nk=1\r\nj=x\r\n[T]\r\nk=2\r\n";
    PutBytes("a.cfg", file);
    const Text path = PathOf("a.cfg");
    // Nothing to delete: done, and the file stays as it was, or missing.
    ASSERT_TRUE(store.WriteString(u"S", u"none", std::nullopt, path));
    ASSERT_TRUE(store.WriteString(u"None", u"k", std::nullopt, path));
    EXPECT_EQ(Bytes("a.cfg"), file);
    ASSERT_TRUE(store.WriteString(u"S", u"k", std::nullopt, PathOf("none.cfg")));
    EXPECT_FALSE(Exists("none.cfg"));

    ASSERT_TRUE(store.WriteString(u"s", u"K", std::nullopt, path));
    EXPECT_EQ(Bytes("a.cfg"), "[S]\r\nj=x\r\n[T]\r\nk=2\r\n");
    EXPECT_EQ(Read(u"T", u"k", path), u"2");
    // Deleting the last key leaves its header.
    ASSERT_TRUE(store.WriteString(u"S", u"j", std::nullopt, path));
    EXPECT_EQ(Bytes("a.cfg"), "[S]\r\n[T]\r\nk=2\r\n");
}

TEST_F(ProfileStoreTest, AWriteIntoAMissingFolderFailsWithTheSystemsReasonAndATrace) {
    std::vector<std::wstring> traced;
    const TraceSink previous =
        SetTraceSink([&traced](const std::wstring& line) { traced.push_back(line); });
    EXPECT_FALSE(store.WriteString(u"S", u"k", u"v", PathOf("none\\a.cfg")));
    SetTraceSink(previous);
    EXPECT_FALSE(Exists("none"));
    // One line of the system's words, for a message box.
    const Text reason = store.LastWriteFailure();
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(reason.find_first_of(u"\r\n"), Text::npos) << Utf8(reason);
    ASSERT_EQ(traced.size(), 1u);
    EXPECT_NE(traced[0].find(L"WritePrivateProfileStringW " + ToWide(PathOf("none\\a.cfg"))),
              std::wstring::npos);
    // A write that succeeds leaves no reason behind.
    ASSERT_TRUE(store.WriteString(u"S", u"k", u"v", PathOf("a.cfg")));
    EXPECT_EQ(store.LastWriteFailure(), u"");
}

TEST_F(ProfileStoreTest, AReadOnlyFileIsReadButRefusesEveryWrite) {
    const std::string file = "[S]\r\nk=v\r\n";
    PutBytes("a.cfg", file);
    const Text path = PathOf("a.cfg");
    ASSERT_TRUE(SetFileAttributesW(ToWide(path).c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(Read(u"S", u"k", path), u"v");
    EXPECT_FALSE(store.WriteString(u"S", u"k", u"w", path));
    EXPECT_EQ(store.LastWriteFailure(), SystemMessage(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(store.WriteString(u"S", u"k", std::nullopt, path));  // a delete too
    EXPECT_EQ(Bytes("a.cfg"), file);
}

// ---- the settings file over this store ----

TEST_F(ProfileStoreTest, SettingsWrittenWithMixedCaseKeysReadBackThroughLoweredOnes) {
    const Text path = PathOf("settings.cfg");
    ASSERT_TRUE(WriteSetting(store, u"General", u"Minimize_Startup", u"1", path));
    ASSERT_TRUE(WriteSetting(store, u"Defaults", u"Player", u"Winamp", path));
    EXPECT_EQ(ReadSetting(store, u"General", u"Minimize_Startup", path), u"1");
    EXPECT_EQ(ReadSetting(store, u"Defaults", u"Player", path), u"Winamp");
    ASSERT_TRUE(WriteSetting(store, u"Defaults", u"Player", std::nullopt, path));
    EXPECT_EQ(ReadSetting(store, u"Defaults", u"Player", path), u"");
    EXPECT_EQ(Bytes("settings.cfg"), "[General]\r\nMinimize_Startup=1\r\n[Defaults]\r\n");
}

TEST_F(ProfileStoreTest, ASettingOf749CharactersReadsWholeAndALongerOneIsCut) {
    const Text path = PathOf("settings.cfg");
    const Text exact = Text(748, u'x') + u"Y";
    ASSERT_TRUE(WriteSetting(store, u"Defaults", u"Artist", exact, path));
    EXPECT_EQ(ReadSetting(store, u"Defaults", u"Artist", path), exact);
    for (const std::size_t length : {750, 751, 5000}) {
        const Text longer = Text(length - 1, u'x') + u"Z";
        ASSERT_TRUE(WriteSetting(store, u"Defaults", u"Song", longer, path));
        EXPECT_EQ(ReadSetting(store, u"Defaults", u"Song", path), Text(749, u'x')) << length;
    }
}

TEST_F(ProfileStoreTest, SettingsOfAMissingFileReadEmpty) {
    const Text path = PathOf("settings.cfg");
    EXPECT_EQ(ReadSetting(store, u"General", u"Minimize_Startup", path), u"");
    EXPECT_EQ(ReadSetting(store, u"Defaults", u"Format", path), u"");
    EXPECT_FALSE(Exists("settings.cfg"));
}

}  // namespace
}  // namespace tunewick::platform
