#pragma once

#include <windows.h>

#include <utility>

#include "platform/handles.h"

namespace tunewick::platform {

// The mutex the running Tunewick of a session holds. "Local\" puts the name into the
// namespace of the user's log-on session (each user of a fast-user-switched or remote desktop
// machine has a session of their own, from Windows 2000 and XP on); the GUID, made for
// Tunewick alone, keeps it apart from every other program's names.
inline constexpr wchar_t kInstanceMutexName[] =
    L"Local\\Tunewick-32ac16a3-8273-4001-8351-5ef82cde8805";

// The message a second start posts to the running Tunewick's main window: show the window, as
// the tray menu's "Show" does, and bring it to the front. The same number in every process.
UINT ShowRunningInstanceMessage();

// A start's claim to be the one Tunewick of the user's session, held from before any window or
// setting is touched until the program ends.
class SingleInstance {
  public:
    // Claims the session for this start. When another Tunewick holds it, asks that one's main
    // window (of the class `mainWindowClass`) to come forward, and returns a claim that says
    // this start is not to run. One that has no main window yet (it is starting) or no more
    // (it is ending) is waited for, a few seconds at most: its window is asked once there is
    // one, and this start runs once the other has ended.
    static SingleInstance Claim(const wchar_t* mainWindowClass);

    // False when another Tunewick runs in this session: this start ends at once, having sent,
    // written and changed nothing.
    bool ShouldRun() const { return shouldRun_; }

  private:
    // Ownership is given back before the handle closes, so a start waiting for this one finds
    // the mutex released rather than abandoned.
    struct OwnedMutexTraits {
        using Value = HANDLE;
        static Value Null() noexcept { return nullptr; }
        static void Close(Value mutex) noexcept {
            ReleaseMutex(mutex);
            CloseHandle(mutex);
        }
    };
    using OwnedMutex = UniqueResource<OwnedMutexTraits>;

    SingleInstance(OwnedMutex mutex, bool shouldRun)
        : mutex_(std::move(mutex)), shouldRun_(shouldRun) {}

    OwnedMutex mutex_;
    bool shouldRun_;
};

}  // namespace tunewick::platform
