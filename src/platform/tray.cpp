#include "platform/tray.h"

#include <shellapi.h>

#include <algorithm>

#include "platform/trace.h"
#include "platform/win32_window_system.h"

namespace tunewick::platform {

NOTIFYICONDATAW ToNotifyIconData(const TrayRecord& record) {
    NOTIFYICONDATAW data{};
    // 88 is the size of the first version's ANSI record; its wide twin is the first version's
    // wide record. Anything else the shell is given as the full wide record.
    data.cbSize = record.cbSize == 88 ? NOTIFYICONDATAW_V1_SIZE : sizeof(data);
    data.hWnd = ToHwnd(record.hWnd);
    data.uID = record.uID;
    data.uFlags = record.uFlags;
    data.uCallbackMessage = record.uCallbackMessage;
    data.hIcon = reinterpret_cast<HICON>(record.hIcon);
    // The whole fixed field, NUL and padding included: the shell reads up to the NUL.
    static_assert(TrayRecord::kTipLength <= sizeof(data.szTip) / sizeof(data.szTip[0]));
    const std::size_t length = std::min(record.szTip.size(), TrayRecord::kTipLength - 1);
    std::copy_n(record.szTip.begin(), length, data.szTip);
    data.szTip[length] = L'\0';
    return data;
}

bool AddTrayIcon(const TrayRecord& record) {
    NOTIFYICONDATAW data = ToNotifyIconData(record);
    return Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

bool DeleteTrayIcon(const TrayRecord& record) {
    NOTIFYICONDATAW data = ToNotifyIconData(record);
    return Shell_NotifyIconW(NIM_DELETE, &data) != FALSE;
}

UINT TaskbarCreatedMessage() {
    return RegisterWindowMessageW(L"TaskbarCreated");
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
