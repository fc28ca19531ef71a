#include "core/player_title.h"

#include <algorithm>
#include <limits>

namespace tunewick {

namespace {

constexpr std::size_t kRealPlayerPrefixLength = 12;

// The first two pieces of `text` cut at every "-", trimmed; later pieces are ignored.
CutResult SplitPair(TextView text, bool titleFirst) {
    if (text.empty()) {
        return CutError::NothingToSplit;
    }
    const auto firstHyphen = text.find(u'-');
    if (firstHyphen == TextView::npos) {
        return CutError::NoSecondPiece;
    }
    const TextView rest = text.substr(firstHyphen + 1);
    const TextView piece0 = TrimSpaces(text.substr(0, firstHyphen));
    const TextView piece1 = TrimSpaces(rest.substr(0, rest.find(u'-')));
    return titleFirst ? SongInfo{Text(piece0), Text(piece1)} : SongInfo{Text(piece1), Text(piece0)};
}

CutResult CutRealPlayer(TextView title) {
    if (title.size() < kRealPlayerPrefixLength) {
        return CutError::NegativeLength;
    }
    return SplitPair(title.substr(kRealPlayerPrefixLength), /*titleFirst=*/true);
}

CutResult CutWinamp(TextView title) {
    if (title.empty()) {
        return CutError::NothingToSplit;
    }
    // The playlist position is everything before the first "."; the cut drops it and the dot.
    const std::size_t cut = std::min(title.find(u'.'), title.size()) + 1;
    if (cut > static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max())) {
        return CutError::CutOverflow;
    }
    if (cut > title.size()) {
        return CutError::NegativeLength;
    }
    return SplitPair(title.substr(cut), /*titleFirst=*/false);
}

}  // namespace

PlayerTitle ReadPlayerTitle(WindowSystem& windows, TextView className) {
    const WindowHandle window = windows.FindNextTopLevel(className, WindowHandle::None);
    // Asked even when no window was found: the platform answers 0 then.
    const std::optional<std::int32_t> length = windows.CaptionLength(window);
    if (!length) {
        return {.status = TitleReadStatus::NotRead, .window = window};
    }
    if (*length == std::numeric_limits<std::int32_t>::max()) {
        return {.status = TitleReadStatus::LengthOverflow, .window = window};
    }
    if (*length <= 0) {
        return {.window = window};
    }
    const std::int32_t readLength = std::min(*length, kCaptionReadLimit);
    std::optional<Text> text = windows.CaptionText(window, readLength + 1);
    if (!text) {
        return {.status = TitleReadStatus::NotRead, .window = window};
    }
    text->resize(std::min(text->size(), static_cast<std::size_t>(readLength)));
    return {.window = window, .title = std::move(*text)};
}

CutResult CutTitle(PlayerKind kind, TextView title) {
    switch (kind) {
        case PlayerKind::RealPlayer:
            return CutRealPlayer(title);
        case PlayerKind::Winamp:
            return CutWinamp(title);
        case PlayerKind::XMPlay:
            return SplitPair(title, /*titleFirst=*/false);
    }
    return CutError::NothingToSplit;
}

}  // namespace tunewick
