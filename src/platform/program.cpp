#include "platform/program.h"

#include <commctrl.h>

#include "platform/system_library.h"

namespace tunewick::platform {

Program::Program()
    : help_(live_), options_(profile_, live_), main_(windows_, profile_, *this, live_) {}

int Program::Run(int showCommand) {
    StartCommonControls(ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES);

    if (!main_.Create()) {
        return 1;
    }
    main_.Start(showCommand);

    MSG msg{};
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
        if (got == -1) {
            return 1;
        }
        // Tab, the arrow keys, Space and Enter move between and press controls as in a
        // dialog, in each of the program's windows.
        HWND root = msg.hwnd != nullptr ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        if (root != nullptr && live_.Contains(root) && IsDialogMessageW(root, &msg)) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace tunewick::platform
