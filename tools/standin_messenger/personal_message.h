#pragma once

#include <optional>

#include "core/text.h"

namespace tunewick::standin {

// A now-playing record read back the way the messenger reads it.
struct NowPlayingFields {
    bool show = false;
    Text format{};
    Text title{};
    Text artist{};
    Text album{};
    Text contentId{};

    bool operator==(const NowPlayingFields&) const = default;
};

// Splits «\0Music\0<show>\0<format>\0<title>\0<artist>\0<album>\0<content id>\0» (the
// separators are the two-character text backslash + zero), with or without its closing NUL.
// nullopt when the record does not have exactly that shape: a field holding the separator
// itself cannot be told apart, and the messenger drops such a record.
std::optional<NowPlayingFields> ParseNowPlayingRecord(TextView record);

// The personal message the messenger shows: the format with "{0}" replaced by the title and
// "{1}" by the artist; empty for a hidden record and for one with neither title nor artist.
Text ShownPersonalMessage(const NowPlayingFields& fields);

}  // namespace tunewick::standin
