// Builds the now-playing record from any six fields and delivers it to three messengers (one of
// them message-only). The record is the fixed parts and the fields as RecordField makes them:
// its length is theirs plus 23, it starts with "\0Music\0" and the show digit, ends in one NUL,
// and always splits back into exactly those fields. Each such field holds no separator and is
// the start of the field given with a zero-width character between the backslash and the zero
// of each separator. It is all of the field given unless that passes 256 units; then it is 256
// units, or 255 where the next would be the high half of a pair whose low half does not fit.
// A lone surrogate stays as it is given. Every messenger gets the same bytes: the record as
// UTF-16LE, two bytes a code unit.
//
// Input: a byte whose lowest bit is the show flag, then format, title, artist, album and
// content id, each as a length (two bytes, in code units) and that many UTF-16LE units.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/now_playing.h"
#include "fuzz_support.h"
#include "memory_window_system.h"

namespace tunewick::fuzz {
namespace {

constexpr TextView kSeparator = u"\\0";
constexpr std::size_t kFixedLength = 23;  // "\0Music\0", the digit, six separators, the NUL

// The record's fields after the digit, cut at every separator.
std::vector<Text> SplitFields(TextView rest) {
    std::vector<Text> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t at = rest.find(kSeparator, start);
        fields.emplace_back(rest.substr(start, at == TextView::npos ? TextView::npos : at - start));
        if (at == TextView::npos) {
            return fields;
        }
        start = at + kSeparator.size();
    }
}

Text DecodeLe(const std::vector<std::byte>& bytes) {
    Text text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        text += static_cast<char16_t>(std::to_integer<unsigned>(bytes[i]) |
                                      (std::to_integer<unsigned>(bytes[i + 1]) << 8));
    }
    return text;
}

bool HighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool LowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// How many units of `given` the field holds, when the field is `given`'s start with a breaker
// after the backslash of each separator and nothing else changed.
std::optional<std::size_t> GivenUnitsIn(TextView field, TextView given) {
    std::size_t used = 0;
    for (std::size_t i = 0; i < field.size(); ++i) {
        const bool breaksSeparator = field[i] == kSeparatorBreaker && i > 0 &&
                                     field[i - 1] == u'\\' && used < given.size() &&
                                     given[used] == u'0';
        if (breaksSeparator) {
            continue;
        }
        if (used == given.size() || field[i] != given[used]) {
            return std::nullopt;
        }
        ++used;
    }
    return used;
}

}  // namespace
}  // namespace tunewick::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tunewick;
    fuzz::InputReader input(data, size);
    NowPlayingRequest request;
    request.show = (input.Byte() & 1) != 0;
    for (Text* field :
         {&request.format, &request.title, &request.artist, &request.album, &request.contentId}) {
        const std::size_t length = input.Byte() | (std::size_t{input.Byte()} << 8);
        *field = input.Units(length);
    }

    std::vector<Text> expected = {u""};
    std::size_t fieldsLength = 0;
    for (const Text* given :
         {&request.format, &request.title, &request.artist, &request.album, &request.contentId}) {
        const Text field = RecordField(*given);
        FUZZ_CHECK(field.find(fuzz::kSeparator) == Text::npos);
        FUZZ_CHECK(field.size() <= kRecordFieldLimit);
        const std::optional<std::size_t> used = fuzz::GivenUnitsIn(field, *given);
        FUZZ_CHECK(used.has_value());
        if (*used < given->size()) {
            const char16_t next = (*given)[*used];
            const bool pairLeftOut = fuzz::HighSurrogate(next) && *used + 1 < given->size() &&
                                     fuzz::LowSurrogate((*given)[*used + 1]);
            FUZZ_CHECK(field.size() == kRecordFieldLimit ||
                       (field.size() + 1 == kRecordFieldLimit && pairLeftOut));
            FUZZ_CHECK(field.empty() || !fuzz::HighSurrogate(field.back()) ||
                       !fuzz::LowSurrogate(next));
        }
        fieldsLength += field.size();
        expected.push_back(field);
    }
    expected.emplace_back();

    const Text record = BuildNowPlayingRecord(request);
    FUZZ_CHECK(record.size() == fieldsLength + fuzz::kFixedLength);
    FUZZ_CHECK(record.starts_with(request.show ? u"\\0Music\\01\\0" : u"\\0Music\\00\\0"));
    FUZZ_CHECK(record.back() == u'\0');
    // After "\0Music\0" and the digit: "\0" format "\0" title ... content id "\0", NUL.
    FUZZ_CHECK(fuzz::SplitFields(TextView(record).substr(10, record.size() - 11)) == expected);

    const std::vector<std::byte> bytes = EncodeUtf16Le(record);
    FUZZ_CHECK(bytes.size() == record.size() * 2);
    FUZZ_CHECK(fuzz::DecodeLe(bytes) == record);

    testing::MemoryWindowSystem windows;
    windows.Open(kMessengerWindowClass);
    windows.Open(u"winamp v1.x");
    windows.OpenMessageOnly(kMessengerWindowClass);
    windows.Open(kMessengerWindowClass);
    SendNowPlaying(windows, request);
    FUZZ_CHECK(windows.Deliveries().size() == 3);
    for (const auto& delivery : windows.Deliveries()) {
        FUZZ_CHECK(delivery.kind == kNowPlayingDataKind);
        FUZZ_CHECK(delivery.data == bytes);
    }
    return 0;
}
