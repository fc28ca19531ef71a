#include "standin_common/window.h"

namespace tunewick::standin {

bool StandInWindow::CreateTopLevel(HINSTANCE instance, const Text& className, const Text& caption,
                                   HBRUSH background, POINT position, SIZE size, bool messageOnly) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = Wide(className);
    if (RegisterClassExW(&windowClass) == 0) {
        return false;
    }
    window_ = CreateWindowExW(0, Wide(className), Wide(caption), WS_OVERLAPPEDWINDOW, position.x,
                              position.y, size.cx, size.cy, messageOnly ? HWND_MESSAGE : nullptr,
                              nullptr, instance, this);
    return window_ != nullptr;
}

LRESULT CALLBACK StandInWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<StandInWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<StandInWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self != nullptr ? self->HandleMessage(message, wParam, lParam)
                           : DefWindowProcW(window, message, wParam, lParam);
}

int RunMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace tunewick::standin
