// A DLL that leaves "<its own path>.loaded" when a process loads it. The planted-DLL scenario
// copies it under the names of system DLLs beside Tunewick.exe and into Tunewick's current
// directory: a marker file names each copy that Tunewick loaded. Never shipped.

#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) {
        return TRUE;
    }
    constexpr wchar_t kSuffix[] = L".loaded";
    wchar_t path[MAX_PATH + sizeof(kSuffix) / sizeof(wchar_t)];
    const DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        lstrcpyW(path + length, kSuffix);
        HANDLE marker = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (marker != INVALID_HANDLE_VALUE) {
            CloseHandle(marker);
        }
    }
    return TRUE;
}
