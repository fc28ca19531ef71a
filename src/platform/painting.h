#pragma once

#include <windows.h>

#include <array>

#include "platform/handles.h"
#include "ui/form_colours.h"

namespace tunewick::platform {

// Whether the user has High Contrast on; off, with a trace, when the system cannot say.
bool HighContrastOn();

// The forms' colours as a window paints them: each surface's pair (ui/form_colours.h) in the
// system's colours of the moment, and a brush of its background.
class FormColours {
  public:
    // Reads the High Contrast setting and the system's colours again; the brushes it replaces
    // are freed.
    void Load();

    COLORREF Text(Surface surface) const { return At(surface).text; }
    HBRUSH Brush(Surface surface) const { return At(surface).brush.Get(); }

    // A WM_CTLCOLOR* answer: the surface's text on its background, and its brush.
    HBRUSH Apply(HDC dc, Surface surface) const;

  private:
    struct Paint {
        COLORREF background = 0;
        COLORREF text = 0;
        UniqueBrush brush;
    };
    const Paint& At(Surface surface) const { return paints_[static_cast<std::size_t>(surface)]; }

    std::array<Paint, kSurfaceCount> paints_;
};

// Paints an owner-drawn command button in its surface's colours (pressed, focused or at
// rest), with the platform's 3D edges.
void DrawCommandButton(const DRAWITEMSTRUCT& item, const FormColours& colours);

}  // namespace tunewick::platform
