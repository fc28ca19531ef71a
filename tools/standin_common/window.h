#pragma once

#include <windows.h>

#include <optional>
#include <utility>

#include "core/text.h"
#include "platform/wide_text.h"

namespace tunewick::standin {

using platform::Wide;

// A stand-in's one top-level window: a class registered for it alone, every message from
// WM_NCCREATE on going to HandleMessage.
class StandInWindow {
  public:
    StandInWindow() = default;
    StandInWindow(const StandInWindow&) = delete;
    StandInWindow& operator=(const StandInWindow&) = delete;
    virtual ~StandInWindow() = default;

  protected:
    // Registers `className` and creates the window, not shown yet: a top-level window, or a
    // message-only one (no place on the desktop, found only among the message-only windows).
    bool CreateTopLevel(HINSTANCE instance, const Text& className, const Text& caption,
                        HBRUSH background, POINT position, SIZE size, bool messageOnly = false);
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    HWND window_ = nullptr;

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

// The thread's message loop until WM_QUIT; the exit code it carries.
int RunMessageLoop();

// A stand-in program's life: exit code 2 when its arguments did not read, 1 when its window
// could not be made, else its window's until the window closes.
template <class Window, class Config>
int RunStandIn(HINSTANCE instance, std::optional<Config> config) {
    if (!config) {
        return 2;
    }
    Window window(std::move(*config));
    if (!window.Create(instance)) {
        return 1;
    }
    return RunMessageLoop();
}

}  // namespace tunewick::standin
