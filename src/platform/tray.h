#pragma once

#include <windows.h>

#include "platform/handles.h"
#include "ui/tray.h"

namespace tunewick::platform {

// The shell's notification area, reached with Shell_NotifyIconW. The program's one icon has
// the id kTrayIconId; the shell reports its events to the icon's window as WM_MOUSEMOVE, with
// the id where the key state goes and the event's mouse message where the point goes.
inline constexpr UINT kTrayIconId = 1;

// The event the shell reports with `mouseMessage`.
TrayEvent TrayEventOf(UINT mouseMessage);

// The message a restarted shell broadcasts to every top-level window; the same number in
// every process.
UINT TaskbarCreatedMessage();

// The icon and the tray menu, "Show" (drawn bold, the default) and "Close". A pick reaches
// the menu's owner as WM_COMMAND with kShowCommand or kCloseCommand.
class Win32Tray final : public TrayShell {
  public:
    static constexpr UINT kShowCommand = 0x9001;
    static constexpr UINT kCloseCommand = 0x9002;

    // Builds the menu of `owner`; without it the icon still adds and restores on a double
    // click.
    void CreateMenu(HWND owner);

    // An add the shell refuses fails, as does a second one for an icon that is there: the
    // change that the shell accepts only for an icon it has tells the two apart.
    bool Add(const TrayIcon& icon) override;
    void Remove(const TrayIcon& icon) override;
    void PopUpMenu() override;

  private:
    HWND owner_ = nullptr;
    UniqueMenu menu_;
    // How many adds the shell has refused in a row. The first refusal is traced, and so is the
    // add that works after them.
    unsigned refusals_ = 0;
};

}  // namespace tunewick::platform
