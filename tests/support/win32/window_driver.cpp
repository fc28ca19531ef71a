#include "win32/window_driver.h"

#include <thread>

#include "win32/wide.h"

namespace tunewick::e2e {

namespace {

constexpr int kMessageBoxTextId = 0xFFFF;

bool Matches(HWND window, const WindowQuery& query) {
    if (query.visibleOnly && !IsWindowVisible(window)) {
        return false;
    }
    if (query.processId && WindowProcessId(window) != *query.processId) {
        return false;
    }
    if (query.className && LowerAscii(WindowClassName(window)) != LowerAscii(*query.className)) {
        return false;
    }
    if (query.caption) {
        // GetWindowTextW reads another process's caption without sending it a message, so
        // even a hung window can be found by its caption.
        const int length = GetWindowTextLengthW(window);
        std::wstring caption(static_cast<std::size_t>(length) + 1, L'\0');
        caption.resize(
            static_cast<std::size_t>(GetWindowTextW(window, caption.data(), length + 1)));
        if (FromWide(caption) != *query.caption) {
            return false;
        }
    }
    return true;
}

struct TopLevelSearch {
    const WindowQuery* query;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<TopLevelSearch*>(context);
    if (Matches(window, *search->query)) {
        search->found.push_back(window);
    }
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM context) {
    reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
    return TRUE;
}

}  // namespace

std::optional<LRESULT> SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                   Milliseconds bound) {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG,
                            static_cast<UINT>(bound.count()), &result) == 0) {
        return std::nullopt;
    }
    return static_cast<LRESULT>(result);
}

bool WaitUntil(const std::function<bool()>& condition, Milliseconds timeout, Milliseconds poll) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        if (condition()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(poll);
    }
}

std::vector<HWND> FindTopLevelWindows(const WindowQuery& query) {
    TopLevelSearch search{&query, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForTopLevel(const WindowQuery& query, Milliseconds timeout) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            const std::vector<HWND> windows = FindTopLevelWindows(query);
            found = windows.empty() ? nullptr : windows.front();
            return found != nullptr;
        },
        timeout);
    return found;
}

bool WaitForWindowGone(HWND window, Milliseconds timeout, bool orHidden) {
    return WaitUntil([&] { return !IsWindow(window) || (orHidden && !IsWindowVisible(window)); },
                     timeout);
}

DWORD WindowProcessId(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId;
}

Text WindowClassName(HWND window) {
    wchar_t name[256] = {};
    const int length = GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return FromWide(std::wstring_view(name, static_cast<std::size_t>(length > 0 ? length : 0)));
}

std::vector<HWND> ChildWindows(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

HWND FindChild(HWND parent, TextView text, std::optional<TextView> className) {
    for (HWND child : ChildWindows(parent)) {
        if (className && LowerAscii(WindowClassName(child)) != LowerAscii(*className)) {
            continue;
        }
        if (ReadText(child) == Text(text)) {
            return child;
        }
    }
    return nullptr;
}

HWND WaitForChild(HWND parent, TextView text, std::optional<TextView> className,
                  Milliseconds timeout) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            found = FindChild(parent, text, className);
            return found != nullptr;
        },
        timeout);
    return found;
}

std::optional<Text> ReadText(HWND window, Milliseconds bound) {
    const std::optional<LRESULT> length = SendBounded(window, WM_GETTEXTLENGTH, 0, 0, bound);
    if (!length) {
        return std::nullopt;
    }
    // Room for the terminator and for a caption that grew since the length was read.
    std::wstring buffer(static_cast<std::size_t>(*length) + 64, L'\0');
    const std::optional<LRESULT> copied = SendBounded(
        window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), bound);
    if (!copied) {
        return std::nullopt;
    }
    buffer.resize(std::min(static_cast<std::size_t>(*copied), buffer.size() - 1));
    return FromWide(buffer);
}

bool SetText(HWND window, TextView text, Milliseconds bound) {
    const std::wstring wide = ToWide(text);
    return SendBounded(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()), bound)
               .value_or(0) != 0;
}

bool Click(HWND button, Milliseconds bound) {
    return SendBounded(button, BM_CLICK, 0, 0, bound).has_value();
}

bool PostClick(HWND button) {
    return PostMessageW(button, BM_CLICK, 0, 0) != 0;
}

bool MovePointerTo(HWND window, POINT client) {
    POINT target = client;
    if (!ClientToScreen(window, &target)) {
        return false;
    }
    // Absolute input runs from 0 to 65535 across the screen; the first pixel's coordinate
    // rounded up lands on the pixel itself.
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = (target.x * 65536 + width - 1) / width;
    input.mi.dy = (target.y * 65536 + height - 1) / height;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    if (SendInput(1, &input, sizeof(input)) != 1) {
        return false;
    }
    return WaitUntil(
        [&] {
            POINT at{};
            return GetCursorPos(&at) && at.x == target.x && at.y == target.y;
        },
        1s);
}

std::optional<int> CheckState(HWND button, Milliseconds bound) {
    const std::optional<LRESULT> state = SendBounded(button, BM_GETCHECK, 0, 0, bound);
    return state ? std::optional(static_cast<int>(*state)) : std::nullopt;
}

std::vector<MessageBoxInfo> FindMessageBoxes(std::optional<DWORD> processId) {
    WindowQuery query;
    query.className = u"#32770";
    query.processId = processId;
    query.visibleOnly = true;
    std::vector<MessageBoxInfo> boxes;
    for (HWND window : FindTopLevelWindows(query)) {
        HWND textControl = GetDlgItem(window, kMessageBoxTextId);
        if (textControl == nullptr) {
            continue;  // some other dialog
        }
        boxes.push_back(
            {window, ReadText(window).value_or(Text()), ReadText(textControl).value_or(Text())});
    }
    return boxes;
}

std::optional<MessageBoxInfo> WaitForMessageBox(std::optional<DWORD> processId,
                                                Milliseconds timeout) {
    std::optional<MessageBoxInfo> found;
    WaitUntil(
        [&] {
            std::vector<MessageBoxInfo> boxes = FindMessageBoxes(processId);
            if (!boxes.empty()) {
                found = std::move(boxes.front());
            }
            return found.has_value();
        },
        timeout);
    return found;
}

bool PressMessageBoxButton(HWND box, int buttonId, Milliseconds timeout) {
    HWND button = GetDlgItem(box, buttonId);
    if (button == nullptr || !PostClick(button)) {
        return false;
    }
    return WaitForWindowGone(box, timeout);
}

}  // namespace tunewick::e2e
