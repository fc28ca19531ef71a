#include <windows.h>

#include "platform/program.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    tunewick::platform::Program program;
    return program.Run(showCommand);
}
