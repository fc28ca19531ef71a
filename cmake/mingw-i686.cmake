# Cross-compiles for 32-bit Windows with Debian's MinGW-w64, thread model win32: the -posix
# variant's static winpthreads imports GetTickCount64 (Windows Vista) even into a program that
# starts no thread, and the exe would not load on Windows XP. The win32 variant has no
# std::thread or std::mutex; the tests use the platform's threads, and GoogleTest gets what it
# misses from tests/support/win32/gtest_win32_threads.h.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Only system DLLs at run time.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
