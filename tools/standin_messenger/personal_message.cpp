#include "standin_messenger/personal_message.h"

#include <vector>

namespace tunewick::standin {

namespace {

constexpr TextView kSeparator = u"\\0";
// "", "Music", show, format, title, artist, album, content id, "".
constexpr std::size_t kPieceCount = 9;

std::vector<TextView> SplitOnSeparator(TextView text) {
    std::vector<TextView> pieces;
    std::size_t start = 0;
    while (true) {
        const std::size_t at = text.find(kSeparator, start);
        if (at == TextView::npos) {
            pieces.push_back(text.substr(start));
            return pieces;
        }
        pieces.push_back(text.substr(start, at - start));
        start = at + kSeparator.size();
    }
}

}  // namespace

std::optional<NowPlayingFields> ParseNowPlayingRecord(TextView record) {
    if (record.ends_with(u'\0')) {
        record.remove_suffix(1);
    }
    const std::vector<TextView> pieces = SplitOnSeparator(record);
    if (pieces.size() != kPieceCount || !pieces[0].empty() || pieces[1] != u"Music" ||
        !pieces[8].empty() || (pieces[2] != u"0" && pieces[2] != u"1")) {
        return std::nullopt;
    }
    return NowPlayingFields{pieces[2] == u"1", Text(pieces[3]), Text(pieces[4]),
                            Text(pieces[5]),   Text(pieces[6]), Text(pieces[7])};
}

Text ShownPersonalMessage(const NowPlayingFields& fields) {
    if (!fields.show || (fields.title.empty() && fields.artist.empty())) {
        return {};
    }
    // One pass, so a title that itself holds "{1}" is not replaced again.
    Text shown;
    const TextView format = fields.format;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const TextView rest = format.substr(i);
        if (rest.starts_with(u"{0}")) {
            shown += fields.title;
            i += 2;
        } else if (rest.starts_with(u"{1}")) {
            shown += fields.artist;
            i += 2;
        } else {
            shown += format[i];
        }
    }
    return shown;
}

}  // namespace tunewick::standin
