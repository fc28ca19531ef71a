#pragma once

#include <windows.h>

#include <utility>

#include "platform/handles.h"

namespace tunewick::platform {

// The mutex the running Tunewick of a session holds while its main window is open. "Local\"
// puts the name into the namespace of the user's log-on session (each user of a
// fast-user-switched or remote desktop machine has a session of their own, from Windows 2000
// and XP on); the GUID, made for Tunewick alone, keeps it apart from every other program's
// names.
inline constexpr wchar_t kInstanceMutexName[] =
    L"Local\\Tunewick-32ac16a3-8273-4001-8351-5ef82cde8805";

// The message a second start sends to the running Tunewick's main window: show the window, as
// the tray menu's "Show" does, and bring it to the front. The same number in every process, and
// let through from processes of lower integrity to an elevated Tunewick.
UINT ShowRunningInstanceMessage();
// The main window's answer when it has shown itself; any other answer (the 0 of a window that
// is closing) is a refusal.
inline constexpr LRESULT kShownAnswer = 1;

// A start's claim to be the one Tunewick of the user's session, held from before any window or
// setting is touched until the main window closes.
class SingleInstance {
  public:
    // Claims the session for this start (DecideStart in ui/session_start.h): when another
    // Tunewick holds it, asks that one's main window (of the class `mainWindowClass`) to show
    // itself, and returns a claim that says this start is not to run once it has. One that shows
    // no window (it is starting, or closing it) is waited for, a few seconds at most: this start
    // runs if the other ends meanwhile.
    static SingleInstance Claim(const wchar_t* mainWindowClass);

    // False when another Tunewick runs in this session: this start ends at once, having sent,
    // written and changed nothing.
    bool ShouldRun() const { return shouldRun_; }

    // The main window has closed: the session is free for the next start, though this program
    // may go on with its options dialog. On the thread that claimed it.
    void GiveUp() { mutex_.Reset(); }

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
