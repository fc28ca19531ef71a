#pragma once

#include <functional>

#include "core/text.h"

namespace tunewick {

// The control state the form logic reads and writes. The Win32 layer binds each to a real
// control; the native tests bind them to plain in-memory objects. All state lives here, not
// in the forms.

class CaptionedControl {
  public:
    virtual ~CaptionedControl() = default;
    virtual Text Caption() const = 0;
    virtual void SetCaption(TextView caption) = 0;
};

using CommandButton = CaptionedControl;
using Label = CaptionedControl;

class TextBox {
  public:
    virtual ~TextBox() = default;
    virtual Text Value() const = 0;
    virtual void SetValue(TextView text) = 0;
};

// 0 unchecked, 1 checked, 2 greyed.
class CheckBox {
  public:
    virtual ~CheckBox() = default;
    virtual int Value() const = 0;
    virtual void SetValue(int value) = 0;
};

class OptionButton {
  public:
    virtual ~OptionButton() = default;
    virtual bool Selected() const = 0;
    virtual void SetSelected(bool selected) = 0;
};

// A timer of the window: while enabled it raises its tick every interval. Enabling a timer
// that runs already changes nothing; enabling a stopped one starts a fresh interval.
class Timer {
  public:
    virtual ~Timer() = default;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
};

// What a message box says it is. The platform gives each kind its own icon and buttons: an
// error a stop sign and OK, a warning an exclamation mark and OK, a question Yes and No.
enum class BoxKind { Error, Warning, Question };

// The button that closed a box. A box that could not be shown reads as Cancel.
enum class BoxAnswer { Ok, Cancel, Yes, No };

// Modal message boxes: Show returns when the user has answered.
class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    virtual BoxAnswer Show(TextView text, BoxKind kind, TextView title) = 0;
};

// A window the main window opens without waiting for it, and without an owner, so that it stays
// on screen when the main window goes to the tray. One instance: Show opens it, or brings the
// open one forward as it is.
class SecondaryWindow {
  public:
    virtual ~SecondaryWindow() = default;
    virtual void Show() = 0;
    virtual void Close() = 0;  // nothing when it is not open
};

}  // namespace tunewick
