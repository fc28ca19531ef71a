#include "ui/help_form.h"

namespace tunewick {

Text HelpText() {
    constexpr TextView kCrLf = u"\r\n";
    Text text;
    text += u"Tunewick - Help";
    text += kCrLf;
    text += kCrLf;
    text +=
        u"Tunewick is a simple utility for modifying the song title/artist displayed in your "
        u"Personal Message on MSN 7.";
    text += kCrLf;
    text +=
        u"Just load up MSN and your media player, and set a song playing. Then load Tunewick, "
        u"and hit the ''Activate'' button.";
    text += kCrLf;
    text +=
        u"This will start a timer, which reads the current media player song, and changes your "
        u"personal message accordingly, every 5 seconds.";
    text += kCrLf;
    text +=
        u"Please make note of the ''Format'' text box. It is fine being left as it is: "
        u"{0} - {1} , but you may change it. PLEASE NOTE: It really should include both the "
        u"{0} and {1} somewhere. The {0} is the song name, and {1} is the artist.";
    text += kCrLf;
    text +=
        u"So, for example, you could have, ''{0} is the best song that {1} has ever sung'', or "
        u"''{1} sings {0} really well''.";
    text += kCrLf;
    text += u"PLEASE REMEMBER NOT TO USE BRACKETS, ALWAYS USE ''Curly Braces''!!";
    text += kCrLf;
    text += kCrLf;
    text +=
        u"The other two textboxes are for a custom song name/artist. Obviously there is no "
        u"point in setting these whilst thr Tunewick timer is activated.";
    text += kCrLf;
    text +=
        u"Thanks to everyone who tried the early builds, sent in player captions that broke "
        u"the cutting rules, and kept asking for the tray icon.";
    text += kCrLf;
    text += kCrLf;
    text += u"Vantor";
    return text;
}

HelpForm::HelpForm(TextBox& helpText, HelpFormHost& host) : helpText_(helpText), host_(host) {}

void HelpForm::Load() {
    helpText_.SetValue(HelpText());
}

void HelpForm::Dismiss() {
    host_.Close();
}

}  // namespace tunewick
