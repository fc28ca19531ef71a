#pragma once

#include <windows.h>

#include <utility>

#include "platform/handles.h"

namespace tunewick::platform {

// The mutex the running Tunewick of a session holds while its main window is open. "Local\"
// puts the name into the user's log-on session (with fast user switching or a remote desktop,
// each user has one); the GUID, made for Tunewick alone, keeps it apart from other programs'.
inline constexpr wchar_t kInstanceMutexName[] =
    L"Local\\Tunewick-32ac16a3-8273-4001-8351-5ef82cde8805";

// The message a second start sends to the running Tunewick's main window: show the window, as
// the tray menu's "Show" does, and bring it to the front. The same number in every process, and
// let through from processes of lower integrity to an elevated Tunewick.
UINT ShowRunningInstanceMessage();
// The main window's answer when it has shown itself; any other answer (the 0 of a window that
// is closing) is a refusal.
inline constexpr LRESULT kShownAnswer = 1;

// Ownership is given back before the handle closes, so a start waiting for this one finds the
// mutex released rather than abandoned.
inline void ReleaseAndCloseMutex(HANDLE mutex) {
    ReleaseMutex(mutex);
    CloseHandle(mutex);
}

// A start's claim to be the one Tunewick of the user's session, held from before any window or
// setting is touched until the main window closes.
class SingleInstance {
  public:
    // Claims the session for this start as DecideStart (ui/session_start.h) decides; the
    // running Tunewick's main window is found by its class, `mainWindowClass`.
    static SingleInstance Claim(const wchar_t* mainWindowClass);

    // False when another Tunewick runs in this session: this start ends at once, having sent,
    // written and changed nothing.
    bool ShouldRun() const { return shouldRun_; }

    // The main window has closed: the session is free for the next start, though this program
    // may go on with its options dialog. On the thread that claimed it.
    void GiveUp() { mutex_.Reset(); }

  private:
    using OwnedMutex = UniqueResource<ClosedBy<HANDLE, &ReleaseAndCloseMutex>>;

    SingleInstance(OwnedMutex mutex, bool shouldRun)
        : mutex_(std::move(mutex)), shouldRun_(shouldRun) {}

    OwnedMutex mutex_;
    bool shouldRun_;
};

}  // namespace tunewick::platform
