#include "fault_probes.h"

#include <algorithm>
#include <sstream>
#include <thread>

#include "utf8.h"
#include "win32/wide.h"

namespace tunewick::e2e {

std::string Describe(const std::vector<MessengerLogRecord>& records) {
    std::ostringstream out;
    out << records.size() << " record(s):";
    for (const MessengerLogRecord& record : records) {
        out << " [kind 0x" << std::hex << record.kind << std::dec << ", " << record.data.size()
            << " bytes";
        // The first characters are enough to tell records apart.
        Text start;
        for (std::size_t i = 0; i + 1 < record.data.size() && start.size() < 40; i += 2) {
            const auto unit =
                static_cast<char16_t>(std::to_integer<unsigned>(record.data[i]) |
                                      (std::to_integer<unsigned>(record.data[i + 1]) << 8));
            start += unit == u'\0' ? u'\u2400' : unit;  // the NUL as a visible symbol
        }
        out << ": " << ToUtf8(start) << "]";
    }
    return out.str();
}

Text ProfileValue(const std::filesystem::path& file, TextView section, TextView key) {
    std::wstring buffer(4096, L'\0');
    const DWORD copied =
        GetPrivateProfileStringW(ToWide(section).c_str(), ToWide(key).c_str(), L"", buffer.data(),
                                 static_cast<DWORD>(buffer.size()), file.c_str());
    buffer.resize(copied);
    return FromWide(buffer);
}

std::optional<Milliseconds> AnswerTime(HWND window, Milliseconds bound) {
    wchar_t text[256];
    DWORD_PTR copied = 0;
    const auto start = Clock::now();
    if (SendMessageTimeoutW(window, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text),
                            SMTO_ABORTIFHUNG, static_cast<UINT>(bound.count()), &copied) == 0) {
        return std::nullopt;
    }
    return std::chrono::duration_cast<Milliseconds>(Clock::now() - start);
}

Responsiveness ProbeUntil(const std::vector<HWND>& windows, const std::function<bool()>& done,
                          Milliseconds timeout) {
    Responsiveness result;
    const auto deadline = Clock::now() + timeout;
    while (!(result.done = done()) && Clock::now() < deadline) {
        for (HWND window : windows) {
            const auto answer = AnswerTime(window, timeout);
            result.slowest = std::max(result.slowest, answer.value_or(timeout));
            ++result.probes;
        }
        std::this_thread::sleep_for(50ms);
    }
    return result;
}

bool StackInOrder(const std::vector<HWND>& windows, TextView className, Milliseconds bound) {
    // Without a window manager, an activation that Wine learns of from X after the windows
    // were stacked still raises its window: stack again until the order has held for a few
    // checks in a row.
    constexpr int kChecksThatSettle = 4;
    constexpr Milliseconds kCheckInterval = 100ms;
    const auto deadline = Clock::now() + bound;
    int held = 0;
    while (Clock::now() < deadline) {
        if (FindTopLevelWindows({.className = Text(className)}) == windows) {
            if (++held == kChecksThatSettle) {
                return true;
            }
        } else {
            held = 0;
            // Each goes on top of the ones before: place them from the last to the first.
            for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
                SetWindowPos(*it, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            }
        }
        std::this_thread::sleep_for(kCheckInterval);
    }
    return false;
}

namespace {
std::optional<std::filesystem::path> lockedFolder;
}

std::optional<std::filesystem::path> LockedFolder() {
    return lockedFolder;
}

void ReadLockedFolderArgument(int argc, wchar_t** argv) {
    constexpr std::wstring_view kOption = L"--locked-folder=";
    for (int i = 1; i < argc; ++i) {
        const std::wstring_view argument = argv[i];
        if (argument.starts_with(kOption)) {
            // Wine shows the Unix root as drive Z:.
            std::wstring path = L"Z:" + std::wstring(argument.substr(kOption.size()));
            std::replace(path.begin(), path.end(), L'/', L'\\');
            lockedFolder = std::filesystem::path(path);
        }
    }
}

bool FolderWritable(const std::filesystem::path& folder) {
    const std::filesystem::path probe = folder / L"probe.tmp";
    HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    return true;
}

}  // namespace tunewick::e2e
