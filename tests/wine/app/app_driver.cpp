#include "app_driver.h"

#include <limits>

namespace tunewick::e2e {

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
    HWND main = WaitForMainWindow(*process);
    if (main == nullptr) {
        return std::nullopt;
    }
    return TunewickApp(std::move(*process), main);
}

std::vector<HWND> TunewickApp::WindowsCaptioned(TextView caption) const {
    return FindTopLevelWindows(
        {.caption = Text(caption), .processId = process_.Id(), .visibleOnly = true});
}

bool TunewickApp::PostTrayEvent(LPARAM mouseMessage) const {
    return PostMessageW(main_, kTrayCallbackMessage, kTrayIconId, mouseMessage) != 0;
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

HWND WaitForPopupMenu(DWORD processId, Milliseconds timeout) {
    return WaitForTopLevel({.className = u"#32768", .processId = processId, .visibleOnly = true},
                           timeout);
}

bool PostMenuKey(HWND menu, WPARAM virtualKey) {
    return PostMessageW(menu, WM_KEYDOWN, virtualKey, 1) != 0;
}

}  // namespace tunewick::e2e
