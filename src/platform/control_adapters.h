#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <utility>

#include "core/text.h"
#include "ui/controls.h"

namespace tunewick::platform {

// WM_GETTEXT / WM_SETTEXT of any window, as UTF-16 text. (Not SetWindowText: the UNICODE
// macro would rename it.)
Text WindowText(HWND window);
void ReplaceWindowText(HWND window, TextView text);

// The adapters that bind the form logic's control interfaces to real controls. Each keeps
// only the control's handle: all state stays in the control, and a control that is gone
// reads as empty and ignores writes.

// One adapter for each id of a table, made by `make`, in the table's order.
template <class Adapter, class Id, std::size_t N, class Make>
std::array<Adapter, N> AdaptersFor(const std::array<Id, N>& ids, Make make) {
    return [&]<std::size_t... I>(std::index_sequence<I...>) {
        return std::array<Adapter, N>{make(ids[I])...};
    }
    (std::make_index_sequence<N>{});
}

// A control whose state is its window text: a command button's or a label's caption, or a
// text box's value.
class Win32Text final : public CaptionedControl, public TextBox {
  public:
    explicit Win32Text(HWND control) : control_(control) {}
    Text Caption() const override { return WindowText(control_); }
    void SetCaption(TextView caption) override;
    Text Value() const override { return WindowText(control_); }
    void SetValue(TextView text) override { ReplaceWindowText(control_, text); }

  private:
    HWND control_;
};

// A BS_3STATE button, so that it can hold 2 (greyed); the window turns a click into
// ClickCheckBox, since the platform's auto check box would cycle through the greyed state.
class Win32CheckBox final : public CheckBox {
  public:
    explicit Win32CheckBox(HWND control) : control_(control) {}
    int Value() const override;
    void SetValue(int value) override;

  private:
    HWND control_;
};

// What a click does to a check box: checked → unchecked, unchecked or greyed → checked.
void ClickCheckBox(HWND checkBox);

// One option button of a group whose members exclude each other, the ids `firstId` to
// `lastId` of one parent: selecting one clears the others, as a click does.
class Win32OptionButton final : public OptionButton {
  public:
    Win32OptionButton(HWND control, int firstId, int lastId)
        : control_(control), firstId_(firstId), lastId_(lastId) {}
    bool Selected() const override;
    void SetSelected(bool selected) override;

  private:
    HWND control_;
    int firstId_;
    int lastId_;
};

// A window timer (SetTimer/KillTimer): WM_TIMER with `id` reaches the owner every interval
// while enabled. The timer dies with its window at the latest.
class Win32Timer final : public Timer {
  public:
    Win32Timer(HWND owner, UINT_PTR id, UINT intervalMs)
        : owner_(owner), id_(id), intervalMs_(intervalMs) {}
    Win32Timer(const Win32Timer&) = delete;
    Win32Timer& operator=(const Win32Timer&) = delete;
    ~Win32Timer() override;

    bool Enabled() const override { return enabled_; }
    void SetEnabled(bool enabled) override;

  private:
    HWND owner_;
    UINT_PTR id_;
    UINT intervalMs_;
    bool enabled_ = false;
};

}  // namespace tunewick::platform
