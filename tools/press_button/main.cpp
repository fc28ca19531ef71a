// Presses a button of another program's window, as a click would, for scripts that need a
// window to open before they look at it (tools/screenshot-main).
//
//   press_button.exe WINDOW-CAPTION BUTTON-CAPTION
//
// Waits up to 10 s for a top-level window captioned WINDOW-CAPTION, then posts BM_CLICK to
// its first descendant button captioned BUTTON-CAPTION. Exit code 0 when the click was posted,
// 1 when the window or the button was not found, 2 when the arguments do not read.

#include <windows.h>

#include <string>

namespace {

struct Search {
    const wchar_t* caption;
    HWND found = nullptr;
};

BOOL CALLBACK MatchButton(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    if (lstrcmpiW(className, L"Button") == 0 && std::wstring(text) == search->caption) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        return 2;
    }
    HWND window = nullptr;
    for (int waited = 0; window == nullptr && waited < 10000; waited += 50) {
        window = FindWindowW(nullptr, argv[1]);
        if (window == nullptr) {
            Sleep(50);
        }
    }
    if (window == nullptr) {
        return 1;
    }
    Search search{argv[2]};
    EnumChildWindows(window, &MatchButton, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr) {
        return 1;
    }
    return PostMessageW(search.found, BM_CLICK, 0, 0) ? 0 : 1;
}
