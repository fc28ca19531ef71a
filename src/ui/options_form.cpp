#include "ui/options_form.h"

#include <optional>
#include <string>

#include "settings/settings_file.h"

namespace tunewick {

namespace {

constexpr TextView kErrorTitle = u"Error";

// What the box says when `path` cannot be written, and the system's reason when it gave one.
Text SaveFailureText(TextView path, TextView reason) {
    Text text = u"The settings could not be saved to\n" + Text(path);
    if (!reason.empty()) {
        text += u"\n\n" + Text(reason);
    }
    return text;
}

}  // namespace

OptionsForm::OptionsForm(const OptionsFormControls& controls, ProfileStore& profile,
                         MessageBoxes& boxes, OptionsFormHost& host)
    : c_(controls), profile_(profile), boxes_(boxes), host_(host) {}

Text OptionsForm::Path() const {
    // Formed afresh for every read and write.
    return SettingsPath(host_.ProgramDirectory());
}

void OptionsForm::Load() {
    if (ReadSetting(profile_, u"General", u"Minimize_Startup", Path()) == u"1") {
        c_.minimizeAtStartupBox.SetValue(1);
    }
    if (const PlayerMode* mode =
            ModeForSettingsWord(ReadSetting(profile_, u"Defaults", u"Player", Path()))) {
        c_.startupModeButtons[ModeIndex(mode->player)].get().SetSelected(true);
    }
    // Empty values included: a missing "Format" empties the designed text.
    c_.artistBox.SetValue(ReadSetting(profile_, u"Defaults", u"Artist", Path()));
    c_.songBox.SetValue(ReadSetting(profile_, u"Defaults", u"Song", Path()));
    c_.formatBox.SetValue(ReadSetting(profile_, u"Defaults", u"Format", Path()));
}

void OptionsForm::Save() {
    const std::string digits = std::to_string(c_.minimizeAtStartupBox.Value());
    const Text minimizeAtStartup(digits.begin(), digits.end());
    // No mode chosen: no value at all, which deletes the key.
    std::optional<TextView> player;
    for (const PlayerMode& mode : kPlayerModes) {
        if (c_.startupModeButtons[ModeIndex(mode.player)].get().Selected()) {
            player = mode.settingsWord;
            break;
        }
    }
    const Text artist = c_.artistBox.Value();
    const Text song = c_.songBox.Value();
    const Text format = c_.formatBox.Value();
    const ProfileEntry settings[] = {
        {u"General", u"Minimize_Startup", minimizeAtStartup},
        {u"Defaults", u"Player", player},
        {u"Defaults", u"Artist", artist},
        {u"Defaults", u"Song", song},
        {u"Defaults", u"Format", format},
    };
    const Text path = Path();
    if (!profile_.WriteEntries(settings, path)) {
        // Nothing was saved. The dialog stays open with what the user chose, so that nothing
        // is lost and nothing looks saved that is not.
        boxes_.Show(SaveFailureText(path, profile_.LastWriteFailure()), BoxKind::Warning,
                    kErrorTitle);
        return;
    }
    host_.Close();
}

void OptionsForm::Cancel() {
    host_.Close();
}

}  // namespace tunewick
