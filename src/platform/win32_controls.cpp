#include "platform/win32_controls.h"

#include <commctrl.h>

#include <string>

#include "platform/handles.h"
#include "platform/trace.h"

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

Text Win32Caption::Caption() const {
    return WindowText(control_);
}

void Win32Caption::SetCaption(TextView caption) {
    ReplaceWindowText(control_, caption);
    // An owner-drawn button repaints its new caption only when asked.
    InvalidateRect(control_, nullptr, TRUE);
}

Text Win32TextBox::Value() const {
    return WindowText(control_);
}

void Win32TextBox::SetValue(TextView text) {
    ReplaceWindowText(control_, text);
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
    return SendMessageW(group_[index_], BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32OptionButton::SetSelected(bool selected) {
    if (!selected) {
        SendMessageW(group_[index_], BM_SETCHECK, BST_UNCHECKED, 0);
        return;
    }
    for (std::size_t i = 0; i < group_.size(); ++i) {
        SendMessageW(group_[i], BM_SETCHECK, i == index_ ? BST_CHECKED : BST_UNCHECKED, 0);
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
            TraceFailure(L"SetTimer " + Decimal(id_));
        }
    } else {
        if (IsWindow(owner_)) {
            KillTimer(owner_, id_);
        }
        enabled_ = false;
    }
}

void DrawCommandButton(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT face = item.rcItem;
    const bool pushed = (item.itemState & ODS_SELECTED) != 0;
    const bool focused = (item.itemState & ODS_FOCUS) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;

    // The focused button carries a black outline, as the platform's buttons do.
    if (focused) {
        FrameRect(dc, &face, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&face, -1, -1);
    }
    if (pushed) {
        FrameRect(dc, &face, GetSysColorBrush(COLOR_BTNSHADOW));
        InflateRect(&face, -1, -1);
    } else {
        DrawEdge(dc, &face, EDGE_RAISED, BF_RECT | BF_ADJUST);
    }
    FillRect(dc, &face, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));

    const Text caption = WindowText(item.hwndItem);
    {
        const ScopedSelection font(
            dc, reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, disabled ? GetSysColor(COLOR_GRAYTEXT) : RGB(0, 0, 0));
        RECT text = face;
        if (pushed) {
            OffsetRect(&text, 1, 1);
        }
        DrawTextW(dc, Wide(caption), static_cast<int>(caption.size()), &text,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }

    if (focused && (item.itemState & ODS_NOFOCUSRECT) == 0) {
        RECT focus = face;
        InflateRect(&focus, -2, -2);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        DrawFocusRect(dc, &focus);
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
    if (lstrcmpiW(className, L"BUTTON") != 0) {
        return 0;
    }
    return MAKELRESULT(GetDlgCtrlID(focus), DC_HASDEFID);
}

HBRUSH WhiteOnBlack(HDC dc) {
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkColor(dc, RGB(0, 0, 0));
    return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
}

HWND AddToolTip(HWND owner, HWND tool, TextView text) {
    HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (tip == nullptr) {
        return nullptr;
    }
    Text copy(text);
    TOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = owner;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = const_cast<wchar_t*>(Wide(copy));
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    return tip;
}

void UseClassicLook(HWND control) {
    // uxtheme is loaded on demand, from the system folder only (a bare name would search the
    // program's own folder first): a system without it draws classic controls anyway.
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        TraceFailure(L"GetSystemDirectoryW");
        return;
    }
    const std::wstring path = std::wstring(folder, length) + L"\\uxtheme.dll";
    UniqueModule uxtheme(LoadLibraryW(path.c_str()));
    if (!uxtheme) {
        return;
    }
    using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
    auto setWindowTheme = reinterpret_cast<SetWindowThemeFn>(
        reinterpret_cast<void*>(GetProcAddress(uxtheme.Get(), "SetWindowTheme")));
    if (setWindowTheme != nullptr) {
        setWindowTheme(control, L"", L"");
    }
}

}  // namespace tunewick::platform
