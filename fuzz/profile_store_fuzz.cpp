// The portable profile store reading a settings file of any bytes and then writing to it, as
// start-up and the options dialog do. Nothing may crash, hang, leak or trip a sanitizer, and:
// - a read fills no more of the buffer than it was given, NUL-terminates it, and counts what
//   it copied without the terminator;
// - a write to a file that exists in a writable folder succeeds and leaves no failure reason;
// - a written value reads back exactly, unless the store's rules change it on the way (cut
//   at a NUL, blanks at its ends dropped, a line break, matching quotes around it) or the
//   rewrite changed how the file is read (see below);
// - writing what is there already leaves the file's bytes as they are.
//
// Input: the file's bytes. The value written to "Format" is made of the file's last bytes,
// read as Windows-1252 text, so it reaches every character an ANSI file can hold.

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "settings/portable_profile_store.h"
#include "settings/settings_file.h"
#include "settings/windows_1252.h"

namespace tunewick::fuzz {
namespace {

namespace fs = std::filesystem;

// One folder for the whole run, removed at exit.
class TempFolder {
  public:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "tunewick-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const fs::path& Path() const { return path_; }

  private:
    fs::path path_;
};

const fs::path& SettingsFile() {
    static const TempFolder kFolder;
    static const fs::path kFile = kFolder.Path() / "settings.cfg";
    return kFile;
}

std::string FileBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool StartsWithMark(std::string_view bytes) {
    return bytes.starts_with("\xEF\xBB\xBF") || bytes.starts_with("\xFF\xFE") ||
           bytes.starts_with("\xFE\xFF");
}

bool IsBlank(char16_t unit) {
    return unit == u' ' || (unit >= 9 && unit <= 13) || unit == 0x1A;
}

// Whether the store's rules leave `value` as it is on its way to the file and back.
bool ReadsBackAsWritten(TextView value) {
    if (value.empty()) {
        return true;
    }
    const bool quoted = value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
                        value.back() == value.front();
    constexpr char16_t kBreaks[] = {u'\r', u'\n', u'\0'};
    const bool breaks = value.find_first_of(TextView(kBreaks, 3)) != TextView::npos;
    return !quoted && !breaks && !IsBlank(value.front()) && !IsBlank(value.back()) &&
           value.size() < kSettingBufferLength;
}

// GetString into a buffer of `size` units inside a larger one whose tail must stay untouched.
void CheckBoundedRead(ProfileStore& store, TextView path, std::size_t size) {
    constexpr char16_t kCanary = 0xBEEF;
    std::vector<char16_t> memory(size + 4, kCanary);
    const std::size_t count =
        store.GetString(u"Defaults", u"format", u"", std::span(memory.data(), size), path);
    FUZZ_CHECK(std::all_of(memory.begin() + static_cast<std::ptrdiff_t>(size), memory.end(),
                           [](char16_t unit) { return unit == kCanary; }));
    if (size == 0) {
        FUZZ_CHECK(count == 0);
        return;
    }
    FUZZ_CHECK(count < size);
    FUZZ_CHECK(memory[count] == u'\0');
}

constexpr std::array<std::pair<TextView, TextView>, 5> kSettings = {{
    {u"General", u"Minimize_Startup"},
    {u"Defaults", u"Player"},
    {u"Defaults", u"Artist"},
    {u"Defaults", u"Song"},
    {u"Defaults", u"Format"},
}};

}  // namespace
}  // namespace tunewick::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tunewick;
    namespace fs = std::filesystem;
    const fs::path& file = fuzz::SettingsFile();
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const std::string_view original(reinterpret_cast<const char*>(data), size);
    const Text path = FromUtf8(file.string());
    PortableProfileStore store;

    for (const auto& [section, key] : fuzz::kSettings) {
        FUZZ_CHECK(ReadSetting(store, section, key, path).size() < kSettingBufferLength);
    }
    for (const std::size_t bufferSize : {0, 1, 2, 3, 8}) {
        fuzz::CheckBoundedRead(store, path, bufferSize);
    }

    const std::size_t tail = std::min<std::size_t>(size, 24);
    const Text format = DecodeWindows1252(
        std::string_view(reinterpret_cast<const char*>(data) + size - tail, tail));
    const WriteResult formatWritten = WriteSetting(store, u"Defaults", u"Format", format, path);
    FUZZ_CHECK(formatWritten && formatWritten.failure.empty());
    // A rewrite drops the blanks that start the file; when bytes of a byte order mark follow
    // them, the file reads as UTF-8 or UTF-16 from then on and its other characters change.
    // The platform's functions do the same (seen under Wine).
    const bool becameMarked =
        !fuzz::StartsWithMark(original) && fuzz::StartsWithMark(fuzz::FileBytes(file));
    if (fuzz::ReadsBackAsWritten(format) && !becameMarked) {
        FUZZ_CHECK(ReadSetting(store, u"Defaults", u"Format", path) == format);
    }

    constexpr TextView kArtist = u"Sigur R\u00F3s & \u00C6ther - {1}";
    FUZZ_CHECK(WriteSetting(store, u"Defaults", u"Artist", kArtist, path));
    FUZZ_CHECK(ReadSetting(store, u"Defaults", u"Artist", path) == kArtist);

    // Writing what is there already changes nothing, not even the file's layout.
    const std::string before = fuzz::FileBytes(file);
    FUZZ_CHECK(WriteSetting(store, u"Defaults", u"Artist", kArtist, path));
    FUZZ_CHECK(fuzz::FileBytes(file) == before);

    // The options dialog with no player chosen deletes the key.
    FUZZ_CHECK(WriteSetting(store, u"Defaults", u"Player", std::nullopt, path));
    FUZZ_CHECK(WriteSetting(store, u"General", u"Minimize_Startup", u"1", path));
    FUZZ_CHECK(ReadSetting(store, u"General", u"Minimize_Startup", path) == u"1");
    return 0;
}
