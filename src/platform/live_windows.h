#pragma once

#include <windows.h>

#include <algorithm>
#include <vector>

namespace tunewick::platform {

// The program's open top-level windows. The program ends when the last one has closed: the
// options dialog may outlive the main window. The message loop also asks it which windows
// get dialog-style keyboard navigation.
class LiveWindows {
  public:
    void Opened(HWND window) { windows_.push_back(window); }
    void Closed(HWND window) {
        std::erase(windows_, window);
        if (windows_.empty()) {
            PostQuitMessage(0);
        }
    }
    bool Contains(HWND window) const {
        return std::ranges::find(windows_, window) != windows_.end();
    }

  private:
    std::vector<HWND> windows_;
};

}  // namespace tunewick::platform
