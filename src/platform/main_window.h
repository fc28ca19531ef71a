#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <utility>

#include "core/window_system.h"
#include "platform/form_window.h"
#include "platform/handles.h"
#include "platform/message_boxes.h"
#include "platform/tray.h"
#include "settings/profile_store.h"
#include "ui/main_form.h"

namespace tunewick::platform {

// The main window's class: how a second start of Tunewick finds the running one.
inline constexpr wchar_t kMainWindowClass[] = L"TunewickMain";

// The main window: its controls, timers, tray icon and menu, bound to MainForm.
class MainWindow : public FormWindow<MainWindow>, private MainFormHost {
  public:
    MainWindow(WindowSystem& windows, ProfileStore& profile, SecondaryWindow& help,
               SecondaryWindow& options, LiveWindows& live);
    ~MainWindow() override;

    // Creates the window and its controls, hidden. False when the platform refuses.
    bool Create();
    // Runs the form's load, then shows the window with `showCommand` unless the load put it
    // into the tray: a window started in the tray is never seen.
    void Start(int showCommand);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The follow-player check box keeps the platform's colours; the frame and the labels take
    // the forms'.
    static std::optional<Surface> SurfaceOf(int id);

    // Runs `action` when the window is destroyed, its shutdown done.
    void WhenClosed(std::function<void()> action) { whenClosed_ = std::move(action); }

  private:
    struct Controls;  // the adapters the form logic works through

    void OnCommand(int id, int code);
    void OnTimer(UINT_PTR id);
    LRESULT OnShowRequest();
    MouseMove AsMouseMove(WPARAM wParam, LPARAM lParam) const;

    // MainFormHost
    WindowHandle MainWindowHandle() const override;
    std::uintptr_t IconHandle() const override;
    Text ProgramDirectory() const override;
    void ShowMainWindow() override;
    void HideMainWindow() override;
    bool Minimized() const override;
    void Restore() override;
    void CloseMainWindow() override;

    WindowSystem& windows_;
    ProfileStore& profile_;
    SecondaryWindow& help_;
    SecondaryWindow& options_;

    UniqueIcon trayIcon_;  // the tray record's, for the program's life
    UINT taskbarCreated_ = 0;
    UINT showRequest_ = 0;  // a second start of Tunewick asks this one to come forward
    Win32Tray tray_;
    std::unique_ptr<Controls> controls_;
    std::unique_ptr<Win32MessageBoxes> boxes_;
    std::unique_ptr<MainForm> form_;
    bool closing_ = false;  // its shutdown has begun
    std::function<void()> whenClosed_;
};

}  // namespace tunewick::platform
