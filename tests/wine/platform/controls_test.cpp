#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/base_window.h"
#include "platform/control_adapters.h"
#include "platform/frame.h"
#include "platform/message_boxes.h"
#include "platform/painting.h"
#include "platform/trace.h"
#include "platform/wide_text.h"
#include "platform/window_factory.h"
#include "utf8.h"
#include "win32/captured_trace.h"
#include "win32/pump.h"
#include "win32/test_thread.h"

namespace tunewick::platform {
namespace {

using e2e::Pump;

// A top-level window that records the notifications and timer ticks it receives.
class RecordingParent {
  public:
    struct Notification {
        int id;
        int code;
    };

    RecordingParent() {
        colours_.Load();
        WNDCLASSW wc{};
        wc.lpfnWndProc = &Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TunewickTestParent";
        RegisterClassW(&wc);  // a second registration fails harmlessly
        window_ = CreateWindowExW(0, L"TunewickTestParent", L"parent", WS_OVERLAPPEDWINDOW, 0, 0,
                                  300, 300, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    }
    ~RecordingParent() { DestroyWindow(window_); }

    HWND window() const { return window_; }
    const std::vector<Notification>& notifications() const { return notifications_; }
    const std::vector<UINT_PTR>& ticks() const { return ticks_; }

  private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            SetWindowLongPtrW(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(
                                  reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        }
        auto* self = reinterpret_cast<RecordingParent*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self != nullptr && message == WM_COMMAND) {
            self->notifications_.push_back({LOWORD(wParam), HIWORD(wParam)});
            return 0;
        }
        if (self != nullptr && message == WM_TIMER) {
            self->ticks_.push_back(wParam);
            return 0;
        }
        if (self != nullptr && message == WM_DRAWITEM) {
            DrawCommandButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), self->colours_);
            return TRUE;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    HWND window_ = nullptr;
    FormColours colours_;
    std::vector<Notification> notifications_;
    std::vector<UINT_PTR> ticks_;
};

HWND Make(HWND parent, const wchar_t* className, TextView text, DWORD style, int id,
          DWORD exStyle = 0) {
    return CreateWindowExW(exStyle, className, Wide(Text(text)), style, 0, 0, 100, 25, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

TEST(Controls, OwnerDrawnButtonReportsItsCaptionAndClicks) {
    RecordingParent parent;
    HWND button = Make(parent.window(), L"BUTTON", u"Activate Ospray", kCommandButtonStyle, 301);
    ASSERT_NE(button, nullptr);

    Win32Text caption(button);
    wchar_t text[64] = {};
    SendMessageW(button, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"Activate Ospray");
    caption.SetCaption(u"Deactivate Ospray");
    EXPECT_EQ(caption.Caption(), u"Deactivate Ospray");
    SendMessageW(button, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"Deactivate Ospray");

    SendMessageW(button, BM_CLICK, 0, 0);
    ASSERT_EQ(parent.notifications().size(), 1u);
    EXPECT_EQ(parent.notifications()[0].id, 301);
    EXPECT_EQ(parent.notifications()[0].code, BN_CLICKED);
}

TEST(Controls, TextBoxKeepsTextOutsideTheCodePage) {
    RecordingParent parent;
    Win32Text box(Make(parent.window(), L"EDIT", u"{0} - {1}", kTextBoxStyle, 302));
    EXPECT_EQ(box.Value(), u"{0} - {1}");
    for (const TextView text :
         {TextView(u"Sigur R\u00f3s - Hopp\u00edpolla"),
          TextView(u"\u5742\u672c\u4e5d - \u4e0a\u3092\u5411\u3044\u3066"), TextView(u"")}) {
        box.SetValue(text);
        EXPECT_EQ(box.Value(), text);
    }
}

TEST(Controls, CheckBoxHoldsThreeValuesAndAClickNeverGreys) {
    RecordingParent parent;
    HWND control = Make(parent.window(), L"BUTTON", u"", kCheckBoxStyle, 303);
    Win32CheckBox check(control);
    EXPECT_EQ(check.Value(), 0);
    for (int value : {1, 2, 0}) {
        check.SetValue(value);
        EXPECT_EQ(check.Value(), value);
    }
    struct Case {
        int before;
        int after;
    };
    for (const Case c : {Case{0, 1}, Case{1, 0}, Case{2, 1}}) {
        check.SetValue(c.before);
        ClickCheckBox(control);
        EXPECT_EQ(check.Value(), c.after) << "from " << c.before;
    }
    // A real click notifies the parent and leaves the state to it (BS_3STATE).
    check.SetValue(0);
    SendMessageW(control, BM_CLICK, 0, 0);
    EXPECT_EQ(check.Value(), 0);
    ASSERT_FALSE(parent.notifications().empty());
    EXPECT_EQ(parent.notifications().back().id, 303);
}

TEST(Controls, OptionButtonsExcludeEachOther) {
    RecordingParent parent;
    std::array<HWND, 3> handles{};
    for (int i = 0; i < 3; ++i) {
        handles[i] =
            Make(parent.window(), L"BUTTON", u"option", kChildStyle | BS_AUTORADIOBUTTON, 310 + i);
    }
    Win32OptionButton options[] = {
        {handles[0], 310, 312}, {handles[1], 310, 312}, {handles[2], 310, 312}};
    for (const auto& option : options) {
        EXPECT_FALSE(option.Selected());
    }
    options[2].SetSelected(true);
    options[1].SetSelected(true);
    EXPECT_FALSE(options[0].Selected());
    EXPECT_TRUE(options[1].Selected());
    EXPECT_FALSE(options[2].Selected());
    options[0].SetSelected(false);  // clearing another leaves the selection alone
    EXPECT_TRUE(options[1].Selected());
    options[1].SetSelected(false);
    EXPECT_FALSE(options[1].Selected());
}

TEST(Controls, TimerTicksOnlyWhileEnabledAndStopsWithItsAdapter) {
    RecordingParent parent;
    {
        Win32Timer timer(parent.window(), 7, 20);
        EXPECT_FALSE(timer.Enabled());
        Pump(80);
        EXPECT_TRUE(parent.ticks().empty());

        timer.SetEnabled(true);
        timer.SetEnabled(true);
        EXPECT_TRUE(timer.Enabled());
        Pump(150);
        EXPECT_GE(parent.ticks().size(), 2u);
        for (UINT_PTR id : parent.ticks()) {
            EXPECT_EQ(id, 7u);
        }
    }
    Pump(30);  // a tick already queued may still arrive
    const std::size_t seen = parent.ticks().size();
    Pump(150);
    EXPECT_EQ(parent.ticks().size(), seen);
}

TEST(Controls, TimerOfAWindowThatIsGoneStaysOff) {
    HWND gone =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    Win32Timer timer(gone, 1, 20);
    timer.SetEnabled(true);
    EXPECT_FALSE(timer.Enabled());
}

struct SeenBox {
    UINT press;
    HWND owner = nullptr;
    wchar_t title[64] = {};
    bool buttons[3] = {};  // OK, Yes, No
    bool found = false;
};

// A WINAPI function, not a lambda: on i686 the callback's calling convention must match.
BOOL CALLBACK PressOnBox(HWND window, LPARAM p) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (lstrcmpW(className, L"#32770") != 0 || !IsWindowVisible(window)) {
        return TRUE;
    }
    auto* seen = reinterpret_cast<SeenBox*>(p);
    seen->owner = GetWindow(window, GW_OWNER);
    GetWindowTextW(window, seen->title, 64);
    for (const int id : {IDOK, IDYES, IDNO}) {
        seen->buttons[id == IDOK ? 0 : id == IDYES ? 1 : 2] = GetDlgItem(window, id) != nullptr;
    }
    seen->found = true;
    PostMessageW(GetDlgItem(window, static_cast<int>(seen->press)), BM_CLICK, 0, 0);
    return FALSE;
}

TEST(Controls, MessageBoxesHaveTheirKindsButtonsAnswerAndOwner) {
    struct Case {
        BoxKind kind;
        bool ok, yes, no;  // the buttons the box shows
        UINT press;
        BoxAnswer answer;
    };
    const Case cases[] = {{BoxKind::Question, false, true, true, IDNO, BoxAnswer::No},
                          {BoxKind::Question, false, true, true, IDYES, BoxAnswer::Yes},
                          {BoxKind::Error, true, false, false, IDOK, BoxAnswer::Ok},
                          {BoxKind::Warning, true, false, false, IDOK, BoxAnswer::Ok}};
    RecordingParent parent;
    Win32MessageBoxes boxes([&parent] { return parent.window(); });
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        SeenBox seen{c.press};
        const DWORD thread = GetCurrentThreadId();
        // The box is modal: another thread finds it, notes what it sees and presses a button.
        e2e::TestThread presser([&seen, thread] {
            for (int i = 0; i < 500 && !seen.found; ++i) {
                EnumThreadWindows(thread, &PressOnBox, reinterpret_cast<LPARAM>(&seen));
                Sleep(10);
            }
        });
        EXPECT_EQ(boxes.Show(u"Do you still wish?", c.kind, u"Set Custom Message?"), c.answer);
        presser.Join();
        ASSERT_TRUE(seen.found);
        EXPECT_EQ(seen.owner, parent.window());
        EXPECT_STREQ(seen.title, L"Set Custom Message?");
        EXPECT_EQ(seen.buttons[0], c.ok);
        EXPECT_EQ(seen.buttons[1], c.yes);
        EXPECT_EQ(seen.buttons[2], c.no);
    }
}

TEST(Controls, FrameHandsItsControlsNotificationsToItsParent) {
    RecordingParent parent;
    HWND frame = Make(parent.window(), kFrameClassName, u"Custom Artist / Song", kFrameStyle, 320,
                      kFrameExStyle);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(WindowText(frame), u"Custom Artist / Song");
    HWND set = Make(frame, L"BUTTON", u"Set", kCommandButtonStyle, 321);
    SendMessageW(set, BM_CLICK, 0, 0);
    ASSERT_EQ(parent.notifications().size(), 1u);
    EXPECT_EQ(parent.notifications()[0].id, 321);
}

TEST(Trace, EachPlatformFailureLeavesOneLineWithTheSystemsReason) {
    RecordingParent parent;
    HWND gone =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    struct Case {
        const char* what;
        std::function<void()> fail;
        std::wstring operation;
    };
    const Case cases[] = {
        {"a timer for a window that is gone", [&] { Win32Timer(gone, 7, 100).SetEnabled(true); },
         L"Tunewick: SetTimer 7 failed: "},
        {"a control of a class nobody registered",
         [&] {
             // A form whose table names it: the form is not made either.
             const ControlLayout unknown[] = {
                 {L"NoSuchClass", u"", kChildStyle, 0, {0, 0, 15, 15}, 9}};
             MakeWindow({{L"TunewickTraceTest", L"", WS_OVERLAPPED, 0, 150, 150},
                         &DefWindowProcW,
                         nullptr},
                        unknown);
         },
         L"Tunewick: CreateWindowExW NoSuchClass 9 failed: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CapturedTrace trace;
        c.fail();
        ASSERT_EQ(trace.lines.size(), 1u);
        const std::wstring& line = trace.lines[0];
        EXPECT_EQ(line.rfind(c.operation, 0), 0u) << ToUtf8(FromWide(line));
        // The system's words for the error follow, and the line ends there.
        EXPECT_GT(line.size(), c.operation.size() + 1);
        EXPECT_EQ(line.back(), L'\n');
    }
}

// A window whose handler throws for WM_APP.
class ThrowingWindow : public BaseWindow<ThrowingWindow> {
  public:
    ~ThrowingWindow() {
        if (hwnd_ != nullptr) {
            DestroyWindow(hwnd_);
        }
    }
    bool Create() {
        return MakeWindow({{L"TunewickThrowingTest", L"throws", WS_OVERLAPPED, 0, 1500, 1500},
                           &WindowProc,
                           this},
                          {})
            .has_value();
    }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_APP) {
            throw std::runtime_error("the handler failed");
        }
        return Default(message, wParam, lParam);
    }
};

TEST(BaseWindowTest, AnExceptionStopsAtTheWindowProcedureAndTheWindowAnswersOn) {
    CapturedTrace trace;
    ThrowingWindow window;
    ASSERT_TRUE(window.Create());
    // Sent, and posted through a message loop: neither may unwind into the system's frames.
    EXPECT_EQ(SendMessageW(window.Handle(), WM_APP, 0, 0), 0);
    ASSERT_TRUE(PostMessageW(window.Handle(), WM_APP, 0, 0));
    MSG message;
    while (PeekMessageW(&message, window.Handle(), 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
    ASSERT_TRUE(IsWindow(window.Handle()));
    EXPECT_EQ(WindowText(window.Handle()), u"throws");
    ASSERT_EQ(trace.lines.size(), 2u);
    EXPECT_NE(trace.lines[0].find(L"the handler failed"), std::wstring::npos)
        << ToUtf8(FromWide(trace.lines[0]));
}

}  // namespace
}  // namespace tunewick::platform
