#pragma once

#include <windows.h>

#include "platform/base_window.h"

namespace tunewick::win32 {

// The main window, Form1.
class MainWindow : public BaseWindow<MainWindow> {
  public:
    // Creates the window hidden; false when the platform refuses.
    bool Create();
    void Show(int showCommand);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    void OnDestroy();
};

}  // namespace tunewick::win32
