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
    if (titleFirst) {
        return SongInfo{Text(piece0), Text(piece1)};
    }
    return SongInfo{Text(piece1), Text(piece0)};
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
    const auto dot = title.find(u'.');
    const std::size_t positionLength = dot == TextView::npos ? title.size() : dot;
    if (positionLength + 1 > static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max())) {
        return CutError::CutOverflow;
    }
    const std::size_t cut = positionLength + 1;
    if (cut > title.size()) {
        return CutError::NegativeLength;
    }
    return SplitPair(title.substr(cut), /*titleFirst=*/false);
}

}  // namespace

PlayerTitle ReadPlayerTitle(WindowSystem& windows, TextView className) {
    PlayerTitle result;
    result.window = windows.FindTopLevel(className);
    // Asked even when no window was found: the platform answers 0 then.
    const std::optional<std::int32_t> length = windows.CaptionLength(result.window);
    if (!length) {
        result.status = TitleReadStatus::NotRead;
        return result;
    }
    if (*length == std::numeric_limits<std::int32_t>::max()) {
        result.status = TitleReadStatus::LengthOverflow;
        return result;
    }
    if (*length <= 0) {
        return result;
    }
    const std::int32_t readLength = std::min(*length, kCaptionReadLimit);
    std::optional<Text> text = windows.CaptionText(result.window, readLength + 1);
    if (!text) {
        result.status = TitleReadStatus::NotRead;
        return result;
    }
    if (text->size() > static_cast<std::size_t>(readLength)) {
        text->resize(static_cast<std::size_t>(readLength));
    }
    result.title = std::move(*text);
    return result;
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
