// Cuts a caption of any code units with each player's rule. The cut may only give a song or
// one of its own CutErrors (an exception or a crash is a failure), and it must agree with a
// literal reading of the rule: split the whole text into every piece, then pick pieces 0
// and 1. On success title and artist are pieces of the caption, with no "-" inside and no
// space at either end.
//
// Input: one control byte, then the caption as UTF-16LE. Two values of the control byte's low
// four bits put a run of 32766 or 32767 digits in front of the caption, so the Winamp
// position's 16-bit limit is in reach.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/player_title.h"
#include "cut_error_text.h"
#include "fuzz_support.h"

namespace tunewick::fuzz {
namespace {

// The split of the player's rules: every piece between separators; an empty text has no
// pieces at all, not even an empty first one.
std::vector<TextView> SplitAll(TextView text, char16_t separator) {
    std::vector<TextView> pieces;
    if (text.empty()) {
        return pieces;
    }
    std::size_t start = 0;
    while (true) {
        const std::size_t at = text.find(separator, start);
        if (at == TextView::npos) {
            pieces.push_back(text.substr(start));
            return pieces;
        }
        pieces.push_back(text.substr(start, at - start));
        start = at + 1;
    }
}

TextView TrimModel(TextView text) {
    while (!text.empty() && text.front() == u' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == u' ') {
        text.remove_suffix(1);
    }
    return text;
}

// The rightmost `keep` units, or a negative-length failure.
std::variant<TextView, CutError> Right(TextView text, std::int64_t keep) {
    if (keep < 0) {
        return CutError::NegativeLength;
    }
    return text.substr(text.size() - static_cast<std::size_t>(keep));
}

CutResult ModelPair(std::variant<TextView, CutError> kept, bool titleFirst) {
    if (const CutError* error = std::get_if<CutError>(&kept)) {
        return *error;
    }
    const std::vector<TextView> pieces = SplitAll(std::get<TextView>(kept), u'-');
    if (pieces.empty()) {
        return CutError::NothingToSplit;
    }
    if (pieces.size() < 2) {
        return CutError::NoSecondPiece;
    }
    const Text first(TrimModel(pieces[0]));
    const Text second(TrimModel(pieces[1]));
    return titleFirst ? SongInfo{first, second} : SongInfo{second, first};
}

CutResult Model(PlayerKind kind, TextView caption) {
    const auto length = static_cast<std::int64_t>(caption.size());
    switch (kind) {
        case PlayerKind::RealPlayer:
            return ModelPair(Right(caption, length - 12), true);
        case PlayerKind::Winamp: {
            const std::vector<TextView> position = SplitAll(caption, u'.');
            if (position.empty()) {
                return CutError::NothingToSplit;
            }
            const auto cut = static_cast<std::int64_t>(position[0].size()) + 1;
            if (cut > 32767) {
                return CutError::CutOverflow;
            }
            return ModelPair(Right(caption, length - cut), false);
        }
        case PlayerKind::XMPlay:
            return ModelPair(caption, false);
    }
    return CutError::NothingToSplit;
}

bool IsCleanPiece(TextView piece, TextView caption) {
    const bool trimmed = piece.empty() || (piece.front() != u' ' && piece.back() != u' ');
    // The search is quadratic on the long runs of digits; those cases are held to the model.
    const bool found = caption.size() > 4096 || caption.find(piece) != TextView::npos;
    return trimmed && found && piece.find(u'-') == TextView::npos;
}

// Mostly none: a caption tens of thousands of units long costs a hundred short ones.
constexpr std::size_t kPadding[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 32766, 32767};

}  // namespace
}  // namespace tunewick::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tunewick;
    fuzz::InputReader input(data, size);
    const std::size_t padding = fuzz::kPadding[input.Byte() & 15];
    const Text caption = Text(padding, u'7') + input.Rest();

    for (const PlayerKind kind : {PlayerKind::RealPlayer, PlayerKind::Winamp, PlayerKind::XMPlay}) {
        const CutResult cut = CutTitle(kind, caption);
        FUZZ_CHECK(cut == fuzz::Model(kind, caption));
        if (const SongInfo* song = std::get_if<SongInfo>(&cut)) {
            FUZZ_CHECK(fuzz::IsCleanPiece(song->title, caption));
            FUZZ_CHECK(fuzz::IsCleanPiece(song->artist, caption));
        } else {
            FUZZ_CHECK(Describe(std::get<CutError>(cut)) != nullptr);
        }
    }
    return 0;
}
