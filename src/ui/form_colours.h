#pragma once

#include <cstddef>
#include <cstdint>
#include <variant>

namespace tunewick {

// What the forms paint, each in a pair of colours: a background and the text or lines on it.
enum class Surface {
    Form,           // a window's own background
    Frame,          // a frame and its caption
    Label,          // labels, and the captions of option buttons and check boxes on the form
    HelpText,       // the help window's text
    Button,         // an owner-drawn command button's face and caption
    FocusedButton,  // the same, while it has the keyboard focus
    PressedButton,  // the same, while it is held down
};
inline constexpr std::size_t kSurfaceCount = 7;

// The colours the user picks for the whole system, by what the system gives them to.
enum class SystemColour { Window, WindowText, ButtonFace, ButtonText, Highlight, HighlightText };

struct Rgb {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    bool operator==(const Rgb&) const = default;
};

using Colour = std::variant<Rgb, SystemColour>;

struct ColourPair {
    Colour background;
    Colour text;
    bool operator==(const ColourPair&) const = default;
};

// The forms' designed look (white on black, white-faced buttons with black captions, red help
// text) unless High Contrast is on: then only the system's pairs, so that every surface shows
// the user's theme and no pair mixes two of them.
ColourPair ColoursOf(Surface surface, bool highContrast);

}  // namespace tunewick
