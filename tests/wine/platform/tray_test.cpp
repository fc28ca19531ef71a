#include <gtest/gtest.h>

#include "platform/tray.h"

namespace tunewick::platform {
namespace {

HWND WineTrayIcon() {
    HWND tray = FindWindowW(L"__winex11_standalone_tray", nullptr);
    return tray != nullptr ? FindWindowExW(tray, nullptr, L"__winex11_tray_icon", nullptr)
                           : nullptr;
}

TEST(Tray, IconIsAddedOnceAndRemoved) {
    HWND window =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    const TrayIcon icon{FromHwnd(window),
                        reinterpret_cast<std::uintptr_t>(LoadIconW(nullptr, IDI_APPLICATION)),
                        u"Tunewick"};
    Win32Tray tray;
    ASSERT_TRUE(tray.Add(icon));
    const HWND shown = WineTrayIcon();
    EXPECT_NE(shown, nullptr);
    // The shell refuses a second add, but the icon is there: the window may go to the tray.
    EXPECT_TRUE(tray.Add(icon));
    EXPECT_EQ(WineTrayIcon(), shown);
    tray.Remove(icon);
    EXPECT_EQ(WineTrayIcon(), nullptr);
    DestroyWindow(window);
}

}  // namespace
}  // namespace tunewick::platform
