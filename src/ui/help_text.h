#pragma once

#include "core/text.h"

namespace tunewick {

// The help window's fixed text. Its lines end in CR LF, the only break a multi-line edit
// control makes: a CR or an LF alone would show as a mark.
inline constexpr TextView kHelpText =
    u"Tunewick - Help\r\n"
    u"\r\n"
    u"Tunewick is a simple utility for modifying the song title/artist displayed in your "
    u"Personal Message on MSN 7.\r\n"
    u"Just load up MSN and your media player, and set a song playing. Then load Tunewick, and "
    u"hit the ''Activate'' button.\r\n"
    u"This will start a timer, which reads the current media player song, and changes your "
    u"personal message accordingly, every 5 seconds.\r\n"
    u"Please make note of the ''Format'' text box. It is fine being left as it is: {0} - {1} , "
    u"but you may change it. PLEASE NOTE: It really should include both the {0} and {1} "
    u"somewhere. The {0} is the song name, and {1} is the artist.\r\n"
    u"So, for example, you could have, ''{0} is the best song that {1} has ever sung'', or "
    u"''{1} sings {0} really well''.\r\n"
    u"PLEASE REMEMBER NOT TO USE BRACKETS, ALWAYS USE ''Curly Braces''!!\r\n"
    u"\r\n"
    u"The other two textboxes are for a custom song name/artist. Obviously there is no point in "
    u"setting these whilst thr Tunewick timer is activated.\r\n"
    u"Thanks to everyone who tried the early builds, sent in player captions that broke the "
    u"cutting rules, and kept asking for the tray icon.\r\n"
    u"\r\n"
    u"Vantor";

}  // namespace tunewick
