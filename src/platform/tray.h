#pragma once

#include <windows.h>

#include <shellapi.h>

#include "platform/handles.h"
#include "ui/main_form.h"

namespace tunewick::platform {

// The shell's notification area, reached with Shell_NotifyIconW.
// The form's record is the shell's ANSI NOTIFYICONDATA of the first version (88 bytes); the
// wide call takes the same fields in the wide record of that version.
NOTIFYICONDATAW ToNotifyIconData(const TrayRecord& record);
bool AddTrayIcon(const TrayRecord& record);
bool DeleteTrayIcon(const TrayRecord& record);

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
