#include "ui/options_form.h"

#include <optional>
#include <string>

#include "settings/settings_file.h"

namespace tunewick {

namespace {

// The words "Player" takes, in the order of the AutoAct buttons.
constexpr TextView kPlayerWords[] = {u"Realplayer", u"Winamp", u"XMPlay"};

Text DecimalText(int value) {
    const std::string digits = std::to_string(value);
    return Text(digits.begin(), digits.end());
}

}  // namespace

OptionsForm::OptionsForm(const OptionsFormControls& controls, ProfileStore& profile,
                         OptionsFormHost& host)
    : c_(controls), profile_(profile), host_(host) {}

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
    // The write results are of no consequence: a failed write leaves the old file.
    WriteSetting(profile_, u"General", u"Minimize_Startup", miniStart, Path());
    WriteSetting(profile_, u"Defaults", u"Player", player, Path());
    const Text artist = c_.txtArtist.Value();
    WriteSetting(profile_, u"Defaults", u"Artist", artist, Path());
    const Text song = c_.txtSong.Value();
    WriteSetting(profile_, u"Defaults", u"Song", song, Path());
    const Text format = c_.txtFormat.Value();
    WriteSetting(profile_, u"Defaults", u"Format", format, Path());
    host_.Close();
}

void OptionsForm::cmdCancel_Click() {
    host_.Close();
}

}  // namespace tunewick
