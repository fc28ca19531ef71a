#pragma once

#include <windows.h>

#include "platform/live_windows.h"

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
        LRESULT result = self->HandleMessage(message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            // The window's last message: the object stays, the handle goes.
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
        }
        return result;
    }

    // Registers the window class once per process; later calls find it registered.
    static bool RegisterOnce(const wchar_t* className, HICON icon, HBRUSH background,
                             UINT style = 0) {
        WNDCLASSEXW existing{};
        existing.cbSize = sizeof(existing);
        if (GetClassInfoExW(GetModuleHandleW(nullptr), className, &existing)) {
            return true;
        }
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.style = style;
        wc.lpfnWndProc = &BaseWindow::WindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hIcon = icon;
        wc.hIconSm = icon;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = background;
        wc.lpszClassName = className;
        return RegisterClassExW(&wc) != 0;
    }

    // The top-level window of a registered class, where the system places new windows.
    bool CreateTopLevel(const wchar_t* className, const wchar_t* caption, DWORD style,
                        DWORD exStyle, SIZE size) {
        return CreateWindowExW(exStyle, className, caption, style, CW_USEDEFAULT, CW_USEDEFAULT,
                               size.cx, size.cy, nullptr, nullptr, GetModuleHandleW(nullptr),
                               static_cast<Derived*>(this)) != nullptr;
    }

    // A window opened once at a time: when it is open already it comes forward (restored if
    // minimised) and this returns true.
    bool BringForward() const {
        if (hwnd_ == nullptr) {
            return false;
        }
        if (IsIconic(hwnd_)) {
            ::ShowWindow(hwnd_, SW_RESTORE);
        }
        SetForegroundWindow(hwnd_);
        return true;
    }

    // The first showing of a window just made and loaded, with `focus` taking the keyboard.
    void ShowLoaded(HWND focus) const {
        ::ShowWindow(hwnd_, SW_SHOW);
        UpdateWindow(hwnd_);
        SetFocus(focus);
    }

    void DestroyIfOpen() const {
        if (hwnd_ != nullptr) {
            DestroyWindow(hwnd_);
        }
    }

    // Top-level windows that are no dialogs keep their focused control across deactivation
    // themselves: remember it when the window loses activation, give it back on activation.
    void KeepFocus(bool active, HWND& focus) const {
        if (!active) {
            HWND current = GetFocus();
            if (current != nullptr && IsChild(hwnd_, current)) {
                focus = current;
            }
        } else if (focus != nullptr && IsWindow(focus) && IsChild(hwnd_, focus)) {
            SetFocus(focus);
        }
    }

    // What every top-level window of the program does alike: it counts among the live windows
    // from WM_CREATE to WM_DESTROY and keeps its focused control (`focus`) across
    // deactivation; other messages get the default handling.
    LRESULT CommonMessage(LiveWindows& live, HWND& focus, UINT message, WPARAM wParam,
                          LPARAM lParam) {
        switch (message) {
            case WM_CREATE:
                live.Opened(hwnd_);
                return 0;
            case WM_ACTIVATE:
                KeepFocus(LOWORD(wParam) != WA_INACTIVE, focus);
                return 0;
            case WM_DESTROY:
                live.Closed(hwnd_);
                return 0;
            default:
                return Default(message, wParam, lParam);
        }
    }

    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    }

    HWND hwnd_ = nullptr;
};

}  // namespace tunewick::platform
