#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/now_playing.h"
#include "memory_profile_store.h"
#include "memory_window_system.h"
#include "platform/live_windows.h"
#include "platform/main_window.h"
#include "platform/win32_controls.h"
#include "platform/win32_window_system.h"
#include "utf8.h"
#include "win32/pump.h"

namespace tunewick::platform {
namespace {

using e2e::Pump;

class CountingSecondary final : public SecondaryWindows {
  public:
    void ShowHelp() override { ++showHelp; }
    void CloseHelp() override { ++closeHelp; }
    void ShowOptions() override { ++showOptions; }
    int showHelp = 0;
    int closeHelp = 0;
    int showOptions = 0;
};

HWND WineTrayIcon() {
    HWND tray = FindWindowW(L"__winex11_standalone_tray", nullptr);
    return tray != nullptr ? FindWindowExW(tray, nullptr, L"__winex11_tray_icon", nullptr)
                           : nullptr;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

std::vector<HWND> Descendants(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(parent, &CollectChild, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND ChildByText(HWND parent, TextView text) {
    for (HWND child : Descendants(parent)) {
        if (WindowText(child) == text) {
            return child;
        }
    }
    return nullptr;
}

Text ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return FromWide(name);
}

// Notes every WM_SHOWWINDOW that would show a main window: a window put into the tray at
// start-up must never receive one.
std::vector<HWND> g_shown;
LRESULT CALLBACK WatchShows(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_SHOWWINDOW && call->wParam != FALSE &&
        ClassOf(call->hwnd) == u"TunewickMain") {
        g_shown.push_back(call->hwnd);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        messenger = windows.Open(kMessengerWindowClass);
        g_shown.clear();
        hook = SetWindowsHookExW(WH_CALLWNDPROC, &WatchShows, nullptr, GetCurrentThreadId());
    }
    void TearDown() override {
        if (main.Handle() != nullptr) {
            SendMessageW(main.Handle(), WM_CLOSE, 0, 0);
        }
        UnhookWindowsHookEx(hook);
        Pump(20);  // drains the quit the last closed window posts
    }

    std::size_t EmptyRecordsSent() const {
        const Text empty = BuildNowPlayingRecord(NowPlayingRequest{});
        const auto records = windows.DeliveredRecords();
        return static_cast<std::size_t>(std::count(records.begin(), records.end(), empty));
    }

    testing::MemoryWindowSystem windows;
    // Settings served from memory, whatever the path: the tests never touch a settings file.
    testing::MemoryProfileStore profile;
    CountingSecondary secondary;
    LiveWindows live;
    MainWindow main{windows, profile, secondary, live};
    WindowHandle messenger{};
    HHOOK hook = nullptr;
};

TEST_F(MainWindowTest, ControlsSitWhereTheFormPutsThemInTabOrder) {
    ASSERT_TRUE(main.Create());
    const int dpi = SystemDpi();
    struct Expected {
        const char16_t* className;
        const char16_t* text;
        bool inFrame;
        TwipRect place;
    };
    // Creation order: the z-order, which keyboard navigation follows.
    const Expected expected[] = {
        {u"Edit", u"1863", false, {5400, 6420, 1575, 315}},
        {u"Button", u"Activate Ospray", false, {120, 120, 2955, 375}},
        {u"Button", u"Help", false, {120, 3900, 2955, 375}},
        {u"TunewickFrame", u"Custom Artist / Song", false, {120, 1800, 2955, 1995}},
        {u"Edit", u"", true, {1080, 240, 1755, 315}},
        {u"Edit", u"", true, {1080, 660, 1755, 315}},
        {u"Static", u"Artist", true, {600, 300, 375, 195}},
        {u"Static", u"Song Name", true, {120, 720, 855, 195}},
        {u"Button", u"Set", true, {180, 1500, 1395, 375}},
        {u"Button", u"", true, {1740, 1620, 195, 195}},
        {u"Static", u"Update with timers?", true, {1980, 1500, 855, 375}},
        {u"Edit", u"{0} - {1}", true, {1080, 1080, 1755, 315}},
        {u"Static", u"Format", true, {420, 1140, 555, 195}},
        {u"Static", u"", false, {120, 4800, 2955, 495}},
        {u"Button", u"Minimize To Tray", false, {120, 1380, 2955, 375}},
        {u"Button", u"Activate Kestrin", false, {120, 540, 2955, 375}},
        {u"Button", u"Activate Lumbrel", false, {120, 960, 2955, 375}},
        {u"Button", u"Options", false, {120, 4320, 2955, 375}},
    };
    const std::vector<HWND> controls = Descendants(main.Handle());
    ASSERT_EQ(controls.size(), std::size(expected));
    HWND frame = controls[3];
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const Expected& e = expected[i];
        SCOPED_TRACE(ToUtf8(e.text));
        EXPECT_EQ(ClassOf(controls[i]), e.className);
        EXPECT_EQ(WindowText(controls[i]), e.text);
        EXPECT_EQ(GetParent(controls[i]), e.inFrame ? frame : main.Handle());
        RECT actual;
        GetWindowRect(controls[i], &actual);
        MapWindowPoints(nullptr, GetParent(controls[i]), reinterpret_cast<POINT*>(&actual), 2);
        const RECT want = TwipsToPixels(e.place, dpi);
        EXPECT_EQ(actual.left, want.left);
        EXPECT_EQ(actual.top, want.top);
        EXPECT_EQ(actual.right, want.right);
        EXPECT_EQ(actual.bottom, want.bottom);
    }

    // Tab goes through the focusable ones in that order, into the frame and out again.
    const TextView tabOrder[] = {u"1863",
                                 u"Activate Ospray",
                                 u"Help",
                                 u"",
                                 u"",
                                 u"Set",
                                 u"",
                                 u"{0} - {1}",
                                 u"Minimize To Tray",
                                 u"Activate Kestrin",
                                 u"Activate Lumbrel",
                                 u"Options",
                                 u"1863"};
    HWND at = controls[0];
    for (std::size_t i = 1; i < std::size(tabOrder); ++i) {
        at = GetNextDlgTabItem(main.Handle(), at, FALSE);
        EXPECT_EQ(WindowText(at), tabOrder[i]) << "stop " << i;
    }
}

TEST_F(MainWindowTest, WindowIsFixedWithAMinimizeBoxAndStartsWithText2Focused) {
    ASSERT_TRUE(main.Create());
    main.Start(SW_SHOWNORMAL);
    HWND window = main.Handle();
    EXPECT_EQ(WindowText(window), u"Tunewick");
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, TwipsToPixels(3165, SystemDpi()));
    EXPECT_EQ(client.bottom, TwipsToPixels(5295, SystemDpi()));
    EXPECT_NE(SendMessageW(window, WM_GETICON, ICON_SMALL, 0), 0);

    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(WindowText(GetFocus()), u"1863");
    // The load wrote the credit line; with no settings the format box is emptied.
    EXPECT_NE(ChildByText(window, u"Tunewick\r\nBy Vantor"), nullptr);
    EXPECT_EQ(ChildByText(window, u"{0} - {1}"), nullptr);
}

TEST_F(MainWindowTest, StartingInTheTrayNeverShowsTheWindow) {
    profile.Put(u"General", u"Minimize_Startup", u"1");
    profile.Put(u"Defaults", u"Player", u"XMPlay");
    profile.Put(u"Defaults", u"Format", u"{1} ~ {0}");
    ASSERT_TRUE(main.Create());
    main.Start(SW_SHOWNORMAL);
    Pump(100);
    HWND window = main.Handle();
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(g_shown.empty());
    EXPECT_NE(WineTrayIcon(), nullptr);
    EXPECT_NE(ChildByText(window, u"Deactivate Lumbrel"), nullptr);
    EXPECT_NE(ChildByText(window, u"{1} ~ {0}"), nullptr);

    // A double click on the icon (515 where x goes) brings it back.
    SendMessageW(window, WM_MOUSEMOVE, 1, 515);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(IsIconic(window));
    // A left single click (513) does nothing.
    ShowWindow(window, SW_HIDE);
    SendMessageW(window, WM_MOUSEMOVE, 1, 513);
    EXPECT_FALSE(IsWindowVisible(window));

    // Closing removes the icon and clears the messenger once.
    windows.ClearDeliveries();
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(main.Handle(), nullptr);
    EXPECT_EQ(WineTrayIcon(), nullptr);
    EXPECT_EQ(windows.Deliveries().size(), 1u);
    EXPECT_EQ(EmptyRecordsSent(), 1u);
    EXPECT_EQ(secondary.closeHelp, 1);
}

TEST_F(MainWindowTest, ButtonsReachTheFormByClick) {
    ASSERT_TRUE(main.Create());
    main.Start(SW_SHOWNORMAL);
    HWND window = main.Handle();
    SendMessageW(ChildByText(window, u"Help"), BM_CLICK, 0, 0);
    SendMessageW(ChildByText(window, u"Options"), BM_CLICK, 0, 0);
    EXPECT_EQ(secondary.showHelp, 1);
    EXPECT_EQ(secondary.showOptions, 1);

    SendMessageW(ChildByText(window, u"Activate Kestrin"), BM_CLICK, 0, 0);
    EXPECT_NE(ChildByText(window, u"Deactivate Kestrin"), nullptr);
    // Enter presses the focused command button.
    HWND kestrin = ChildByText(window, u"Deactivate Kestrin");
    SetFocus(kestrin);
    EXPECT_EQ(SendMessageW(window, DM_GETDEFID, 0, 0),
              MAKELRESULT(GetDlgCtrlID(kestrin), DC_HASDEFID));

    SendMessageW(ChildByText(window, u"Minimize To Tray"), BM_CLICK, 0, 0);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_NE(WineTrayIcon(), nullptr);
}

TEST_F(MainWindowTest, EndOfSessionRunsTheShutdown) {
    ASSERT_TRUE(main.Create());
    main.Start(SW_SHOWNORMAL);
    HWND window = main.Handle();
    SendMessageW(ChildByText(window, u"Activate Ospray"), BM_CLICK, 0, 0);
    SendMessageW(ChildByText(window, u"Minimize To Tray"), BM_CLICK, 0, 0);
    windows.ClearDeliveries();

    EXPECT_EQ(SendMessageW(window, WM_QUERYENDSESSION, 0, 0), TRUE);
    EXPECT_TRUE(windows.Deliveries().empty());
    SendMessageW(window, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(WineTrayIcon(), nullptr);
    EXPECT_EQ(EmptyRecordsSent(), 1u);
    EXPECT_EQ(windows.Deliveries().size(), 1u);
    EXPECT_EQ(main.Handle(), nullptr);
}

TEST_F(MainWindowTest, EndOfSessionCancelledChangesNothing) {
    ASSERT_TRUE(main.Create());
    main.Start(SW_SHOWNORMAL);
    SendMessageW(main.Handle(), WM_ENDSESSION, FALSE, 0);
    EXPECT_NE(main.Handle(), nullptr);
    EXPECT_TRUE(windows.Deliveries().empty());
}

}  // namespace
}  // namespace tunewick::platform
