#include "memory_window_system.h"

#include <algorithm>

namespace tunewick::testing {

WindowHandle MemoryWindowSystem::Open(TextView className, TextView caption) {
    const auto handle = static_cast<WindowHandle>(nextHandle_);
    nextHandle_ += 0x10004;
    windows_.push_back({handle, Text(className), Text(caption)});
    return handle;
}

WindowHandle MemoryWindowSystem::OpenMessageOnly(TextView className) {
    const WindowHandle handle = Open(className);
    windows_.back().messageOnly = true;
    return handle;
}

void MemoryWindowSystem::Close(WindowHandle window) {
    std::erase_if(windows_, [window](const Window& w) { return w.handle == window; });
}

void MemoryWindowSystem::SetCaption(WindowHandle window, TextView caption) {
    if (Window* w = Lookup(window)) {
        w->caption = Text(caption);
    }
}

void MemoryWindowSystem::SetHung(WindowHandle window, bool hung) {
    if (Window* w = Lookup(window)) {
        w->hung = hung;
    }
}

void MemoryWindowSystem::SetReportedLength(WindowHandle window, std::int32_t length) {
    if (Window* w = Lookup(window)) {
        w->reportedLength = length;
    }
}

std::vector<Text> MemoryWindowSystem::DeliveredRecords() const {
    std::vector<Text> records;
    for (const Delivery& d : deliveries_) {
        Text text;
        for (std::size_t i = 0; i + 1 < d.data.size(); i += 2) {
            text += static_cast<char16_t>(std::to_integer<unsigned>(d.data[i]) |
                                          (std::to_integer<unsigned>(d.data[i + 1]) << 8));
        }
        records.push_back(std::move(text));
    }
    return records;
}

MemoryWindowSystem::Window* MemoryWindowSystem::Lookup(WindowHandle handle) {
    auto it = std::find_if(windows_.begin(), windows_.end(),
                           [handle](const Window& w) { return w.handle == handle; });
    return it == windows_.end() ? nullptr : &*it;
}

WindowHandle MemoryWindowSystem::FindNextTopLevel(TextView className, WindowHandle after) {
    return FindNext(className, after, false);
}

WindowHandle MemoryWindowSystem::FindNextMessageOnly(TextView className, WindowHandle after) {
    return FindNext(className, after, true);
}

WindowHandle MemoryWindowSystem::FindNext(TextView className, WindowHandle after,
                                          bool messageOnly) {
    ++findCalls_;
    auto it = windows_.begin();
    if (after != WindowHandle::None) {
        it = std::find_if(windows_.begin(), windows_.end(),
                          [after](const Window& w) { return w.handle == after; });
        if (it == windows_.end()) {
            return WindowHandle::None;  // as the platform: an unknown "after" finds nothing
        }
        ++it;
    }
    for (; it != windows_.end(); ++it) {
        // Class names are matched without regard to case, as the platform does.
        if (it->messageOnly == messageOnly && LowerAscii(it->className) == LowerAscii(className)) {
            return it->handle;
        }
    }
    return WindowHandle::None;
}

void MemoryWindowSystem::DuringNext(Wait wait, std::function<void()> action) {
    duringNext_[wait] = std::move(action);
}

void MemoryWindowSystem::RunWaiting(Wait wait) {
    const auto found = duringNext_.find(wait);
    if (found != duringNext_.end()) {
        const std::function<void()> action = std::move(found->second);
        duringNext_.erase(found);
        action();
    }
}

std::optional<std::int32_t> MemoryWindowSystem::CaptionLength(WindowHandle window) {
    if (window == WindowHandle::None) {
        return 0;
    }
    Window* w = Lookup(window);
    if (w == nullptr) {
        return 0;
    }
    if (w->hung) {
        return std::nullopt;
    }
    if (w->reportedLength) {
        return *w->reportedLength;
    }
    return static_cast<std::int32_t>(w->caption.size());
}

std::optional<Text> MemoryWindowSystem::CaptionText(WindowHandle window, std::int32_t capacity) {
    largestCapacity_ = std::max(largestCapacity_, capacity);
    Window* w = Lookup(window);
    if (w == nullptr || capacity <= 0) {
        return Text();
    }
    if (w->hung) {
        return std::nullopt;
    }
    const auto room = static_cast<std::size_t>(capacity - 1);
    Text text = w->caption.substr(0, std::min(room, w->caption.size()));
    RunWaiting(Wait::CaptionRead);
    return text;
}

bool MemoryWindowSystem::SendCopyData(WindowHandle window, std::uint32_t kind,
                                      std::span<const std::byte> data) {
    Window* w = Lookup(window);
    if (w == nullptr || w->hung) {
        return false;
    }
    ++deliveryCount_;
    if (keepDeliveries_) {
        deliveries_.push_back({window, kind, {data.begin(), data.end()}});
    }
    RunWaiting(Wait::CopyDataSend);
    return true;
}

}  // namespace tunewick::testing
