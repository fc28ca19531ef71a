#include <gtest/gtest.h>

#include <oleacc.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <utility>
#include <vector>

#include "core/now_playing.h"
#include "memory_profile_store.h"
#include "memory_window_system.h"
#include "platform/control_adapters.h"
#include "platform/help_window.h"
#include "platform/layout.h"
#include "platform/live_windows.h"
#include "platform/main_window.h"
#include "platform/options_window.h"
#include "platform/painting.h"
#include "platform/wide_text.h"
#include "utf8.h"
#include "win32/pump.h"

namespace tunewick::platform {
namespace {

using e2e::Pump;

class CountingWindow final : public SecondaryWindow {
  public:
    void Show() override { ++shown; }
    void Close() override { ++closed; }
    int shown = 0;
    int closed = 0;
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
    CountingWindow help;
    CountingWindow options;
    LiveWindows live;
    MainWindow main{windows, profile, help, options, live};
    WindowHandle messenger{};
    HHOOK hook = nullptr;
};

BSTR AccessibleName(HWND control) {
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                          IID_IAccessible,
                                          reinterpret_cast<void**>(&accessible)))) {
        return nullptr;
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    accessible->get_accName(self, &name);
    accessible->Release();
    return name;
}

// A screen reader names each text box after its label and each button or check box after its
// text, as oleacc reads them. Windows takes a text box's name from the window right before it
// (Wine from the nearest static before it), so that window must be the label.
TEST_F(MainWindowTest, ScreenReadersNameEveryControlAfterItsLabel) {
    ASSERT_TRUE(main.Create());
    main.Start(SW_SHOWNORMAL);
    OptionsWindow optionsWindow(profile, live);
    optionsWindow.Show();
    ASSERT_NE(optionsWindow.Handle(), nullptr);
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    struct Case {
        HWND window;
        TextView className;
        std::size_t index;  // among the window's controls of the class, in the window order
        TextView name;
    };
    const Case cases[] = {
        {main.Handle(), u"Edit", 1, u"Artist"},
        {main.Handle(), u"Edit", 2, u"Song Name"},
        {main.Handle(), u"Edit", 3, u"Format"},
        {main.Handle(), u"Button", 3, u"Update with timers?"},
        {main.Handle(), u"Button", 0, u"Activate Ospray"},
        {optionsWindow.Handle(), u"Edit", 0, u"Artist      -"},
        {optionsWindow.Handle(), u"Edit", 1, u"Ttile       -"},
        {optionsWindow.Handle(), u"Edit", 2, u"Format   -"},
        {optionsWindow.Handle(), u"Button", 4, u"Minimize On Startup"},
        {optionsWindow.Handle(), u"Button", 1, u"Realplayer"},
        {optionsWindow.Handle(), u"Button", 0, u"OK"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        std::vector<HWND> ofClass;
        std::ranges::copy_if(Descendants(c.window), std::back_inserter(ofClass),
                             [&](HWND control) { return ClassOf(control) == c.className; });
        ASSERT_LT(c.index, ofClass.size()) << "case " << i;
        HWND control = ofClass[c.index];
        BSTR name = AccessibleName(control);
        EXPECT_EQ(Text(name != nullptr ? FromWide(name) : u"(none)"), c.name);
        SysFreeString(name);
        if (c.className == u"Edit") {
            HWND before = GetWindow(control, GW_HWNDPREV);
            EXPECT_EQ(ClassOf(before), u"Static") << "case " << i;
            EXPECT_EQ(WindowText(before), c.name);
        }
    }
    CoUninitialize();
    optionsWindow.Close();
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
    EXPECT_NE(ChildByText(window, u"Tunewick\r\nBy Vantor"), nullptr);  // the load ran
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

    // Closing removes the icon and clears the messenger once.
    windows.ClearDeliveries();
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(main.Handle(), nullptr);
    EXPECT_EQ(WineTrayIcon(), nullptr);
    EXPECT_EQ(windows.Deliveries().size(), 1u);
    EXPECT_EQ(EmptyRecordsSent(), 1u);
    EXPECT_EQ(help.closed, 1);
}

TEST_F(MainWindowTest, ButtonsReachTheFormByClick) {
    ASSERT_TRUE(main.Create());
    main.Start(SW_SHOWNORMAL);
    HWND window = main.Handle();
    SendMessageW(ChildByText(window, u"Help"), BM_CLICK, 0, 0);
    SendMessageW(ChildByText(window, u"Options"), BM_CLICK, 0, 0);
    EXPECT_EQ(help.shown, 1);
    EXPECT_EQ(options.shown, 1);

    SendMessageW(ChildByText(window, u"Activate Kestrin"), BM_CLICK, 0, 0);
    EXPECT_NE(ChildByText(window, u"Deactivate Kestrin"), nullptr);

    SendMessageW(ChildByText(window, u"Minimize To Tray"), BM_CLICK, 0, 0);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_NE(WineTrayIcon(), nullptr);
}

// The client area of `window`, pixel by pixel, row by row, with whether the forms paint each
// pixel in their own colours: all but the controls that keep the platform's (text boxes, check
// boxes, option buttons, the help window's button, the help text's scroll bar).
struct PaintedPixels {
    std::vector<COLORREF> pixels;
    std::vector<bool> ours;
};
PaintedPixels PixelsOf(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    HRGN ours = CreateRectRgnIndirect(&client);
    const auto combine = [&](HWND from, RECT place, int mode) {
        MapWindowPoints(from, window, reinterpret_cast<POINT*>(&place), 2);
        HRGN part = CreateRectRgnIndirect(&place);
        CombineRgn(ours, ours, part, mode);
        DeleteObject(part);
    };
    for (HWND control : Descendants(window)) {
        const Text className = ClassOf(control);
        const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
        if (className == u"Static" || className == u"TunewickFrame" ||
            (className == u"Button" && (style & BS_TYPEMASK) == BS_OWNERDRAW)) {
            continue;
        }
        RECT place;
        GetWindowRect(control, &place);
        combine(nullptr, place, RGN_DIFF);
        if (className == u"Edit" && (style & ES_READONLY) != 0) {
            GetClientRect(control, &place);  // the help text, without its scroll bar
            combine(control, place, RGN_OR);
        }
    }
    PaintedPixels picture;
    HDC dc = GetDC(window);
    for (LONG y = 0; y < client.bottom; ++y) {
        for (LONG x = 0; x < client.right; ++x) {
            picture.pixels.push_back(GetPixel(dc, x, y));
            picture.ours.push_back(PtInRegion(ours, x, y) != FALSE);
        }
    }
    ReleaseDC(window, dc);
    DeleteObject(ours);
    return picture;
}

// The system colours that High Contrast paints with, others for the scope.
class OtherSystemColours {
  public:
    OtherSystemColours() {
        const COLORREF others[] = {RGB(0, 96, 0),    RGB(255, 255, 0), RGB(96, 0, 96),
                                   RGB(0, 255, 255), RGB(255, 128, 0), RGB(0, 0, 128)};
        std::ranges::transform(kIndices, saved_, &GetSysColor);
        SetSysColors(6, kIndices, others);
    }
    ~OtherSystemColours() { SetSysColors(6, kIndices, saved_); }

  private:
    static constexpr int kIndices[6] = {COLOR_WINDOW,  COLOR_WINDOWTEXT, COLOR_BTNFACE,
                                        COLOR_BTNTEXT, COLOR_HIGHLIGHT,  COLOR_HIGHLIGHTTEXT};
    COLORREF saved_[6] = {};
};

// With High Contrast off the forms keep their designed colours whatever system colours the
// user picks: in each window every surface the forms paint (the window, frames, labels, help
// text, buttons at rest, focused and pressed) stays pixel for pixel, while the controls in the
// platform's colours follow the change.
TEST_F(MainWindowTest, WithHighContrastOffTheFormsKeepTheirColoursWhenTheSystemsChange) {
    ASSERT_FALSE(HighContrastOn()) << "the forms are to follow High Contrast";
    ASSERT_TRUE(main.Create());
    main.Start(SW_SHOWNORMAL);
    HelpWindow helpWindow(live);
    helpWindow.Show();
    OptionsWindow optionsWindow(profile, live);
    optionsWindow.Show();  // its "OK" takes the focus
    SendMessageW(ChildByText(main.Handle(), u"Activate Kestrin"), BM_SETSTATE, TRUE, 0);
    const HWND windows[] = {main.Handle(), helpWindow.Handle(), optionsWindow.Handle()};
    const int lefts[] = {0, 250, 750};  // apart, so that none covers another
    std::vector<PaintedPixels> before;
    for (std::size_t w = 0; w < std::size(windows); ++w) {
        SetWindowPos(windows[w], nullptr, lefts[w], 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        Pump(100);
        before.push_back(PixelsOf(windows[w]));
    }

    const OtherSystemColours changed;
    Pump(200);
    for (std::size_t w = 0; w < std::size(windows); ++w) {
        const PaintedPixels after = PixelsOf(windows[w]);
        ASSERT_EQ(after.pixels.size(), before[w].pixels.size());
        std::size_t ours = 0;
        std::size_t changedOfOurs = 0;
        std::size_t changedOfThePlatforms = 0;
        for (std::size_t at = 0; at < after.pixels.size(); ++at) {
            const bool changedHere = after.pixels[at] != before[w].pixels[at];
            ours += after.ours[at] ? 1 : 0;
            (after.ours[at] ? changedOfOurs : changedOfThePlatforms) += changedHere ? 1 : 0;
        }
        EXPECT_EQ(changedOfOurs, 0u) << "window " << w;
        EXPECT_GT(ours, after.pixels.size() / 2) << "window " << w;
        EXPECT_GT(changedOfThePlatforms, 0u) << "window " << w << ": the system's colours changed";
    }
    optionsWindow.Close();
    helpWindow.Close();
}

}  // namespace
}  // namespace tunewick::platform
