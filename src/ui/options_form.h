#pragma once

#include <array>
#include <functional>

#include "core/text.h"
#include "settings/profile_store.h"
#include "ui/controls.h"

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
    // The player to switch on at start-up: 0 "Realplayer", 1 "Winamp", 2 "XMPlay".
    std::array<std::reference_wrapper<OptionButton>, 3> AutoAct;
    CheckBox& chkMiniStart;
    TextBox& txtArtist;
    TextBox& txtSong;
    TextBox& txtFormat;
};

// The options dialog (frmOptions): edits settings.cfg, which the main window reads at its
// next start. "OK" closes it once every setting is written; when the file cannot be written,
// a box says why and the dialog stays open with the user's choices.
class OptionsForm {
  public:
    OptionsForm(const OptionsFormControls& controls, ProfileStore& profile, MessageBoxes& boxes,
                OptionsFormHost& host);

    OptionsForm(const OptionsForm&) = delete;
    OptionsForm& operator=(const OptionsForm&) = delete;

    void Form_Load();
    void cmdOK_Click();
    void cmdCancel_Click();

  private:
    Text Path() const;

    OptionsFormControls c_;
    ProfileStore& profile_;
    MessageBoxes& boxes_;
    OptionsFormHost& host_;
};

}  // namespace tunewick
