#pragma once

#include <windows.h>

#include <functional>

#include "core/text.h"
#include "ui/controls.h"

namespace tunewick::platform {

// The MessageBoxW style of each kind of box: an error is a stop sign and OK (16), a warning
// an exclamation mark and OK (48), a question Yes and No without an icon (4).
UINT MessageBoxStyle(BoxKind kind);

// Modal message boxes (MessageBoxW) owned by whatever window `owner` names at the time.
class Win32MessageBoxes final : public MessageBoxes {
  public:
    explicit Win32MessageBoxes(std::function<HWND()> owner) : owner_(std::move(owner)) {}
    BoxAnswer Show(TextView text, BoxKind kind, TextView title) override;

  private:
    std::function<HWND()> owner_;
};

}  // namespace tunewick::platform
