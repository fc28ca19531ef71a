#pragma once

#include <cstdint>

#include "core/text.h"
#include "core/window_system.h"

namespace tunewick {

// The tray icon as the form asks the shell for it.
struct TrayIcon {
    WindowHandle window = WindowHandle::None;  // the main window, which gets the icon's events
    std::uintptr_t icon = 0;                   // the main window's own icon
    Text tip;                                  // what the shell shows over the icon

    bool operator==(const TrayIcon&) const = default;
};

// What the user does to the tray icon, as far as the form cares.
enum class TrayEvent { DoubleClick, RightButtonDown, Other };

// The shell reports the tray icon's events to the main window as mouse moves. A move as it
// arrived: the word that carries the key state, the one that carries the point (x in the low
// 16 bits, y above them), and where the pointer was, in client coordinates, when it was sent.
struct MouseMove {
    std::uintptr_t keyState;
    std::intptr_t point;
    int pointerX;
    int pointerY;
};

// Whether the move is the shell's report of an event of the icon `iconId`, not the pointer
// moving over the window. The shell puts the icon's id where the key state goes and the
// event alone where the point goes, while the pointer is over the icon; a real move carries
// the pointer's own position. At high DPI the window is wide enough for a real move to carry
// the x that an event's number is.
inline bool IsTrayNotification(const MouseMove& move, std::uint32_t iconId) {
    // A real move with the icon's id as its key state, at y = 0 of the window, puts the pointer
    // at exactly the point it reports.
    return move.keyState == iconId && move.point >= 0 && move.point <= 0xFFFF &&
           !(move.pointerX == static_cast<int>(move.point) && move.pointerY == 0);
}

// The shell's notification area as the form uses it.
class TrayShell {
  public:
    virtual ~TrayShell() = default;
    // True when the shell shows the icon afterwards, whether added now or there already.
    virtual bool Add(const TrayIcon& icon) = 0;
    virtual void Remove(const TrayIcon& icon) = 0;  // nothing when it is not there
    // Pops up the tray menu at the mouse position, "Show" as its default (bold) item. A pick
    // comes back as the form's ShowFromTray or CloseFromTray.
    virtual void PopUpMenu() = 0;
};

// What the form knows about its icon and the window's place in the tray.
struct TrayState {
    TrayIcon icon;
    bool asked = false;  // an add has been asked for since load
    // "Minimize To Tray" (or the load) asked to hide a window that was not minimized, and the
    // shell has not shown the icon yet.
    bool hidePending = false;
    bool inTray = false;  // hidden by the form, and not shown since
};

}  // namespace tunewick
