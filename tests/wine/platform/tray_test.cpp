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

TEST(Tray, RecordBecomesTheWideRecordOfTheSameVersion) {
    HWND window =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
    const TrayRecord record =
        MakeTrayRecord(FromHwnd(window), reinterpret_cast<std::uintptr_t>(icon));
    const NOTIFYICONDATAW data = ToNotifyIconData(record);
    EXPECT_EQ(data.cbSize, NOTIFYICONDATAW_V1_SIZE);
    EXPECT_EQ(data.hWnd, window);
    EXPECT_EQ(data.uID, 1u);
    EXPECT_EQ(data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(data.uCallbackMessage, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(data.hIcon, icon);
    EXPECT_STREQ(data.szTip, L"Tunewick");
    DestroyWindow(window);
}

TEST(Tray, TipThatFillsTheFieldIsCutToFitItsNul) {
    TrayRecord record;
    record.cbSize = 88;
    record.szTip = Text(TrayRecord::kTipLength, u'x');
    const NOTIFYICONDATAW data = ToNotifyIconData(record);
    EXPECT_EQ(std::wstring(data.szTip), std::wstring(TrayRecord::kTipLength - 1, L'x'));
    // Any other size is passed as the full wide record.
    record.cbSize = 0;
    EXPECT_EQ(ToNotifyIconData(record).cbSize, sizeof(NOTIFYICONDATAW));
}

TEST(Tray, IconIsAddedOnceAndDeleted) {
    HWND window =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    const TrayRecord record = MakeTrayRecord(
        FromHwnd(window), reinterpret_cast<std::uintptr_t>(LoadIconW(nullptr, IDI_APPLICATION)));
    ASSERT_TRUE(AddTrayIcon(record));
    EXPECT_NE(WineTrayIcon(), nullptr);
    EXPECT_FALSE(AddTrayIcon(record));  // already there: fails quietly
    EXPECT_TRUE(DeleteTrayIcon(record));
    EXPECT_EQ(WineTrayIcon(), nullptr);
    EXPECT_FALSE(DeleteTrayIcon(record));
    DestroyWindow(window);
}

}  // namespace
}  // namespace tunewick::platform
