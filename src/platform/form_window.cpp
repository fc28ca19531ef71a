#include "platform/form_window.h"

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

}  // namespace tunewick::platform
