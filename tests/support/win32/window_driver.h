#pragma once

// Driving other programs' windows from a test: finding them, reading and setting their
// text, clicking buttons, answering message boxes. Every message is sent with a bound, so a
// hung program fails the test instead of freezing it.

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

#include "core/text.h"

namespace tunewick::e2e {

using namespace std::chrono_literals;
using Milliseconds = std::chrono::milliseconds;

inline constexpr Milliseconds kDefaultWait = 10s;
inline constexpr Milliseconds kMessageBound = 2s;

// Polls `condition` every `poll` until it holds (true) or `timeout` has passed (false).
bool WaitUntil(const std::function<bool()>& condition, Milliseconds timeout = kDefaultWait,
               Milliseconds poll = 20ms);

// What a top-level window must match; unset parts match anything. (Every member has an
// initializer so that designated initializers leave any out without a warning.) Class names compare
// without regard to case, as the platform compares them; captions exactly.
struct WindowQuery {
    std::optional<Text> className{};
    std::optional<Text> caption{};
    std::optional<DWORD> processId{};
    bool visibleOnly = false;
};

// The matching top-level windows, in the platform's order (top of the z-order first).
std::vector<HWND> FindTopLevelWindows(const WindowQuery& query);
// The first match once there is one; nullptr after `timeout`.
HWND WaitForTopLevel(const WindowQuery& query, Milliseconds timeout = kDefaultWait);
// True once the window no longer exists (or is hidden, with `orHidden`).
bool WaitForWindowGone(HWND window, Milliseconds timeout = kDefaultWait, bool orHidden = false);

DWORD WindowProcessId(HWND window);
Text WindowClassName(HWND window);

// Every descendant of `parent`, in the platform's order.
std::vector<HWND> ChildWindows(HWND parent);
// The first descendant whose text is `text` (and whose class is `className`, if given).
HWND FindChild(HWND parent, TextView text, std::optional<TextView> className = std::nullopt);
HWND WaitForChild(HWND parent, TextView text, std::optional<TextView> className = std::nullopt,
                  Milliseconds timeout = kDefaultWait);

// `message` sent, waiting at most `bound`: the window's answer; nullopt when the window is gone
// or did not answer in time.
std::optional<LRESULT> SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                   Milliseconds bound = kMessageBound);
// WM_GETTEXTLENGTH + WM_GETTEXT; nullopt when the window is gone or did not answer in time.
std::optional<Text> ReadText(HWND window, Milliseconds bound = kMessageBound);
// WM_SETTEXT; false when the window is gone or did not answer in time.
bool SetText(HWND window, TextView text, Milliseconds bound = kMessageBound);

// BM_CLICK, waiting until the click's handler has run. A handler that opens a modal message
// box does not return until the box closes: use PostClick for those.
bool Click(HWND button, Milliseconds bound = kMessageBound);
// BM_CLICK posted: returns at once; the handler runs when the program gets to it.
bool PostClick(HWND button);
// Moves the real pointer, as the mouse does (SendInput), to a point of `window`'s client area;
// false when it did not get there.
bool MovePointerTo(HWND window, POINT client);
// BM_GETCHECK: 0 unchecked, 1 checked, 2 greyed; nullopt when it did not answer.
std::optional<int> CheckState(HWND button, Milliseconds bound = kMessageBound);

// A showing message box: a top-level "#32770" window with a static text of id 0xFFFF.
struct MessageBoxInfo {
    HWND window = nullptr;
    Text title;
    Text text;
};

std::vector<MessageBoxInfo> FindMessageBoxes(std::optional<DWORD> processId = std::nullopt);
std::optional<MessageBoxInfo> WaitForMessageBox(std::optional<DWORD> processId = std::nullopt,
                                                Milliseconds timeout = kDefaultWait);
// Clicks the box's button (IDOK, IDYES, IDNO, ...) by a posted BM_CLICK and waits until the
// box is gone. False when the box has no such button or stays open.
bool PressMessageBoxButton(HWND box, int buttonId, Milliseconds timeout = kDefaultWait);

}  // namespace tunewick::e2e
