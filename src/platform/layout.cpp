#include "platform/layout.h"

namespace tunewick::platform {

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) {
        return 96;
    }
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

int TwipsToPixels(int twips, int dpi) {
    return MulDiv(twips, dpi, kTwipsPerInch);
}

RECT TwipsToPixels(const TwipRect& rect, int dpi) {
    const int left = TwipsToPixels(rect.left, dpi);
    const int top = TwipsToPixels(rect.top, dpi);
    return RECT{left, top, left + TwipsToPixels(rect.width, dpi),
                top + TwipsToPixels(rect.height, dpi)};
}

SIZE WindowSizeForClient(int widthTwips, int heightTwips, DWORD style, DWORD exStyle, int dpi) {
    RECT frame{0, 0, TwipsToPixels(widthTwips, dpi), TwipsToPixels(heightTwips, dpi)};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

HFONT CreateFormFont(int dpi, bool bold, bool underline) {
    LOGFONTW font{};
    // 8.25 points: 11 pixels at 96 DPI.
    font.lfHeight = -MulDiv(825, dpi, 7200);
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfUnderline = underline ? TRUE : FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    lstrcpynW(font.lfFaceName, L"MS Sans Serif", LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

}  // namespace tunewick::platform
