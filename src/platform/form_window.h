#pragma once

#include <windows.h>

#include <cstddef>
#include <span>
#include <utility>
#include <vector>

#include "platform/base_window.h"
#include "platform/form_layout.h"
#include "platform/live_windows.h"

namespace tunewick::platform {

// The parts of FormWindow that do not depend on the window's class.
bool BringForwardIfOpen(HWND window);
void ShowFirstTime(HWND window, HWND focus);
// Top-level windows that are no dialogs keep their focused control across deactivation
// themselves: remember it when the window loses activation, give it back on activation.
void KeepFocus(HWND window, bool active, HWND& focus);

// What the program's top-level windows do alike: each is built from its form's layout
// tables, opened once at a time, counted among the live windows while it is there, and keeps
// its focused control across deactivation.
template <class Derived>
class FormWindow : public BaseWindow<Derived> {
  protected:
    explicit FormWindow(LiveWindows& live) : live_(live) {}
    ~FormWindow() = default;

    // See BuildFromLayout. False, with nothing left over, when the platform refuses.
    bool CreateFromLayout(const WindowLayout& window, HICON icon, HICON smallIcon,
                          std::span<const ControlLayout> controls, std::span<const HFONT> fonts,
                          int dpi) {
        auto built = BuildFromLayout({window, &BaseWindow<Derived>::WindowProc,
                                      static_cast<Derived*>(this), icon, smallIcon},
                                     controls, fonts, dpi);
        if (!built) {
            return false;
        }
        controls_ = std::move(*built);
        return true;
    }

    // A control of the window, by id; null once the window is gone.
    HWND Control(int id) const {
        const auto index = static_cast<std::size_t>(id - kFirstControlId);
        return this->hwnd_ != nullptr && index < controls_.size() ? controls_[index] : nullptr;
    }

    // When the window is open already it comes forward (restored if minimised) and this
    // returns true.
    bool BringForward() const { return BringForwardIfOpen(this->hwnd_); }

    // The first showing of a window just made and loaded, with `focus` taking the keyboard.
    void ShowLoaded(HWND focus) const { ShowFirstTime(this->hwnd_, focus); }

    void DestroyIfOpen() const {
        if (this->hwnd_ != nullptr) {
            DestroyWindow(this->hwnd_);
        }
    }

    // The messages every top-level window of the program handles alike; other messages get
    // the default handling.
    LRESULT CommonMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_CREATE:
                live_.Opened(this->hwnd_);
                return 0;
            case WM_ACTIVATE:
                KeepFocus(this->hwnd_, LOWORD(wParam) != WA_INACTIVE, focus_);
                return 0;
            case WM_DESTROY:
                live_.Closed(this->hwnd_);
                return 0;
            default:
                return this->Default(message, wParam, lParam);
        }
    }

    HWND focus_ = nullptr;  // the control that gets the focus back when the window reactivates

  private:
    LiveWindows& live_;
    std::vector<HWND> controls_;  // in layout table order
};

}  // namespace tunewick::platform
