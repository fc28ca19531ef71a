#include "win32/standins.h"

#include <atomic>
#include <fstream>
#include <string>

#include "utf8.h"
#include "win32/wide.h"

namespace tunewick::e2e {

namespace {

Text Number(long value) {
    return FromWide(std::to_wstring(value));
}

void AddPosition(std::vector<Text>& arguments, const std::optional<POINT>& position) {
    if (position) {
        arguments.insert(arguments.end(),
                         {u"--x", Number(position->x), u"--y", Number(position->y)});
    }
}

// The program's message-only window of the class, or nullptr.
HWND FindMessageOnlyWindow(DWORD processId, TextView className) {
    const Text name(className);
    for (HWND window = FindWindowExW(HWND_MESSAGE, nullptr, ToWide(name).c_str(), nullptr);
         window != nullptr;
         window = FindWindowExW(HWND_MESSAGE, window, ToWide(name).c_str(), nullptr)) {
        if (WindowProcessId(window) == processId) {
            return window;
        }
    }
    return nullptr;
}

// The program's window once it is up; nullptr if the program ended or never showed one.
HWND WaitForProgramWindow(ChildProcess& process, TextView className, bool messageOnly = false) {
    WindowQuery query;
    query.className = Text(className);
    query.processId = process.Id();
    HWND window = nullptr;
    WaitUntil([&] {
        if (messageOnly) {
            window = FindMessageOnlyWindow(process.Id(), className);
        } else {
            const std::vector<HWND> windows = FindTopLevelWindows(query);
            window = windows.empty() ? nullptr : windows.front();
        }
        return window != nullptr || !process.Running();
    });
    return window;
}

}  // namespace

std::optional<StandInMessenger> StandInMessenger::Start(const std::filesystem::path& folder,
                                                        const MessengerOptions& options) {
    static std::atomic<unsigned> counter{0};
    std::filesystem::path logPath =
        folder / (L"messenger-" + std::to_wstring(counter.fetch_add(1)) + L".log");
    std::vector<Text> arguments = {u"--log",     FromWide(logPath.native()),
                                   u"--caption", options.caption,
                                   u"--class",   options.className};
    if (options.sleepMs > 0) {
        arguments.insert(arguments.end(), {u"--sleep-ms", Number(options.sleepMs), u"--sleep-after",
                                           Number(options.sleepAfter)});
    }
    AddPosition(arguments, options.position);
    if (options.messageOnly) {
        arguments.emplace_back(u"--message-only");
    }
    if (options.refuse) {
        arguments.emplace_back(u"--refuse");
    }
    std::optional<ChildProcess> process =
        ChildProcess::Launch(SiblingProgram(L"standin_messenger.exe"), arguments);
    if (!process) {
        return std::nullopt;
    }
    HWND window = WaitForProgramWindow(*process, options.className, options.messageOnly);
    if (window == nullptr) {
        return std::nullopt;
    }
    return StandInMessenger(std::move(*process), window, std::move(logPath));
}

std::vector<MessengerLogRecord> StandInMessenger::WaitForRecords(std::size_t count,
                                                                 Milliseconds timeout) const {
    std::vector<MessengerLogRecord> records;
    WaitUntil(
        [&] {
            records = Records();
            return records.size() >= count;
        },
        timeout);
    return records;
}

std::optional<Text> StandInMessenger::ShownMessage() const {
    HWND label = GetDlgItem(window_, kMessengerShownMessageId);
    if (label == nullptr) {
        return std::nullopt;
    }
    return ReadText(label);
}

std::optional<StandInPlayer> StandInPlayer::Start(const PlayerOptions& options) {
    std::vector<Text> arguments = {u"--class", options.className};
    // An empty caption is still passed, so the window gets exactly the caption asked for.
    if (!options.captionsFile || !options.caption.empty()) {
        arguments.insert(arguments.end(), {u"--caption", options.caption});
    }
    if (options.captionsFile) {
        arguments.insert(arguments.end(),
                         {u"--captions-file", FromWide(options.captionsFile->native()),
                          u"--interval-ms", Number(options.intervalMs)});
    }
    if (options.slowTextMs > 0) {
        arguments.insert(arguments.end(), {u"--slow-text-ms", Number(options.slowTextMs)});
    }
    if (options.hang) {
        arguments.insert(arguments.end(), {u"--hang", u"--hang-ms", Number(options.hangMs)});
    }
    AddPosition(arguments, options.position);
    std::optional<ChildProcess> process =
        ChildProcess::Launch(SiblingProgram(L"standin_player.exe"), arguments);
    if (!process) {
        return std::nullopt;
    }
    HWND window = WaitForProgramWindow(*process, options.className);
    if (window == nullptr) {
        return std::nullopt;
    }
    return StandInPlayer(std::move(*process), window);
}

bool WriteUtf8Lines(const std::filesystem::path& path, const std::vector<Text>& lines) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const Text& line : lines) {
        out << ToUtf8(line) << '\n';
    }
    return static_cast<bool>(out.flush());
}

}  // namespace tunewick::e2e
