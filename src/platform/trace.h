#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <string>
#include <string_view>

#include "core/text.h"

namespace tunewick::platform {

// The system's words for `error` (FormatMessageW), without the line break they end in: "Access
// is denied." Empty for no error; "Error N." where the system has no words for it.
Text SystemMessage(DWORD error);

// A failure of the platform, as one line for a debug-output viewer (OutputDebugStringW):
// "Tunewick: <operation> failed: <the system's text for error>". The program keeps no log file;
// this is how a user can see why, say, the tray icon did not appear. The caller takes
// GetLastError() before it builds `operation`, which may change it.
void TraceFailure(std::wstring_view operation, DWORD error);
// What a user would want to know when the program does not do what they expect, though
// nothing failed: "Tunewick: <text>".
void TraceNote(std::wstring_view text);

// An exception that reached a window procedure; `what` is null for one of unknown type.
void TraceException(std::wstring_view where, const char* what);

// Runs a window procedure's handler. No exception may unwind through the system's frames (on
// i686 the program would simply end): one stops here, leaves a trace, and the message gets 0.
template <class Handler>
LRESULT StopExceptions(std::wstring_view where, Handler&& handler) noexcept {
    try {
        return handler();
    } catch (const std::exception& error) {
        TraceException(where, error.what());
    } catch (...) {
        TraceException(where, nullptr);
    }
    return 0;
}

// Where the lines go: OutputDebugStringW, or what a test puts there instead. Returns the
// previous sink.
using TraceSink = std::function<void(const std::wstring& line)>;
TraceSink SetTraceSink(TraceSink sink);

}  // namespace tunewick::platform
