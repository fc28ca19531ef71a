#include "platform/tray.h"

#include <shellapi.h>

#include <algorithm>

#include "platform/system_library.h"
#include "platform/trace.h"
#include "platform/wide_text.h"

namespace tunewick::platform {

namespace {

// The tip field of the first version's record: 64 units, its NUL included.
constexpr std::size_t kFirstVersionTipLength = 64;

// The record the shell is given for the icon: the first version's (NOTIFYICONDATAW_V1_SIZE,
// the wide twin of the 88-byte ANSI record), with its callback message, icon and tip.
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

}  // namespace

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

void Win32Tray::CreateMenu(HWND owner) {
    owner_ = owner;
    menu_.Reset(CreatePopupMenu());
    if (!menu_) {
        const DWORD error = GetLastError();
        TraceFailure(L"CreatePopupMenu", error);
        return;
    }
    AppendMenuW(menu_.Get(), MF_STRING, kShowCommand, L"Show");
    AppendMenuW(menu_.Get(), MF_STRING, kCloseCommand, L"Close");
    SetMenuDefaultItem(menu_.Get(), kShowCommand, FALSE);
}

bool Win32Tray::Add(const TrayIcon& icon) {
    NOTIFYICONDATAW data = ToNotifyIconData(icon);
    if (ShellNotifyIcon(NIM_ADD, &data) == FALSE) {
        const DWORD error = GetLastError();
        if (ShellNotifyIcon(NIM_MODIFY, &data) == FALSE) {
            // The watcher asks again every 2 seconds: one line when the refusals begin, one
            // when they end, not one a tick.
            if (refusals_++ == 0) {
                TraceFailure(L"Shell_NotifyIconW(NIM_ADD)", error);
            }
            return false;
        }
    }
    if (refusals_ > 0) {
        TraceNote(L"Shell_NotifyIconW(NIM_ADD) worked after " + Decimal(refusals_) +
                  L" refusals: the tray icon is there");
        refusals_ = 0;
    }
    return true;
}

void Win32Tray::Remove(const TrayIcon& icon) {
    // The shutdown removes the icon whether or not it was ever added: nothing to trace.
    NOTIFYICONDATAW data = ToNotifyIconData(icon);
    ShellNotifyIcon(NIM_DELETE, &data);
}

void Win32Tray::PopUpMenu() {
    if (!menu_) {
        return;
    }
    POINT at{};
    GetCursorPos(&at);
    // The menu closes when the user clicks elsewhere only if its owner is the foreground
    // window; a tray icon's owner usually is not (it may even be hidden).
    SetForegroundWindow(owner_);
    TrackPopupMenu(menu_.Get(), TPM_LEFTALIGN | TPM_LEFTBUTTON, at.x, at.y, 0, owner_, nullptr);
    // Without a message after the menu, a second right click on the icon would open the menu
    // and close it at once.
    PostMessageW(owner_, WM_NULL, 0, 0);
}

}  // namespace tunewick::platform
