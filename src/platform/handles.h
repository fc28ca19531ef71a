#pragma once

// Move-only owners for Win32 handles, files, GDI objects and the screen's device context, the
// selection of a GDI object into a device context for a scope, and the form logic's window
// handles as HWNDs. A copy could close a handle twice, so none copies.

#include <windows.h>

#include <cstdint>
#include <utility>

#include "core/window_system.h"

namespace tunewick::platform {

inline HWND ToHwnd(WindowHandle window) {
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window));
}
inline WindowHandle FromHwnd(HWND window) {
    return static_cast<WindowHandle>(reinterpret_cast<std::uintptr_t>(window));
}

// Traits: `Value` (the handle type), `Null()` (the value that owns nothing) and
// `Close(Value)` (called only for a value other than Null()).
template <typename Traits>
class UniqueResource {
  public:
    using Value = typename Traits::Value;

    UniqueResource() noexcept = default;
    explicit UniqueResource(Value value) noexcept : value_(value) {}
    UniqueResource(UniqueResource&& other) noexcept : value_(other.Release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    ~UniqueResource() { Reset(); }

    Value Get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Traits::Null(); }

    // Gives up ownership without closing.
    Value Release() noexcept { return std::exchange(value_, Traits::Null()); }

    void Reset(Value value = Traits::Null()) noexcept {
        const Value old = std::exchange(value_, value);
        if (old != Traits::Null()) {
            Traits::Close(old);
        }
    }

  private:
    Value value_ = Traits::Null();
};

// Traits for a handle of type `T` that null leaves unowned and `Free` closes.
template <typename T, auto Free>
struct ClosedBy {
    using Value = T;
    static Value Null() noexcept { return nullptr; }
    static void Close(Value value) noexcept { Free(value); }
};

// Traits for a handle that `Free` closes and INVALID_HANDLE_VALUE, not null, leaves unowned.
template <auto Free>
struct ClosedByUnlessInvalid {
    using Value = HANDLE;
    static Value Null() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Value value) noexcept { Free(value); }
};
// CreateFileW and FindFirstFileW report failure as INVALID_HANDLE_VALUE.
using UniqueFile = UniqueResource<ClosedByUnlessInvalid<&CloseHandle>>;
using UniqueSearch = UniqueResource<ClosedByUnlessInvalid<&FindClose>>;

// A menu attached to a window is destroyed with it: release it when attaching.
using UniqueMenu = UniqueResource<ClosedBy<HMENU, &DestroyMenu>>;
// Stock fonts must not be owned.
using UniqueFont = UniqueResource<ClosedBy<HFONT, &DeleteObject>>;
using UniqueBrush = UniqueResource<ClosedBy<HBRUSH, &DeleteObject>>;
using UniqueModule = UniqueResource<ClosedBy<HMODULE, &FreeLibrary>>;
// An icon loaded without LR_SHARED; a shared one must not be owned.
using UniqueIcon = UniqueResource<ClosedBy<HICON, &DestroyIcon>>;
// Kernel objects (processes, threads, mutexes, jobs): the null handle owns nothing.
using UniqueKernelHandle = UniqueResource<ClosedBy<HANDLE, &CloseHandle>>;

// The screen's device context from GetDC(nullptr).
inline void ReleaseScreenDc(HDC dc) {
    ReleaseDC(nullptr, dc);
}
using UniqueScreenDc = UniqueResource<ClosedBy<HDC, &ReleaseScreenDc>>;

// Selects `object` into `dc` for the scope, and puts back what it replaced; a null object
// selects nothing.
class [[nodiscard]] ScopedSelection {
  public:
    ScopedSelection(HDC dc, HGDIOBJ object) noexcept
        : dc_(dc), previous_(object != nullptr ? SelectObject(dc, object) : nullptr) {}
    ScopedSelection(const ScopedSelection&) = delete;
    ScopedSelection& operator=(const ScopedSelection&) = delete;
    ~ScopedSelection() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) {
            SelectObject(dc_, previous_);
        }
    }

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace tunewick::platform
