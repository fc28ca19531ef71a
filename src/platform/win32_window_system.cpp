#include "platform/win32_window_system.h"

#include <algorithm>
#include <new>
#include <vector>

#include "platform/handles.h"
#include "platform/wide_text.h"

namespace tunewick::platform {

SendOutcome SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT timeoutMs,
                        DWORD_PTR& result) {
    result = 0;
    SetLastError(ERROR_SUCCESS);
    if (SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, timeoutMs,
                            &result) != 0) {
        return SendOutcome::Answered;
    }
    // ERROR_TIMEOUT for a wait that ran out; a window already counted as hung fails at once.
    return GetLastError() == ERROR_INVALID_WINDOW_HANDLE ? SendOutcome::NoWindow
                                                         : SendOutcome::NotAnswered;
}

WindowHandle Win32WindowSystem::FindNextTopLevel(TextView className, WindowHandle after) {
    // Parent null: the children of the desktop, i.e. the top-level windows.
    return FromHwnd(FindWindowExW(nullptr, ToHwnd(after), Wide(Text(className)), nullptr));
}

WindowHandle Win32WindowSystem::FindNextMessageOnly(TextView className, WindowHandle after) {
    return FromHwnd(FindWindowExW(HWND_MESSAGE, ToHwnd(after), Wide(Text(className)), nullptr));
}

std::optional<std::int32_t> Win32WindowSystem::CaptionLength(WindowHandle window) {
    if (window == WindowHandle::None) {
        return 0;
    }
    DWORD_PTR length = 0;
    switch (SendBounded(ToHwnd(window), WM_GETTEXTLENGTH, 0, 0, Bound(), length)) {
        case SendOutcome::Answered:
            // The answer is an LRESULT; a window may claim any 32-bit value.
            return static_cast<std::int32_t>(static_cast<std::uint32_t>(length));
        case SendOutcome::NoWindow:
            return 0;
        case SendOutcome::NotAnswered:
            break;
    }
    return std::nullopt;
}

std::optional<Text> Win32WindowSystem::CaptionText(WindowHandle window, std::int32_t capacity) {
    if (window == WindowHandle::None || capacity <= 0) {
        return Text();
    }
    std::vector<wchar_t> buffer;
    try {
        buffer.assign(static_cast<std::size_t>(capacity), L'\0');
    } catch (const std::bad_alloc&) {
        return std::nullopt;  // a caption no buffer can hold is not read this time
    }
    DWORD_PTR copied = 0;
    switch (SendBounded(ToHwnd(window), WM_GETTEXT, static_cast<WPARAM>(capacity),
                        reinterpret_cast<LPARAM>(buffer.data()), Bound(), copied)) {
        case SendOutcome::Answered: {
            // Trust neither the count nor the terminator beyond the buffer we own.
            const std::size_t count = std::min<std::size_t>(copied, buffer.size() - 1);
            return FromWide(std::wstring_view(buffer.data(), count));
        }
        case SendOutcome::NoWindow:
            return Text();
        case SendOutcome::NotAnswered:
            break;
    }
    return std::nullopt;
}

bool Win32WindowSystem::SendCopyData(WindowHandle window, std::uint32_t kind,
                                     std::span<const std::byte> data) {
    COPYDATASTRUCT block{};
    block.dwData = kind;
    block.cbData = static_cast<DWORD>(data.size());
    // The receiver gets its own copy; ours is never written.
    block.lpData = const_cast<std::byte*>(data.data());
    DWORD_PTR ignored = 0;
    return SendBounded(ToHwnd(window), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&block), Bound(),
                       ignored) == SendOutcome::Answered;
}

void Win32WindowSystem::LimitWaitsTogether(std::chrono::milliseconds total) {
    limited_ = true;
    limitStart_ = GetTickCount();
    limitMs_ = static_cast<DWORD>(std::max<std::chrono::milliseconds::rep>(total.count(), 0));
}

UINT Win32WindowSystem::Bound() const {
    if (!limited_) {
        return kTimeoutMs;
    }
    // Unsigned difference: right across the counter's wrap every 49.7 days.
    const DWORD spent = GetTickCount() - limitStart_;
    // A millisecond at least: the message is handed over all the same (a window that takes it
    // later still gets it), and Wine waits without end for a bound of 0.
    constexpr UINT kLeast = 1;
    return spent >= limitMs_ ? kLeast
                             : std::max(kLeast, std::min<UINT>(kTimeoutMs, limitMs_ - spent));
}

}  // namespace tunewick::platform
