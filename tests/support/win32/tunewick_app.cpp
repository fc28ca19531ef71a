#include "win32/tunewick_app.h"

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

std::optional<std::filesystem::path> PlaceTunewickIn(const std::filesystem::path& folder) {
    const std::filesystem::path exe = folder / L"Tunewick.exe";
    std::error_code error;
    if (!std::filesystem::exists(exe, error)) {
        std::filesystem::copy_file(SiblingProgram(L"Tunewick.exe"), exe, error);
        if (error) {
            return std::nullopt;
        }
    }
    return exe;
}

std::optional<TunewickApp> TunewickApp::Start(const std::filesystem::path& folder) {
    const std::optional<std::filesystem::path> exe = PlaceTunewickIn(folder);
    if (!exe) {
        return std::nullopt;
    }
    std::optional<ChildProcess> process = ChildProcess::Launch(*exe, {});
    if (!process) {
        return std::nullopt;
    }
    // The window exists before its controls and its load, and the load itself may wait on
    // another program (the tray icon's add), taking the messages sent to the window meanwhile:
    // the load is over only once the program waits for input.
    if (WaitForInputIdle(process->Handle(), static_cast<DWORD>(kDefaultWait.count())) != 0) {
        return std::nullopt;
    }
    HWND main = WaitForMainWindow(*process);
    if (main == nullptr) {
        return std::nullopt;
    }
    // The credit line is written first thing in the load; a message sent to the window is
    // answered once the program waits for messages.
    if (WaitForChild(main, u"Tunewick\r\nBy Vantor", u"Static") == nullptr ||
        !SendBounded(main, WM_NULL, 0, 0, 10s)) {
        return std::nullopt;
    }
    return TunewickApp(std::move(*process), main);
}

std::vector<HWND> TunewickApp::Boxes() const {
    return {BoxBeside(u"Artist"), BoxBeside(u"Song Name"), BoxBeside(u"Format")};
}

bool TunewickApp::PostSet(TextView artist, TextView song) const {
    const std::vector<HWND> boxes = Boxes();
    HWND set = Button(u"Set");
    return boxes[0] != nullptr && boxes[1] != nullptr && set != nullptr &&
           SetText(boxes[0], artist) && SetText(boxes[1], song) && PostClick(set);
}

std::vector<HWND> TunewickApp::WindowsCaptioned(TextView caption) const {
    return FindTopLevelWindows(
        {.caption = Text(caption), .processId = process_.Id(), .visibleOnly = true});
}

bool TunewickApp::PostTrayEvent(LPARAM mouseMessage) const {
    // The callback message the program gives the shell, the icon's id in wParam.
    return PostMessageW(main_, WM_MOUSEMOVE, 1, mouseMessage) != 0;
}

HWND TunewickApp::Focus() const {
    // Every window of the program belongs to the thread of its main window.
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    const DWORD thread = GetWindowThreadProcessId(main_, nullptr);
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

bool TunewickApp::PressKey(WPARAM virtualKey) const {
    HWND focus = Focus();
    // Once, with the key's scan code; the release with the previous-state and transition bits.
    const UINT scanCode = MapVirtualKeyW(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC);
    const auto down = static_cast<LPARAM>(1 | scanCode << 16);
    const auto up = static_cast<LPARAM>(static_cast<DWORD>(down) | 0xC0000000u);
    return focus != nullptr && PostMessageW(focus, WM_KEYDOWN, virtualKey, down) &&
           PostMessageW(focus, WM_KEYUP, virtualKey, up);
}

std::optional<DWORD> TunewickApp::Close(Milliseconds timeout) {
    if (!PostMessageW(main_, WM_SYSCOMMAND, SC_CLOSE, 0)) {
        return std::nullopt;
    }
    return process_.WaitForExit(timeout);
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

std::optional<OptionsDialog> OptionsDialog::Open(const TunewickApp& app) {
    if (!Click(app.Button(u"Options"))) {
        return std::nullopt;
    }
    HWND window = WaitForTopLevel(
        {.caption = Text(kOptionsCaption), .processId = app.Id(), .visibleOnly = true});
    if (window == nullptr) {
        return std::nullopt;
    }
    const OptionsDialog dialog = Find(window);
    const bool complete = dialog.realplayer && dialog.winamp && dialog.xmplay &&
                          dialog.minimizeOnStartup && dialog.artist && dialog.song &&
                          dialog.format && dialog.ok && dialog.cancel;
    return complete ? std::optional(dialog) : std::nullopt;
}

OptionsDialog OptionsDialog::Find(HWND window) {
    auto button = [&](TextView caption) { return FindChild(window, caption, u"Button"); };
    auto box = [&](TextView label) {
        return TunewickApp::ControlBesideLabel(window, label, u"Edit", TunewickApp::Side::Right);
    };
    return {window,
            button(u"Realplayer"),
            button(u"Winamp"),
            button(u"XMPlay"),
            button(u"Minimize On Startup"),
            box(u"Artist      -"),
            box(u"Ttile       -"),
            box(u"Format   -"),
            button(u"OK"),
            button(u"Cancel")};
}

HWND WaitForPopupMenu(DWORD processId, Milliseconds timeout) {
    return WaitForTopLevel({.className = u"#32768", .processId = processId, .visibleOnly = true},
                           timeout);
}

bool PostMenuKey(HWND menu, WPARAM virtualKey) {
    return PostMessageW(menu, WM_KEYDOWN, virtualKey, 1) != 0;
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
