#pragma once

#include <windows.h>

#include <shellapi.h>

#include "platform/handles.h"
#include "ui/main_form.h"

namespace tunewick::platform {

// The shell's notification area, reached with Shell_NotifyIconW. The program's one icon has
// the id kTrayIconId; the shell reports its events to the icon's window as WM_MOUSEMOVE, with
// the id where the key state goes and the event's mouse message where the point goes.
inline constexpr UINT kTrayIconId = 1;

// The record the shell is given for the icon: the first version's (NOTIFYICONDATAW_V1_SIZE,
// the wide twin of the 88-byte ANSI record), with its callback message, icon and tip.
NOTIFYICONDATAW ToNotifyIconData(const TrayIcon& icon);
// True when the shell shows the icon afterwards: added now, or there already (a second add
// fails, as does one the shell took only after the caller had stopped waiting). On false, the
// last error is the add's.
bool AddTrayIcon(const TrayIcon& icon);
bool DeleteTrayIcon(const TrayIcon& icon);

// The event the shell reports with `mouseMessage`.
TrayEvent TrayEventOf(UINT mouseMessage);

// The message a restarted shell broadcasts to every top-level window; the same number in
// every process.
UINT TaskbarCreatedMessage();

// The tray menu: "Show" (drawn bold, the default) and "Close". A pick reaches the
// owner as WM_COMMAND with kShowCommand or kCloseCommand.
class TrayMenu {
  public:
    static constexpr UINT kShowCommand = 0x9001;
    static constexpr UINT kCloseCommand = 0x9002;

    // Builds the menu; false when the platform refuses.
    bool Create();
    // Pops the menu up at the mouse position and returns when it has closed.
    void PopUp(HWND owner) const;

  private:
    UniqueMenu menu_;
};

}  // namespace tunewick::platform
