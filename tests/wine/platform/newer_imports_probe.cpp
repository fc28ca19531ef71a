// A program that imports what Tunewick.exe may not: a kernel32 function of Windows Vista and a
// secure CRT function, which Windows XP SP3 lacks, and shell32's tray function, whose DLL the
// loader would look for in the program's folder first. The test checks that tools/check-exe
// refuses each by name.

// GetTickCount64 is declared for Windows Vista and later only.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <wchar.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t copy[8];
    wcscpy_s(copy, 8, L"probe");
    return static_cast<int>(GetTickCount64() & 1) + copy[0] + Shell_NotifyIconW(NIM_ADD, nullptr);
}
