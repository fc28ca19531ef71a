#include "core/now_playing.h"

namespace tunewick {

namespace {
constexpr TextView kSeparator = u"\\0";
}

Text BuildNowPlayingRecord(const NowPlayingRequest& request) {
    Text record;
    record.reserve(24 + request.title.size() + request.artist.size() + request.album.size() +
                   request.contentId.size() + request.format.size());
    record += kSeparator;
    record += u"Music";
    record += kSeparator;
    record += request.show ? u'1' : u'0';
    for (const Text* field : {&request.format, &request.title, &request.artist, &request.album,
                              &request.contentId}) {
        record += kSeparator;
        record += *field;
    }
    record += kSeparator;
    record += u'\0';
    return record;
}

std::vector<std::byte> EncodeUtf16Le(TextView text) {
    std::vector<std::byte> bytes;
    bytes.reserve(text.size() * 2);
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<std::byte>(unit & 0xFF));
        bytes.push_back(static_cast<std::byte>(unit >> 8));
    }
    return bytes;
}

void SendNowPlaying(WindowSystem& windows, const NowPlayingRequest& request) {
    const std::vector<std::byte> bytes = EncodeUtf16Le(BuildNowPlayingRecord(request));
    WindowHandle previous = WindowHandle::None;
    while (true) {
        const WindowHandle next = windows.FindNextTopLevel(kMessengerWindowClass, previous);
        if (next == WindowHandle::None) {
            break;
        }
        // Whether it took the record or timed out, nothing is retried.
        windows.SendCopyData(next, kNowPlayingDataKind, bytes);
        previous = next;
    }
}

}  // namespace tunewick
