#include "platform/painting.h"

#include "platform/control_adapters.h"
#include "platform/handles.h"
#include "platform/wide_text.h"

namespace tunewick::platform {

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

HBRUSH OnBlack(HDC dc, COLORREF text) {
    SetTextColor(dc, text);
    SetBkColor(dc, RGB(0, 0, 0));
    return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
}

}  // namespace tunewick::platform
