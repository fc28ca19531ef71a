#pragma once

// What the fuzz targets share: turning raw bytes into program text, and checks that stop the
// run the way a sanitizer would.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "core/text.h"

// A broken invariant: say which and abort, which libFuzzer and the corpus replay both report
// as a crash with the input that caused it.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace tunewick::fuzz {

// Pairs of bytes as little-endian UTF-16 code units, any value included (lone surrogates,
// NUL); an odd last byte is dropped.
inline Text UnitsFromBytes(const std::uint8_t* data, std::size_t size) {
    Text text;
    text.reserve(size / 2);
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        text += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    }
    return text;
}

// Reads an input front to back; a read past the end gives zeros and empty texts, so every
// input, however short, is a whole case.
class InputReader {
  public:
    InputReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }

    // `count` code units, or as many as are left.
    Text Units(std::size_t count) {
        const std::size_t bytes = count * 2 < size_ - pos_ ? count * 2 : size_ - pos_;
        Text text = UnitsFromBytes(data_ + pos_, bytes);
        pos_ += bytes;
        return text;
    }

    Text Rest() { return Units(size_ - pos_); }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

}  // namespace tunewick::fuzz
