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

// The request as the messenger's record: the pieces joined by the two-character text
// backslash + zero, ended by one NUL code unit, which is part of the returned text.
Text BuildNowPlayingRecord(const NowPlayingRequest& request);

// The record as it travels: UTF-16LE bytes, closing NUL included.
std::vector<std::byte> EncodeUtf16Le(TextView text);

// Delivers the record to every messenger window, in the order the platform lists them. They
// are all listed before the first send, so one that closes meanwhile costs the others nothing.
// Fire and forget: a messenger that does not take it in time is skipped, the walk goes on.
// `stillWanted`, when given, is asked before each send: a send is a wait, after which the
// record may have gone stale (see "Waits" in ui/main_form.h).
void SendNowPlaying(WindowSystem& windows, const NowPlayingRequest& request,
                    const std::function<bool()>& stillWanted = {});

}  // namespace tunewick
