#pragma once

#include <windows.h>

#include "core/window_system.h"

namespace tunewick::platform {

// The window functions over the real desktop. Every message to another program's window is
// sent with SendMessageTimeoutW(SMTO_ABORTIFHUNG) and a bound per call: a hung player or
// messenger costs at most the bound, and a window that the platform already counts as hung
// costs nothing. SMTO_BLOCK is not used: the caller's own windows keep answering while it
// waits (what that asks of the form: "Waits" in ui/main_form.h).
class Win32WindowSystem final : public WindowSystem {
  public:
    static constexpr UINT kTimeoutMs = 2000;

    WindowHandle FindNextTopLevel(TextView className, WindowHandle after) override;
    WindowHandle FindNextMessageOnly(TextView className, WindowHandle after) override;
    std::optional<std::int32_t> CaptionLength(WindowHandle window) override;
    std::optional<Text> CaptionText(WindowHandle window, std::int32_t capacity) override;
    bool SendCopyData(WindowHandle window, std::uint32_t kind,
                      std::span<const std::byte> data) override;
};

}  // namespace tunewick::platform
