#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "core/window_system.h"
#include "platform/form_window.h"
#include "platform/handles.h"
#include "platform/message_boxes.h"
#include "platform/tray.h"
#include "platform/win32_controls.h"
#include "settings/profile_store.h"
#include "ui/main_form.h"

namespace tunewick::platform {

// The main window's class: how a second start of Tunewick finds the running one.
inline constexpr wchar_t kMainWindowClass[] = L"TunewickMain";

// What the main window opens besides itself: the help window and the options dialog.
class SecondaryWindows {
  public:
    virtual ~SecondaryWindows() = default;
    virtual void ShowHelp() = 0;
    virtual void CloseHelp() = 0;
    virtual void ShowOptions() = 0;
};

// The main window: its controls, timers, tray icon and menu, bound to MainForm.
class MainWindow : public FormWindow<MainWindow>, private MainFormHost {
  public:
    MainWindow(WindowSystem& windows, ProfileStore& profile, SecondaryWindows& secondary,
               LiveWindows& live);
    ~MainWindow() override;

    // Creates the window and its controls, hidden. False when the platform refuses.
    bool Create();
    // Runs the form's load, then shows the window with `showCommand` unless the load put it
    // away into the tray: a window started in the tray is never seen.
    void Start(int showCommand);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Runs `action` when the window is destroyed, its shutdown done.
    void WhenClosed(std::function<void()> action) { whenClosed_ = std::move(action); }

  private:
    struct Controls;

    void OnCommand(int id, int code);
    void OnTimer(UINT_PTR id);
    void OnClose();
    void OnEndSession(bool ending);
    LRESULT OnShowRequest();
    MouseMove AsMouseMove(WPARAM wParam, LPARAM lParam) const;
    LRESULT OnControlColor(UINT message, HDC dc, HWND control);

    // MainFormHost
    WindowHandle MainWindowHandle() const override;
    std::uintptr_t IconHandle() const override;
    Text ProgramDirectory() const override;
    void ShowMainWindow() override;
    void HideMainWindow() override;
    int WindowState() const override;
    void SetWindowState(int state) override;
    void CloseMainWindow() override;
    void PopUpTrayMenu() override;
    bool AddTrayIcon(const TrayIcon& icon) override;
    bool DeleteTrayIcon(const TrayIcon& icon) override;
    void ShowHelp() override;
    void CloseHelp() override;
    void ShowOptions() override;

    WindowSystem& windows_;
    ProfileStore& profile_;
    SecondaryWindows& secondary_;

    HICON icon_ = nullptr;  // shared resource icons: the system frees them
    HICON smallIcon_ = nullptr;
    UniqueFont font_;
    UINT taskbarCreated_ = 0;
    UINT showRequest_ = 0;  // a second start of Tunewick asks this one to come forward
    TrayMenu trayMenu_;
    std::unique_ptr<Controls> controls_;
    std::unique_ptr<Win32MessageBoxes> boxes_;
    std::unique_ptr<MainForm> form_;
    // Adds the shell refused in a row: the first is traced, and the add that works after them.
    unsigned failedTrayAdds_ = 0;
    bool loading_ = false;
    bool hiddenByLoad_ = false;
    bool closing_ = false;  // its shutdown has begun
    std::function<void()> whenClosed_;
};

}  // namespace tunewick::platform
