// The stand-in profile store and the platform's, side by side on the same random files and
// calls: every result, every buffer and every file byte must agree.

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "contract/profile_store_contract.h"
#include "platform/win32_profile_store.h"
#include "settings/portable_profile_store.h"

namespace tunewick {
namespace {

namespace fs = std::filesystem;

// Pieces the random files and calls are made of: names and values with blanks, quotes, case,
// '=', ';', brackets and characters beyond ASCII, in and out of Windows-1252. (Characters the
// platform maps to a look-alike, such as U+0142 to 'l', are left out: the stand-in writes '?'.)
constexpr std::array<std::u16string_view, 18> kNames = {
    u"S",  u"s",   u" S ", u"T",   u"",   u"Sec",    u"k",      u"K",         u" k",
    u"k ", u"a=b", u";c",  u"[U]", u"\t", u"\u00E9", u"\u00C9", u"Long name", u"\u4E2D"};
constexpr std::array<std::u16string_view, 16> kValues = {
    u"v",      u"",     u"  v",   u"v  ",   u"\"q\"",
    u"'q'",    u"\"",   u"a=b",   u"x ; y", u"\u00E9\u20AC",
    u"\u4E2D", u"\"\"", u"' x '", u"[S]",   u"0123456789012345678901234567890123456789",
    u" "};
// clang-format off
constexpr std::array<std::string_view, 26> kLines = {
    "[S]", "  [ s ]  ", "[S]x", "[", "[]", "[T]", "[ T ]", "[\xC9]",
    "k=v", " k = v ", "K='w'", "k==", "k=\"", "a=b=c", "\"q\"=\"v\"", "x;y=z", "\xE9=1",
    "\xE9=\x80", "Long name = long value ", "=x", "=y", " = ", "noeq", ";c=1", "\t\x1A", "  "};
// clang-format on
constexpr std::array<std::string_view, 6> kBreaks = {"\r\n", "\n", "\r", "\r\n\r\n", "\n\r", ""};
constexpr std::array<std::size_t, 9> kSizes = {0, 1, 2, 3, 4, 6, 9, 17, 750};

std::string Show(TextView text) {
    std::ostringstream out;
    for (const char16_t unit : text) {
        if (unit >= 0x20 && unit < 0x7F && unit != u'\\') {
            out << static_cast<char>(unit);
        } else {
            out << "\\u" << std::hex << static_cast<unsigned>(unit) << std::dec;
        }
    }
    return out.str();
}

std::string ShowBytes(std::string_view bytes) {
    std::ostringstream out;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
            out << c;
        } else {
            out << "\\x" << std::hex << static_cast<unsigned>(byte) << std::dec;
        }
    }
    return out.str();
}

class ProfileStoreDifferential : public ::testing::Test {
  protected:
    void SetUp() override { dir_ = contract::MakeTempDir(); }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    Text PathOf(const std::wstring& name) const {
        const std::wstring path = (dir_ / name).wstring();
        return Text(path.begin(), path.end());
    }

    std::string Bytes(const std::wstring& name) const {
        std::ifstream in(dir_ / name, std::ios::binary);
        if (!in) {
            return "<missing>";
        }
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }

    void PutBytes(const std::wstring& name, const std::string& bytes) const {
        std::ofstream out(dir_ / name, std::ios::binary | std::ios::trunc);
        out << bytes;
    }

    // Runs `steps` random steps from `seed`; stops at the first disagreement.
    void Run(unsigned seed, int steps);

    fs::path dir_;
};

void ProfileStoreDifferential::Run(unsigned seed, int steps) {
    platform::Win32ProfileStore platformStore;
    PortableProfileStore portableStore;
    std::mt19937 random(seed);
    auto pick = [&random](const auto& items) {
        return items[std::uniform_int_distribution<std::size_t>(0, items.size() - 1)(random)];
    };
    auto chance = [&random](int percent) {
        return std::uniform_int_distribution<int>(0, 99)(random) < percent;
    };
    std::deque<std::string> history;  // the last steps, printed on a disagreement
    auto note = [&history](std::string step) {
        history.push_back(std::move(step));
        if (history.size() > 12) {
            history.pop_front();
        }
    };
    auto story = [&history, seed] {
        std::string text = "seed " + std::to_string(seed) + ", last steps:\n";
        for (const auto& step : history) {
            text += "  " + step + "\n";
        }
        return text;
    };

    const std::wstring platformFile = L"platform.cfg";
    const std::wstring portableFile = L"portable.cfg";
    for (int step = 0; step < steps; ++step) {
        // Now and then the calls go to a file in a missing folder.
        const bool noFolder = chance(3);
        const Text platformPath = noFolder ? PathOf(L"none\\platform.cfg") : PathOf(platformFile);
        const Text portablePath = noFolder ? PathOf(L"none\\portable.cfg") : PathOf(portableFile);
        const std::string where = noFolder ? " (no folder)" : "";
        const int kind = std::uniform_int_distribution<int>(0, 99)(random);
        bool wrote = false;
        if (kind < 8) {
            std::string file;
            const int lines = std::uniform_int_distribution<int>(0, 8)(random);
            for (int i = 0; i < lines; ++i) {
                file += pick(kLines);
                file += pick(kBreaks);
            }
            PutBytes(platformFile, file);
            PutBytes(portableFile, file);
            note("file «" + ShowBytes(file) + "»");
            continue;
        }
        if (kind < 12) {
            std::error_code ignored;
            fs::remove(dir_ / platformFile, ignored);
            fs::remove(dir_ / portableFile, ignored);
            note("no file");
            continue;
        }
        if (kind < 50) {
            const TextView section = pick(kNames);
            const TextView key = pick(kNames);
            const TextView defaultValue = chance(70) ? TextView(u"") : pick(kValues);
            const std::size_t size = pick(kSizes);
            Text platformBuffer(size, u'#');
            Text portableBuffer(size, u'#');
            const auto platformCount =
                platformStore.GetString(section, key, defaultValue, platformBuffer, platformPath);
            const auto portableCount =
                portableStore.GetString(section, key, defaultValue, portableBuffer, portablePath);
            note("GetString [" + Show(section) + "] " + Show(key) + " default «" +
                 Show(defaultValue) + "» size " + std::to_string(size) + where + " -> " +
                 std::to_string(platformCount) + " «" + Show(platformBuffer) + "»");
            ASSERT_EQ(portableCount, platformCount) << story();
            ASSERT_EQ(Show(portableBuffer), Show(platformBuffer)) << story();
        } else if (kind < 85) {
            const TextView section = pick(kNames);
            const TextView key = pick(kNames);
            const std::optional<TextView> value =
                chance(20) ? std::nullopt : std::optional<TextView>(pick(kValues));
            const bool platformResult =
                platformStore.WriteString(section, key, value, platformPath);
            const bool portableResult =
                portableStore.WriteString(section, key, value, portablePath);
            note("WriteString [" + Show(section) + "] " + Show(key) + " = " +
                 (value ? "«" + Show(*value) + "»" : "none") + where + " -> " +
                 std::to_string(platformResult));
            ASSERT_EQ(portableResult, platformResult) << story();
            wrote = true;
        } else if (kind < 93) {
            const TextView section = pick(kNames);
            const TextView defaultValue = chance(50) ? TextView(u"") : pick(kValues);
            const std::size_t size = pick(kSizes);
            Text platformBuffer(size, u'#');
            Text portableBuffer(size, u'#');
            const auto platformCount =
                platformStore.GetKeyNames(section, defaultValue, platformBuffer, platformPath);
            const auto portableCount =
                portableStore.GetKeyNames(section, defaultValue, portableBuffer, portablePath);
            note("GetKeyNames [" + Show(section) + "] default «" + Show(defaultValue) + "» size " +
                 std::to_string(size) + where + " -> " + std::to_string(platformCount) + " «" +
                 Show(platformBuffer) + "»");
            ASSERT_EQ(portableCount, platformCount) << story();
            ASSERT_EQ(Show(portableBuffer), Show(platformBuffer)) << story();
        } else if (kind < 97) {
            const TextView defaultValue = chance(50) ? TextView(u"") : pick(kValues);
            const std::size_t size = pick(kSizes);
            Text platformBuffer(size, u'#');
            Text portableBuffer(size, u'#');
            const auto platformCount =
                platformStore.GetSectionNames(defaultValue, platformBuffer, platformPath);
            const auto portableCount =
                portableStore.GetSectionNames(defaultValue, portableBuffer, portablePath);
            note("GetSectionNames default «" + Show(defaultValue) + "» size " +
                 std::to_string(size) + where + " -> " + std::to_string(platformCount) + " «" +
                 Show(platformBuffer) + "»");
            ASSERT_EQ(portableCount, platformCount) << story();
            ASSERT_EQ(Show(portableBuffer), Show(platformBuffer)) << story();
        } else {
            const TextView section = pick(kNames);
            const bool platformResult = platformStore.DeleteSection(section, platformPath);
            const bool portableResult = portableStore.DeleteSection(section, portablePath);
            note("DeleteSection [" + Show(section) + "]" + where + " -> " +
                 std::to_string(platformResult));
            ASSERT_EQ(portableResult, platformResult) << story();
            wrote = true;
        }
        if (wrote) {
            const std::string platformBytes = Bytes(platformFile);
            note("  file now «" + ShowBytes(platformBytes) + "»");
            ASSERT_EQ(ShowBytes(Bytes(portableFile)), ShowBytes(platformBytes)) << story();
        }
    }
}

// TUNEWICK_PROFILE_SEEDS=N runs seeds 1 to N instead of 1 to 4, for a longer search.
TEST_F(ProfileStoreDifferential, RandomFilesAndCallsGiveTheSameResultsAndBytes) {
    unsigned seeds = 4;
    if (const char* text = std::getenv("TUNEWICK_PROFILE_SEEDS")) {
        seeds = static_cast<unsigned>(std::strtoul(text, nullptr, 10));
    }
    for (unsigned seed = 1; seed <= seeds; ++seed) {
        Run(seed, 1500);
        if (HasFatalFailure()) {
            return;
        }
    }
}

}  // namespace
}  // namespace tunewick
