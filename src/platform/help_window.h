#pragma once

#include <windows.h>

#include <memory>

#include "platform/form_window.h"
#include "platform/handles.h"
#include "platform/win32_controls.h"
#include "ui/help_form.h"

namespace tunewick::platform {

// The help window: modeless, without an owner, one instance.
class HelpWindow : public FormWindow<HelpWindow>, private HelpFormHost {
  public:
    explicit HelpWindow(LiveWindows& live);
    ~HelpWindow() override;

    // Opens the window and loads its text, or brings the open one forward.
    void Show();
    // Closes the window; nothing when it is not open.
    void Close() override;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    bool Create();

    UniqueFont font_;
    std::unique_ptr<Win32TextBox> helpText_;
    // The form of the latest opening. It stays until the next one, since its own handler may
    // be what closed the window.
    std::unique_ptr<HelpForm> form_;
};

}  // namespace tunewick::platform
