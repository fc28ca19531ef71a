#include "platform/main_window.h"

#include "platform/resources/version.h"

namespace tunewick::win32 {
namespace {

constexpr wchar_t kClassName[] = L"TunewickMain";
constexpr wchar_t kCaption[] = L"Tunewick";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

}  // namespace

bool MainWindow::Create() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    // Shared icons belong to the system: nothing to free.
    auto icon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(TUNEWICK_IDI_APP),
                                              IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    if (!RegisterOnce(kClassName, icon, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)))) {
        return false;
    }
    RECT frame{0, 0, 211, 353};
    AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
    return CreateWindowExW(0, kClassName, kCaption, kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                           frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                           instance, this) != nullptr;
}

void MainWindow::Show(int showCommand) {
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DESTROY:
            OnDestroy();
            return 0;
        default:
            return Default(message, wParam, lParam);
    }
}

void MainWindow::OnDestroy() {
    PostQuitMessage(0);
}

}  // namespace tunewick::win32
