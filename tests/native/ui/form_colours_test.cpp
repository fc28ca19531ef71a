#include "ui/form_colours.h"

#include <gtest/gtest.h>

namespace tunewick {
namespace {

// The designed look with High Contrast off; with it on, only the system's three pairs, each
// whole: the window's for what lies on the form, the buttons' for a button at rest, the
// highlight's for a button focused or held down.
TEST(FormColours, DesignedLookUnlessHighContrastThenOnlyTheSystemsPairs) {
    constexpr Rgb kBlack{0, 0, 0};
    constexpr Rgb kWhite{255, 255, 255};
    constexpr Rgb kRed{255, 0, 0};
    constexpr ColourPair kWindow{SystemColour::Window, SystemColour::WindowText};
    constexpr ColourPair kButton{SystemColour::ButtonFace, SystemColour::ButtonText};
    constexpr ColourPair kHighlight{SystemColour::Highlight, SystemColour::HighlightText};
    struct Case {
        Surface surface;
        ColourPair designed;
        ColourPair highContrast;
    };
    constexpr Case kCases[] = {
        {Surface::Form, {kBlack, kWhite}, kWindow},
        {Surface::Frame, {kBlack, kWhite}, kWindow},
        {Surface::Label, {kBlack, kWhite}, kWindow},
        {Surface::HelpText, {kBlack, kRed}, kWindow},
        {Surface::Button, {kWhite, kBlack}, kButton},
        {Surface::FocusedButton, {kWhite, kBlack}, kHighlight},
        {Surface::PressedButton, {kWhite, kBlack}, kHighlight},
    };
    static_assert(std::size(kCases) == kSurfaceCount, "every surface has its case");
    for (const Case& c : kCases) {
        const auto surface = static_cast<int>(c.surface);
        EXPECT_EQ(ColoursOf(c.surface, false), c.designed) << "surface " << surface;
        EXPECT_EQ(ColoursOf(c.surface, true), c.highContrast) << "surface " << surface;
    }
}

}  // namespace
}  // namespace tunewick
