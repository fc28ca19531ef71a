#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/text.h"
#include "core/window_system.h"

namespace tunewick {

inline constexpr TextView kMessengerWindowClass = u"MsnMsgrUIManager";
// The copy-data kind that marks a block as a now-playing record.
inline constexpr std::uint32_t kNowPlayingDataKind = 0x547;

struct NowPlayingRequest {
    Text title;
    Text artist;
    Text album;
    Text contentId;
    Text format;
    bool show = true;
};

// The most UTF-16 code units a text field keeps in the record. The record's listeners copy it
// into fixed buffers (2,048 units and less): with the program's album and content id empty, a
// record is at most 791 units, its closing NUL included.
inline constexpr std::size_t kRecordFieldLimit = 256;

// What stands between the backslash and the zero of a "\0" inside a field: U+200C ZERO WIDTH
// NON-JOINER, which draws as nothing, so the field reads the same and yet holds no separator.
inline constexpr char16_t kSeparatorBreaker = u'\u200C';

// A field as the record carries it: every "\0" in it broken by kSeparatorBreaker (a listener
// would take it for the separator and read every later field shifted), then cut to
// kRecordFieldLimit units, never between the two halves of a surrogate pair. A lone surrogate
// the text holds goes in as it is: only a pair the cut would split loses its high half.
Text RecordField(TextView text);

// The request as the messenger's record: the pieces joined by the two-character text
// backslash + zero, ended by one NUL code unit, which is part of the returned text. Each text
// field goes in as RecordField makes it.
Text BuildNowPlayingRecord(const NowPlayingRequest& request);

// The record as it travels: UTF-16LE bytes, closing NUL included.
std::vector<std::byte> EncodeUtf16Le(TextView text);

// Delivers the record to every messenger window: the top-level ones in the order the platform
// lists them, then the message-only ones. They are all listed before the first send, so one
// that closes meanwhile costs the others nothing.
// Fire and forget: a messenger that does not take it in time is skipped, the walk goes on.
// `stillWanted`, when given, is asked before each send: a send is a wait, after which the
// record may have gone stale (see "Waits" in ui/main_form.h).
void SendNowPlaying(WindowSystem& windows, const NowPlayingRequest& request,
                    const std::function<bool()>& stillWanted = {});

}  // namespace tunewick
