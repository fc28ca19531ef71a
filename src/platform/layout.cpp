#include "platform/layout.h"

#include "platform/handles.h"
#include "platform/system_library.h"

namespace tunewick::platform {

int SystemDpi() {
    const UniqueScreenDc screen(GetDC(nullptr));
    const int dpi = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : 96;
}

int WindowDpi(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto kGetDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    const UINT dpi = kGetDpiForWindow != nullptr ? kGetDpiForWindow(window) : 0;
    return dpi > 0 ? static_cast<int>(dpi) : SystemDpi();
}

int SystemMetricForDpi(int metric, int dpi) {
    using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
    static const auto kGetSystemMetricsForDpi =
        User32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    if (kGetSystemMetricsForDpi != nullptr) {
        return kGetSystemMetricsForDpi(metric, static_cast<UINT>(dpi));
    }
    return MulDiv(GetSystemMetrics(metric), dpi, SystemDpi());
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

namespace {

int CALLBACK NoteFaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FaceInstalled(const wchar_t* face) {
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(query.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    if (const UniqueScreenDc screen(GetDC(nullptr)); screen) {
        EnumFontFamiliesExW(screen.Get(), &query, &NoteFaceFound, reinterpret_cast<LPARAM>(&found),
                            0);
    }
    return found;
}

}  // namespace

HFONT CreateFormFont(int dpi, bool bold, bool underline) {
    LOGFONTW font{};
    // 8.25 points: 11 pixels at 96 DPI.
    font.lfHeight = -MulDiv(825, dpi, 7200);
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfUnderline = underline ? TRUE : FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    // The forms were designed in "MS Sans Serif", a bitmap font of a few sizes: at 150 % and
    // above its text is coarse or of the wrong size. "Microsoft Sans Serif" is its TrueType
    // twin, with its metrics at every size, so the twips layout still fits; every Windows has
    // it. Where it is missing (Wine), the bitmap font is still exact at 96 DPI, its own size;
    // above that Tahoma, the dialogs' scalable face, comes closest.
    const wchar_t* face = L"Microsoft Sans Serif";
    font.lfOutPrecision = OUT_TT_PRECIS;
    if (!FaceInstalled(face)) {
        face = dpi == 96 ? L"MS Sans Serif" : L"Tahoma";
        font.lfOutPrecision = dpi == 96 ? OUT_DEFAULT_PRECIS : OUT_TT_PRECIS;
    }
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

}  // namespace tunewick::platform
