#pragma once

#include <windows.h>

#include <functional>

#include "core/text.h"
#include "ui/controls.h"

namespace tunewick::platform {

// Modal message boxes (MessageBoxW) owned by whatever window `owner` names at the time.
class Win32MessageBoxes final : public MessageBoxes {
  public:
    explicit Win32MessageBoxes(std::function<HWND()> owner) : owner_(std::move(owner)) {}
    BoxAnswer Show(TextView text, BoxKind kind, TextView title) override;

  private:
    std::function<HWND()> owner_;
};

}  // namespace tunewick::platform
