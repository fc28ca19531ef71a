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
    for (const Text* field :
         {&request.format, &request.title, &request.artist, &request.album, &request.contentId}) {
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

void SendNowPlaying(WindowSystem& windows, const NowPlayingRequest& request,
                    const std::function<bool()>& stillWanted) {
    const std::vector<std::byte> bytes = EncodeUtf16Le(BuildNowPlayingRecord(request));
    // All messengers are listed before the first send. A send may wait for its receiver, and
    // the platform finds nothing after a window that has closed meanwhile: walking from
    // window to window would cost every messenger after a closed one the record.
    std::vector<WindowHandle> messengers;
    for (WindowHandle next = windows.FindNextTopLevel(kMessengerWindowClass, WindowHandle::None);
         next != WindowHandle::None; next = windows.FindNextTopLevel(kMessengerWindowClass, next)) {
        messengers.push_back(next);
    }
    for (const WindowHandle messenger : messengers) {
        if (stillWanted && !stillWanted()) {
            return;
        }
        // Whether it took the record, timed out or has closed since, nothing is retried.
        windows.SendCopyData(messenger, kNowPlayingDataKind, bytes);
    }
}

}  // namespace tunewick
