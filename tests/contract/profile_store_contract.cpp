#include "contract/profile_store_contract.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <string_view>
#include <vector>

#include "settings/settings_file.h"

namespace tunewick::contract {
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

Got Get(FullProfileStore& store, TextView section, TextView key, TextView defaultValue,
        std::size_t size, TextView path) {
    Text buffer(size, u'#');
    const std::size_t count = store.GetString(section, key, defaultValue, buffer, path);
    return {count, buffer};
}

// A value read into a roomy buffer, checked for its terminator.
Text Read(FullProfileStore& store, TextView section, TextView key, TextView path,
          TextView defaultValue = u"") {
    const Got got = Get(store, section, key, defaultValue, 100, path);
    EXPECT_LT(got.count, got.buffer.size());
    if (got.count >= got.buffer.size()) {
        return u"<overrun>";
    }
    EXPECT_EQ(got.buffer[got.count], u'\0') << "no terminator after the value";
    return got.Value();
}

std::string Utf8(TextView text) {
    return ToUtf8(text);
}

}  // namespace

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

void PrintTo(const ProfileStoreTarget& target, std::ostream* out) {
    *out << target.name;
}

std::string ProfileStoreTargetName(const ::testing::TestParamInfo<ProfileStoreTarget>& info) {
    return info.param.name;
}

void ProfileStoreContract::SetUp() {
    store = GetParam().makeStore();
    tempDir = GetParam().makeTempDir();
}

void ProfileStoreContract::TearDown() {
    std::error_code ignored;
    fs::remove_all(tempDir, ignored);
}

Text ProfileStoreContract::PathOf(std::string_view name) const {
#ifdef _WIN32
    const std::wstring folder = tempDir.wstring();
    Text path(folder.begin(), folder.end());
#else
    Text path = FromUtf8(tempDir.string());
#endif
    path += u'\\';
    path += FromUtf8(name);
    return path;
}

void ProfileStoreContract::PutBytes(std::string_view name, std::string_view bytes) const {
    std::ofstream out(tempDir / fs::path(name), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << "cannot write " << name;
}

std::string ProfileStoreContract::Bytes(std::string_view name) const {
    std::ifstream in(tempDir / fs::path(name), std::ios::binary);
    if (!in) {
        return "<missing>";
    }
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool ProfileStoreContract::Exists(std::string_view name) const {
    return fs::exists(tempDir / fs::path(name));
}

// ---- reading ----

struct ReadCase {
    std::u16string_view section;
    std::u16string_view key;
    std::u16string_view expected;  // "D" where the default is what comes back
};

void ExpectReads(FullProfileStore& store, TextView path, const std::vector<ReadCase>& cases) {
    for (const auto& c : cases) {
        EXPECT_EQ(Read(store, c.section, c.key, path, u"D"), c.expected)
            << "[" << Utf8(c.section) << "] " << Utf8(c.key);
    }
}

TEST_P(ProfileStoreContract, FindsSectionsAndKeysWithoutRegardToTheCaseOfAToZ) {
    PutBytes("a.cfg",
             "[General]\r\nMinimize_Startup=1\r\n[Defaults]\r\nPlayer=Winamp\r\n"
             "[S\xE9]\r\nk\xE9=accent\r\n");
    ExpectReads(*store, PathOf("a.cfg"),
                {
                    {u"General", u"Minimize_Startup", u"1"},
                    {u"general", u"minimize_startup", u"1"},
                    {u"GENERAL", u"MINIMIZE_STARTUP", u"1"},
                    {u"Defaults", u"player", u"Winamp"},
                    {u"defaults", u"Player", u"Winamp"},
                    {u"General", u"Player", u"D"},  // a key of another section
                    {u"S\u00E9", u"k\u00E9", u"accent"},
                    {u"S\u00C9", u"k\u00E9", u"D"},  // no case beyond A-Z
                    {u"S\u00E9", u"K\u00C9", u"D"},
                });
}

TEST_P(ProfileStoreContract, BlanksAroundNamesAndValuesAreNotPartOfThem) {
    PutBytes("a.cfg",
             "  [ Sec ]  \r\n  key  =  value  \r\n\tTab\t=\tv\t\r\nk2 = a b \r\n"
             "\x1A\x0B\x0C"
             "ctl\x0C=\x0B\x1A"
             "c\x1A\r\nnbsp=\xA0"
             "v\xA0\r\n"
             "[Sec2]x\r\nkk=vv\r\n[Sec3] ; c\r\nk=3\r\n[ Sec4\r\nk=4\r\n");
    ExpectReads(*store, PathOf("a.cfg"),
                {
                    {u"Sec", u"key", u"value"},
                    {u" Sec ", u"  key  ", u"value"},  // the caller's blanks go too
                    {u"\tSec\r\n", u"\x0Bkey\x1A", u"value"},
                    {u"Sec", u"tab", u"v"},
                    {u"Sec", u"k2", u"a b"},  // inner blanks stay
                    {u"Sec", u"ctl", u"c"},
                    {u"Sec", u"nbsp", u"\u00A0v\u00A0"},  // a no-break space is no blank
                    {u"Sec2", u"kk", u"vv"},              // text after ']' is ignored
                    {u"Sec2]x", u"kk", u"D"},
                    {u"Sec3", u"k", u"3"},
                    {u"Sec4", u"k", u"D"},  // "[ Sec4" has no ']': a line of Sec3
                    {u" Sec4", u"k", u"D"},
                });
}

TEST_P(ProfileStoreContract, MatchingQuotesAroundAValueAreDropped) {
    PutBytes("a.cfg",
             "[S]\r\nq1=\"hello\"\r\nq2='hi'\r\nq3=\"mixed'\r\nq4=\"\r\nq5=\"\"\r\n"
             "q6=\"a\"b\"\r\nq7= \" sp \" \r\nq8=\"unterminated\r\nq9=x\"y\"\r\n\"qk\"=v\r\n");
    ExpectReads(*store, PathOf("a.cfg"),
                {
                    {u"S", u"q1", u"hello"},
                    {u"S", u"q2", u"hi"},
                    {u"S", u"q3", u"\"mixed'"},
                    {u"S", u"q4", u"\""},
                    {u"S", u"q5", u""},
                    {u"S", u"q6", u"a\"b"},
                    {u"S", u"q7", u" sp "},  // blanks inside the quotes stay
                    {u"S", u"q8", u"\"unterminated"},
                    {u"S", u"q9", u"x\"y\""},
                    {u"S", u"\"qk\"", u"v"},  // keys keep their quotes
                    {u"S", u"qk", u"D"},
                });
    // A default loses its quotes as well.
    EXPECT_EQ(Read(*store, u"S", u"none", PathOf("a.cfg"), u"\"quoted\""), u"quoted");
}

TEST_P(ProfileStoreContract, AQuotedValueCutByTheBufferLosesOneCharacterTooManyWhenItJustFits) {
    PutBytes("a.cfg", "[S]\r\nq=\"hello\"\r\n");
    struct Case {
        std::size_t size;
        std::u16string_view expected;
    };
    // «hello» plus its terminator would fit in 6, yet 6 gives «hell»: the platform makes room
    // for the closing quote before dropping it.
    for (const auto& c : std::vector<Case>{
             {2, u"h"}, {3, u"he"}, {5, u"hell"}, {6, u"hell"}, {7, u"hello"}, {8, u"hello"}}) {
        const Got got = Get(*store, u"S", u"q", u"", c.size, PathOf("a.cfg"));
        EXPECT_EQ(got.Value(), c.expected) << "size " << c.size;
        EXPECT_EQ(got.buffer[got.count], u'\0') << "size " << c.size;
    }
}

TEST_P(ProfileStoreContract, AValueLongerThanTheBufferIsCutToOneLessThanItsSize) {
    std::string file = "[S]\r\n";
    for (const std::size_t length : {749, 750, 751, 1000, 5000}) {
        file += "k" + std::to_string(length) + "=" + std::string(length - 1, 'a') + "Z\r\n";
    }
    file += "short=abcdef\r\n";
    PutBytes("a.cfg", file);
    const Text path = PathOf("a.cfg");

    const Got whole = Get(*store, u"S", u"k749", u"", 750, path);
    EXPECT_EQ(whole.count, 749u);
    EXPECT_EQ(whole.Value(), Text(748, u'a') + u"Z");
    for (const std::u16string_view key : {u"k750"sv, u"k751"sv, u"k1000"sv, u"k5000"sv}) {
        const Got cut = Get(*store, u"S", key, u"", 750, path);
        EXPECT_EQ(cut.count, 749u) << Utf8(key);
        EXPECT_EQ(cut.Value(), Text(749, u'a')) << Utf8(key);
        EXPECT_EQ(cut.buffer[749], u'\0') << Utf8(key);
    }

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
        const Got got = Get(*store, u"S", c.key, c.defaultValue, c.size, path);
        EXPECT_EQ(got.count, c.count) << Utf8(c.key) << " size " << c.size;
        EXPECT_EQ(got.buffer, c.buffer) << Utf8(c.key) << " size " << c.size;
    }
}

TEST_P(ProfileStoreContract, TheDefaultComesBackForAnythingMissing) {
    PutBytes("a.cfg", "[S]\r\nk=v\r\nnoequals\r\nempty=\r\nblank=   \r\n");
    const Text path = PathOf("a.cfg");
    const Text noFile = PathOf("none.cfg");
    const Text noFolder = PathOf("none\\none.cfg");
    struct Case {
        std::u16string_view section;
        std::u16string_view key;
        TextView path;
        std::u16string_view defaultValue;
        std::u16string_view expected;
    };
    for (const auto& c : std::vector<Case>{
             {u"S", u"missing", path, u"def", u"def"},
             {u"Missing", u"k", path, u"def", u"def"},
             {u"S", u"noequals", path, u"def", u"def"},  // a line without '=' has no value
             {u"S", u"empty", path, u"def", u""},        // an empty value is a value
             {u"S", u"blank", path, u"def", u""},
             {u"S", u"k", noFile, u"def", u"def"},
             {u"S", u"k", noFolder, u"def", u"def"},
             // Trailing spaces of the default go, but never its first character.
             {u"S", u"missing", path, u"def  ", u"def"},
             {u"S", u"missing", path, u"  def  ", u"  def"},
             {u"S", u"missing", path, u"   ", u" "},
             {u"S", u"missing", path, u"", u""},
             // Quotes go from a default, except when the file's folder is missing.
             {u"S", u"missing", path, u"\"q\"  ", u"q"},
             {u"S", u"k", noFile, u"\"q\"", u"q"},
             {u"S", u"k", noFolder, u"\"q\"  ", u"\"q\""},
         }) {
        EXPECT_EQ(Read(*store, c.section, c.key, c.path, c.defaultValue), c.expected)
            << "[" << Utf8(c.section) << "] " << Utf8(c.key) << " default «" << Utf8(c.defaultValue)
            << "» in " << Utf8(c.path);
    }
    EXPECT_FALSE(Exists("none.cfg")) << "a read creates no file";
}

TEST_P(ProfileStoreContract, OddLinesReadAsTheyParse) {
    PutBytes("a.cfg",
             "garbage before section\r\nk0=v0\r\n[S]\r\nnoequals\r\n=novalue-key\r\nk==v\r\n"
             "; comment=1\r\n;c2\r\n#hash=1\r\ninline=v ; not a comment\r\n\r\n\r\nk=v\r\n"
             "[S]\r\nk=dup\r\nk2=second\r\n[s]\r\nk3=third\r\nlast=1");
    ExpectReads(*store, PathOf("a.cfg"),
                {
                    {u"", u"k0", u"v0"},  // lines before any header: the nameless section
                    {u"", u"garbage before section", u"D"},
                    {u"S", u"noequals", u"D"},
                    {u"S", u"", u"novalue-key"},
                    {u"S", u"k", u"=v"},         // the first '=' splits; the first key wins
                    {u"S", u"; comment", u"1"},  // ';' makes no comment for a read
                    {u"S", u";c2", u"D"},
                    {u"S", u"#hash", u"1"},
                    {u"S", u"inline", u"v ; not a comment"},
                    // Only the first section of a name is looked at.
                    {u"S", u"k2", u"D"},
                    {u"S", u"k3", u"D"},
                    {u"S", u"last", u"D"},
                });
}

TEST_P(ProfileStoreContract, LinesEndAtAnyCarriageReturnOrLineFeed) {
    PutBytes("lf.cfg", "[S]\nk=v\nj=w");
    PutBytes("cr.cfg", "[S]\rk=v\rj=w\r");
    PutBytes("mixed.cfg", "[S]\rk=v\nj=w\r\n\n\r[T]\ra=1\r");
    ExpectReads(*store, PathOf("lf.cfg"), {{u"S", u"k", u"v"}, {u"S", u"j", u"w"}});
    ExpectReads(*store, PathOf("cr.cfg"), {{u"S", u"k", u"v"}, {u"S", u"j", u"w"}});
    ExpectReads(*store, PathOf("mixed.cfg"),
                {{u"S", u"k", u"v"}, {u"S", u"j", u"w"}, {u"T", u"a", u"1"}});
}

TEST_P(ProfileStoreContract, AnAnsiFileReadsAsWindows1252) {
    PutBytes("a.cfg", "[S]\r\nk=\xE9\x80\x81\x8D\x9F\xFF\r\n");
    EXPECT_EQ(Read(*store, u"S", u"k", PathOf("a.cfg")), u"\u00E9\u20AC\u0081\u008D\u0178\u00FF");
}

TEST_P(ProfileStoreContract, AFileWithAByteOrderMarkReadsInItsEncoding) {
    PutBytes("utf8.cfg", "\xEF\xBB\xBF[S]\r\nk=\xC3\xA9\xE2\x82\xAC\r\n");
    PutBytes("utf16le.cfg", "\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0\xE9\0\x42\x01\r\0\n\0"s);
    PutBytes("utf16be.cfg", "\xFE\xFF\0[\0S\0]\0\r\0\n\0k\0=\0\xE9\x01\x42\0\r\0\n"s);
    EXPECT_EQ(Read(*store, u"S", u"k", PathOf("utf8.cfg")), u"\u00E9\u20AC");
    EXPECT_EQ(Read(*store, u"S", u"k", PathOf("utf16le.cfg")), u"\u00E9\u0142");
    EXPECT_EQ(Read(*store, u"S", u"k", PathOf("utf16be.cfg")), u"\u00E9\u0142");
}

TEST_P(ProfileStoreContract, TextsEndAtTheirFirstNul) {
    PutBytes("a.cfg", "[S]\r\nk=v\r\n");
    EXPECT_EQ(Read(*store, u"S\0junk"sv, u"k\0junk"sv, PathOf("a.cfg")), u"v");
    EXPECT_EQ(Read(*store, u"S", u"none", PathOf("a.cfg"), u"de\0f"sv), u"de");
    ASSERT_TRUE(store->WriteString(u"S", u"k", u"w\0junk"sv, PathOf("a.cfg")));
    EXPECT_EQ(Bytes("a.cfg"), "[S]\r\nk=w\r\n");
}

// ---- writing ----

TEST_P(ProfileStoreContract, AWriteCreatesTheMissingFileSectionAndKey) {
    const Text path = PathOf("settings.cfg");
    ASSERT_TRUE(store->WriteString(u"General", u"Minimize_Startup", u"0", path));
    EXPECT_EQ(Bytes("settings.cfg"), "[General]\r\nMinimize_Startup=0\r\n");
    ASSERT_TRUE(store->WriteString(u"Defaults", u"Player", u"Winamp", path));
    ASSERT_TRUE(store->WriteString(u"defaults", u"ARTIST", u"x", path));       // a new key
    ASSERT_TRUE(store->WriteString(u"DEFAULTS", u"player", u"XMPlay", path));  // found
    EXPECT_EQ(Bytes("settings.cfg"),
              "[General]\r\nMinimize_Startup=0\r\n[Defaults]\r\nPlayer=XMPlay\r\nARTIST=x\r\n");
}

TEST_P(ProfileStoreContract, NoValueDeletesTheKeyAndOnlyThat) {
    PutBytes("a.cfg", "[S]\r\nk=1\r\nk=2\r\nj=x\r\n[S]\r\nk=3\r\nlate=4\r\n");
    const Text path = PathOf("a.cfg");
    ASSERT_TRUE(store->WriteString(u"s", u"K", std::nullopt, path));
    EXPECT_EQ(Bytes("a.cfg"), "[S]\r\nk=2\r\nj=x\r\n[S]\r\nk=3\r\nlate=4\r\n");
    EXPECT_EQ(Read(*store, u"S", u"k", path), u"2");
    // Unlike a read, a delete looks into every section of the name.
    ASSERT_TRUE(store->WriteString(u"S", u"late", std::nullopt, path));
    EXPECT_EQ(Bytes("a.cfg"), "[S]\r\nk=2\r\nj=x\r\n[S]\r\nk=3\r\n");
    // Deleting the last key leaves its header.
    ASSERT_TRUE(store->WriteString(u"S", u"k", std::nullopt, path));
    ASSERT_TRUE(store->WriteString(u"S", u"j", std::nullopt, path));
    EXPECT_EQ(Bytes("a.cfg"), "[S]\r\n[S]\r\nk=3\r\n");
}

TEST_P(ProfileStoreContract, ADeleteThatFindsNothingLeavesTheFileAsItWas) {
    const std::string odd = "\r\n  [S]  \r\n  k  =  v  \r\n\r\n;note\n";
    PutBytes("a.cfg", odd);
    const Text path = PathOf("a.cfg");
    struct Case {
        std::u16string_view section;
        std::u16string_view key;
    };
    for (const auto& c : std::vector<Case>{
             {u"S", u"none"},
             {u"None", u"k"},
             {u"S", u" k "},  // a delete does not trim the names it is given
             {u" S ", u"k"},
         }) {
        EXPECT_TRUE(store->WriteString(c.section, c.key, std::nullopt, path));
        EXPECT_EQ(Bytes("a.cfg"), odd) << "[" << Utf8(c.section) << "] " << Utf8(c.key);
    }
    EXPECT_TRUE(store->WriteString(u"S", u"k", std::nullopt, PathOf("none.cfg")));
    EXPECT_FALSE(Exists("none.cfg"));
}

TEST_P(ProfileStoreContract, AnUnchangedValueLeavesTheFileAsItWas) {
    const std::string odd = "\r\n  [S]  \r\n  k  =  v  \r\n\r\n";
    PutBytes("a.cfg", odd);
    const Text path = PathOf("a.cfg");
    EXPECT_TRUE(store->WriteString(u"S", u"k", u"v", path));
    EXPECT_TRUE(store->WriteString(u" s ", u"K", u" \t v", path));  // leading blanks go
    EXPECT_EQ(Bytes("a.cfg"), odd);
    EXPECT_TRUE(store->WriteString(u"S", u"k", u"v ", path));  // trailing blanks stay
    EXPECT_EQ(Bytes("a.cfg"), "[S]\r\nk=v \r\n");
    EXPECT_EQ(Read(*store, u"S", u"k", path), u"v");
}

TEST_P(ProfileStoreContract, ARewriteKeepsEveryLineButBlankOnesInItsParsedForm) {
    PutBytes("a.cfg",
             "garbage before section\r\nk0 = v0\r\n\r\n[S]  ; after\r\nnoequals\r\n"
             "=novalue-key\r\n = dropped\r\nk==v\r\n; comment=1\r\n;c2\r\n#hash=1\r\n\r\n\r\n\tk = "
             "v \r\n"
             "[S]\nk=dup\nk2=second\n[s]\rk3=third\rlast=1");
    const Text path = PathOf("a.cfg");
    // A nameless line right after another one is lost.
    ASSERT_TRUE(store->WriteString(u"S", u"k", u"new", path));
    EXPECT_EQ(Bytes("a.cfg"),
              "garbage before section\r\nk0=v0\r\n[S]\r\nnoequals\r\n=novalue-key\r\nk=new\r\n"
              "; comment=1\r\n;c2\r\n#hash=1\r\nk=v\r\n[S]\r\nk=dup\r\nk2=second\r\n[s]\r\n"
              "k3=third\r\nlast=1\r\n");
    // A key missing from the first section of its name goes there, even if a later
    // section of that name has it.
    ASSERT_TRUE(store->WriteString(u"S", u"k3", u"three", path));
    ASSERT_TRUE(store->WriteString(u"", u"k0", u"V0", path));
    EXPECT_EQ(Bytes("a.cfg"),
              "garbage before section\r\nk0=V0\r\n[S]\r\nnoequals\r\n=novalue-key\r\nk=new\r\n"
              "; comment=1\r\n;c2\r\n#hash=1\r\nk=v\r\nk3=three\r\n[S]\r\nk=dup\r\n"
              "k2=second\r\n[s]\r\nk3=third\r\nlast=1\r\n");
}

TEST_P(ProfileStoreContract, NamesAndValuesAreWrittenAsGivenLessLeadingBlanks) {
    const Text path = PathOf("a.cfg");
    struct Step {
        std::u16string_view section;
        std::u16string_view key;
        std::u16string_view value;
        std::string_view fileAfter;
    };
    for (const auto& s : std::vector<Step>{
             {u"S", u"k", u"  v  ", "[S]\r\nk=v  \r\n"},
             // Trailing blanks of a new key are written, then trimmed when the file is read.
             {u"S", u" key ", u"x", "[S]\r\nk=v\r\nkey =x\r\n"},
             {u"S", u"nl", u"a\r\nb", "[S]\r\nk=v\r\nkey=x\r\nnl=a\r\nb\r\n"},
             {u"S", u"e", u"", "[S]\r\nk=v\r\nkey=x\r\nnl=a\r\nb\r\ne=\r\n"},
             {u"S", u"", u"emptykey", "[S]\r\nk=v\r\nkey=x\r\nnl=a\r\nb\r\ne=\r\n=emptykey\r\n"},
             {u"S", u"a=b", u"c",
              "[S]\r\nk=v\r\nkey=x\r\nnl=a\r\nb\r\ne=\r\n=emptykey\r\na=b=c\r\n"},
             {u" T ", u"k", u"v",
              "[S]\r\nk=v\r\nkey=x\r\nnl=a\r\nb\r\ne=\r\n=emptykey\r\na=b=c\r\n[T ]\r\nk=v\r\n"},
             {u"[U]", u"k", u"v",
              "[S]\r\nk=v\r\nkey=x\r\nnl=a\r\nb\r\ne=\r\n=emptykey\r\na=b=c\r\n[T]\r\nk=v\r\n"
              "[[U]]\r\nk=v\r\n"},
         }) {
        ASSERT_TRUE(store->WriteString(s.section, s.key, s.value, path));
        EXPECT_EQ(Bytes("a.cfg"), s.fileAfter)
            << "after [" << Utf8(s.section) << "] " << Utf8(s.key);
    }
    ExpectReads(*store, path,
                {
                    {u"S", u"k", u"v"},
                    {u"S", u"key", u"x"},
                    {u"S", u"nl", u"a"},  // the line break split the value
                    {u"S", u"b", u"D"},
                    {u"S", u"e", u""},
                    {u"S", u"", u"emptykey"},
                    {u"S", u"a", u"b=c"},
                    {u"S", u"a=b", u"D"},
                    {u"T", u"k", u"v"},
                    {u"[U]", u"k", u"v"},
                    {u"U", u"k", u"D"},
                });
}

TEST_P(ProfileStoreContract, TheNamelessSectionIsWrittenWithoutAHeader) {
    PutBytes("a.cfg", "\r\n[A]\r\na=1\r\n");
    ASSERT_TRUE(store->WriteString(u"", u"top", u"5", PathOf("a.cfg")));
    EXPECT_EQ(Bytes("a.cfg"), "top=5\r\n[A]\r\na=1\r\n");

    ASSERT_TRUE(store->WriteString(u"", u"k", u"v", PathOf("new.cfg")));
    EXPECT_EQ(Bytes("new.cfg"), "k=v\r\n");

    // An empty header names a second nameless section, which the rewrite merges into the
    // one before it.
    PutBytes("b.cfg", "top=1\r\n[]\r\nk=v\r\n");
    EXPECT_EQ(Read(*store, u"", u"k", PathOf("b.cfg"), u"D"), u"D");
    ASSERT_TRUE(store->WriteString(u"", u"k", u"w", PathOf("b.cfg")));
    EXPECT_EQ(Bytes("b.cfg"), "top=1\r\nk=w\r\nk=v\r\n");
}

TEST_P(ProfileStoreContract, AnAnsiFileIsWrittenInWindows1252WithQuestionMarksForTheRest) {
    const Text path = PathOf("a.cfg");
    ASSERT_TRUE(store->WriteString(u"S\u00E9", u"k", u"\u00E9\u20AC\u0081\u0178\u00FF", path));
    ASSERT_TRUE(store->WriteString(u"S\u00E9", u"cjk", u"\u4E2D\u6587", path));
    ASSERT_TRUE(store->WriteString(u"S\u00E9", u"pair", u"a\U0001F600b", path));
    EXPECT_EQ(Bytes("a.cfg"), "[S\xE9]\r\nk=\xE9\x80\x81\x9F\xFF\r\ncjk=??\r\npair=a??b\r\n");
    EXPECT_EQ(Read(*store, u"S\u00E9", u"k", path), u"\u00E9\u20AC\u0081\u0178\u00FF");
}

TEST_P(ProfileStoreContract, AFileWithAByteOrderMarkKeepsItsEncoding) {
    PutBytes("utf8.cfg", "\xEF\xBB\xBF[S]\r\nk=\xC3\xA9\r\n");
    ASSERT_TRUE(store->WriteString(u"S", u"j", u"\u0142", PathOf("utf8.cfg")));
    EXPECT_EQ(Bytes("utf8.cfg"), "\xEF\xBB\xBF[S]\r\nk=\xC3\xA9\r\nj=\xC5\x82\r\n");

    PutBytes("utf16.cfg", "\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0\xE9\0\r\0\n\0"s);
    ASSERT_TRUE(store->WriteString(u"S", u"j", u"\u0142", PathOf("utf16.cfg")));
    EXPECT_EQ(Bytes("utf16.cfg"),
              "\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0\xE9\0\r\0\n\0j\0=\0\x42\x01\r\0\n\0"s);
}

TEST_P(ProfileStoreContract, AWriteIntoAMissingFolderFailsWithTheSystemsReason) {
    EXPECT_FALSE(store->WriteString(u"S", u"k", u"v", PathOf("none\\a.cfg")));
    EXPECT_FALSE(Exists("none"));
    // One line of the system's words, for a message box.
    const Text reason = store->LastWriteFailure();
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(reason.find_first_of(u"\r\n"), Text::npos) << Utf8(reason);
    // A write that succeeds leaves no reason behind.
    ASSERT_TRUE(store->WriteString(u"S", u"k", u"v", PathOf("a.cfg")));
    EXPECT_EQ(store->LastWriteFailure(), u"");
}

TEST_P(ProfileStoreContract, AnEmptyFileReadsAsEmptyAndTakesAWrite) {
    PutBytes("a.cfg", "");
    EXPECT_EQ(Read(*store, u"S", u"k", PathOf("a.cfg"), u"d"), u"d");
    // An empty file has not even the nameless section; a blank line makes one.
    PutBytes("blank.cfg", "\r\n");
    Text none(4, u'#');
    Text empty(4, u'#');
    EXPECT_EQ(store->GetKeyNames(u"", u"", none, PathOf("a.cfg")), 0u);
    EXPECT_EQ(store->GetKeyNames(u"", u"", empty, PathOf("blank.cfg")), 0u);
    EXPECT_EQ(none, u"\0\0##"sv);  // a section not found clears two units
    EXPECT_EQ(empty, u"\0###"sv);

    ASSERT_TRUE(store->WriteString(u"S", u"k", u"v", PathOf("a.cfg")));
    EXPECT_EQ(Bytes("a.cfg"), "[S]\r\nk=v\r\n");
}

// ---- the forms without a key or a section ----

constexpr std::string_view kListing =
    "pre=1\r\n[S]\r\nalpha=1\r\nnoeq\r\n;comment=2\r\nbeta=\r\ngamma=3\r\n[ S ]\r\ndelta=4\r\n"
    "[T]\r\n[Long]\r\nx=1\r\n";

TEST_P(ProfileStoreContract, KeyNamesListTheKeysWithValuesAndAreCutToTheBuffer) {
    PutBytes("a.cfg", kListing);
    struct Case {
        std::u16string_view section;
        std::size_t size;
        std::u16string_view buffer;  // all of it after the call
        std::size_t count;
    };
    for (const auto& c : std::vector<Case>{
             {u"S", 0, u"", 0},
             {u"S", 1, u"\0"sv, 0},
             {u"S", 2, u"d\0"sv, 1},  // no room for a name: the default
             {u"S", 3, u"a\0\0"sv, 1},
             {u"S", 4, u"al\0\0"sv, 2},
             {u"S", 7, u"alpha\0\0"sv, 5},
             {u"S", 8, u"alpha\0\0#"sv, 6},
             {u"S", 9, u"alpha\0b\0\0"sv, 7},
             {u"S", 18, u"alpha\0beta\0gamma\0\0"sv, 16},
             {u"S", 19, u"alpha\0beta\0gamma\0\0#"sv, 17},
             {u"s", 20, u"alpha\0beta\0gamma\0\0##"sv, 17},
             {u" S ", 6, u"dflt\0#"sv, 4},  // the name is not trimmed here
             {u"T", 6, u"dflt\0#"sv, 4},    // a section without keys
             {u"none", 6, u"dflt\0#"sv, 4},
             {u"none", 3, u"df\0"sv, 2},
             {u"none", 1, u"\0"sv, 0},
             {u"", 6, u"pre\0\0#"sv, 4},
             {u"", 3, u"p\0\0"sv, 1},
         }) {
        Text buffer(c.size, u'#');
        const std::size_t count = store->GetKeyNames(c.section, u"dflt", buffer, PathOf("a.cfg"));
        EXPECT_EQ(count, c.count) << "[" << Utf8(c.section) << "] size " << c.size;
        EXPECT_EQ(buffer, c.buffer) << "[" << Utf8(c.section) << "] size " << c.size;
    }
}

TEST_P(ProfileStoreContract, KeyNamesOfAListStartingWithAnEmptyNameGiveTheDefault) {
    PutBytes("a.cfg", "[S]\r\n=first\r\nk=v\r\n");
    Text buffer(10, u'#');
    EXPECT_EQ(store->GetKeyNames(u"S", u"dflt", buffer, PathOf("a.cfg")), 4u);
    EXPECT_EQ(buffer.substr(0, 5), u"dflt\0"sv);
    Text missing(10, u'#');
    EXPECT_EQ(store->GetKeyNames(u"S", u"dflt", missing, PathOf("none.cfg")), 4u);
    EXPECT_EQ(missing.substr(0, 5), u"dflt\0"sv);
}

TEST_P(ProfileStoreContract, KeyNamesKeepTheTrailingSpacesOfTheDefaultButNotItsQuotes) {
    PutBytes("a.cfg", kListing);
    struct Case {
        std::u16string_view defaultValue;
        std::u16string_view folder;
        std::size_t size;
        std::u16string_view buffer;
        std::size_t count;
    };
    for (const auto& c : std::vector<Case>{
             {u"v  ", u"", 6, u"v  \0##"sv, 3},
             {u"'q'", u"", 6, u"q\0\0###"sv, 1},
             {u"'q'", u"", 2, u"\0\0"sv, 0},  // the quoted value cut by the buffer
             // A missing folder gives the same, where a value's default keeps its quotes.
             {u"v  ", u"none\\", 6, u"v  \0##"sv, 3},
             {u"'q'", u"none\\", 6, u"q\0\0###"sv, 1},
             {u"", u"none\\", 3, u"\0##"sv, 0},
         }) {
        Text buffer(c.size, u'#');
        const Text path = PathOf(Utf8(c.folder) + "a.cfg");
        EXPECT_EQ(store->GetKeyNames(u"none", c.defaultValue, buffer, path), c.count)
            << "default «" << Utf8(c.defaultValue) << "» in " << Utf8(path);
        EXPECT_EQ(buffer, c.buffer) << "default «" << Utf8(c.defaultValue) << "» in " << Utf8(path);
    }
}

TEST_P(ProfileStoreContract, SectionNamesListEveryHeaderAndAreCutToTheBuffer) {
    PutBytes("a.cfg", kListing);
    struct Case {
        std::size_t size;
        std::u16string_view buffer;
        std::size_t count;
    };
    for (const auto& c : std::vector<Case>{
             {0, u"", 0},
             {1, u"\0"sv, 0},
             {2, u"\0\0"sv, 0},
             {3, u"S\0\0"sv, 1},
             {4, u"S\0\0\0"sv, 2},
             {5, u"S\0S\0\0"sv, 3},
             {12, u"S\0S\0T\0Long\0\0"sv, 10},
             {13, u"S\0S\0T\0Long\0\0#"sv, 11},
             {16, u"S\0S\0T\0Long\0\0####"sv, 11},
         }) {
        Text buffer(c.size, u'#');
        EXPECT_EQ(store->GetSectionNames(u"dflt", buffer, PathOf("a.cfg")), c.count)
            << "size " << c.size;
        EXPECT_EQ(buffer, c.buffer) << "size " << c.size;
    }
    // The default plays no part. No file: an empty list; no folder: nothing written.
    Text buffer(6, u'#');
    EXPECT_EQ(store->GetSectionNames(u"dflt", buffer, PathOf("none.cfg")), 0u);
    EXPECT_EQ(buffer, u"\0#####"sv);
    Text noFolder(6, u'#');
    EXPECT_EQ(store->GetSectionNames(u"dflt", noFolder, PathOf("none\\none.cfg")), 0u);
    EXPECT_EQ(noFolder, u"######"sv);
}

TEST_P(ProfileStoreContract, DeleteSectionRemovesTheFirstSectionOfTheNameWithItsKeys) {
    PutBytes("a.cfg", "[S]\r\nk=1\r\n[T]\r\nx=1\r\n[s]\r\nk=3\r\n");
    const Text path = PathOf("a.cfg");
    EXPECT_TRUE(store->DeleteSection(u" T ", path));  // not trimmed: nothing found
    EXPECT_TRUE(store->DeleteSection(u"none", path));
    EXPECT_EQ(Bytes("a.cfg"), "[S]\r\nk=1\r\n[T]\r\nx=1\r\n[s]\r\nk=3\r\n");
    EXPECT_TRUE(store->DeleteSection(u"S", path));
    EXPECT_EQ(Bytes("a.cfg"), "[T]\r\nx=1\r\n[s]\r\nk=3\r\n");
    EXPECT_EQ(Read(*store, u"S", u"k", path), u"3");
    EXPECT_TRUE(store->DeleteSection(u"S", PathOf("none.cfg")));
    EXPECT_FALSE(Exists("none.cfg"));
}

// ---- the settings file over this store ----

TEST_P(ProfileStoreContract, SettingsWrittenWithMixedCaseKeysReadBackThroughLoweredOnes) {
    const Text path = PathOf("settings.cfg");
    // What "OK" in the options dialog writes with no player chosen.
    WriteSetting(*store, u"General", u"Minimize_Startup", u"0", path);
    WriteSetting(*store, u"Defaults", u"Player", std::nullopt, path);
    WriteSetting(*store, u"Defaults", u"Artist", u"Some Band", path);
    WriteSetting(*store, u"Defaults", u"Song", u"Some Song", path);
    WriteSetting(*store, u"Defaults", u"Format", u"{0} - {1}", path);
    EXPECT_EQ(Bytes("settings.cfg"),
              "[General]\r\nMinimize_Startup=0\r\n[Defaults]\r\nArtist=Some Band\r\n"
              "Song=Some Song\r\nFormat={0} - {1}\r\n");
    EXPECT_EQ(ReadSetting(*store, u"General", u"Minimize_Startup", path), u"0");
    EXPECT_EQ(ReadSetting(*store, u"Defaults", u"Format", path), u"{0} - {1}");
    EXPECT_EQ(ReadSetting(*store, u"Defaults", u"Player", path), u"");

    EXPECT_TRUE(WriteSetting(*store, u"Defaults", u"Player", u"Winamp", path));
    EXPECT_EQ(ReadSetting(*store, u"Defaults", u"Player", path), u"Winamp");
    EXPECT_TRUE(WriteSetting(*store, u"Defaults", u"Player", std::nullopt, path));
    EXPECT_EQ(Bytes("settings.cfg"),
              "[General]\r\nMinimize_Startup=0\r\n[Defaults]\r\nArtist=Some Band\r\n"
              "Song=Some Song\r\nFormat={0} - {1}\r\n");
}

TEST_P(ProfileStoreContract, ASettingOf749CharactersReadsWholeAndALongerOneIsCut) {
    const Text path = PathOf("settings.cfg");
    const Text exact = Text(748, u'x') + u"Y";
    ASSERT_TRUE(WriteSetting(*store, u"Defaults", u"Artist", exact, path));
    EXPECT_EQ(ReadSetting(*store, u"Defaults", u"Artist", path), exact);
    const Text longer = Text(749, u'x') + u"YZ";
    ASSERT_TRUE(WriteSetting(*store, u"Defaults", u"Song", longer, path));
    EXPECT_EQ(ReadSetting(*store, u"Defaults", u"Song", path), Text(749, u'x'));
}

TEST_P(ProfileStoreContract, SettingsOfAMissingFileReadEmpty) {
    const Text path = PathOf("settings.cfg");
    EXPECT_EQ(ReadSetting(*store, u"General", u"Minimize_Startup", path), u"");
    EXPECT_EQ(ReadSetting(*store, u"Defaults", u"Format", path), u"");
    EXPECT_FALSE(
        WriteSetting(*store, u"General", u"Minimize_Startup", u"1", PathOf("none\\settings.cfg")));
}

}  // namespace tunewick::contract
