#include "app_driver.h"

#include <fstream>
#include <iterator>
#include <limits>

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

std::optional<TunewickApp> TunewickApp::Start(const std::filesystem::path& folder) {
    const std::filesystem::path exe = folder / L"Tunewick.exe";
    std::error_code error;
    std::filesystem::copy_file(SiblingProgram(L"Tunewick.exe"), exe,
                               std::filesystem::copy_options::overwrite_existing, error);
    if (error) {
        return std::nullopt;
    }
    std::optional<ChildProcess> process = ChildProcess::Launch(exe, {});
    if (!process) {
        return std::nullopt;
    }
    // Until the program waits for input its main window may be half built: controls
    // missing, settings not applied yet.
    if (WaitForInputIdle(process->Handle(), static_cast<DWORD>(kDefaultWait.count())) != 0) {
        return std::nullopt;
    }
    HWND main = nullptr;
    WaitUntil([&] {
        const auto found =
            FindTopLevelWindows({.caption = Text(kMainCaption), .processId = process->Id()});
        main = found.empty() ? nullptr : found.front();
        return main != nullptr || !process->Running();
    });
    if (main == nullptr) {
        return std::nullopt;
    }
    return TunewickApp(std::move(*process), main);
}

HWND TunewickApp::Button(TextView caption) const {
    return FindChild(main_, caption, u"Button");
}

std::vector<HWND> TunewickApp::WindowsCaptioned(TextView caption) const {
    return FindTopLevelWindows(
        {.caption = Text(caption), .processId = process_.Id(), .visibleOnly = true});
}

std::optional<MessageBoxInfo> TunewickApp::WaitForMessageBox(Milliseconds timeout) const {
    return e2e::WaitForMessageBox(process_.Id(), timeout);
}

bool TunewickApp::PostTrayEvent(LPARAM mouseMessage) const {
    return PostMessageW(main_, kTrayCallbackMessage, 0, mouseMessage) != 0;
}

HWND TunewickApp::ControlBesideLabel(HWND window, TextView label, TextView className, Side side) {
    HWND labelWindow = FindChild(window, label, u"Static");
    RECT labelRect{};
    if (labelWindow == nullptr || !GetWindowRect(labelWindow, &labelRect)) {
        return nullptr;
    }
    const LONG row = (labelRect.top + labelRect.bottom) / 2;
    const Text wantedClass = LowerAscii(className);
    HWND nearest = nullptr;
    LONG nearestGap = std::numeric_limits<LONG>::max();
    for (HWND child : ChildWindows(window)) {
        RECT rect{};
        if (child == labelWindow || LowerAscii(WindowClassName(child)) != wantedClass ||
            !GetWindowRect(child, &rect)) {
            continue;
        }
        const LONG gap =
            side == Side::Right ? rect.left - labelRect.right : labelRect.left - rect.right;
        // A pixel or two of overlap still counts as beside.
        if (rect.top <= row && row < rect.bottom && gap >= -2 && gap < nearestGap) {
            nearest = child;
            nearestGap = gap;
        }
    }
    return nearest;
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

HWND WaitForPopupMenu(DWORD processId, Milliseconds timeout) {
    return WaitForTopLevel({.className = u"#32768", .processId = processId, .visibleOnly = true},
                           timeout);
}

bool PostMenuKey(HWND menu, WPARAM virtualKey) {
    return PostMessageW(menu, WM_KEYDOWN, virtualKey, 1) != 0;
}

}  // namespace tunewick::e2e
