#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "platform/base_window.h"
#include "platform/handles.h"
#include "platform/live_windows.h"
#include "platform/painting.h"
#include "platform/window_factory.h"

namespace tunewick::platform {

// What FormWindow does whatever the window's class.

// When the window is open it comes forward (restored if minimised) and this returns true.
bool BringForwardIfOpen(HWND window);
// The first showing of a window just made and loaded, with `focus` taking the keyboard.
void ShowFirstTime(HWND window, HWND focus);
// Top-level windows that are no dialogs keep their focused control across deactivation
// themselves: remember it when the window loses activation, give it back on activation.
void KeepFocus(HWND window, bool active, HWND& focus);
// The DM_GETDEFID answer that makes Enter press the focused owner-drawn command button, as
// Enter does on any focused button of a form; 0 when the focus is elsewhere.
LRESULT FocusedCommandButtonAsDefault(HWND window);
// After the system's colours or High Contrast changed: `colours` are read again, the controls
// hear of it (the common controls keep colours of their own), and everything paints again.
void FollowColours(HWND window, FormColours& colours);
// WM_DPICHANGED: the window moves to the place the system suggests and is laid out at the new
// DPI, then drawn afresh.
void ChangeDpi(HWND window, const WindowLayout& layout, std::span<const HWND> made,
               std::span<const ControlLayout> controls, DpiResources& resources, WPARAM wParam,
               LPARAM lParam);

// What the program's top-level windows do alike: made from their layout tables at their
// monitor's DPI and laid out again when it changes, opened once at a time, counted among the
// live windows, keeping their focused control, and painting in the forms' colours as High
// Contrast and the system's colours change. Derived::SurfaceOf(id) gives the surface a control
// paints as, or nothing for the platform's own colours.
template <class Derived>
class FormWindow : public BaseWindow<Derived> {
  protected:
    explicit FormWindow(LiveWindows& live) : live_(live) {}
    ~FormWindow() = default;

    // See MakeWindow: laid out at the DPI of the window's monitor, in the forms' fonts and with
    // the icons of that DPI (kept for the next opening at the same DPI). The tables outlive the
    // window. False, with nothing left over, when the platform refuses.
    bool CreateFromLayout(const WindowLayout& window, std::span<const ControlLayout> controls) {
        auto made = MakeWindow(
            {window, &BaseWindow<Derived>::WindowProc, static_cast<Derived*>(this)}, controls);
        if (!made) {
            return false;
        }
        layout_ = &window;
        controlLayouts_ = controls;
        controls_ = std::move(*made);
        LayOutAtDpi(this->hwnd_, *layout_, controls_, controlLayouts_, resources_,
                    WindowDpi(this->hwnd_));
        return true;
    }

    // A control of the window, by id; null once the window is gone.
    HWND Control(int id) const {
        const auto index = static_cast<std::size_t>(id - kFirstControlId);
        return this->hwnd_ != nullptr && index < controls_.size() ? controls_[index] : nullptr;
    }

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
                colours_.Load();
                return 0;
            case WM_ACTIVATE:
                KeepFocus(this->hwnd_, LOWORD(wParam) != WA_INACTIVE, focus_);
                return 0;
            case WM_DESTROY:
                live_.Closed(this->hwnd_);
                return 0;
            case WM_ERASEBKGND: {
                RECT client;
                GetClientRect(this->hwnd_, &client);
                FillRect(reinterpret_cast<HDC>(wParam), &client, colours_.Brush(Surface::Form));
                return TRUE;
            }
            case WM_DRAWITEM:
                DrawCommandButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), colours_);
                return TRUE;
            case WM_CTLCOLORSTATIC:
            case WM_CTLCOLORBTN: {
                const std::optional<Surface> surface =
                    Derived::SurfaceOf(GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
                if (surface) {
                    return reinterpret_cast<LRESULT>(
                        colours_.Apply(reinterpret_cast<HDC>(wParam), *surface));
                }
                return this->Default(message, wParam, lParam);
            }
            case WM_SYSCOLORCHANGE:
                FollowColours(this->hwnd_, colours_);
                return 0;
            case WM_SETTINGCHANGE:
                if (wParam == SPI_SETHIGHCONTRAST) {
                    FollowColours(this->hwnd_, colours_);
                }
                return this->Default(message, wParam, lParam);
            case DM_GETDEFID:
                return FocusedCommandButtonAsDefault(this->hwnd_);
            case kDpiChangedMessage:
                if (layout_ != nullptr) {
                    ChangeDpi(this->hwnd_, *layout_, controls_, controlLayouts_, resources_, wParam,
                              lParam);
                }
                return 0;
            default:
                return this->Default(message, wParam, lParam);
        }
    }

    HWND focus_ = nullptr;  // the control that gets the focus back when the window reactivates

  private:
    LiveWindows& live_;
    const WindowLayout* layout_ = nullptr;
    std::span<const ControlLayout> controlLayouts_;
    std::vector<HWND> controls_;  // in layout table order
    DpiResources resources_;      // of the DPI the window was last laid out at
    FormColours colours_;         // loaded when the window is made, and on every change
};

}  // namespace tunewick::platform
