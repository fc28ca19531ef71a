#include "platform/painting.h"

#include <variant>

#include "platform/control_adapters.h"
#include "platform/trace.h"
#include "platform/wide_text.h"

namespace tunewick::platform {
namespace {

int SystemColourIndex(SystemColour colour) {
    switch (colour) {
        case SystemColour::Window:
            return COLOR_WINDOW;
        case SystemColour::WindowText:
            return COLOR_WINDOWTEXT;
        case SystemColour::ButtonFace:
            return COLOR_BTNFACE;
        case SystemColour::ButtonText:
            return COLOR_BTNTEXT;
        case SystemColour::Highlight:
            return COLOR_HIGHLIGHT;
        case SystemColour::HighlightText:
            return COLOR_HIGHLIGHTTEXT;
    }
    return COLOR_WINDOW;
}

COLORREF Resolve(const Colour& colour) {
    if (const auto* fixed = std::get_if<Rgb>(&colour)) {
        return RGB(fixed->red, fixed->green, fixed->blue);
    }
    return GetSysColor(SystemColourIndex(std::get<SystemColour>(colour)));
}

}  // namespace

bool HighContrastOn() {
    HIGHCONTRASTW setting{};
    setting.cbSize = sizeof(setting);
    if (!SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(setting), &setting, 0)) {
        const DWORD error = GetLastError();
        TraceFailure(L"SystemParametersInfoW SPI_GETHIGHCONTRAST", error);
        return false;
    }
    return (setting.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

void FormColours::Load() {
    const bool highContrast = HighContrastOn();
    for (std::size_t i = 0; i < kSurfaceCount; ++i) {
        const ColourPair pair = ColoursOf(static_cast<Surface>(i), highContrast);
        Paint& paint = paints_[i];
        paint.background = Resolve(pair.background);
        paint.text = Resolve(pair.text);
        paint.brush.Reset(CreateSolidBrush(paint.background));
        if (!paint.brush) {
            const DWORD error = GetLastError();
            TraceFailure(L"CreateSolidBrush", error);
        }
    }
}

HBRUSH FormColours::Apply(HDC dc, Surface surface) const {
    const Paint& paint = At(surface);
    SetTextColor(dc, paint.text);
    SetBkColor(dc, paint.background);
    return paint.brush.Get();
}

void DrawCommandButton(const DRAWITEMSTRUCT& item, const FormColours& colours) {
    HDC dc = item.hDC;
    RECT face = item.rcItem;
    const bool pushed = (item.itemState & ODS_SELECTED) != 0;
    const bool focused = (item.itemState & ODS_FOCUS) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const Surface surface = pushed    ? Surface::PressedButton
                            : focused ? Surface::FocusedButton
                                      : Surface::Button;
    const COLORREF text = colours.Text(surface);

    // The focused button has an outline in its caption's colour, as the platform's buttons do.
    if (focused) {
        const UniqueBrush outline(CreateSolidBrush(text));
        FrameRect(dc, &face, outline.Get());
        InflateRect(&face, -1, -1);
    }
    if (pushed) {
        FrameRect(dc, &face, GetSysColorBrush(COLOR_BTNSHADOW));
        InflateRect(&face, -1, -1);
    } else {
        DrawEdge(dc, &face, EDGE_RAISED, BF_RECT | BF_ADJUST);
    }
    FillRect(dc, &face, colours.Brush(surface));

    const Text caption = WindowText(item.hwndItem);
    {
        const ScopedSelection font(
            dc, reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, disabled ? GetSysColor(COLOR_GRAYTEXT) : text);
        RECT place = face;
        if (pushed) {
            OffsetRect(&place, 1, 1);
        }
        DrawTextW(dc, Wide(caption), static_cast<int>(caption.size()), &place,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }

    if (focused && (item.itemState & ODS_NOFOCUSRECT) == 0) {
        RECT focus = face;
        InflateRect(&focus, -2, -2);
        colours.Apply(dc, surface);  // DrawFocusRect's dots take the DC's colours
        DrawFocusRect(dc, &focus);
    }
}

}  // namespace tunewick::platform
