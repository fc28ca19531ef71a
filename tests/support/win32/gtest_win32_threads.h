#pragma once

// Included before GoogleTest's own headers in every Windows test. The cross compiler's win32
// thread model has no std::mutex or std::condition_variable, which GoogleTest's Notification
// (used only to start the threads of its own thread tests) is built on; this one waits on an
// event of the platform instead.

#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
  public:
    Notification() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;
    ~Notification() { CloseHandle(event_); }

    void Notify() { SetEvent(event_); }
    void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

  private:
    HANDLE event_;
};

}  // namespace testing::internal
