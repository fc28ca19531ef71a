#pragma once

#include <array>
#include <cstddef>

#include "core/player_title.h"
#include "core/text.h"

namespace tunewick {

// The main window has one mode per player it can follow. Everything that differs between the
// modes is in this table; the code asks it instead of switching on the mode.
struct PlayerMode {
    PlayerKind player;
    TextView name;          // as the interface names the mode
    TextView offCaption;    // its button while the mode is off...
    TextView onCaption;     // ...and while it is on
    TextView settingsWord;  // the value of "Player" in settings.cfg that switches it on
    TextView windowClass;   // the class of the player's main window
    // The other modes a tick of this mode looks at before its own work, in this order.
    std::array<PlayerKind, 2> guardOrder;
};

// In PlayerKind order.
// clang-format off
inline constexpr std::array<PlayerMode, 3> kPlayerModes = {{
    {PlayerKind::RealPlayer, u"Ospray",  u"Activate Ospray",  u"Deactivate Ospray",  u"Realplayer", u"geminiwindowclass", {PlayerKind::Winamp, PlayerKind::XMPlay}},
    {PlayerKind::Winamp,     u"Kestrin", u"Activate Kestrin", u"Deactivate Kestrin", u"Winamp",     u"winamp v1.x",       {PlayerKind::XMPlay, PlayerKind::RealPlayer}},
    {PlayerKind::XMPlay,     u"Lumbrel", u"Activate Lumbrel", u"Deactivate Lumbrel", u"XMPlay",     u"xmplay-main",       {PlayerKind::Winamp, PlayerKind::RealPlayer}},
}};
// clang-format on

constexpr std::size_t ModeIndex(PlayerKind player) {
    return static_cast<std::size_t>(player);
}

constexpr const PlayerMode& ModeOf(PlayerKind player) {
    return kPlayerModes[ModeIndex(player)];
}

static_assert(ModeOf(PlayerKind::RealPlayer).player == PlayerKind::RealPlayer &&
              ModeOf(PlayerKind::Winamp).player == PlayerKind::Winamp &&
              ModeOf(PlayerKind::XMPlay).player == PlayerKind::XMPlay);

// The mode whose settings word `word` is, compared exactly (case and all); null for none.
constexpr const PlayerMode* ModeForSettingsWord(TextView word) {
    for (const PlayerMode& mode : kPlayerModes) {
        if (mode.settingsWord == word) {
            return &mode;
        }
    }
    return nullptr;
}

}  // namespace tunewick
