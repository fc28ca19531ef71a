// The floor of the footprint benchmark: the least a Windows GUI program of this toolchain can
// be. One window and a message loop, built with Tunewick.exe's flags; whatever Tunewick costs
// beyond this is its own.
//
// Built with TUNEWICK_FLOOR_SYSTEM_DLLS, it also loads the system DLLs Tunewick loads, as
// Tunewick does: the common controls 6 (by the same manifest and InitCommonControlsEx) and
// shell32 (which Tunewick imports for its tray icon). Under Wine these cost more memory and
// start time than Tunewick's own code; this floor tells the two apart.
#include <windows.h>

#ifdef TUNEWICK_FLOOR_SYSTEM_DLLS
#include <commctrl.h>
#include <shellapi.h>
#endif

namespace {

constexpr wchar_t kClassName[] = L"TunewickFloor";

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
#ifdef TUNEWICK_FLOOR_SYSTEM_DLLS
    // Reading the import's address keeps shell32 among the imports without calling it.
    static decltype(&Shell_NotifyIconW) volatile trayFunction = &Shell_NotifyIconW;
    static_cast<void>(trayFunction);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
#endif
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = FloorProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<PCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    if (RegisterClassW(&windowClass) == 0) {
        return 1;
    }
    HWND window = CreateWindowExW(0, kClassName, L"Floor", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 320, 240, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        return 1;
    }
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
