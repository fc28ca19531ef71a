// The shell restarting while Tunewick is in the tray: the new shell knows no icons and tells
// every top-level window with the registered message "TaskbarCreated". Tunewick's icon must
// come back exactly once, whenever it had been added, even while Tunewick waits on a messenger
// that does not answer; and no icon may appear for a Tunewick that never went to the tray.
// And a shell that refuses the icon, as at log-on: the window stays on the screen until the
// icon is there.

#include <windows.h>

#include <shellapi.h>

#include "fault_probes.h"

namespace tunewick::e2e {
namespace {

class TrayFaults : public FaultScenario {
  protected:
    // What a restarted shell does: it has lost Tunewick's icon (the others are left), then
    // tells every window, without waiting for any of them.
    static bool RestartShell(HWND tunewick, std::optional<std::size_t> lostIconLeaves) {
        if (lostIconLeaves) {
            NOTIFYICONDATAW icon{};
            icon.cbSize = sizeof(icon);
            icon.hWnd = tunewick;
            icon.uID = 1;
            if (!Shell_NotifyIconW(NIM_DELETE, &icon) || !IconsBecome(*lostIconLeaves)) {
                return false;
            }
        }
        static const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
        return taskbarCreated != 0 &&
               SendNotifyMessageW(HWND_BROADCAST, taskbarCreated, 0, 0) != FALSE;
    }

    static bool IconsBecome(std::size_t count) {
        return WaitUntil([&] { return TrayIconCount() == count; }, 2s);
    }
};

TEST_F(TrayFaults, TheIconComesBackOnceWheneverItHadBeenAdded) {
    const std::size_t before = TrayIconCount();
    auto asleep = StartMessenger({.caption = u"Asleep", .sleepMs = 60000});
    auto app = StartTunewick();
    ASSERT_TRUE(asleep && app);
    HWND hide = app->Button(u"Minimize To Tray");
    ASSERT_TRUE(hide);

    // Never in the tray: a restarted shell brings no icon.
    ASSERT_TRUE(RestartShell(app->MainWindow(), std::nullopt));
    ASSERT_TRUE(AnswerTime(app->MainWindow()).has_value());
    EXPECT_EQ(TrayIconCount(), before);

    ASSERT_TRUE(Click(hide));
    ASSERT_TRUE(IconsBecome(before + 1));
    EXPECT_FALSE(IsWindowVisible(app->MainWindow()));

    // In the tray, while Tunewick waits on a messenger that sleeps: the icon is back within
    // the wait, since the shell's message is taken while Tunewick waits.
    ASSERT_TRUE(app->PostSet(u"Artist", u"Song"));
    ASSERT_EQ(asleep->WaitForRecords(1).size(), 1u);
    const auto waiting = Clock::now();  // Tunewick's wait started a moment earlier
    ASSERT_TRUE(RestartShell(app->MainWindow(), before));
    EXPECT_TRUE(IconsBecome(before + 1));
    EXPECT_LT(Clock::now() - waiting, kPeerBound - 300ms) << "only after the wait";

    // Told twice, it still shows one icon.
    ASSERT_TRUE(RestartShell(app->MainWindow(), std::nullopt));
    ASSERT_TRUE(AnswerTime(app->MainWindow(), 5s).has_value());
    EXPECT_EQ(TrayIconCount(), before + 1);

    // Shown again by a double click on the icon, which stays; a restart brings it back.
    // As the shell posts it: the icon's id (1) and the mouse message.
    ASSERT_TRUE(PostMessageW(app->MainWindow(), WM_MOUSEMOVE, 1, WM_LBUTTONDBLCLK));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(app->MainWindow()) != FALSE; }, 2s));
    EXPECT_EQ(TrayIconCount(), before + 1);
    ASSERT_TRUE(RestartShell(app->MainWindow(), before));
    EXPECT_TRUE(IconsBecome(before + 1));

    // The shutdown removes it.
    EXPECT_EQ(app->Close(), 0u);
    EXPECT_TRUE(IconsBecome(before));
}

// At log-on the shell may refuse an icon (busy, or not ready), and no "TaskbarCreated" follows.
// Tunewick set to start in the tray stays on the screen, asks again on the watcher's ticks,
// and goes to the tray once the shell takes the icon.
TEST_F(TrayFaults, AWindowWhoseIconTheShellRefusesStaysOnTheScreenUntilTheIconIsThere) {
    const std::size_t before = TrayIconCount();
    // Shell_NotifyIconW hands its request to the first top-level window of the shell's tray
    // class, on Windows as under Wine: this one, above the shell's own, refuses every icon.
    auto shell = StartMessenger(
        {.caption = u"Refusing shell", .className = u"Shell_TrayWnd", .refuse = true});
    ASSERT_TRUE(shell);
    ASSERT_EQ(FindWindowExW(nullptr, nullptr, L"Shell_TrayWnd", nullptr), shell->Window());
    WriteSettings("[General]\r\nMinimize_Startup=1\r\n");
    auto app = StartTunewick();
    ASSERT_TRUE(app);
    const std::size_t refusedAtStart = shell->Records().size();
    EXPECT_GE(refusedAtStart, 1u);
    EXPECT_TRUE(IsWindowVisible(app->MainWindow())) << "hidden without an icon";

    // The watcher asks again every 2 seconds; the window stays.
    EXPECT_GT(shell->WaitForRecords(refusedAtStart + 1, 5s).size(), refusedAtStart);
    EXPECT_TRUE(IsWindowVisible(app->MainWindow()));
    EXPECT_EQ(TrayIconCount(), before);

    shell->Process().Kill();
    EXPECT_TRUE(IconsBecome(before + 1));
    EXPECT_TRUE(WaitForWindowGone(app->MainWindow(), 3s, /*orHidden=*/true));
    EXPECT_EQ(app->Close(), 0u);
}

}  // namespace
}  // namespace tunewick::e2e
