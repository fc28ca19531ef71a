#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/layout.h"
#include "platform/resources/version.h"
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

// The icon resource holds each size Windows asks for, so none is scaled from another: the
// small and large icons of 100 % to 250 % as 32-bit DIBs with their AND masks, which Windows XP
// reads, and the two largest as PNG, which Vista and later read.
TEST(Layout, ProgramIconHoldsEverySizeWindowsAsksFor) {
    const auto resource = [](LPCWSTR name, LPCWSTR type) {
        HRSRC found = FindResourceW(nullptr, name, type);
        return found ? static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)))
                     : nullptr;
    };
    const BYTE* group = resource(MAKEINTRESOURCEW(TUNEWICK_IDI_APP), RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    std::vector<std::string> images;
    for (int i = 0; i < group[4]; ++i) {
        const BYTE* entry = group + 6 + 14 * i;  // width, height, ..., the image's id last
        const int size = entry[0] == 0 ? 256 : entry[0];
        const BYTE* image = resource(MAKEINTRESOURCEW(entry[12] | entry[13] << 8), RT_ICON);
        ASSERT_NE(image, nullptr) << size;
        BITMAPINFOHEADER dib{};
        std::memcpy(&dib, image, sizeof(dib));
        std::string kind = " ?";
        if (std::memcmp(image, "\x89PNG", 4) == 0) {
            kind = " png";
        } else if (dib.biBitCount == 32 && dib.biHeight == 2 * size) {
            kind = " dib";  // the mask below the colours
        }
        images.push_back(std::to_string(size) + kind);
    }
    const std::vector<std::string> expected = {"16 dib", "20 dib", "24 dib", "28 dib", "32 dib",
                                               "40 dib", "48 dib", "64 png", "256 png"};
    EXPECT_EQ(images, expected);
}

}  // namespace
}  // namespace tunewick::platform
