#include <gtest/gtest.h>

#include "platform/tray.h"
#include "platform/win32_window_system.h"

namespace tunewick::platform {
namespace {

HWND WineTrayIcon() {
    HWND tray = FindWindowW(L"__winex11_standalone_tray", nullptr);
    return tray != nullptr ? FindWindowExW(tray, nullptr, L"__winex11_tray_icon", nullptr)
                           : nullptr;
}

TrayIcon IconOf(HWND window) {
    return TrayIcon{FromHwnd(window),
                    reinterpret_cast<std::uintptr_t>(LoadIconW(nullptr, IDI_APPLICATION)),
                    u"Tunewick"};
}

// What every shell since the first takes: the values the icon's events depend on.
TEST(Tray, ShellGetsTheFirstVersionRecordWithTheIconsCallback) {
    HWND window =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    const TrayIcon icon = IconOf(window);
    const NOTIFYICONDATAW data = ToNotifyIconData(icon);
    EXPECT_EQ(data.cbSize, NOTIFYICONDATAW_V1_SIZE);
    EXPECT_EQ(data.hWnd, window);
    EXPECT_EQ(data.uID, 1u);
    EXPECT_EQ(data.uFlags, 7u);              // message, icon, tip
    EXPECT_EQ(data.uCallbackMessage, 512u);  // WM_MOUSEMOVE
    EXPECT_EQ(data.hIcon, reinterpret_cast<HICON>(icon.icon));
    EXPECT_STREQ(data.szTip, L"Tunewick");

    // A tip that fills the first version's 64-unit field is cut to leave room for its NUL.
    const NOTIFYICONDATAW full = ToNotifyIconData({icon.window, icon.icon, Text(64, u'x')});
    EXPECT_EQ(std::wstring(full.szTip), std::wstring(63, L'x'));
    DestroyWindow(window);
}

TEST(Tray, EventsAreTheDoubleClickAndTheRightButtonDown) {
    struct Row {
        UINT mouseMessage;
        TrayEvent event;
    };
    const Row rows[] = {
        {515, TrayEvent::DoubleClick},                               // WM_LBUTTONDBLCLK
        {516, TrayEvent::RightButtonDown},                           // WM_RBUTTONDOWN
        {512, TrayEvent::Other},                                     // the pointer over the icon
        {513, TrayEvent::Other},                                     // a single click does nothing
        {514, TrayEvent::Other},           {517, TrayEvent::Other},  // the right button's release
        {518, TrayEvent::Other},           {0, TrayEvent::Other},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(TrayEventOf(row.mouseMessage), row.event) << row.mouseMessage;
    }
}

TEST(Tray, IconIsAddedOnceAndDeleted) {
    HWND window =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    const TrayIcon icon = IconOf(window);
    ASSERT_TRUE(AddTrayIcon(icon));
    const HWND shown = WineTrayIcon();
    EXPECT_NE(shown, nullptr);
    // The shell refuses a second add, but the icon is there: the window may go to the tray.
    EXPECT_TRUE(AddTrayIcon(icon));
    EXPECT_EQ(WineTrayIcon(), shown);
    EXPECT_TRUE(DeleteTrayIcon(icon));
    EXPECT_EQ(WineTrayIcon(), nullptr);
    EXPECT_FALSE(DeleteTrayIcon(icon));
    DestroyWindow(window);
}

}  // namespace
}  // namespace tunewick::platform
