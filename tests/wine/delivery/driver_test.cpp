// The end-to-end driver against real windows: message boxes and controls that a thread of
// this test shows, and stand-in processes that end or are ended.

#include <gtest/gtest.h>

#include <atomic>

#include "win32/standins.h"
#include "win32/test_thread.h"
#include "win32/wide.h"

namespace tunewick::e2e {
namespace {

constexpr int kPressId = 10;
constexpr int kAskId = 11;
constexpr int kEditId = 12;

TEST(DriverMessageBox, ReadsTheBoxAndPressesTheAskedButton) {
    struct Case {
        UINT style;
        int button;
    };
    for (const Case c : {Case{MB_OK, IDOK}, Case{MB_YESNO, IDYES}, Case{MB_YESNO, IDNO}}) {
        SCOPED_TRACE(c.button);
        std::atomic<int> answer{0};
        TestThread shower(
            [&] { answer = MessageBoxW(nullptr, L"Sigur Rós\r\nHoppípolla", L"Títle", c.style); });

        const auto box = WaitForMessageBox(GetCurrentProcessId());
        ASSERT_TRUE(box) << "no message box showed";
        EXPECT_EQ(box->title, u"Títle");
        EXPECT_EQ(box->text, u"Sigur Rós\r\nHoppípolla");
        EXPECT_TRUE(PressMessageBoxButton(box->window, c.button));
        shower.Join();
        EXPECT_EQ(answer, c.button);
    }
}

// A window with a button that counts its clicks, one that asks in a modal box, and an edit
// box, run by its own thread as another program's window would be.
class ControlsWindow {
  public:
    ControlsWindow() : thread_([this] { Run(); }) {}
    ~ControlsWindow() {
        PostMessageW(window_.load(), WM_CLOSE, 0, 0);
        thread_.Join();
    }

    HWND WaitForWindow() {
        WaitUntil([&] { return window_.load() != nullptr; });
        return window_.load();
    }
    int clicks() const { return clicks_; }
    int answer() const { return answer_; }

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<ControlsWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && self != nullptr) {
            if (LOWORD(wParam) == kPressId) {
                ++self->clicks_;
            } else if (LOWORD(wParam) == kAskId) {
                self->answer_ = MessageBoxW(window, L"Sure?", L"Question", MB_YESNO);
            }
            return 0;
        }
        if (message == WM_DESTROY) {
            PostQuitMessage(0);
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    void Run() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"TunewickDriverTest";
        RegisterClassW(&windowClass);
        HWND window = CreateWindowExW(0, L"TunewickDriverTest", L"Driver test", WS_OVERLAPPEDWINDOW,
                                      0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        const auto child = [&](const wchar_t* cls, const wchar_t* text, int id, int y) {
            CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE, 10, y, 200, 24, window,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
        };
        child(L"BUTTON", L"Press me", kPressId, 10);
        child(L"BUTTON", L"Ask", kAskId, 40);
        child(L"EDIT", L"", kEditId, 70);
        ShowWindow(window, SW_SHOWNOACTIVATE);
        window_ = window;
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

    std::atomic<HWND> window_{nullptr};
    std::atomic<int> clicks_{0};
    std::atomic<int> answer_{0};
    TestThread thread_;
};

TEST(DriverControls, FindsClicksAndEditsChildWindows) {
    ControlsWindow controls;
    HWND window = controls.WaitForWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(WaitForTopLevel({.className = u"tunewickdrivertest", .caption = u"Driver test"}),
              window);

    HWND press = WaitForChild(window, u"Press me", u"Button");
    ASSERT_NE(press, nullptr);
    EXPECT_EQ(FindChild(window, u"Press me", u"Edit"), nullptr);
    EXPECT_TRUE(Click(press));
    EXPECT_TRUE(Click(press));
    EXPECT_EQ(controls.clicks(), 2);  // a sent click has run its handler when it returns

    HWND edit = GetDlgItem(window, kEditId);
    EXPECT_TRUE(SetText(edit, u"坂本龍一 & Sigur Rós"));
    EXPECT_EQ(ReadText(edit), u"坂本龍一 & Sigur Rós");

    // The click opens a modal box: posted, it returns at once and the box can be answered.
    ASSERT_TRUE(PostClick(FindChild(window, u"Ask")));
    const auto box = WaitForMessageBox(GetCurrentProcessId());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, u"Sure?");
    EXPECT_TRUE(PressMessageBoxButton(box->window, IDYES));
    EXPECT_TRUE(WaitUntil([&] { return controls.answer() == IDYES; }));
}

TEST(DriverProcess, WaitsForExitAndKills) {
    auto rejected = ChildProcess::Launch(SiblingProgram(L"standin_player.exe"), {u"--bogus"});
    ASSERT_TRUE(rejected);
    EXPECT_EQ(rejected->WaitForExit(10s), 2u);  // the stand-ins refuse unknown arguments

    auto running = StandInPlayer::Start({.className = u"TunewickDriverPlayer"});
    ASSERT_TRUE(running);
    EXPECT_EQ(running->Process().WaitForExit(100ms), std::nullopt);
    running->Process().Kill();
    EXPECT_FALSE(running->Process().Running());
    EXPECT_TRUE(WaitForWindowGone(running->Window()));

    EXPECT_FALSE(ChildProcess::Launch(SiblingProgram(L"no_such_program.exe"), {}));
}

TEST(DriverProcess, TempFolderGoesWithEverythingInIt) {
    std::filesystem::path path;
    {
        auto folder = TempFolder::Create(L"driver");
        ASSERT_TRUE(folder);
        path = folder->Path();
        ASSERT_TRUE(WriteUtf8Lines(path / L"file.txt", {u"Sigur Rós"}));
        EXPECT_TRUE(std::filesystem::exists(path / L"file.txt"));
    }
    EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace tunewick::e2e
