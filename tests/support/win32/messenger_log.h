#pragma once

// What the stand-in messenger (tools/standin_messenger) records and shows, shared by the
// stand-in that writes it and the tests that read it.
//
// Log file: a plain sequence of records, one per WM_COPYDATA the window received, in the
// order received, with nothing before the first and nothing between them:
//   bytes 0..3  dwData, low 32 bits, little-endian
//   bytes 4..7  cbData, little-endian
//   then        the cbData bytes of lpData, exactly as received
// Each record goes to the file in one write as soon as the message arrives (before any
// configured sleep), so a reader may see a record cut short only while it is being written;
// ParseMessengerLog leaves such a tail out.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <span>
#include <vector>

namespace tunewick::e2e {

// Child control ids of the stand-in messenger's window.
inline constexpr int kMessengerShownMessageId = 101;  // the personal message as shown
inline constexpr int kMessengerCountId = 102;         // "Records: N"

inline constexpr std::size_t kMessengerLogHeaderSize = 8;

struct MessengerLogRecord {
    std::uint32_t kind = 0;
    std::vector<std::byte> data;

    bool operator==(const MessengerLogRecord&) const = default;
};

// How GoogleTest prints a record: its kind and its bytes in hex.
inline void PrintTo(const MessengerLogRecord& record, std::ostream* out) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    *out << "{kind 0x" << std::hex << record.kind << std::dec << ", " << record.data.size()
         << " bytes:";
    for (const std::byte b : record.data) {
        *out << ' ' << kDigits[std::to_integer<unsigned>(b) >> 4]
             << kDigits[std::to_integer<unsigned>(b) & 0xF];
    }
    *out << '}';
}

inline void AppendLittleEndian32(std::vector<std::byte>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::byte>((value >> shift) & 0xFF));
    }
}

inline std::uint32_t ReadLittleEndian32(std::span<const std::byte> bytes) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | std::to_integer<std::uint32_t>(bytes[i]);
    }
    return value;
}

inline std::vector<std::byte> EncodeMessengerLogRecord(std::uint32_t kind,
                                                       std::span<const std::byte> data) {
    std::vector<std::byte> out;
    out.reserve(kMessengerLogHeaderSize + data.size());
    AppendLittleEndian32(out, kind);
    AppendLittleEndian32(out, static_cast<std::uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

// The complete records in `bytes`; an incomplete tail is left out.
inline std::vector<MessengerLogRecord> ParseMessengerLog(std::span<const std::byte> bytes) {
    std::vector<MessengerLogRecord> records;
    std::size_t at = 0;
    while (bytes.size() - at >= kMessengerLogHeaderSize) {
        const std::uint32_t kind = ReadLittleEndian32(bytes.subspan(at, 4));
        const std::uint32_t size = ReadLittleEndian32(bytes.subspan(at + 4, 4));
        if (bytes.size() - at - kMessengerLogHeaderSize < size) {
            break;
        }
        const auto data = bytes.subspan(at + kMessengerLogHeaderSize, size);
        records.push_back({kind, {data.begin(), data.end()}});
        at += kMessengerLogHeaderSize + size;
    }
    return records;
}

// The records logged so far; none when the file does not exist (yet).
inline std::vector<MessengerLogRecord> ReadMessengerLog(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return {};
    }
    const std::vector<char> raw((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
    return ParseMessengerLog(std::as_bytes(std::span(raw)));
}

}  // namespace tunewick::e2e
