#pragma once

#include <windows.h>

#include <memory>
#include <optional>

#include "platform/form_window.h"
#include "platform/handles.h"
#include "platform/message_boxes.h"
#include "settings/profile_store.h"
#include "ui/options_form.h"

namespace tunewick::platform {

// The options dialog: modeless, without an owner, one instance.
class OptionsWindow : public FormWindow<OptionsWindow>,
                      public SecondaryWindow,
                      private OptionsFormHost {
  public:
    OptionsWindow(ProfileStore& profile, LiveWindows& live);
    ~OptionsWindow() override;

    // Opens the dialog and loads the settings, or brings the open one forward as it is, with
    // any edits not yet saved.
    void Show() override;
    void Close() override;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Every label, option button and check box, and the frames, take the forms' colours.
    static std::optional<Surface> SurfaceOf(int id);

  private:
    struct Controls;  // the adapters the form logic works through

    bool Create();
    Text ProgramDirectory() const override;

    ProfileStore& profile_;
    // Owned by the dialog: modal to it, and in front of it.
    Win32MessageBoxes boxes_{[this] { return hwnd_; }};
    std::unique_ptr<Controls> controls_;
    // The form of the latest opening; it stays until the next one, since its own handler may
    // be what closed the dialog.
    std::unique_ptr<OptionsForm> form_;
};

}  // namespace tunewick::platform
