// A stand-in for a media player: one top-level window of the class and caption given, so
// the title sources have a caption to read.
//
//   standin_player.exe --class NAME [--caption TEXT] [--captions-file FILE [--interval-ms N]]
//                      [--hang [--hang-ms N]] [--slow-text-ms N] [--x N --y N]
//
// --captions-file steps through the file's lines (UTF-8), one every N ms (default 1000),
// starting with the first, and starts over after the last. A test can also change the
// caption from outside with WM_SETTEXT. --hang makes the window sleep N ms (default 30000)
// before it answers WM_GETTEXTLENGTH or WM_GETTEXT sent from another thread: a hung player.
// --slow-text-ms makes it sleep N ms before it answers another thread's WM_GETTEXT only: a slow
// player, whose caption is read within the reader's bound.

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "standin_common/options.h"
#include "standin_common/window.h"
#include "utf8.h"

namespace tunewick::standin {
namespace {

constexpr UINT_PTR kStepTimerId = 1;

struct PlayerConfig {
    Text className;
    Text caption;
    std::vector<Text> captions;  // from the captions file, if any
    int intervalMs = 1000;
    bool hang = false;
    int hangMs = 30000;
    int slowTextMs = 0;
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
};

// The file's lines; a final newline does not make an extra, empty line.
std::optional<std::vector<Text>> ReadCaptions(const Text& path) {
    std::ifstream in(std::filesystem::path(std::wstring(Wide(path))), std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (content.starts_with("\xEF\xBB\xBF")) {
        content.erase(0, 3);
    }
    std::vector<Text> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos) {
            end = content.size();
        }
        std::string_view line(content.data() + start, end - start);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        lines.push_back(FromUtf8(line));
        start = end + 1;
    }
    return lines;
}

std::optional<PlayerConfig> ReadConfig() {
    const auto options = Options::Parse(Options::CommandLineArguments(), {u"hang"});
    if (!options || !options->Has(u"class")) {
        return std::nullopt;
    }
    PlayerConfig config;
    config.className = *options->Value(u"class");
    config.caption = options->Value(u"caption").value_or(Text());
    if (const auto file = options->Value(u"captions-file")) {
        auto captions = ReadCaptions(*file);
        if (!captions || captions->empty()) {
            return std::nullopt;
        }
        config.captions = std::move(*captions);
        if (!options->Has(u"caption")) {
            config.caption = config.captions.front();
        }
    }
    config.hang = options->Has(u"hang");
    const auto interval = options->Number(u"interval-ms", config.intervalMs);
    const auto hangMs = options->Number(u"hang-ms", config.hangMs);
    const auto slowTextMs = options->Number(u"slow-text-ms", 0);
    const auto x = options->Number(u"x", CW_USEDEFAULT);
    const auto y = options->Number(u"y", CW_USEDEFAULT);
    if (!interval || *interval <= 0 || !hangMs || !slowTextMs || !x || !y) {
        return std::nullopt;
    }
    config.intervalMs = *interval;
    config.hangMs = *hangMs;
    config.slowTextMs = *slowTextMs;
    config.x = *x;
    config.y = *y;
    return config;
}

class PlayerWindow final : public StandInWindow {
  public:
    explicit PlayerWindow(PlayerConfig config) : config_(std::move(config)) {}

    bool Create(HINSTANCE instance);

  private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint();
    void StepCaption();

    PlayerConfig config_;
    std::size_t captionIndex_ = 0;
};

bool PlayerWindow::Create(HINSTANCE instance) {
    if (!CreateTopLevel(instance, config_.className, config_.caption,
                        reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), {config_.x, config_.y},
                        {480, 120})) {
        return false;
    }
    if (config_.captions.size() > 1 &&
        SetTimer(window_, kStepTimerId, static_cast<UINT>(config_.intervalMs), nullptr) == 0) {
        return false;
    }
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    return true;
}

LRESULT PlayerWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GETTEXTLENGTH:
        case WM_GETTEXT:
            // Only another thread's request waits: the window's own painting reads its text too.
            if (InSendMessageEx(nullptr) != ISMEX_NOSEND) {
                if (config_.hang) {
                    Sleep(static_cast<DWORD>(config_.hangMs));
                } else if (message == WM_GETTEXT && config_.slowTextMs > 0) {
                    Sleep(static_cast<DWORD>(config_.slowTextMs));
                }
            }
            return DefWindowProcW(window_, message, wParam, lParam);
        case WM_SETTEXT: {
            const LRESULT result = DefWindowProcW(window_, message, wParam, lParam);
            InvalidateRect(window_, nullptr, TRUE);
            return result;
        }
        case WM_TIMER:
            if (wParam == kStepTimerId) {
                StepCaption();
            }
            return 0;
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_DESTROY:
            KillTimer(window_, kStepTimerId);
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void PlayerWindow::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    const int length = GetWindowTextLengthW(window_);
    std::wstring caption(static_cast<std::size_t>(length) + 1, L'\0');
    caption.resize(static_cast<std::size_t>(GetWindowTextW(window_, caption.data(), length + 1)));
    RECT client;
    GetClientRect(window_, &client);
    const HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &client,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, oldFont);
    EndPaint(window_, &paint);
}

void PlayerWindow::StepCaption() {
    captionIndex_ = (captionIndex_ + 1) % config_.captions.size();
    SetWindowTextW(window_, Wide(config_.captions[captionIndex_]));
}

}  // namespace
}  // namespace tunewick::standin

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    using namespace tunewick::standin;
    return RunStandIn<PlayerWindow>(instance, ReadConfig());
}
