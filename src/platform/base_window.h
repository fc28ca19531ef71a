#pragma once

#include <windows.h>

#include <span>
#include <vector>

#include "platform/layout.h"
#include "platform/live_windows.h"
#include "platform/trace.h"
#include "platform/win32_controls.h"

namespace tunewick::platform {

// A window class of the program.
struct WindowClass {
    const wchar_t* name;
    WNDPROC procedure;
    HICON icon = nullptr;
    HBRUSH background = nullptr;
    int windowExtraBytes = 0;
};

// Registers the class once per process; later calls find it registered.
inline bool RegisterOnce(const WindowClass& windowClass) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(GetModuleHandleW(nullptr), windowClass.name, &existing)) {
        return true;
    }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = windowClass.procedure;
    wc.cbWndExtra = windowClass.windowExtraBytes;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = windowClass.icon;
    wc.hIconSm = windowClass.icon;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = windowClass.background;
    wc.lpszClassName = windowClass.name;
    if (RegisterClassExW(&wc) == 0) {
        TraceFailure(L"RegisterClassExW " + std::wstring(windowClass.name));
        return false;
    }
    return true;
}

// A top-level window as its form lays it out: the client area in twips, placed where the
// system puts new windows.
struct WindowLayout {
    const wchar_t* className;
    const wchar_t* caption;
    DWORD style;
    DWORD exStyle;
    int clientWidthTwips;
    int clientHeightTwips;
};

// The program's icon (a shared resource: the system frees it) at the size of the two metrics.
HICON ApplicationIcon(int widthMetric, int heightMetric);

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
        const LRESULT result = StopExceptions(L"a window's message handler", [&] {
            return self->HandleMessage(message, wParam, lParam);
        });
        if (message == WM_NCDESTROY) {
            // The window's last message: the object stays, the handle goes.
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
            self->controlHandles_.clear();
        }
        return result;
    }

    // Creates the window hidden, with its client area as laid out at `dpi` and the icons
    // given (none: the system's), then its controls in table order, which is the tab order.
    // A control's id is kFirstControlId plus its place in the table; each gets the font its
    // layout names. False, with nothing left over, when the platform refuses any of it.
    bool CreateFromLayout(const WindowLayout& window, HICON icon, HICON smallIcon,
                          std::span<const ControlLayout> controls, std::span<const HFONT> fonts,
                          int dpi) {
        if (!RegisterOnce({window.className, &BaseWindow::WindowProc, icon,
                           static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))})) {
            return false;
        }
        const SIZE size = WindowSizeForClient(window.clientWidthTwips, window.clientHeightTwips,
                                              window.style, window.exStyle, dpi);
        if (CreateWindowExW(window.exStyle, window.className, window.caption, window.style,
                            CW_USEDEFAULT, CW_USEDEFAULT, size.cx, size.cy, nullptr, nullptr,
                            GetModuleHandleW(nullptr), static_cast<Derived*>(this)) == nullptr) {
            TraceFailure(L"CreateWindowExW " + std::wstring(window.className));
            return false;
        }
        if (icon != nullptr) {
            SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        }
        if (smallIcon != nullptr) {
            SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
        }
        std::vector<HWND> created;
        created.reserve(controls.size());
        for (const ControlLayout& layout : controls) {
            // A container comes before what it holds; a frame's class is registered with it.
            const std::size_t at = IndexOf(layout.container);
            HWND container = layout.container == 0 ? hwnd_
                             : at < created.size() ? created[at]
                                                   : nullptr;
            HFONT font = layout.font < fonts.size() ? fonts[layout.font] : nullptr;
            HWND control = CreateControl(container, layout, dpi, font);
            if (control == nullptr) {
                DestroyWindow(hwnd_);
                return false;
            }
            created.push_back(control);
        }
        controlHandles_ = std::move(created);
        return true;
    }

    // A control of the window, by id; null once the window is gone.
    HWND Control(int id) const {
        const std::size_t index = IndexOf(id);
        return index < controlHandles_.size() ? controlHandles_[index] : nullptr;
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

  private:
    static std::size_t IndexOf(int id) { return static_cast<std::size_t>(id - kFirstControlId); }

    std::vector<HWND> controlHandles_;
};

}  // namespace tunewick::platform
