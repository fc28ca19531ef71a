// The platform's profile functions, through the program's store, held to what the settings
// file relies on: keys found whatever their case, values cut to the 750-unit buffer, no value
// deleting a key, missing files and sections made by a write, a refused write giving the
// system's reason; an ANSI file kept ANSI until a value needs more, then UTF-16; and a save
// that fails at any step leaving the file as it was.

#include "platform/win32_profile_store.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
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
#include "utf8.h"
#include "win32/captured_trace.h"

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
    // The names in the folder, sorted: a save leaves no copy behind.
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(tempDir)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    // One entry saved on its own.
    bool Write(TextView section, TextView key, std::optional<TextView> value, TextView path) {
        const ProfileEntry entry{section, key, value};
        return store.WriteEntries({&entry, 1}, path);
    }

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
    ASSERT_TRUE(Write(u"S", u"k", u"v", PathOf("a.cfg")));
    EXPECT_EQ(Bytes("a.cfg"), "[S]\r\nk=v\r\n");
}

TEST_F(ProfileStoreTest, TextsEndAtTheirFirstNul) {
    PutBytes("a.cfg", "[S]\r\nk=v\r\n");
    EXPECT_EQ(Read(u"S\0junk"sv, u"k\0junk"sv, PathOf("a.cfg")), u"v");
    EXPECT_EQ(Read(u"S", u"none", PathOf("a.cfg"), u"de\0f"sv), u"de");
    ASSERT_TRUE(Write(u"S", u"k", u"w\0junk"sv, PathOf("a.cfg")));
    EXPECT_EQ(Bytes("a.cfg"), "[S]\r\nk=w\r\n");
}

// ---- the file's encoding ----

// The bytes of a UTF-16 LE profile file: the mark, then `text`.
std::string Utf16File(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

// The cases below are written for Windows-1252, the ANSI code page of the locale Wine gives
// its prefix here.
constexpr UINT kAssumedCodePage = 1252;

TEST_F(ProfileStoreTest, AnAnsiFileIsReadInTheCodePageAndAUtf16FileInUtf16) {
    ASSERT_EQ(GetACP(), kAssumedCodePage);
    PutBytes("a.cfg", "[S]\r\nk=\xE9\x80\x81\x8D\x9F\xFF\r\n");
    EXPECT_EQ(Read(u"S", u"k", PathOf("a.cfg")), u"\u00E9\u20AC\u0081\u008D\u0178\u00FF");
    PutBytes("w.cfg", Utf16File(u"[S]\r\nk=\u00E9\u0142\U0001F600\r\n"));
    EXPECT_EQ(Read(u"S", u"k", PathOf("w.cfg")), u"\u00E9\u0142\U0001F600");
}

TEST_F(ProfileStoreTest, ASaveOfACharacterTheCodePageLacksTurnsTheFileIntoUtf16First) {
    ASSERT_EQ(GetACP(), kAssumedCodePage);
    // Two sections and characters of the code page's upper half, which the conversion keeps.
    const std::string ansi = "[Defaults]\r\nArtist=Caf\xE9\r\n[Other]\r\nPrice=5\x80\r\n";
    struct Case {
        const char* name;
        std::optional<std::string> before;  // none: no file
        std::vector<ProfileEntry> entries;
        std::string after;
    };
    for (const Case& c : std::vector<Case>{
             {"Latin-1 fits: the file stays ANSI",
              ansi,
              {{u"Defaults", u"Song", u"\u00FF \u20AC"}},
              "[Defaults]\r\nArtist=Caf\xE9\r\nSong=\xFF \x80\r\n[Other]\r\nPrice=5\x80\r\n"},
             {"Latin-1 fits: a new file is ANSI",
              std::nullopt,
              {{u"S\u00E9", u"k", u"\u00E9\u20AC\u0081\u0178\u00FF"}},
              "[S\xE9]\r\nk=\xE9\x80\x81\x9F\xFF\r\n"},
             {"Japanese",
              ansi,
              {{u"Defaults", u"Artist", u"\u30D0\u30F3\u30C9"}},
              Utf16File(
                  u"[Defaults]\r\nArtist=\u30D0\u30F3\u30C9\r\n[Other]\r\nPrice=5\u20AC\r\n")},
             {"outside the BMP, into a new file",
              std::nullopt,
              {{u"Defaults", u"Song", u"a\U0001F600b"}},
              Utf16File(u"[Defaults]\r\nSong=a\U0001F600b\r\n")},
             {"a look-alike is not the character: no best fit",
              ansi,
              {{u"Defaults", u"Artist", u"M\u0101ori"}},
              Utf16File(u"[Defaults]\r\nArtist=M\u0101ori\r\n[Other]\r\nPrice=5\u20AC\r\n")},
             {"a mix, in a key, a section and a delete",
              ansi,
              {{u"Defaults", u"Artist", u"Caf\u00E9"},
               {u"Defaults", u"\u66F2", u"\u6B4C \U0001F3B5 Caf\u00E9"},
               {u"Other", u"Price", std::nullopt},
               {u"\u66F2", u"Format", u"{0}"}},
              Utf16File(u"[Defaults]\r\nArtist=Caf\u00E9\r\n\u66F2=\u6B4C \U0001F3B5 Caf\u00E9\r\n"
                        u"[Other]\r\n[\u66F2]\r\nFormat={0}\r\n")},
             {"a UTF-16 file gaining a value that fits stays UTF-16",
              Utf16File(u"[S]\r\nk=\u00E9\u0142\r\n"),
              {{u"S", u"j", u"plain"}},
              Utf16File(u"[S]\r\nk=\u00E9\u0142\r\nj=plain\r\n")},
         }) {
        SCOPED_TRACE(c.name);
        fs::remove(tempDir / "a.cfg");
        if (c.before) {
            PutBytes("a.cfg", *c.before);
        }
        ASSERT_TRUE(store.WriteEntries(c.entries, PathOf("a.cfg")));
        EXPECT_EQ(Bytes("a.cfg"), c.after);
        for (const ProfileEntry& entry : c.entries) {
            EXPECT_EQ(Read(entry.section, entry.key, PathOf("a.cfg"), u"<none>"),
                      entry.value.value_or(u"<none>"));
        }
        EXPECT_EQ(Files(), std::vector<std::string>{"a.cfg"});
    }
}

// ---- writing ----

TEST_F(ProfileStoreTest, AWriteCreatesTheMissingFileSectionAndKey) {
    const Text path = PathOf("settings.cfg");
    ASSERT_TRUE(Write(u"General", u"Minimize_Startup", u"0", path));
    EXPECT_EQ(Bytes("settings.cfg"), "[General]\r\nMinimize_Startup=0\r\n");
    ASSERT_TRUE(Write(u"Defaults", u"Player", u"Winamp", path));
    ASSERT_TRUE(Write(u"defaults", u"ARTIST", u"x", path));       // a new key
    ASSERT_TRUE(Write(u"DEFAULTS", u"player", u"XMPlay", path));  // found
    EXPECT_EQ(Bytes("settings.cfg"),
              "[General]\r\nMinimize_Startup=0\r\n[Defaults]\r\nPlayer=XMPlay\r\nARTIST=x\r\n");
}

TEST_F(ProfileStoreTest, NoValueDeletesTheKeyAndOnlyThat) {
    const std::string file = "[S]\r\nk=1\r\nj=x\r\n[T]\r\nk=2\r\n";
    PutBytes("a.cfg", file);
    const Text path = PathOf("a.cfg");
    // Nothing to delete: done, and the file stays as it was, or missing.
    ASSERT_TRUE(Write(u"S", u"none", std::nullopt, path));
    ASSERT_TRUE(Write(u"None", u"k", std::nullopt, path));
    EXPECT_EQ(Bytes("a.cfg"), file);
    ASSERT_TRUE(Write(u"S", u"k", std::nullopt, PathOf("none.cfg")));
    EXPECT_FALSE(Exists("none.cfg"));

    ASSERT_TRUE(Write(u"s", u"K", std::nullopt, path));
    EXPECT_EQ(Bytes("a.cfg"), "[S]\r\nj=x\r\n[T]\r\nk=2\r\n");
    EXPECT_EQ(Read(u"T", u"k", path), u"2");
    // Deleting the last key leaves its header.
    ASSERT_TRUE(Write(u"S", u"j", std::nullopt, path));
    EXPECT_EQ(Bytes("a.cfg"), "[S]\r\n[T]\r\nk=2\r\n");
}

TEST_F(ProfileStoreTest, AWriteIntoAMissingFolderFailsWithTheSystemsReasonAndATrace) {
    const CapturedTrace trace;
    EXPECT_FALSE(Write(u"S", u"k", u"v", PathOf("none\\a.cfg")));
    EXPECT_FALSE(Exists("none"));
    // One line of the system's words, for a message box.
    const Text reason = store.LastWriteFailure();
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(reason.find_first_of(u"\r\n"), Text::npos) << Utf8(reason);
    ASSERT_EQ(trace.lines.size(), 1u);
    EXPECT_NE(trace.lines[0].find(ToWide(PathOf("none\\a.cfg"))), std::wstring::npos);
    // A write that succeeds leaves no reason behind.
    ASSERT_TRUE(Write(u"S", u"k", u"v", PathOf("a.cfg")));
    EXPECT_EQ(store.LastWriteFailure(), u"");
}

TEST_F(ProfileStoreTest, AReadOnlyFileIsReadButRefusesEveryWrite) {
    const std::string file = "[S]\r\nk=v\r\n";
    PutBytes("a.cfg", file);
    const Text path = PathOf("a.cfg");
    ASSERT_TRUE(SetFileAttributesW(ToWide(path).c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(Read(u"S", u"k", path), u"v");
    EXPECT_FALSE(Write(u"S", u"k", u"w", path));
    EXPECT_EQ(store.LastWriteFailure(), SystemMessage(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(Write(u"S", u"k", std::nullopt, path));  // a delete too
    EXPECT_FALSE(Write(u"S", u"k", u"\u4E2D", path));     // and a change to UTF-16
    EXPECT_EQ(Bytes("a.cfg"), file);
    EXPECT_EQ(Files(), std::vector<std::string>{"a.cfg"});
    EXPECT_EQ(GetFileAttributesW(ToWide(path).c_str()) & FILE_ATTRIBUTE_READONLY,
              DWORD{FILE_ATTRIBUTE_READONLY});
}

TEST_F(ProfileStoreTest, ASavedFileKeepsTheAttributesAUserGaveIt) {
    PutBytes("a.cfg", "[S]\r\nk=v\r\n");
    const std::wstring path = ToWide(PathOf("a.cfg"));
    const DWORD given = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), given));
    ASSERT_EQ(GetFileAttributesW(path.c_str()) & given, given) << "this file system keeps none";
    ASSERT_TRUE(Write(u"S", u"k", u"\u4E2D", PathOf("a.cfg")));
    EXPECT_EQ(Read(u"S", u"k", PathOf("a.cfg")), u"\u4E2D");
    EXPECT_EQ(GetFileAttributesW(path.c_str()) & given, given);
}

// ---- all or nothing ----

// Makes the `failing`-th of the calls a save makes that can fail half way (each entry's write,
// then the rename) fail as for a file another program holds open; counts them in `calls`.
ProfileSaveCalls FailingCall(int failing, int& calls) {
    const auto fails = [failing, &calls] {
        if (++calls != failing) {
            return false;
        }
        SetLastError(ERROR_SHARING_VIOLATION);
        return true;
    };
    ProfileSaveCalls saveCalls;
    saveCalls.writeString = [fails](LPCWSTR section, LPCWSTR key, LPCWSTR value, LPCWSTR file) {
        return fails() ? FALSE : WritePrivateProfileStringW(section, key, value, file);
    };
    saveCalls.moveFile = [fails](LPCWSTR from, LPCWSTR to, DWORD flags) {
        return fails() ? FALSE : MoveFileExW(from, to, flags);
    };
    return saveCalls;
}

TEST_F(ProfileStoreTest, ASaveThatFailsAtAnyStepLeavesTheFileAsItWasAndNoCopy) {
    const std::string ansi =
        "[General]\r\nMinimize_Startup=1\r\n[Defaults]\r\nPlayer=Winamp\r\nArtist=Old\r\n";
    const std::vector<ProfileEntry> fitting = {
        {u"General", u"Minimize_Startup", u"0"}, {u"Defaults", u"Player", std::nullopt},
        {u"Defaults", u"Artist", u"New"},        {u"Defaults", u"Song", u"Caf\u00E9"},
        {u"Defaults", u"Format", u"{0} - {1}"},
    };
    const std::vector<ProfileEntry> needingUtf16 = [&fitting] {
        std::vector<ProfileEntry> entries = fitting;
        entries[2].value = u"\u30D0\u30F3\u30C9";
        return entries;
    }();
    constexpr int kCalls = 6;  // five writes, one rename

    for (const std::optional<std::string>& before :
         {std::optional<std::string>(ansi),
          std::optional<std::string>(Utf16File(u"[S]\r\nk=\u0142\r\n")),
          std::optional<std::string>()}) {
        for (const auto* entries : {&fitting, &needingUtf16}) {
            for (int failing = 1; failing <= kCalls; ++failing) {
                SCOPED_TRACE(std::string(before ? "a file" : "no file") + ", " +
                             (entries == &fitting ? "fitting" : "needing UTF-16") +
                             ", failing call " + std::to_string(failing));
                fs::remove(tempDir / "a.cfg");
                if (before) {
                    PutBytes("a.cfg", *before);
                }
                int calls = 0;
                Win32ProfileStore failingStore(FailingCall(failing, calls));
                const CapturedTrace trace;
                EXPECT_FALSE(failingStore.WriteEntries(*entries, PathOf("a.cfg")));
                EXPECT_EQ(calls, failing) << "went on after the failure";
                EXPECT_EQ(failingStore.LastWriteFailure(), SystemMessage(ERROR_SHARING_VIOLATION));
                EXPECT_EQ(Bytes("a.cfg"), before.value_or("<missing>"));
                EXPECT_EQ(Files(),
                          before ? std::vector<std::string>{"a.cfg"} : std::vector<std::string>{});
                ASSERT_EQ(trace.lines.size(), 1u);
                EXPECT_NE(trace.lines[0].find(failing < kCalls ? L"WritePrivateProfileStringW "
                                                               : L"MoveFileExW "),
                          std::wstring::npos);
            }
        }
    }
    // The same calls, none failing, save it all.
    int calls = 0;
    Win32ProfileStore counted(FailingCall(0, calls));
    ASSERT_TRUE(counted.WriteEntries(needingUtf16, PathOf("a.cfg")));
    EXPECT_EQ(calls, kCalls);
    EXPECT_EQ(Read(u"Defaults", u"Artist", PathOf("a.cfg")), u"\u30D0\u30F3\u30C9");
    EXPECT_EQ(Files(), std::vector<std::string>{"a.cfg"});
}

// ---- the settings file over this store ----

TEST_F(ProfileStoreTest, ASettingOf749CharactersReadsWholeAndALongerOneIsCut) {
    const Text path = PathOf("settings.cfg");
    const Text exact = Text(748, u'x') + u"Y";
    ASSERT_TRUE(Write(u"Defaults", u"Artist", exact, path));
    EXPECT_EQ(ReadSetting(store, u"Defaults", u"Artist", path), exact);
    for (const std::size_t length : {750, 751, 5000}) {
        const Text longer = Text(length - 1, u'x') + u"Z";
        ASSERT_TRUE(Write(u"Defaults", u"Song", longer, path));
        EXPECT_EQ(ReadSetting(store, u"Defaults", u"Song", path), Text(749, u'x')) << length;
    }
}

}  // namespace
}  // namespace tunewick::platform
