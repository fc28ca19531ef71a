// A program that imports what Windows XP SP3 lacks, a kernel32 function of Windows Vista and
// a secure CRT function, for the test that tools/check-exe refuses both by name.

// GetTickCount64 is declared for Windows Vista and later only.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include <windows.h>

#include <wchar.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t copy[8];
    wcscpy_s(copy, 8, L"probe");
    return static_cast<int>(GetTickCount64() & 1) + copy[0];
}
