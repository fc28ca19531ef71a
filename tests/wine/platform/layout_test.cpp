#include <gtest/gtest.h>

#include "platform/layout.h"
#include "platform/wide_text.h"
#include "utf8.h"

namespace tunewick::platform {
namespace {

TEST(Layout, TwipsRoundToTheNearestPixelAtEachDpi) {
    struct Case {
        int twips;
        int dpi;
        int pixels;
    };
    const Case cases[] = {
        {3165, 96, 211},  {5295, 96, 353},  {15, 96, 1},      {7, 96, 0},
        {8, 96, 1},       {953, 96, 64},    {0, 96, 0},       {1440, 120, 120},
        {3165, 120, 264}, {3165, 144, 317}, {5295, 192, 706},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TwipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << " twips at " << c.dpi;
    }
}

TEST(Layout, RectanglesRoundEachSideOnItsOwn) {
    // The main window's unseen focus box, outside the client area.
    const RECT text2 = TwipsToPixels(TwipRect{5400, 6420, 1575, 315}, 96);
    EXPECT_EQ(text2.left, 360);
    EXPECT_EQ(text2.top, 428);
    EXPECT_EQ(text2.right - text2.left, 105);
    EXPECT_EQ(text2.bottom - text2.top, 21);
    // The position and the size are rounded apart, not the far edge.
    const RECT odd = TwipsToPixels(TwipRect{8, 8, 8, 8}, 96);
    EXPECT_EQ(odd.left, 1);
    EXPECT_EQ(odd.right, 2);
}

TEST(Layout, WindowSizeGivesTheClientAreaAsked) {
    constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    const int dpi = SystemDpi();
    const SIZE size = WindowSizeForClient(3165, 5295, kStyle, 0, dpi);
    HWND window = CreateWindowExW(0, L"STATIC", L"", kStyle, 0, 0, size.cx, size.cy, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, TwipsToPixels(3165, dpi));
    EXPECT_EQ(client.bottom, TwipsToPixels(5295, dpi));
    DestroyWindow(window);
}

TEST(Layout, FormFontIsEightPointTwoFiveAtTheDpi) {
    HFONT font = CreateFormFont(96, true, true);
    ASSERT_NE(font, nullptr);
    LOGFONTW info{};
    GetObjectW(font, sizeof(info), &info);
    EXPECT_EQ(info.lfHeight, -11);
    EXPECT_EQ(info.lfWeight, FW_BOLD);
    EXPECT_TRUE(info.lfUnderline);
    DeleteObject(font);
}

TEST(Layout, FormFontIsScalableAndDrawnAtItsSizeAtTheSystemDpi) {
    const int dpi = SystemDpi();
    HFONT font = CreateFormFont(dpi);
    ASSERT_NE(font, nullptr);
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(screen, LF_FACESIZE, face);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    DeleteObject(font);
    SCOPED_TRACE(::testing::Message() << "face " << ToUtf8(FromWide(face)) << " at " << dpi);
    // A bitmap face comes in a few sizes only: at high DPI its text is coarse or too small.
    // (At 96 DPI, its own size, the design font itself is exact.)
    if (dpi != 96) {
        EXPECT_NE(metrics.tmPitchAndFamily & (TMPF_TRUETYPE | TMPF_VECTOR), 0) << "a bitmap font";
    }
    // 8.25 points, within the pixel that a scalable face's rounding may cost.
    EXPECT_NEAR(metrics.tmHeight - metrics.tmInternalLeading, MulDiv(825, dpi, 7200), 1);
}

}  // namespace
}  // namespace tunewick::platform
