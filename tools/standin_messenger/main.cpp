// A stand-in for the messenger client: one visible top-level window of class
// "MsnMsgrUIManager" that logs every WM_COPYDATA it receives and shows the personal message
// a now-playing record asks for.
//
//   standin_messenger.exe --log FILE [--caption TEXT] [--class NAME] [--x N --y N]
//                         [--sleep-ms N [--sleep-after K]] [--message-only] [--refuse]
//
// --message-only makes the window a message-only one, as some listeners of the record open it:
// never shown, found only among the message-only windows.
// --sleep-ms makes the window sleep N ms in its WM_COPYDATA handler, after logging, for every
// record after the first K (default 0): a hung messenger. --class lets a test open a window
// that must NOT receive records. --refuse answers every WM_COPYDATA with FALSE, after logging
// it: with --class Shell_TrayWnd, a shell that refuses every tray icon. The log format is in
// tests/support/win32/messenger_log.h.

#include <windows.h>

#include <optional>
#include <span>
#include <string>

#include "core/now_playing.h"
#include "platform/handles.h"
#include "standin_common/options.h"
#include "standin_common/window.h"
#include "standin_messenger/personal_message.h"
#include "win32/messenger_log.h"

namespace tunewick::standin {
namespace {

using platform::UniqueFile;

struct MessengerConfig {
    Text className{kMessengerWindowClass};
    Text caption = u"Stand-in Messenger";
    Text logPath;
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    int sleepMs = 0;
    int sleepAfter = 0;
    bool messageOnly = false;
    bool refuse = false;
};

std::optional<MessengerConfig> ReadConfig() {
    const auto options =
        Options::Parse(Options::CommandLineArguments(), {u"message-only", u"refuse"});
    if (!options || !options->Has(u"log")) {
        return std::nullopt;
    }
    MessengerConfig config;
    config.logPath = *options->Value(u"log");
    config.className = options->Value(u"class").value_or(config.className);
    config.caption = options->Value(u"caption").value_or(config.caption);
    const auto x = options->Number(u"x", CW_USEDEFAULT);
    const auto y = options->Number(u"y", CW_USEDEFAULT);
    const auto sleepMs = options->Number(u"sleep-ms", 0);
    const auto sleepAfter = options->Number(u"sleep-after", 0);
    if (!x || !y || !sleepMs || !sleepAfter) {
        return std::nullopt;
    }
    config.x = *x;
    config.y = *y;
    config.sleepMs = *sleepMs;
    config.sleepAfter = *sleepAfter;
    config.messageOnly = options->Has(u"message-only");
    config.refuse = options->Has(u"refuse");
    return config;
}

class MessengerWindow final : public StandInWindow {
  public:
    explicit MessengerWindow(MessengerConfig config) : config_(std::move(config)) {}

    bool Create(HINSTANCE instance);

  private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCreate();
    void OnCopyData(const COPYDATASTRUCT& block);
    void AppendToLog(std::uint32_t kind, std::span<const std::byte> data);

    MessengerConfig config_;
    HWND shownLabel_ = nullptr;
    HWND countLabel_ = nullptr;
    UniqueFile log_;
    int received_ = 0;
};

bool MessengerWindow::Create(HINSTANCE instance) {
    // Shared for reading, writing and deleting: tests read the log while the window runs.
    log_.Reset(CreateFileW(Wide(config_.logPath), FILE_APPEND_DATA,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!log_) {
        return false;
    }
    if (!CreateTopLevel(instance, config_.className, config_.caption,
                        reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), {config_.x, config_.y},
                        {420, 130}, config_.messageOnly)) {
        return false;
    }
    if (!config_.messageOnly) {
        ShowWindow(window_, SW_SHOWNOACTIVATE);
    }
    return true;
}

LRESULT MessengerWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnCreate();
            return 0;
        case WM_COPYDATA:
            OnCopyData(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
            return config_.refuse ? FALSE : TRUE;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void MessengerWindow::OnCreate() {
    const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE));
    const auto label = [&](const wchar_t* text, DWORD style, int id, int y, int height) {
        HWND control = CreateWindowExW(
            0, L"STATIC", text, WS_CHILD | WS_VISIBLE | style, 10, y, 390, height, window_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        SendMessageW(control, WM_SETFONT, font, FALSE);
        return control;
    };
    label(L"Personal message:", 0, -1, 8, 18);
    // SS_NOPREFIX: a song title with "&" shows as it is.
    shownLabel_ = label(L"", SS_NOPREFIX, e2e::kMessengerShownMessageId, 28, 36);
    countLabel_ = label(L"Records: 0", 0, e2e::kMessengerCountId, 68, 18);
}

void MessengerWindow::OnCopyData(const COPYDATASTRUCT& block) {
    const std::span<const std::byte> data =
        block.lpData == nullptr
            ? std::span<const std::byte>()
            : std::span(static_cast<const std::byte*>(block.lpData), block.cbData);
    const auto kind = static_cast<std::uint32_t>(block.dwData);
    AppendToLog(kind, data);
    ++received_;

    if (kind == kNowPlayingDataKind) {
        Text record;
        for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
            record += static_cast<char16_t>(std::to_integer<unsigned>(data[i]) |
                                            (std::to_integer<unsigned>(data[i + 1]) << 8));
        }
        const auto fields = ParseNowPlayingRecord(record);
        const Text shown = fields ? ShownPersonalMessage(*fields) : Text();
        SetWindowTextW(shownLabel_, Wide(shown));
    }
    const std::wstring count = L"Records: " + std::to_wstring(received_);
    SetWindowTextW(countLabel_, count.c_str());

    if (config_.sleepMs > 0 && received_ > config_.sleepAfter) {
        Sleep(static_cast<DWORD>(config_.sleepMs));
    }
}

void MessengerWindow::AppendToLog(std::uint32_t kind, std::span<const std::byte> data) {
    // One write per record and no buffering of our own: a reader sees it at once.
    const std::vector<std::byte> entry = e2e::EncodeMessengerLogRecord(kind, data);
    DWORD written = 0;
    WriteFile(log_.Get(), entry.data(), static_cast<DWORD>(entry.size()), &written, nullptr);
}

}  // namespace
}  // namespace tunewick::standin

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    using namespace tunewick::standin;
    return RunStandIn<MessengerWindow>(instance, ReadConfig());
}
