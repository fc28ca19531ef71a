#pragma once

#include <windows.h>

#include "platform/layout.h"

namespace tunewick::platform {

// A frame: a container window that draws an etched border with its caption, in the colours its
// parent answers to WM_CTLCOLORSTATIC (as for a group box), and hands its controls'
// notifications up to its parent, so the form sees them as its own.
// Dialog navigation (IsDialogMessage) steps into it like into a dialog. One 1 or 2 pixels high
// is a rule. A layout table makes one with these.
inline constexpr wchar_t kFrameClassName[] = L"TunewickFrame";
inline constexpr DWORD kFrameStyle = kChildStyle;
inline constexpr DWORD kFrameExStyle = WS_EX_CONTROLPARENT;

// Registers the frame's class once per process, before any window is made that holds a frame;
// false, with a trace, when the platform refuses.
bool RegisterFrameClass();

}  // namespace tunewick::platform
