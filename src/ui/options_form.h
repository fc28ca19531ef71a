#pragma once

#include <array>
#include <functional>

#include "core/text.h"
#include "settings/profile_store.h"
#include "ui/controls.h"
#include "ui/player_modes.h"

namespace tunewick {

// What the options dialog asks of its own window.
class OptionsFormHost {
  public:
    virtual ~OptionsFormHost() = default;
    virtual Text ProgramDirectory() const = 0;  // where settings.cfg lives
    // Closes (unloads) the dialog; a later "Options" opens and loads a fresh one.
    virtual void Close() = 0;
};

struct OptionsFormControls {
    // The mode to switch on at start-up, one button per mode in PlayerKind order; none chosen
    // switches no mode on.
    std::array<std::reference_wrapper<OptionButton>, 3> startupModeButtons;
    CheckBox& minimizeAtStartupBox;
    // The main window's artist, song and format boxes at start-up.
    TextBox& artistBox;
    TextBox& songBox;
    TextBox& formatBox;
};

// The options dialog: edits settings.cfg, which the main window reads at its next start. "OK"
// closes it once every setting is written; when the file cannot be written, none is, a box
// says why and the dialog stays open with the user's choices.
class OptionsForm {
  public:
    OptionsForm(const OptionsFormControls& controls, ProfileStore& profile, MessageBoxes& boxes,
                OptionsFormHost& host);

    OptionsForm(const OptionsForm&) = delete;
    OptionsForm& operator=(const OptionsForm&) = delete;

    void Load();  // fills the controls from settings.cfg
    void Save();  // "OK"
    // "Cancel". The close box closes the dialog too, as the platform closes any window.
    void Cancel();

  private:
    Text Path() const;

    OptionsFormControls c_;
    ProfileStore& profile_;
    MessageBoxes& boxes_;
    OptionsFormHost& host_;
};

}  // namespace tunewick
