#include <gtest/gtest.h>

#include <oleacc.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
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
    // __uuidof, not IID_IAccessible: in the x86_64 link that name resolves to the import
    // thunk of oleacc's export of the same name, whose bytes are no GUID.
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                          __uuidof(IAccessible),
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

RECT Outer(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

// The three windows as the program opens them, side by side, for a start at the run's DPI and
// for changes of DPI sent to them as Windows sends them when a window moves to another monitor.
class FormsAtDpi : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(main.Create());
        main.Start(SW_SHOWNORMAL);
        help.Show();
        options.Show();
        windows = {main.Handle(), options.Handle(), help.Handle()};
        int left = 0;
        for (HWND window : windows) {
            SetWindowPos(window, nullptr, left, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            left = Outer(window).right + 10;
        }
    }
    void TearDown() override {
        options.Close();
        SendMessageW(main.Handle(), WM_CLOSE, 0, 0);
        Pump(20);
    }

    testing::MemoryWindowSystem system;
    testing::MemoryProfileStore profile;
    LiveWindows live;
    HelpWindow help{live};
    OptionsWindow options{profile, live};
    MainWindow main{system, profile, help, options, live};
    std::vector<HWND> windows;
};

int IconSize(HWND window, WPARAM which) {
    ICONINFO info{};
    BITMAP mask{};
    if (GetIconInfo(reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0)), &info)) {
        GetObjectW(info.hbmMask, sizeof(mask), &mask);
        DeleteObject(info.hbmMask);
        DeleteObject(info.hbmColor);
    }
    return mask.bmWidth;
}

// Each window's client area and icon sizes, and each control's place in its container and
// font, one line each: what a start at a DPI and a change to it must agree on.
std::string LaidOut(const std::vector<HWND>& windows) {
    std::ostringstream out;
    for (HWND window : windows) {
        RECT client{};
        GetClientRect(window, &client);
        out << ToUtf8(ClassOf(window)) << " " << client.right << "x" << client.bottom << " icons "
            << IconSize(window, ICON_SMALL) << " " << IconSize(window, ICON_BIG) << "\n";
        for (HWND control : Descendants(window)) {
            RECT at = Outer(control);
            MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&at), 2);
            LOGFONTW font{};
            GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)),
                       sizeof(font), &font);
            out << "  " << GetDlgCtrlID(control) << " " << at.left << "," << at.top << " "
                << at.right - at.left << "x" << at.bottom - at.top << " "
                << ToUtf8(FromWide(font.lfFaceName)) << " " << font.lfHeight << " " << font.lfWeight
                << " " << int{font.lfUnderline} << "\n";
        }
    }
    return out.str();
}

// The fonts and icons the windows use now.
std::vector<HANDLE> InUse(const std::vector<HWND>& windows) {
    std::vector<HANDLE> used;
    for (HWND window : windows) {
        used.push_back(reinterpret_cast<HANDLE>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0)));
        used.push_back(reinterpret_cast<HANDLE>(SendMessageW(window, WM_GETICON, ICON_BIG, 0)));
        for (HWND control : Descendants(window)) {
            used.push_back(reinterpret_cast<HANDLE>(SendMessageW(control, WM_GETFONT, 0, 0)));
        }
    }
    std::erase(used, nullptr);
    return used;
}

// The client area's pixels once the window has painted what it was asked to (what the user
// sees), or all of it afresh.
std::vector<std::uint32_t> Picture(HWND window, bool afresh = false) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_ALLCHILDREN | RDW_UPDATENOW | (afresh ? RDW_INVALIDATE | RDW_ERASE : 0));
    RECT client{};
    GetClientRect(window, &client);
    BITMAPINFO info{{sizeof(BITMAPINFOHEADER), client.right, -client.bottom, 1, 32, BI_RGB}};
    std::vector<std::uint32_t> picture(client.right * client.bottom);
    HDC source = GetDC(window);
    HDC copy = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateCompatibleBitmap(source, client.right, client.bottom);
    HGDIOBJ previous = SelectObject(copy, bitmap);
    BitBlt(copy, 0, 0, client.right, client.bottom, source, 0, 0, SRCCOPY);
    SelectObject(copy, previous);
    GetDIBits(copy, bitmap, 0, client.bottom, picture.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(copy);
    ReleaseDC(window, source);
    return picture;
}

// Which pixels of the client area, in Picture's order, the forms paint in their own colours:
// all but the controls that keep the platform's (text boxes, check boxes, option buttons, the
// help window's button, the help text's scroll bar).
std::vector<bool> PaintedByTheForms(HWND window) {
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
    std::vector<bool> mask;
    for (LONG y = 0; y < client.bottom; ++y) {
        for (LONG x = 0; x < client.right; ++x) {
            mask.push_back(PtInRegion(ours, x, y) != FALSE);
        }
    }
    DeleteObject(ours);
    return mask;
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
TEST_F(FormsAtDpi, WithHighContrastOffTheFormsKeepTheirColoursWhenTheSystemsChange) {
    ASSERT_FALSE(HighContrastOn()) << "the forms are to follow High Contrast";
    // Options' "OK" has the focus; a button held down as well.
    SendMessageW(ChildByText(main.Handle(), u"Activate Kestrin"), BM_SETSTATE, TRUE, 0);
    std::vector<std::vector<std::uint32_t>> before;
    std::ranges::transform(windows, std::back_inserter(before), [](HWND w) { return Picture(w); });

    const OtherSystemColours changed;
    Pump(200);
    for (std::size_t w = 0; w < windows.size(); ++w) {
        SCOPED_TRACE(ToUtf8(ClassOf(windows[w])));
        const auto after = Picture(windows[w]);
        const std::vector<bool> ours = PaintedByTheForms(windows[w]);
        ASSERT_EQ(after.size(), before[w].size());
        std::size_t changedOfOurs = 0;
        std::size_t changedOfThePlatforms = 0;
        for (std::size_t at = 0; at < after.size(); ++at) {
            (ours[at] ? changedOfOurs : changedOfThePlatforms) += after[at] != before[w][at];
        }
        EXPECT_EQ(changedOfOurs, 0u);
        EXPECT_GT(std::ranges::count(ours, true), std::ranges::ssize(ours) / 2);
        EXPECT_GT(changedOfThePlatforms, 0u) << "the system's colours changed";
    }
}

// Where each run at a DPI (platform.layout_at_*_dpi) records the forms as its start lays them
// out, for platform.dpi_changes.
std::string RecordOfAStartAt(int dpi) {
    return "forms-at-" + std::to_string(dpi) + "-dpi.txt";
}

TEST_F(FormsAtDpi, AStartLaysOutAtTheWindowsDpiWithTheIconsOfItsSizes) {
    const int dpi = SystemDpi();
    // The small and large icons' sizes at each DPI (GetSystemMetricsForDpi).
    struct Sizes {
        int dpi, smallIcon, largeIcon;
    };
    constexpr Sizes kSizes[] = {
        {96, 16, 32}, {120, 20, 40}, {144, 24, 48}, {192, 32, 64}, {240, 40, 80}};
    const auto sizes = std::ranges::find(kSizes, dpi, &Sizes::dpi);
    ASSERT_NE(sizes, std::end(kSizes)) << "no icon sizes known for " << dpi << " DPI";
    for (HWND window : {main.Handle(), options.Handle()}) {
        EXPECT_EQ(IconSize(window, ICON_SMALL), sizes->smallIcon) << ToUtf8(ClassOf(window));
        EXPECT_EQ(IconSize(window, ICON_BIG), sizes->largeIcon) << ToUtf8(ClassOf(window));
    }
    std::ofstream(RecordOfAStartAt(dpi), std::ios::binary) << LaidOut(windows);
}

// Moved to monitors of 120, 144 and 240 DPI and back to 96, the windows are laid out each time
// as a start there lays them out, in new fonts and icons with the old ones freed, and leave
// nothing of the old DPI on screen; after a few dozen changes they look at 96 DPI as at the
// start. (Under Wine the platform's check boxes and option buttons keep drawing their glyphs at
// the system DPI whatever the message says: only the start's DPI can match its pictures.)
TEST_F(FormsAtDpi, ChangesOfDpiLayTheFormsOutAsAStartThereDoes) {
    ASSERT_EQ(SystemDpi(), 96);
    std::vector<std::vector<std::uint32_t>> pictures;
    std::ranges::transform(windows, std::back_inserter(pictures),
                           [](HWND w) { return Picture(w); });
    int from = 96;
    const auto changeTo = [&](int to) {
        const std::vector<HANDLE> old = InUse(windows);
        for (HWND window : windows) {
            const RECT now = Outer(window);
            const RECT suggested{now.left, now.top,
                                 now.left + MulDiv(now.right - now.left, to, from),
                                 now.top + MulDiv(now.bottom - now.top, to, from)};
            SendMessageW(window, kDpiChangedMessage, MAKEWPARAM(to, to),
                         reinterpret_cast<LPARAM>(&suggested));
            EXPECT_EQ(Outer(window).left, suggested.left);
            EXPECT_EQ(Outer(window).top, suggested.top);
        }
        for (HANDLE gone : old) {
            ICONINFO info{};
            EXPECT_TRUE(GetObjectType(gone) == 0 && !GetIconInfo(static_cast<HICON>(gone), &info))
                << "a font or icon of " << from << " DPI is still there";
        }
        from = to;
    };
    for (const int to : {120, 144, 240, 96}) {
        SCOPED_TRACE(::testing::Message() << "at " << to << " DPI");
        changeTo(to);
        std::ifstream record(RecordOfAStartAt(to), std::ios::binary);
        ASSERT_TRUE(record) << RecordOfAStartAt(to) << " is missing: the run at " << to
                            << " DPI writes it";
        EXPECT_EQ(LaidOut(windows), std::string(std::istreambuf_iterator<char>(record), {}));
        for (HWND window : windows) {  // in front one at a time: they may overlap now
            SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            Pump(20);
            const auto painted = Picture(window);
            EXPECT_TRUE(painted == Picture(window, true)) << ToUtf8(ClassOf(window));
        }
    }
    for (int round = 0; round < 8 && !HasFailure(); ++round) {
        std::ranges::for_each(std::initializer_list<int>{144, 192, 120, 240, 96}, changeTo);
    }
    for (std::size_t i = 0; i < windows.size(); ++i) {
        EXPECT_TRUE(Picture(windows[i]) == pictures[i]) << ToUtf8(ClassOf(windows[i]));
    }
}

}  // namespace
}  // namespace tunewick::platform
