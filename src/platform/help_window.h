#pragma once

#include <windows.h>

#include <optional>

#include "platform/form_window.h"
#include "platform/handles.h"
#include "ui/controls.h"

namespace tunewick::platform {

// The help window: modeless, without an owner, one instance.
class HelpWindow : public FormWindow<HelpWindow>, public SecondaryWindow {
  public:
    explicit HelpWindow(LiveWindows& live);
    ~HelpWindow() override;

    // Opens the window and loads its text, or brings the open one forward.
    void Show() override;
    void Close() override;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The help text is red on black; the button keeps the platform's colours.
    std::optional<COLORREF> TextColourOf(int controlId) const;
};

}  // namespace tunewick::platform
