#include "platform/win32_controls.h"

#include <commctrl.h>

#include <string>

#include "platform/base_window.h"
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

void SetWindowText(HWND window, TextView text) {
    if (window != nullptr) {
        SetWindowTextW(window, Wide(Text(text)));
    }
}

Text Win32Caption::Caption() const {
    return WindowText(control_);
}

void Win32Caption::SetCaption(TextView caption) {
    SetWindowText(control_, caption);
    // An owner-drawn button repaints its new caption only when asked.
    InvalidateRect(control_, nullptr, TRUE);
}

Text Win32TextBox::Value() const {
    return WindowText(control_);
}

void Win32TextBox::SetValue(TextView text) {
    SetWindowText(control_, text);
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

box::Answer Win32MessageBoxes::Show(TextView text, int style, TextView title) {
    const int answer = MessageBoxW(owner_ ? owner_() : nullptr, Wide(Text(text)), Wide(Text(title)),
                                   static_cast<UINT>(style));
    return static_cast<box::Answer>(answer);
}

namespace {

LRESULT CALLBACK FrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace

HWND CreateControl(HWND container, const ControlLayout& layout, int dpi, HFONT font) {
    if (std::wstring_view(layout.className) == kFrameClassName &&
        !RegisterOnce({kFrameClassName, &FrameProc, nullptr, nullptr, sizeof(LONG_PTR)})) {
        return nullptr;
    }
    const RECT place = TwipsToPixels(layout.place, dpi);
    HWND control =
        CreateWindowExW(layout.exStyle, layout.className, Wide(Text(layout.text)), layout.style,
                        place.left, place.top, place.right - place.left, place.bottom - place.top,
                        container, reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)),
                        GetModuleHandleW(nullptr), nullptr);
    if (control == nullptr) {
        TraceFailure(L"CreateWindowExW " + std::wstring(layout.className) + L" " +
                     Decimal(static_cast<unsigned>(layout.id)));
        return nullptr;
    }
    if (font != nullptr) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    return control;
}

namespace {

// The frame keeps the font it was given in its window's extra bytes.
constexpr int kFrameFontOffset = 0;

void PaintFrame(HWND frame, HDC dc) {
    RECT client;
    GetClientRect(frame, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));

    const Text caption = WindowText(frame);
    const ScopedSelection font(dc,
                               reinterpret_cast<HFONT>(GetWindowLongPtrW(frame, kFrameFontOffset)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);

    RECT border = client;
    if (client.bottom - client.top <= 2) {
        // A frame one pixel high is a rule.
        DrawEdge(dc, &border, EDGE_ETCHED, BF_TOP);
    } else {
        // With a caption the border's top runs through the middle of the caption's line.
        if (!caption.empty()) {
            border.top += metrics.tmHeight / 2;
        }
        DrawEdge(dc, &border, EDGE_ETCHED, BF_RECT);
    }
    if (!caption.empty()) {
        SetTextColor(dc, RGB(255, 255, 255));
        SetBkColor(dc, RGB(0, 0, 0));
        SetBkMode(dc, OPAQUE);
        RECT text{client.left + 6, client.top, client.right - 6, client.top + metrics.tmHeight};
        // One space each side keeps the border off the caption's letters.
        const Text padded = u" " + caption + u" ";
        DrawTextW(dc, Wide(padded), static_cast<int>(padded.size()), &text,
                  DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    }
}

LRESULT HandleFrameMessage(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
            // The form owns the frame's controls: their notifications and colours are its.
            return SendMessageW(GetParent(frame), message, wParam, lParam);
        case WM_SETFONT:
            SetWindowLongPtrW(frame, kFrameFontOffset, static_cast<LONG_PTR>(wParam));
            if (LOWORD(lParam)) {
                InvalidateRect(frame, nullptr, TRUE);
            }
            return 0;
        case WM_GETFONT:
            return GetWindowLongPtrW(frame, kFrameFontOffset);
        case WM_SETTEXT: {
            const LRESULT result = DefWindowProcW(frame, message, wParam, lParam);
            InvalidateRect(frame, nullptr, TRUE);
            return result;
        }
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT fills the whole frame
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(frame, &paint);
            PaintFrame(frame, dc);
            EndPaint(frame, &paint);
            return 0;
        }
        default:
            return DefWindowProcW(frame, message, wParam, lParam);
    }
}

LRESULT CALLBACK FrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    return StopExceptions(L"a frame's message handler",
                          [&] { return HandleFrameMessage(frame, message, wParam, lParam); });
}

}  // namespace

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
