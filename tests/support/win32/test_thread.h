#pragma once

// A thread of a test program, on the platform's own threads: the cross compiler's win32
// thread model, which keeps the shipped program loadable on Windows XP, has no std::thread.

#include <windows.h>

#include <functional>
#include <memory>
#include <utility>

namespace tunewick::e2e {

class TestThread {
  public:
    explicit TestThread(std::function<void()> body)
        : body_(std::make_unique<std::function<void()>>(std::move(body))),
          handle_(CreateThread(nullptr, 0, &TestThread::Run, body_.get(), 0, nullptr)) {}
    TestThread(const TestThread&) = delete;
    TestThread& operator=(const TestThread&) = delete;
    ~TestThread() { Join(); }

    // True when the thread was started.
    explicit operator bool() const { return handle_ != nullptr; }

    void Join() {
        if (handle_ != nullptr) {
            WaitForSingleObject(handle_, INFINITE);
            CloseHandle(handle_);
            handle_ = nullptr;
        }
    }

  private:
    // A WINAPI function: on i686 a lambda has the wrong calling convention for CreateThread.
    static DWORD WINAPI Run(void* body) {
        (*static_cast<std::function<void()>*>(body))();
        return 0;
    }

    std::unique_ptr<std::function<void()>> body_;
    HANDLE handle_;
};

}  // namespace tunewick::e2e
