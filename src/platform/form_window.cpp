#include "platform/form_window.h"

#include <commctrl.h>

namespace tunewick::platform {

bool BringForwardIfOpen(HWND window) {
    if (window == nullptr) {
        return false;
    }
    if (IsIconic(window)) {
        ShowWindow(window, SW_RESTORE);
    }
    SetForegroundWindow(window);
    return true;
}

void ShowFirstTime(HWND window, HWND focus) {
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    SetFocus(focus);
}

void KeepFocus(HWND window, bool active, HWND& focus) {
    if (!active) {
        HWND current = GetFocus();
        if (current != nullptr && IsChild(window, current)) {
            focus = current;
        }
    } else if (focus != nullptr && IsWindow(focus) && IsChild(window, focus)) {
        SetFocus(focus);
    }
}

LRESULT FocusedCommandButtonAsDefault(HWND window) {
    HWND focus = GetFocus();
    if (focus == nullptr || !IsChild(window, focus) ||
        (GetWindowLongPtrW(focus, GWL_STYLE) & BS_TYPEMASK) != BS_OWNERDRAW) {
        return 0;
    }
    wchar_t className[16] = {};
    GetClassNameW(focus, className, 16);
    if (lstrcmpiW(className, WC_BUTTONW) != 0) {
        return 0;
    }
    return MAKELRESULT(GetDlgCtrlID(focus), DC_HASDEFID);
}

namespace {

BOOL CALLBACK TellColoursChanged(HWND control, LPARAM) {
    SendMessageW(control, WM_SYSCOLORCHANGE, 0, 0);
    return TRUE;
}

}  // namespace

void FollowColours(HWND window, FormColours& colours) {
    colours.Load();
    EnumChildWindows(window, &TellColoursChanged, 0);
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void ChangeDpi(HWND window, const WindowLayout& layout, std::span<const HWND> made,
               std::span<const ControlLayout> controls, DpiResources& resources, WPARAM wParam,
               LPARAM lParam) {
    const int dpi = LOWORD(wParam);
    if (dpi == 0) {
        return;
    }
    if (const auto* suggested = reinterpret_cast<const RECT*>(lParam); suggested != nullptr) {
        // The system's rectangle keeps the window on the monitor it moved to; LayOutAtDpi then
        // makes the client area exact, should the frame there differ from the system's guess.
        SetWindowPos(window, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    LayOutAtDpi(window, layout, made, controls, resources, dpi);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

}  // namespace tunewick::platform
