#include "core/text.h"

namespace tunewick {

TextView TrimSpaces(TextView text) {
    const auto first = text.find_first_not_of(u' ');
    if (first == TextView::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(u' ');
    return text.substr(first, last - first + 1);
}

Text LowerAscii(TextView text) {
    Text lowered(text);
    for (auto& unit : lowered) {
        if (unit >= u'A' && unit <= u'Z') {
            unit = static_cast<char16_t>(unit - u'A' + u'a');
        }
    }
    return lowered;
}

}  // namespace tunewick
