#pragma once

#include <cstdint>
#include <variant>

#include "core/text.h"
#include "core/window_system.h"

namespace tunewick {

enum class PlayerKind { RealPlayer, Winamp, XMPlay };

enum class TitleReadStatus {
    Read,            // `window` and `title` hold what was found (None and empty: no player)
    NotRead,         // the player's window did not answer in time: nothing this time
    LengthOverflow,  // the caption length leaves no room for its terminator
};

struct PlayerTitle {
    TitleReadStatus status = TitleReadStatus::Read;
    WindowHandle window = WindowHandle::None;
    Text title;
};

// The most of a caption that is read: another program's claimed length never decides alone
// how much is allocated. Far beyond any real caption (a player's is under a few hundred).
inline constexpr std::int32_t kCaptionReadLimit = 1 << 21;

// Finds the player's main window by class and reads its caption: its first kCaptionReadLimit
// code units at the most.
PlayerTitle ReadPlayerTitle(WindowSystem& windows, TextView className);

struct SongInfo {
    Text title;
    Text artist;

    bool operator==(const SongInfo&) const = default;
};

// Why a caption does not fit its player's cutting rule.
enum class CutError {
    NothingToSplit,  // the text to split is empty: not even a first piece
    NoSecondPiece,   // the text to split holds no "-"
    NegativeLength,  // the prefix to drop is longer than the caption
    CutOverflow,     // Winamp: the position before the first "." does not fit in 16 bits
};

using CutResult = std::variant<SongInfo, CutError>;

// Cuts a caption into song title and artist by the player's rule.
CutResult CutTitle(PlayerKind kind, TextView title);

}  // namespace tunewick
