#pragma once

#include <windows.h>

namespace tunewick::platform {

// The forms' colours: white or red text on black; the owner-drawn command buttons white-faced.
inline constexpr COLORREF kWhite = RGB(255, 255, 255);
inline constexpr COLORREF kRed = RGB(255, 0, 0);

// Paints an owner-drawn command button: white face, black caption, the platform's 3D edges.
void DrawCommandButton(const DRAWITEMSTRUCT& item);

// A WM_CTLCOLOR* answer: `text` on black.
HBRUSH OnBlack(HDC dc, COLORREF text);

}  // namespace tunewick::platform
