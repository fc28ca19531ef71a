#include "win32/tunewick_app_scenarios.h"

#include <fstream>
#include <iterator>

#include "core/now_playing.h"

namespace tunewick::e2e {

MessengerLogRecord NowPlayingRecord(TextView title, TextView artist, TextView format, bool show) {
    NowPlayingRequest request;
    request.title = Text(title);
    request.artist = Text(artist);
    request.format = Text(format);
    request.show = show;
    return {kNowPlayingDataKind, EncodeUtf16Le(BuildNowPlayingRecord(request))};
}

MessengerLogRecord EmptyRecord(bool show) {
    return NowPlayingRecord(u"", u"", u"", show);
}

bool WriteFileBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::optional<std::string> ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

HWND WaitForMainWindow(const ChildProcess& process) {
    HWND main = nullptr;
    WaitUntil([&] {
        const auto found =
            FindTopLevelWindows({.caption = Text(kMainCaption), .processId = process.Id()});
        main = found.empty() ? nullptr : found.front();
        return main != nullptr || !process.Running();
    });
    return main;
}

std::size_t TrayIconCount() {
    std::size_t count = 0;
    for (HWND tray : FindTopLevelWindows({.className = u"__winex11_standalone_tray"})) {
        for (HWND icon : ChildWindows(tray)) {
            if (LowerAscii(WindowClassName(icon)) == u"__winex11_tray_icon") {
                ++count;
            }
        }
    }
    return count;
}

}  // namespace tunewick::e2e
