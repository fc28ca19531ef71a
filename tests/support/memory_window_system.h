#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "core/window_system.h"

namespace tunewick::testing {

// Top-level windows held in memory, listed in the order they were opened. Records every
// copy-data block it is sent, so tests can compare the bytes.
class MemoryWindowSystem : public WindowSystem {
  public:
    struct Delivery {
        WindowHandle window;
        std::uint32_t kind;
        std::vector<std::byte> data;
    };

    WindowHandle Open(TextView className, TextView caption = {});
    // A message-only window: found only by FindNextMessageOnly.
    WindowHandle OpenMessageOnly(TextView className);
    void Close(WindowHandle window);
    void SetCaption(WindowHandle window, TextView caption);
    // The window stops answering: every call to it times out.
    void SetHung(WindowHandle window, bool hung);
    // The window reports this caption length whatever its caption (to reach the overflow).
    void SetReportedLength(WindowHandle window, std::int32_t length);

    // Where a caller waits on another program, and its window's other handlers may run
    // (see "Waits" in ui/main_form.h).
    enum class Wait { CaptionRead, CopyDataSend };
    // Runs `action` once, inside the next call of that kind: in a caption read before the
    // caption is returned, in a send after the receiver has taken the block.
    void DuringNext(Wait wait, std::function<void()> action);

    // Whether each delivery is kept for Deliveries(); they are counted either way.
    void KeepDeliveries(bool keep) { keepDeliveries_ = keep; }
    std::size_t DeliveryCount() const { return deliveryCount_; }
    const std::vector<Delivery>& Deliveries() const { return deliveries_; }
    void ClearDeliveries() { deliveries_.clear(); }
    // Every delivery's bytes decoded back to text (closing NUL included).
    std::vector<Text> DeliveredRecords() const;

    WindowHandle FindNextTopLevel(TextView className, WindowHandle after) override;
    WindowHandle FindNextMessageOnly(TextView className, WindowHandle after) override;
    std::optional<std::int32_t> CaptionLength(WindowHandle window) override;
    std::optional<Text> CaptionText(WindowHandle window, std::int32_t capacity) override;
    bool SendCopyData(WindowHandle window, std::uint32_t kind,
                      std::span<const std::byte> data) override;

    int FindCalls() const { return findCalls_; }
    // The largest buffer a caption read has asked for, in code units.
    std::int32_t LargestCaptionCapacity() const { return largestCapacity_; }

  private:
    void RunWaiting(Wait wait);
    WindowHandle FindNext(TextView className, WindowHandle after, bool messageOnly);

    struct Window {
        WindowHandle handle;
        Text className;
        Text caption;
        bool hung = false;
        bool messageOnly = false;
        std::optional<std::int32_t> reportedLength;
    };

    Window* Lookup(WindowHandle handle);

    std::vector<Window> windows_;
    std::uintptr_t nextHandle_ = 0x10020;
    std::vector<Delivery> deliveries_;
    bool keepDeliveries_ = true;
    std::size_t deliveryCount_ = 0;
    int findCalls_ = 0;
    std::int32_t largestCapacity_ = 0;
    std::map<Wait, std::function<void()>> duringNext_;
};

}  // namespace tunewick::testing
