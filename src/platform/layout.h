#pragma once

#include <windows.h>

namespace tunewick::platform {

// The forms are laid out in twips (1440 to the inch) relative to their container, and placed
// in pixels at the system's DPI: at 96 DPI one pixel is 15 twips.
inline constexpr int kTwipsPerInch = 1440;

struct TwipRect {
    int left;
    int top;
    int width;
    int height;
};

// The DPI the whole program lays out at. The manifest declares the program system DPI aware,
// so this is the value the shell scales nothing for.
int SystemDpi();

// Nearest whole pixel, each value rounded on its own as the forms' designer did.
int TwipsToPixels(int twips, int dpi);
RECT TwipsToPixels(const TwipRect& rect, int dpi);

// The outer size of a top-level window whose client area is `clientTwips` wide and high.
SIZE WindowSizeForClient(int widthTwips, int heightTwips, DWORD style, DWORD exStyle, int dpi);

// The forms' font at the given DPI: 8.25-point "Microsoft Sans Serif", the scalable face of
// the forms' design metrics.
HFONT CreateFormFont(int dpi, bool bold = false, bool underline = false);

}  // namespace tunewick::platform
