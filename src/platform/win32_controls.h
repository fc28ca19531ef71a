#pragma once

#include <windows.h>

#include <span>

#include "core/text.h"
#include "platform/wide_text.h"
#include "ui/controls.h"

namespace tunewick::platform {

// WM_GETTEXT / WM_SETTEXT of any window, as UTF-16 text. (Not SetWindowText: the UNICODE
// macro would rename it.)
Text WindowText(HWND window);
void ReplaceWindowText(HWND window, TextView text);

// The adapters that bind the form logic's control interfaces to real controls. Each keeps
// only the control's handle: all state stays in the control, and a control that is gone
// reads as empty and ignores writes.

// A command button or a label: its caption is its window text.
class Win32Caption final : public CaptionedControl {
  public:
    explicit Win32Caption(HWND control) : control_(control) {}
    Text Caption() const override;
    void SetCaption(TextView caption) override;

  private:
    HWND control_;
};

class Win32TextBox final : public TextBox {
  public:
    explicit Win32TextBox(HWND control) : control_(control) {}
    Text Value() const override;
    void SetValue(TextView text) override;

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

// One option button of an array whose members exclude each other: selecting one clears the
// others, as a click does.
class Win32OptionButton final : public OptionButton {
  public:
    Win32OptionButton(std::span<const HWND> group, std::size_t index)
        : group_(group), index_(index) {}
    bool Selected() const override;
    void SetSelected(bool selected) override;

  private:
    std::span<const HWND> group_;
    std::size_t index_;
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

// Paints an owner-drawn command button: white face, black caption, the platform's 3D edges.
void DrawCommandButton(const DRAWITEMSTRUCT& item);

// DM_GETDEFID answer that makes Enter press the focused owner-drawn command button, as Enter
// does on any focused button of a form; 0 when the focus is elsewhere.
LRESULT FocusedCommandButtonAsDefault(HWND window);

// WM_CTLCOLOR* answer for white text on black.
HBRUSH WhiteOnBlack(HDC dc);

// Shows `text` as the tool tip of `tool`; the tip window belongs to `owner` and goes with it.
HWND AddToolTip(HWND owner, HWND tool, TextView text);

// Turns visual styles off for one control, so that it draws in the colours its parent's
// WM_CTLCOLOR* answer gives (themed buttons draw their text in the theme's colour).
void UseClassicLook(HWND control);

}  // namespace tunewick::platform
