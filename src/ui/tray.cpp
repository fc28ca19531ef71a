#include "ui/tray.h"

namespace tunewick {

bool IsTrayNotification(const MouseMove& move, std::uint32_t iconId) {
    if (move.keyState != iconId || move.point < 0 || move.point > 0xFFFF) {
        return false;
    }
    // A real move with the icon's id as its key state, at y = 0 of the window, puts the
    // pointer at exactly the point it reports.
    return !(move.pointerX == static_cast<int>(move.point) && move.pointerY == 0);
}

}  // namespace tunewick
