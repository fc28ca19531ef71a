#pragma once

// Move-only owners for Win32 handles and GDI objects, and the selection of a GDI object into a
// device context for a scope. A copy could close a handle twice, so none copies.

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

// A menu attached to a window is destroyed with it: release it when attaching.
struct Menu {
    using Value = HMENU;
    static Value Null() noexcept { return nullptr; }
    static void Close(Value value) noexcept { DestroyMenu(value); }
};

// Fonts and other GDI objects. Stock objects must not be owned.
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

using UniqueMenu = UniqueResource<handle_traits::Menu>;
using UniqueFont = UniqueResource<handle_traits::GdiObject<HFONT>>;
using UniqueKernelHandle = UniqueResource<handle_traits::Kernel>;
using UniqueFile = UniqueResource<handle_traits::File>;
using UniqueModule = UniqueResource<handle_traits::Module>;

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
