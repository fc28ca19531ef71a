#include "settings/settings_file.h"

#include <algorithm>
#include <array>

namespace tunewick {

Text SettingsPath(TextView programDirectory) {
    Text path(programDirectory);
    if (path.empty() || (path.back() != u'\\' && path.back() != u'/')) {
        path += u'\\';
    }
    path += u"settings.cfg";
    return path;
}

Text ReadSetting(ProfileStore& store, TextView section, TextView key, TextView file) {
    std::array<char16_t, kSettingBufferLength> buffer{};
    const Text loweredKey = LowerAscii(key);
    const std::size_t copied = store.GetString(section, loweredKey, u"", buffer, file);
    return Text(buffer.data(), std::min(copied, buffer.size()));
}

}  // namespace tunewick
