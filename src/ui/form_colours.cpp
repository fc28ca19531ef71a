#include "ui/form_colours.h"

namespace tunewick {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kRed{255, 0, 0};

constexpr ColourPair kWindowPair{SystemColour::Window, SystemColour::WindowText};
constexpr ColourPair kButtonPair{SystemColour::ButtonFace, SystemColour::ButtonText};
constexpr ColourPair kHighlightPair{SystemColour::Highlight, SystemColour::HighlightText};

struct Row {
    ColourPair designed;
    ColourPair highContrast;
};

// By Surface.
constexpr Row kRows[kSurfaceCount] = {
    {{kBlack, kWhite}, kWindowPair},     // Form
    {{kBlack, kWhite}, kWindowPair},     // Frame
    {{kBlack, kWhite}, kWindowPair},     // Label
    {{kBlack, kRed}, kWindowPair},       // HelpText
    {{kWhite, kBlack}, kButtonPair},     // Button
    {{kWhite, kBlack}, kHighlightPair},  // FocusedButton
    {{kWhite, kBlack}, kHighlightPair},  // PressedButton
};

}  // namespace

ColourPair ColoursOf(Surface surface, bool highContrast) {
    const Row& row = kRows[static_cast<std::size_t>(surface)];
    return highContrast ? row.highContrast : row.designed;
}

}  // namespace tunewick
