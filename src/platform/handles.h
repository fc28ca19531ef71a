#pragma once

// Move-only owners for Win32 handles and GDI objects, and a scope guard for one-off clean-ups
// (a timer to kill, a tray icon to delete). A copy could close a handle twice, so none copies.

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

namespace handle_traits {

// DestroyWindow works only on the thread that created the window.
struct Window {
    using Value = HWND;
    static Value Null() noexcept { return nullptr; }
    static void Close(Value value) noexcept { DestroyWindow(value); }
};

struct Icon {
    using Value = HICON;
    static Value Null() noexcept { return nullptr; }
    static void Close(Value value) noexcept { DestroyIcon(value); }
};

// A menu attached to a window is destroyed with it: release it when attaching.
struct Menu {
    using Value = HMENU;
    static Value Null() noexcept { return nullptr; }
    static void Close(Value value) noexcept { DestroyMenu(value); }
};

// Fonts, brushes, pens, bitmaps. Stock objects must not be owned.
template <typename T>
struct GdiObject {
    using Value = T;
    static Value Null() noexcept { return nullptr; }
    static void Close(Value value) noexcept { DeleteObject(value); }
};

// Processes, threads, events, jobs: the null handle owns nothing.
struct Kernel {
    using Value = HANDLE;
    static Value Null() noexcept { return nullptr; }
    static void Close(Value value) noexcept { CloseHandle(value); }
};

// CreateFileW reports failure as INVALID_HANDLE_VALUE, not null.
struct File {
    using Value = HANDLE;
    static Value Null() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Value value) noexcept { CloseHandle(value); }
};

struct Module {
    using Value = HMODULE;
    static Value Null() noexcept { return nullptr; }
    static void Close(Value value) noexcept { FreeLibrary(value); }
};

}  // namespace handle_traits

using UniqueWindow = UniqueResource<handle_traits::Window>;
using UniqueIcon = UniqueResource<handle_traits::Icon>;
using UniqueMenu = UniqueResource<handle_traits::Menu>;
using UniqueFont = UniqueResource<handle_traits::GdiObject<HFONT>>;
using UniqueBrush = UniqueResource<handle_traits::GdiObject<HBRUSH>>;
using UniquePen = UniqueResource<handle_traits::GdiObject<HPEN>>;
using UniqueBitmap = UniqueResource<handle_traits::GdiObject<HBITMAP>>;
using UniqueKernelHandle = UniqueResource<handle_traits::Kernel>;
using UniqueFile = UniqueResource<handle_traits::File>;
using UniqueModule = UniqueResource<handle_traits::Module>;

// Runs `cleanup` when the scope ends, unless dismissed.
template <typename F>
class [[nodiscard]] ScopeExit {
  public:
    explicit ScopeExit(F cleanup) noexcept : cleanup_(std::move(cleanup)) {}
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    ~ScopeExit() {
        if (armed_) {
            cleanup_();
        }
    }
    void Dismiss() noexcept { armed_ = false; }

  private:
    F cleanup_;
    bool armed_ = true;
};

}  // namespace tunewick::platform
