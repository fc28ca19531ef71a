#include "ui/form_colours.h"

#include <gtest/gtest.h>

namespace tunewick {
namespace {

bool IsSystemColour(const Colour& colour) {
    return std::holds_alternative<SystemColour>(colour);
}

// With High Contrast off the forms keep their own fixed colours, which the pictures hold pixel
// for pixel; with it on, every surface is one of the system's pairs, whole, so that no text
// stands on a background of another pair: the window's for what lies on the form, the buttons'
// for a button at rest, the highlight's for a button focused or held down.
TEST(FormColours, FixedUnlessHighContrastThenEachSurfaceOneWholeSystemPair) {
    constexpr ColourPair kWindow{SystemColour::Window, SystemColour::WindowText};
    constexpr ColourPair kButton{SystemColour::ButtonFace, SystemColour::ButtonText};
    constexpr ColourPair kHighlight{SystemColour::Highlight, SystemColour::HighlightText};
    struct Case {
        Surface surface;
        ColourPair highContrast;
    };
    constexpr Case kCases[] = {
        {Surface::Form, kWindow},
        {Surface::Frame, kWindow},
        {Surface::Label, kWindow},
        {Surface::HelpText, kWindow},
        {Surface::Button, kButton},
        {Surface::FocusedButton, kHighlight},
        {Surface::PressedButton, kHighlight},
    };
    static_assert(std::size(kCases) == kSurfaceCount, "every surface has its case");
    for (const Case& c : kCases) {
        SCOPED_TRACE(static_cast<int>(c.surface));
        const ColourPair fixed = ColoursOf(c.surface, false);
        EXPECT_FALSE(IsSystemColour(fixed.background) || IsSystemColour(fixed.text));
        EXPECT_NE(fixed.background, fixed.text) << "text must stand out from its background";
        EXPECT_EQ(ColoursOf(c.surface, true), c.highContrast);
    }
    // The form, its frames and labels share one background: no seams between them.
    EXPECT_EQ(ColoursOf(Surface::Frame, false).background,
              ColoursOf(Surface::Form, false).background);
    EXPECT_EQ(ColoursOf(Surface::Label, false).background,
              ColoursOf(Surface::Form, false).background);
}

}  // namespace
}  // namespace tunewick
