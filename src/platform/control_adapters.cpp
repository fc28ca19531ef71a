#include "platform/control_adapters.h"

#include <string>

#include "platform/trace.h"
#include "platform/wide_text.h"

namespace tunewick::platform {

Text WindowText(HWND window) {
    if (window == nullptr || !IsWindow(window)) {
        return {};
    }
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return FromWide(text);
}

void ReplaceWindowText(HWND window, TextView text) {
    if (window != nullptr) {
        SetWindowTextW(window, Wide(Text(text)));
    }
}

void Win32Text::SetCaption(TextView caption) {
    ReplaceWindowText(control_, caption);
    // An owner-drawn button repaints its new caption only when asked.
    InvalidateRect(control_, nullptr, TRUE);
}

int Win32CheckBox::Value() const {
    return static_cast<int>(SendMessageW(control_, BM_GETCHECK, 0, 0));
}

void Win32CheckBox::SetValue(int value) {
    SendMessageW(control_, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void ClickCheckBox(HWND checkBox) {
    const LRESULT state = SendMessageW(checkBox, BM_GETCHECK, 0, 0);
    SendMessageW(checkBox, BM_SETCHECK, state == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
}

bool Win32OptionButton::Selected() const {
    return SendMessageW(control_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32OptionButton::SetSelected(bool selected) {
    if (!selected) {
        SendMessageW(control_, BM_SETCHECK, BST_UNCHECKED, 0);
        return;
    }
    for (int id = firstId_; id <= lastId_; ++id) {
        HWND option = GetDlgItem(GetParent(control_), id);
        SendMessageW(option, BM_SETCHECK, option == control_ ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

Win32Timer::~Win32Timer() {
    SetEnabled(false);
}

void Win32Timer::SetEnabled(bool enabled) {
    if (enabled == enabled_) {
        return;
    }
    if (enabled) {
        // A timer the platform refuses stays off, and the form reads it as off.
        enabled_ = SetTimer(owner_, id_, intervalMs_, nullptr) != 0;
        if (!enabled_) {
            const DWORD error = GetLastError();
            TraceFailure(L"SetTimer " + Decimal(id_), error);
        }
    } else {
        if (IsWindow(owner_)) {
            KillTimer(owner_, id_);
        }
        enabled_ = false;
    }
}

}  // namespace tunewick::platform
