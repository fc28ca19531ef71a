#pragma once

// Move-only owners for Win32 handles, files, GDI objects and a window's device context, and the
// selection of a GDI object into a device context for a scope. A copy could close a handle
// twice, so none copies.

#include <windows.h>

#include <utility>

namespace tunewick::platform {

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

// A file from CreateFileW, which reports failure as INVALID_HANDLE_VALUE, not null.
struct FileHandle {
    using Value = HANDLE;
    static Value Null() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Value value) noexcept { CloseHandle(value); }
};
using UniqueFile = UniqueResource<FileHandle>;

// A menu attached to a window is destroyed with it: release it when attaching.
using UniqueMenu = UniqueResource<ClosedBy<HMENU, &DestroyMenu>>;
// Stock fonts must not be owned.
using UniqueFont = UniqueResource<ClosedBy<HFONT, &DeleteObject>>;
using UniqueModule = UniqueResource<ClosedBy<HMODULE, &FreeLibrary>>;
// Kernel objects (processes, threads, mutexes, jobs): the null handle owns nothing.
using UniqueKernelHandle = UniqueResource<ClosedBy<HANDLE, &CloseHandle>>;

// A window's device context from GetDC (null: the screen's), released to the same window.
class [[nodiscard]] UniqueWindowDc {
  public:
    explicit UniqueWindowDc(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
    UniqueWindowDc(UniqueWindowDc&& other) noexcept
        : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
    UniqueWindowDc& operator=(UniqueWindowDc&& other) noexcept {
        if (this != &other) {
            Release();
            window_ = other.window_;
            dc_ = std::exchange(other.dc_, nullptr);
        }
        return *this;
    }
    UniqueWindowDc(const UniqueWindowDc&) = delete;
    UniqueWindowDc& operator=(const UniqueWindowDc&) = delete;
    ~UniqueWindowDc() { Release(); }

    HDC Get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

  private:
    void Release() noexcept {
        if (dc_ != nullptr) {
            ReleaseDC(window_, std::exchange(dc_, nullptr));
        }
    }

    HWND window_;
    HDC dc_;
};

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
