#include "settings/portable_profile_store.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "settings/windows_1252.h"

namespace tunewick {
namespace {

namespace fs = std::filesystem;

enum class Encoding { Ansi, Utf8, Utf16Le, Utf16Be };

struct Entry {
    Text name;
    std::optional<Text> value;  // none: a line without '='
};

struct Section {
    Text name;  // empty: the lines before the first section header
    std::vector<Entry> entries;
};

struct Profile {
    Encoding encoding = Encoding::Ansi;
    std::vector<Section> sections;
};

TextView UpToNul(TextView text) {
    return text.substr(0, text.find(u'\0'));
}

// The blanks the profile functions strip: ASCII white space and Ctrl-Z, the old end-of-file
// mark.
bool IsBlank(char16_t unit) {
    return unit == u' ' || (unit >= 9 && unit <= 13) || unit == 0x1A;
}

TextView TrimStart(TextView text) {
    std::size_t first = 0;
    while (first < text.size() && IsBlank(text[first])) {
        ++first;
    }
    return text.substr(first);
}

TextView TrimEnd(TextView text) {
    std::size_t end = text.size();
    while (end > 0 && IsBlank(text[end - 1])) {
        --end;
    }
    return text.substr(0, end);
}

TextView Trim(TextView text) {
    return TrimEnd(TrimStart(text));
}

char16_t LowerAsciiUnit(char16_t unit) {
    return (unit >= u'A' && unit <= u'Z') ? static_cast<char16_t>(unit + (u'a' - u'A')) : unit;
}

bool SameName(TextView a, TextView b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char16_t x, char16_t y) {
        return LowerAsciiUnit(x) == LowerAsciiUnit(y);
    });
}

bool IsLineBreak(char16_t unit) {
    return unit == u'\r' || unit == u'\n';
}

fs::path OsPath(TextView path) {
    Text text(UpToNul(path));
#ifdef _WIN32
    // Unit by unit: the path type's wide text is UTF-16 there.
    return fs::path(std::wstring(text.begin(), text.end()));
#else
    std::replace(text.begin(), text.end(), u'\\', u'/');
    return fs::path(ToUtf8(text));
#endif
}

// ---- bytes <-> text ----

Text DecodeUtf16(std::string_view bytes, bool bigEndian) {
    Text text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        text += static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    return text;
}

void AppendUtf16(std::string& bytes, TextView text, bool bigEndian) {
    for (const char16_t unit : text) {
        const auto high = static_cast<char>(unit >> 8);
        const auto low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
}

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

Text Decode(std::string_view bytes, Encoding& encoding) {
    if (bytes.starts_with(kUtf8Mark)) {
        encoding = Encoding::Utf8;
        return FromUtf8(bytes.substr(kUtf8Mark.size()));
    }
    if (bytes.starts_with(kUtf16LeMark) || bytes.starts_with(kUtf16BeMark)) {
        const bool bigEndian = bytes.starts_with(kUtf16BeMark);
        encoding = bigEndian ? Encoding::Utf16Be : Encoding::Utf16Le;
        return DecodeUtf16(bytes.substr(2), bigEndian);
    }
    encoding = Encoding::Ansi;
    return DecodeWindows1252(bytes);
}

std::string Encode(TextView text, Encoding encoding) {
    if (encoding == Encoding::Ansi) {
        return EncodeWindows1252(text);
    }
    if (encoding == Encoding::Utf8) {
        return std::string(kUtf8Mark) + ToUtf8(text);
    }
    const bool bigEndian = encoding == Encoding::Utf16Be;
    std::string bytes(bigEndian ? kUtf16BeMark : kUtf16LeMark);
    AppendUtf16(bytes, text, bigEndian);
    return bytes;
}

// ---- text <-> sections ----

void ParseLine(TextView line, std::vector<Section>& sections) {
    if (line.front() == u'[') {
        // The name runs to the last ']' on the line; what follows it is ignored. A '[' line
        // with no ']' falls through and becomes a key.
        const std::size_t close = line.rfind(u']');
        if (close != TextView::npos) {
            sections.push_back({Text(Trim(line.substr(1, close - 1))), {}});
            return;
        }
    }
    Entry entry;
    const std::size_t equals = line.find(u'=');
    if (equals == TextView::npos) {
        entry.name = line;
    } else {
        entry.name = TrimEnd(line.substr(0, equals));
        entry.value = Text(TrimStart(line.substr(equals + 1)));
    }
    auto& entries = sections.back().entries;
    // A nameless line right after another nameless one is dropped.
    if (!entry.name.empty() || entries.empty() || !entries.back().name.empty()) {
        entries.push_back(std::move(entry));
    }
}

std::vector<Section> Parse(TextView text) {
    std::vector<Section> sections(1);  // the lines before any header
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        while (pos < text.size() && !IsLineBreak(text[pos])) {
            ++pos;
        }
        const TextView line = Trim(UpToNul(text.substr(start, pos - start)));
        while (pos < text.size() && IsLineBreak(text[pos])) {
            ++pos;
        }
        if (!line.empty()) {
            ParseLine(line, sections);
        }
    }
    return sections;
}

Text Serialize(const std::vector<Section>& sections) {
    Text text;
    for (const auto& section : sections) {
        // A nameless section gets no header line, wherever it stands.
        if (!section.name.empty()) {
            text += u'[';
            text += section.name;
            text += u"]\r\n";
        }
        for (const auto& entry : section.entries) {
            text += entry.name;
            if (entry.value) {
                text += u'=';
                text += *entry.value;
            }
            text += u"\r\n";
        }
    }
    return text;
}

// ---- the file ----

// Why the latest file operation of the C library failed, or `fallback` when it did not say.
std::error_code LastFileError(std::errc fallback) {
    const int error = errno;
    return error != 0 ? std::error_code(error, std::generic_category())
                      : std::make_error_code(fallback);
}

// A file missing from a folder that exists reads as empty, with no sections at all (not even
// the nameless one). A missing folder, or a file that cannot be read, is a failure: its
// error.
std::error_code Load(TextView path, Profile& profile) {
    const fs::path osPath = OsPath(path);
    std::error_code error;
    if (fs::is_directory(osPath, error)) {
        return std::make_error_code(std::errc::is_a_directory);
    }
    errno = 0;
    std::ifstream in(osPath, std::ios::binary);
    if (!in) {
        const std::error_code openError = LastFileError(std::errc::io_error);
        const fs::path folder = osPath.parent_path();
        if (!folder.empty() && !fs::is_directory(folder, error)) {
            return std::make_error_code(std::errc::no_such_file_or_directory);
        }
        return fs::exists(osPath, error) ? openError : std::error_code();
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return LastFileError(std::errc::io_error);
    }
    // An empty file, too, holds no sections.
    if (!bytes.empty()) {
        profile.sections = Parse(Decode(bytes, profile.encoding));
    }
    return {};
}

std::error_code Save(TextView path, const Profile& profile) {
    const std::string bytes = Encode(Serialize(profile.sections), profile.encoding);
    errno = 0;
    std::ofstream out(OsPath(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return out.fail() ? LastFileError(std::errc::io_error) : std::error_code();
}

// ---- lookups ----

Section* FindSection(std::vector<Section>& sections, TextView name) {
    const auto found = std::find_if(sections.begin(), sections.end(),
                                    [&](const Section& s) { return SameName(s.name, name); });
    return found == sections.end() ? nullptr : &*found;
}

// The names are trimmed, and only the first section of that name is looked at, though a
// file may hold the same header twice.
Entry* FindEntry(std::vector<Section>& sections, TextView sectionName, TextView keyName) {
    Section* section = FindSection(sections, Trim(sectionName));
    if (section == nullptr) {
        return nullptr;
    }
    const TextView key = Trim(keyName);
    for (auto& entry : section->entries) {
        if (SameName(entry.name, key)) {
            return &entry;
        }
    }
    return nullptr;
}

// A missing section or key is appended, named as given less its leading blanks.
Entry& FindOrAddEntry(std::vector<Section>& sections, TextView sectionName, TextView keyName) {
    if (Entry* entry = FindEntry(sections, sectionName, keyName)) {
        return *entry;
    }
    Section* section = FindSection(sections, Trim(sectionName));
    if (section == nullptr) {
        section = &sections.emplace_back(Section{Text(TrimStart(sectionName)), {}});
    }
    return section->entries.emplace_back(Entry{Text(TrimStart(keyName)), std::nullopt});
}

// Deleting looks at the names as given (untrimmed) and searches every section of that name,
// unlike a lookup.
bool DeleteEntry(std::vector<Section>& sections, TextView sectionName, TextView keyName) {
    for (auto& section : sections) {
        if (!SameName(section.name, sectionName)) {
            continue;
        }
        const auto found = std::find_if(section.entries.begin(), section.entries.end(),
                                        [&](const Entry& e) { return SameName(e.name, keyName); });
        if (found != section.entries.end()) {
            section.entries.erase(found);
            return true;
        }
    }
    return false;
}

// ---- copying into the caller's buffer (never empty here) ----

// Trailing spaces of a default go, but never its first character.
TextView TrimDefault(TextView value) {
    value = UpToNul(value);
    while (value.size() > 1 && value.back() == u' ') {
        value.remove_suffix(1);
    }
    return value;
}

std::size_t CopyCut(TextView value, std::span<char16_t> buffer) {
    const std::size_t count = std::min(value.size(), buffer.size() - 1);
    std::copy_n(value.begin(), count, buffer.begin());
    buffer[count] = u'\0';
    return count;
}

// A value in matching single or double quotes loses them. When the closing quote would only
// just fit, the platform drops the last character of the value instead of the quote's space:
// "hello" into 6 code units gives «hell».
std::size_t CopyValue(TextView value, std::span<char16_t> buffer) {
    const bool quoted = value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
                        value.back() == value.front();
    if (!quoted) {
        return CopyCut(value, buffer);
    }
    value.remove_prefix(1);  // the closing quote stays in until after the copy
    std::size_t count = CopyCut(value, buffer);
    if (buffer.size() >= value.size() && count > 0) {
        buffer[--count] = u'\0';
    }
    return count;
}

// The names of the keys with a value, each NUL-terminated, then one more NUL. Out of room,
// the last name is cut one shorter to make the closing double NUL.
std::size_t ListKeyNames(const Section& section, std::span<char16_t> buffer) {
    const std::size_t size = buffer.size();
    std::size_t room = size;
    std::size_t pos = 0;
    for (const auto& entry : section.entries) {
        if (room <= 2) {
            break;
        }
        // Comments and lines without '=' are not keys.
        if (!entry.value || (!entry.name.empty() && entry.name.front() == u';')) {
            continue;
        }
        const std::size_t length = std::min(entry.name.size(), room - 2);
        std::copy_n(entry.name.begin(), length, buffer.begin() + pos);
        buffer[pos + length] = u'\0';
        room -= length + 1;
        pos += length + 1;
        if (room < 2) {
            break;
        }
    }
    buffer[pos] = u'\0';
    if (room > 1) {
        return size - room;
    }
    if (pos > 0) {
        buffer[pos - 1] = u'\0';
    }
    return size >= 2 ? size - 2 : 0;
}

// The names of the sections that have one, in the same list form.
std::size_t ListSectionNames(const std::vector<Section>& sections, std::span<char16_t> buffer) {
    const std::size_t size = buffer.size();
    if (size == 1) {
        buffer[0] = u'\0';
        return 0;
    }
    std::size_t room = size - 1;
    std::size_t pos = 0;
    for (const auto& section : sections) {
        if (section.name.empty()) {
            continue;
        }
        const std::size_t length = section.name.size() + 1;
        if (length >= room) {
            std::copy_n(section.name.begin(), room - 1, buffer.begin() + pos);
            pos += room - 1;
            buffer[pos++] = u'\0';
            buffer[pos] = u'\0';
            return size - 2;
        }
        std::copy_n(section.name.begin(), length - 1, buffer.begin() + pos);
        buffer[pos + length - 1] = u'\0';
        pos += length;
        room -= length;
    }
    buffer[pos] = u'\0';
    return pos;
}

}  // namespace

std::size_t PortableProfileStore::GetString(TextView section, TextView key, TextView defaultValue,
                                            std::span<char16_t> buffer, TextView path) {
    const TextView fallback = TrimDefault(defaultValue);
    if (buffer.empty()) {
        return 0;
    }
    Profile profile;
    if (Load(path, profile)) {
        return CopyCut(fallback, buffer);  // quotes and all
    }
    const Entry* entry = FindEntry(profile.sections, UpToNul(section), UpToNul(key));
    return CopyValue(entry != nullptr && entry->value ? TextView(*entry->value) : fallback, buffer);
}

bool PortableProfileStore::WriteString(TextView section, TextView key,
                                       std::optional<TextView> value, TextView path) {
    Profile profile;
    if (const std::error_code error = Load(path, profile)) {
        return Finish(error);
    }
    bool changed = false;
    if (!value) {
        changed = DeleteEntry(profile.sections, UpToNul(section), UpToNul(key));
    } else {
        Entry& entry = FindOrAddEntry(profile.sections, UpToNul(section), UpToNul(key));
        const Text newValue(TrimStart(UpToNul(*value)));
        changed = entry.value != newValue;
        entry.value = newValue;
    }
    // An unchanged file is left as it is, whatever its layout.
    return Finish(changed ? Save(path, profile) : std::error_code());
}

std::size_t PortableProfileStore::GetKeyNames(TextView section, TextView defaultValue,
                                              std::span<char16_t> buffer, TextView path) {
    // Unlike a value's, this default keeps its trailing spaces.
    const TextView fallback = UpToNul(defaultValue);
    if (buffer.empty()) {
        return 0;
    }
    Profile profile;
    if (Load(path, profile)) {
        return CopyValue(fallback, buffer);  // as a value's default, quotes dropped
    }
    // Here the section's name is compared as given, untrimmed.
    const Section* found = FindSection(profile.sections, UpToNul(section));
    std::size_t count = 0;
    if (found == nullptr) {
        buffer[0] = u'\0';
        if (buffer.size() > 1) {
            buffer[1] = u'\0';
        }
    } else {
        count = ListKeyNames(*found, buffer);
    }
    // An empty list, or one whose first name is empty, gives the default.
    if (buffer[0] == u'\0') {
        count = CopyValue(fallback, buffer);
    }
    return count;
}

std::size_t PortableProfileStore::GetSectionNames(TextView /*defaultValue*/,
                                                  std::span<char16_t> buffer, TextView path) {
    if (buffer.empty()) {
        return 0;
    }
    // The default plays no part here: a file that cannot be read lists nothing and leaves
    // the buffer as it was.
    Profile profile;
    if (Load(path, profile)) {
        return 0;
    }
    return ListSectionNames(profile.sections, buffer);
}

bool PortableProfileStore::DeleteSection(TextView section, TextView path) {
    Profile profile;
    if (const std::error_code error = Load(path, profile)) {
        return Finish(error);
    }
    const TextView name = UpToNul(section);
    const auto found = std::find_if(profile.sections.begin(), profile.sections.end(),
                                    [&](const Section& s) { return SameName(s.name, name); });
    if (found == profile.sections.end()) {
        return Finish({});
    }
    profile.sections.erase(found);
    return Finish(Save(path, profile));
}

Text PortableProfileStore::LastWriteFailure() const {
    return lastWriteFailure_;
}

bool PortableProfileStore::Finish(std::error_code error) {
    lastWriteFailure_ = error ? FromUtf8(error.message()) : Text();
    return !error;
}

}  // namespace tunewick
