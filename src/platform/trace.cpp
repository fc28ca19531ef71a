#include "platform/trace.h"

#include <iterator>
#include <utility>

#include "platform/wide_text.h"

namespace tunewick::platform {
namespace {

void ToDebugger(const std::wstring& line) {
    OutputDebugStringW(line.c_str());
}

TraceSink& Sink() {
    static TraceSink sink = &ToDebugger;
    return sink;
}

void Trace(std::wstring line) {
    line += L'\n';
    Sink()(line);
}

}  // namespace

Text SystemMessage(DWORD error) {
    if (error == ERROR_SUCCESS) {
        return {};
    }
    wchar_t text[512];
    DWORD length =
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                       0, text, static_cast<DWORD>(std::size(text)), nullptr);
    while (length > 0 &&
           (text[length - 1] == L'\r' || text[length - 1] == L'\n' || text[length - 1] == L' ')) {
        --length;
    }
    if (length == 0) {
        return FromWide(L"Error " + Decimal(error) + L".");
    }
    return FromWide(std::wstring_view(text, length));
}

void TraceFailure(std::wstring_view operation, DWORD error) {
    const Text reason = SystemMessage(error);
    Trace(L"Tunewick: " + std::wstring(operation) + L" failed: " +
          (reason.empty() ? std::wstring(L"no reason given") : ToWide(reason)));
}

void TraceNote(std::wstring_view text) {
    Trace(L"Tunewick: " + std::wstring(text));
}

void TraceException(std::wstring_view where, const char* what) {
    std::wstring text = what == nullptr ? L"an exception of unknown type" : L"";
    // what() is narrow text of no known code page: its ASCII part is what a reader needs.
    for (const char* c = what; c != nullptr && *c != '\0'; ++c) {
        text += static_cast<unsigned char>(*c) < 0x80 ? static_cast<wchar_t>(*c) : L'?';
    }
    Trace(L"Tunewick: " + std::wstring(where) + L" stopped " + text);
}

TraceSink SetTraceSink(TraceSink sink) {
    return std::exchange(Sink(), sink ? std::move(sink) : TraceSink(&ToDebugger));
}

}  // namespace tunewick::platform
