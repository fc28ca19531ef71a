#pragma once

// In-memory stand-ins for everything the form logic talks to: controls, timers on a manual
// clock, message boxes that answer from a script and the window host (the profile file is the
// shared MemoryProfileStore).

#include <chrono>
#include <deque>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "core/text.h"
#include "memory_profile_store.h"
#include "memory_window_system.h"
#include "ui/controls.h"
#include "ui/main_form.h"
#include "ui/options_form.h"
#include "utf8.h"

namespace tunewick::testing {

// One ordered list of what happened, shared by the doubles, for checks on call order.
using EventLog = std::vector<std::string>;

// A button or label; every new caption goes into the log, unless there is none.
class MemoryCaption : public CaptionedControl {
  public:
    MemoryCaption(EventLog* log, std::string name, TextView caption)
        : log_(log), name_(std::move(name)), caption_(caption) {}
    Text Caption() const override { return caption_; }
    void SetCaption(TextView caption) override {
        caption_ = Text(caption);
        if (log_ != nullptr) {
            log_->push_back(name_ + "=" + ToUtf8(caption));
        }
    }

  private:
    EventLog* log_;
    std::string name_;
    Text caption_;
};

class MemoryTextBox : public TextBox {
  public:
    explicit MemoryTextBox(TextView text = {}) : text_(text) {}
    Text Value() const override { return text_; }
    void SetValue(TextView text) override { text_ = Text(text); }

  private:
    Text text_;
};

class MemoryCheckBox : public CheckBox {
  public:
    int Value() const override { return value_; }
    void SetValue(int value) override { value_ = value; }

  private:
    int value_ = 0;
};

class MemoryOptionButton : public OptionButton {
  public:
    bool Selected() const override { return selected_; }
    void SetSelected(bool selected) override { selected_ = selected; }

  private:
    bool selected_ = false;
};

// Timers that fire only when the test moves the clock on. Each enabled timer fires at the
// end of every interval counted from when it was enabled; a handler may move the clock on
// itself (as a modal box's message loop lets time pass), and the timers fire inside that.
class ManualClock {
  public:
    class ClockTimer : public Timer {
      public:
        ClockTimer(ManualClock& clock, std::chrono::milliseconds interval, bool enabled)
            : clock_(clock), interval_(interval) {
            SetEnabled(enabled);
        }
        bool Enabled() const override { return enabled_; }
        void SetEnabled(bool enabled) override {
            if (enabled && !enabled_) {
                due_ = clock_.Now() + interval_;
            }
            enabled_ = enabled;
        }
        void OnTick(std::function<void()> handler) { handler_ = std::move(handler); }
        int Fired() const { return fired_; }

      private:
        friend class ManualClock;
        ManualClock& clock_;
        std::chrono::milliseconds interval_;
        std::chrono::milliseconds due_{};
        bool enabled_ = false;
        int fired_ = 0;
        std::function<void()> handler_;
    };

    ClockTimer& AddTimer(std::chrono::milliseconds interval, bool enabled) {
        return timers_.emplace_back(*this, interval, enabled);
    }

    std::chrono::milliseconds Now() const { return now_; }

    void Advance(std::chrono::milliseconds step) {
        const auto target = now_ + step;
        while (ClockTimer* next = NextDue(target)) {
            now_ = next->due_;
            next->due_ += next->interval_;
            ++next->fired_;
            if (next->handler_) {
                next->handler_();
            }
        }
        if (now_ < target) {
            now_ = target;
        }
    }

  private:
    ClockTimer* NextDue(std::chrono::milliseconds target) {
        ClockTimer* next = nullptr;
        for (ClockTimer& timer : timers_) {
            if (timer.enabled_ && timer.due_ <= target && (!next || timer.due_ < next->due_)) {
                next = &timer;
            }
        }
        return next;
    }

    std::chrono::milliseconds now_{0};
    std::deque<ClockTimer> timers_;  // a deque keeps references stable
};

// Message boxes that record what they show and answer from a script (OK when the script
// is empty). `duringNextBox` runs once, inside the next Show, while that box is "open".
class ScriptedBoxes : public MessageBoxes {
  public:
    struct Shown {
        Text text;
        BoxKind kind;
        Text title;
        bool operator==(const Shown&) const = default;
    };

    explicit ScriptedBoxes(EventLog& log) : log_(log) {}

    BoxAnswer Show(TextView text, BoxKind kind, TextView title) override {
        shown.push_back({Text(text), kind, Text(title)});
        log_.push_back("box:" + ToUtf8(text));
        if (duringNextBox) {
            const std::function<void()> action = std::move(duringNextBox);
            duringNextBox = nullptr;
            action();
        }
        if (answers.empty()) {
            return BoxAnswer::Ok;
        }
        const BoxAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<Shown> shown;
    std::deque<BoxAnswer> answers;
    std::function<void()> duringNextBox;

  private:
    EventLog& log_;
};

// Logs every copy-data delivery as "send" into the shared log, unless there is none, then
// passes it on.
class LoggingWindowSystem : public MemoryWindowSystem {
  public:
    explicit LoggingWindowSystem(EventLog* log) : log_(log) {}
    bool SendCopyData(WindowHandle window, std::uint32_t kind,
                      std::span<const std::byte> data) override {
        if (log_ != nullptr) {
            log_->push_back("send");
        }
        return MemoryWindowSystem::SendCopyData(window, kind, data);
    }

  private:
    EventLog* log_;
};

class FakeMainHost : public MainFormHost, public TrayShell {
  public:
    static constexpr auto kWindow = static_cast<WindowHandle>(0x30042);
    static constexpr std::uintptr_t kIcon = 0x1F0077;

    explicit FakeMainHost(EventLog& log) : log_(log) {}

    WindowHandle MainWindowHandle() const override { return kWindow; }
    std::uintptr_t IconHandle() const override { return kIcon; }
    Text ProgramDirectory() const override { return directory; }
    void ShowMainWindow() override {
        Log("show");
        visible = true;
    }
    void HideMainWindow() override {
        Log("hide");
        visible = false;
        if (!iconThere) {
            ++hiddenWithoutIcon;
        }
    }
    bool Minimized() const override { return state == 1; }
    void Restore() override {
        Log("state=0");
        state = 0;
    }
    void CloseMainWindow() override {
        Log("close");
        if (onClose) {
            onClose();
        }
    }
    void PopUpMenu() override { Log("popup"); }
    bool Add(const TrayIcon& icon) override {
        icons.push_back(icon);
        if (refuseAdds > 0) {
            --refuseAdds;
            Log("add refused");
            return false;
        }
        Log("add");
        iconThere = true;
        return true;
    }
    void Remove(const TrayIcon& icon) override {
        Log("delete");
        icons.push_back(icon);
        iconThere = false;
    }

    Text directory = u"C:\\Program Files\\Tunewick";
    bool visible = true;
    int state = 0;
    std::function<void()> onClose;
    std::vector<TrayIcon> icons;  // every icon handed to add or delete
    int refuseAdds = 0;           // the shell refuses this many adds before it takes one
    bool iconThere = false;
    int hiddenWithoutIcon = 0;  // hides while the shell showed no icon: an unreachable window

  private:
    void Log(std::string event) { log_.push_back(std::move(event)); }
    EventLog& log_;
};

// The help window or the options dialog: logs "show<name>" and "close<name>".
class FakeSecondaryWindow : public SecondaryWindow {
  public:
    FakeSecondaryWindow(EventLog& log, std::string name) : log_(log), name_(std::move(name)) {}
    void Show() override { log_.push_back("show" + name_); }
    void Close() override { log_.push_back("close" + name_); }

  private:
    EventLog& log_;
    std::string name_;
};

// The main window's form logic with every double it talks to, wired as the window wires it:
// each mode's timer ticks its poll, the watcher checks for a minimize, a close unloads. A
// quiet rig logs nothing and keeps no deliveries (it counts them), so that each of a
// benchmark's many ticks costs the same.
struct MainFormRig {
    explicit MainFormRig(bool quiet = false)
        : realPlayerButton(Log(quiet), "realPlayerButton",
                           ModeOf(PlayerKind::RealPlayer).offCaption),
          winampButton(Log(quiet), "winampButton", ModeOf(PlayerKind::Winamp).offCaption),
          xmplayButton(Log(quiet), "xmplayButton", ModeOf(PlayerKind::XMPlay).offCaption),
          creditLine(Log(quiet), "creditLine", u""),
          windows(Log(quiet)) {
        windows.KeepDeliveries(!quiet);
        for (const PlayerMode& mode : kPlayerModes) {
            ModeTimer(mode.player).OnTick([this, &mode] { form.PollTick(mode.player); });
        }
        minimizeWatcher.OnTick([this] { form.CheckForMinimize(); });
        host.onClose = [this] { form.Unload(); };
    }
    MainFormRig(const MainFormRig&) = delete;
    MainFormRig& operator=(const MainFormRig&) = delete;

    MemoryCaption& Button(PlayerKind mode) {
        return mode == PlayerKind::RealPlayer ? realPlayerButton
               : mode == PlayerKind::Winamp   ? winampButton
                                              : xmplayButton;
    }
    ManualClock::ClockTimer& ModeTimer(PlayerKind mode) {
        return mode == PlayerKind::RealPlayer ? realPlayerTimer
               : mode == PlayerKind::Winamp   ? winampTimer
                                              : xmplayTimer;
    }

    EventLog log;
    ManualClock clock;
    MemoryCaption realPlayerButton;
    MemoryCaption winampButton;
    MemoryCaption xmplayButton;
    MemoryCaption creditLine;
    MemoryTextBox artistBox;
    MemoryTextBox songBox;
    MemoryTextBox formatBox{kDesignedFormat};
    MemoryCheckBox followPlayerBox;
    ManualClock::ClockTimer& realPlayerTimer = clock.AddTimer(kModeInterval, false);
    ManualClock::ClockTimer& winampTimer = clock.AddTimer(kModeInterval, false);
    ManualClock::ClockTimer& xmplayTimer = clock.AddTimer(kModeInterval, false);
    ManualClock::ClockTimer& minimizeWatcher = clock.AddTimer(kWatcherInterval, true);
    LoggingWindowSystem windows;
    ScriptedBoxes boxes{log};
    FakeMainHost host{log};
    FakeSecondaryWindow help{log, "Help"};
    FakeSecondaryWindow options{log, "Options"};
    MemoryProfileStore profile;
    // The controls as the form takes them; a test may build a second form on them.
    MainFormControls Controls() {
        return {{realPlayerButton, winampButton, xmplayButton},
                {realPlayerTimer, winampTimer, xmplayTimer},
                artistBox,
                songBox,
                formatBox,
                followPlayerBox,
                creditLine,
                minimizeWatcher};
    }
    MainFormPeers Peers() { return {windows, boxes, profile, host, help, options}; }
    MainForm form{Controls(), Peers(), host};

  private:
    EventLog* Log(bool quiet) { return quiet ? nullptr : &log; }
};

}  // namespace tunewick::testing
