#include "platform/tray.h"

#include <shellapi.h>

#include <algorithm>

#include "platform/system_library.h"
#include "platform/trace.h"
#include "platform/win32_window_system.h"

namespace tunewick::platform {

namespace {

// The tip field of the first version's record: 64 units, its NUL included.
constexpr std::size_t kFirstVersionTipLength = 64;

}  // namespace

NOTIFYICONDATAW ToNotifyIconData(const TrayIcon& icon) {
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data.hWnd = ToHwnd(icon.window);
    data.uID = kTrayIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_MOUSEMOVE;
    data.hIcon = reinterpret_cast<HICON>(icon.icon);
    // The shell reads the tip up to its NUL, within the field.
    static_assert(kFirstVersionTipLength <= sizeof(data.szTip) / sizeof(data.szTip[0]));
    const std::size_t length = std::min(icon.tip.size(), kFirstVersionTipLength - 1);
    std::copy_n(icon.tip.begin(), length, data.szTip);
    data.szTip[length] = L'\0';
    return data;
}

bool AddTrayIcon(const TrayIcon& icon) {
    NOTIFYICONDATAW data = ToNotifyIconData(icon);
    if (ShellNotifyIcon(NIM_ADD, &data) != FALSE) {
        return true;
    }
    // The shell accepts a change only to an icon it has: that tells an icon already there from
    // one that is missing.
    const DWORD addError = GetLastError();
    if (ShellNotifyIcon(NIM_MODIFY, &data) != FALSE) {
        return true;
    }
    SetLastError(addError);
    return false;
}

bool DeleteTrayIcon(const TrayIcon& icon) {
    NOTIFYICONDATAW data = ToNotifyIconData(icon);
    return ShellNotifyIcon(NIM_DELETE, &data) != FALSE;
}

TrayEvent TrayEventOf(UINT mouseMessage) {
    switch (mouseMessage) {
        case WM_LBUTTONDBLCLK:
            return TrayEvent::DoubleClick;
        case WM_RBUTTONDOWN:
            return TrayEvent::RightButtonDown;
        default:
            return TrayEvent::Other;
    }
}

UINT TaskbarCreatedMessage() {
    const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    // The shell runs at normal integrity: an elevated Tunewick hears it only when let through.
    AcceptFromLowerIntegrity(message);
    return message;
}

bool TrayMenu::Create() {
    menu_.Reset(CreatePopupMenu());
    if (!menu_) {
        TraceFailure(L"CreatePopupMenu");
        return false;
    }
    AppendMenuW(menu_.Get(), MF_STRING, kShowCommand, L"Show");
    AppendMenuW(menu_.Get(), MF_STRING, kCloseCommand, L"Close");
    SetMenuDefaultItem(menu_.Get(), kShowCommand, FALSE);
    return true;
}

void TrayMenu::PopUp(HWND owner) const {
    if (!menu_) {
        return;
    }
    POINT at{};
    GetCursorPos(&at);
    // The menu closes when the user clicks elsewhere only if its owner is the foreground
    // window; a tray icon's owner usually is not (it may even be hidden).
    SetForegroundWindow(owner);
    TrackPopupMenu(menu_.Get(), TPM_LEFTALIGN | TPM_LEFTBUTTON, at.x, at.y, 0, owner, nullptr);
    // Without a message after the menu, a second right click on the icon would open the menu
    // and close it at once.
    PostMessageW(owner, WM_NULL, 0, 0);
}

}  // namespace tunewick::platform
