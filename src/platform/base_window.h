#pragma once

#include <windows.h>

#include "platform/trace.h"

namespace tunewick::platform {

// One class per top-level window: the object's address travels in CREATESTRUCT's
// lpCreateParams, is kept in GWLP_USERDATA from WM_NCCREATE on, and every later message goes
// to Derived::HandleMessage. The object outlives its window; Handle() is null once the window
// is gone.
template <class Derived>
class BaseWindow {
  public:
    BaseWindow() = default;
    BaseWindow(const BaseWindow&) = delete;
    BaseWindow& operator=(const BaseWindow&) = delete;

    HWND Handle() const { return hwnd_; }

  protected:
    ~BaseWindow() = default;

    // The procedure to register the window's class with; the window is to be created with
    // the Derived object as its lpCreateParams.
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        Derived* self = nullptr;
        if (message == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
            self = static_cast<Derived*>(create->lpCreateParams);
            self->hwnd_ = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = reinterpret_cast<Derived*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        }
        if (self == nullptr) {
            return DefWindowProcW(hwnd, message, wParam, lParam);
        }
        const LRESULT result = StopExceptions(L"a window's message handler", [&] {
            return self->HandleMessage(message, wParam, lParam);
        });
        if (message == WM_NCDESTROY) {
            // The window's last message: the object stays, the handle goes.
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
        }
        return result;
    }

    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    }

    HWND hwnd_ = nullptr;
};

}  // namespace tunewick::platform
