#include "core/now_playing.h"

#include <algorithm>

namespace tunewick {

namespace {

constexpr TextView kSeparator = u"\\0";

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

Text RecordField(TextView text) {
    Text field;
    // Only what can end up in the record is looked at: a player's caption may be megabytes.
    const TextView start = text.substr(0, 2 * kRecordFieldLimit);
    field.reserve(std::min(start.size(), kRecordFieldLimit));
    std::size_t taken = 0;  // units of `start` in the field
    for (; taken < start.size() && field.size() < kRecordFieldLimit; ++taken) {
        field += start[taken];
        if (start[taken] == u'\\' && taken + 1 < start.size() && start[taken + 1] == u'0') {
            field += kSeparatorBreaker;
        }
    }
    field.resize(std::min(field.size(), kRecordFieldLimit));
    const bool splitsPair =
        taken < start.size() && IsHighSurrogate(field.back()) && IsLowSurrogate(start[taken]);
    if (splitsPair) {
        field.pop_back();
    }
    return field;
}

Text BuildNowPlayingRecord(const NowPlayingRequest& request) {
    Text record;
    record.reserve(24 + 5 * kRecordFieldLimit);
    record += kSeparator;
    record += u"Music";
    record += kSeparator;
    record += request.show ? u'1' : u'0';
    for (const Text* field :
         {&request.format, &request.title, &request.artist, &request.album, &request.contentId}) {
        record += kSeparator;
        record += RecordField(*field);
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
    // A send may wait for its receiver, and the platform finds nothing after a window that has
    // closed meanwhile: walking from window to window would cost every later messenger the record.
    std::vector<WindowHandle> messengers;
    const auto list = [&](WindowHandle (WindowSystem::*findNext)(TextView, WindowHandle)) {
        for (WindowHandle next = (windows.*findNext)(kMessengerWindowClass, WindowHandle::None);
             next != WindowHandle::None; next = (windows.*findNext)(kMessengerWindowClass, next)) {
            // A platform may list a message-only window among the top-level ones as well.
            if (std::find(messengers.begin(), messengers.end(), next) == messengers.end()) {
                messengers.push_back(next);
            }
        }
    };
    list(&WindowSystem::FindNextTopLevel);
    // Some listeners take the record in a message-only window, which no top-level search finds.
    list(&WindowSystem::FindNextMessageOnly);
    for (const WindowHandle messenger : messengers) {
        if (stillWanted && !stillWanted()) {
            return;
        }
        windows.SendCopyData(messenger, kNowPlayingDataKind, bytes);
    }
}

}  // namespace tunewick
