#pragma once

#include <windows.h>

#include <chrono>

#include "core/window_system.h"

namespace tunewick::platform {

enum class SendOutcome { Answered, NotAnswered, NoWindow };

// SendMessageTimeoutW with SMTO_ABORTIFHUNG and `timeoutMs`. A window that vanished is told
// apart from one that did not answer: the first is "no window" to the caller, as the unbounded
// SendMessage would have it. The last error stays the send's.
SendOutcome SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT timeoutMs,
                        DWORD_PTR& result);

// The window functions over the real desktop. Every message to another program's window is
// sent with SendMessageTimeoutW(SMTO_ABORTIFHUNG) and a bound per call: a hung player or
// messenger costs at most the bound, and a window that the platform already counts as hung
// costs nothing. Once the waits are limited together, each call's bound is at most what is left.
// SMTO_BLOCK is not used: the caller's own windows keep answering while it waits (what that asks of
// the form: "Waits" in ui/main_form.h).
class Win32WindowSystem final : public WindowSystem {
  public:
    static constexpr UINT kTimeoutMs = 2000;

    WindowHandle FindNextTopLevel(TextView className, WindowHandle after) override;
    WindowHandle FindNextMessageOnly(TextView className, WindowHandle after) override;
    std::optional<std::int32_t> CaptionLength(WindowHandle window) override;
    std::optional<Text> CaptionText(WindowHandle window, std::int32_t capacity) override;
    bool SendCopyData(WindowHandle window, std::uint32_t kind,
                      std::span<const std::byte> data) override;
    void LimitWaitsTogether(std::chrono::milliseconds total) override;

  private:
    // How long the next message may be waited for.
    UINT Bound() const;

    bool limited_ = false;  // by LimitWaitsTogether, from limitStart_ (GetTickCount) on
    DWORD limitStart_ = 0;
    DWORD limitMs_ = 0;
};

}  // namespace tunewick::platform
