#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "core/text.h"

namespace tunewick {

// A top-level window of another program. Zero means "no window".
enum class WindowHandle : std::uintptr_t { None = 0 };

// The window functions the now-playing channel and the player sources need. The Win32 layer
// implements them with bounded waits, so a hung peer can never freeze the caller: a call
// that did not complete in time reports so instead of blocking.
class WindowSystem {
  public:
    virtual ~WindowSystem() = default;

    // The next top-level window of the class after `after` (None: from the start of the
    // platform's list), or None when there is no further one.
    virtual WindowHandle FindNextTopLevel(TextView className, WindowHandle after) = 0;

    // The next message-only window of the class (a window with no place on the desktop, made
    // only to receive messages) after `after` (None: from the start), or None.
    virtual WindowHandle FindNextMessageOnly(TextView className, WindowHandle after) = 0;

    // WM_GETTEXTLENGTH: the caption's length; 0 for None. nullopt when the window did not
    // answer in time.
    virtual std::optional<std::int32_t> CaptionLength(WindowHandle window) = 0;

    // WM_GETTEXT into a buffer of `capacity` code units (terminating NUL included): the text
    // the window copied. nullopt when the window did not answer in time.
    virtual std::optional<Text> CaptionText(WindowHandle window, std::int32_t capacity) = 0;

    // WM_COPYDATA with the given kind and bytes. False when the window did not take the
    // message in time; the data need only live for the call.
    virtual bool SendCopyData(WindowHandle window, std::uint32_t kind,
                              std::span<const std::byte> data) = 0;

    // From now on, the waits on other programs end together within `total`: each waits at most
    // what is left of it, and once none is left a message is still handed over but not waited
    // for. A window system whose calls never wait has nothing to do.
    virtual void LimitWaitsTogether(std::chrono::milliseconds total) { static_cast<void>(total); }
};

}  // namespace tunewick
