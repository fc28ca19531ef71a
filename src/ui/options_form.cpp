#include "ui/options_form.h"

#include <optional>
#include <string>

#include "settings/settings_file.h"

namespace tunewick {

namespace {

// The words "Player" takes, in the order of the AutoAct buttons.
constexpr TextView kPlayerWords[] = {u"Realplayer", u"Winamp", u"XMPlay"};

constexpr TextView kErrorTitle = u"Error";

// What the box says when `path` cannot be written, and the system's reason when it gave one.
Text SaveFailureText(TextView path, TextView reason) {
    Text text = u"The settings could not be saved to\n" + Text(path);
    if (!reason.empty()) {
        text += u"\n\n" + Text(reason);
    }
    return text;
}

Text DecimalText(int value) {
    const std::string digits = std::to_string(value);
    return Text(digits.begin(), digits.end());
}

}  // namespace

OptionsForm::OptionsForm(const OptionsFormControls& controls, ProfileStore& profile,
                         MessageBoxes& boxes, OptionsFormHost& host)
    : c_(controls), profile_(profile), boxes_(boxes), host_(host) {}

Text OptionsForm::Path() const {
    // Formed afresh for every read and write.
    return SettingsPath(host_.ProgramDirectory());
}

void OptionsForm::Form_Load() {
    if (ReadSetting(profile_, u"General", u"Minimize_Startup", Path()) == u"1") {
        c_.chkMiniStart.SetValue(1);
    }
    const Text player = ReadSetting(profile_, u"Defaults", u"Player", Path());
    for (std::size_t i = 0; i < c_.AutoAct.size(); ++i) {
        if (player == kPlayerWords[i]) {
            c_.AutoAct[i].get().SetSelected(true);
            break;
        }
    }
    // Empty values included: a missing "Format" empties the designed text.
    c_.txtArtist.SetValue(ReadSetting(profile_, u"Defaults", u"Artist", Path()));
    c_.txtSong.SetValue(ReadSetting(profile_, u"Defaults", u"Song", Path()));
    c_.txtFormat.SetValue(ReadSetting(profile_, u"Defaults", u"Format", Path()));
}

void OptionsForm::cmdOK_Click() {
    const Text miniStart = DecimalText(c_.chkMiniStart.Value());
    // No player chosen: no value at all, which deletes the key.
    std::optional<TextView> player;
    for (std::size_t i = 0; i < c_.AutoAct.size(); ++i) {
        if (c_.AutoAct[i].get().Selected()) {
            player = kPlayerWords[i];
            break;
        }
    }
    const Text artist = c_.txtArtist.Value();
    const Text song = c_.txtSong.Value();
    const Text format = c_.txtFormat.Value();
    struct Setting {
        TextView section;
        TextView key;
        std::optional<TextView> value;
    };
    const Setting settings[] = {
        {u"General", u"Minimize_Startup", miniStart},
        {u"Defaults", u"Player", player},
        {u"Defaults", u"Artist", artist},
        {u"Defaults", u"Song", song},
        {u"Defaults", u"Format", format},
    };
    for (const Setting& setting : settings) {
        const Text path = Path();
        const WriteResult result =
            WriteSetting(profile_, setting.section, setting.key, setting.value, path);
        if (!result) {
            // The later writes would fail the same way. The dialog stays open with what the
            // user chose, so that nothing is lost and nothing looks saved that is not. The
            // style reads as the toolkit writes it, though OK only is 0.
            // cppcheck-suppress badBitmaskCheck
            boxes_.Show(SaveFailureText(path, result.failure), box::kExclamation | box::kOkOnly,
                        kErrorTitle);
            return;
        }
    }
    host_.Close();
}

void OptionsForm::cmdCancel_Click() {
    host_.Close();
}

}  // namespace tunewick
