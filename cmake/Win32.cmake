# Settings shared by every Windows target: Unicode entry points and API, and Windows XP as the
# floor, so that the headers declare nothing newer than the oldest system Tunewick runs on.
enable_language(RC)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501
                        WINVER=0x0501)

# The manifest names the exe's own processor architecture: Windows refuses to load an x64
# program whose manifest says x86. The resource scripts find it by name in this folder.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(TUNEWICK_MANIFEST_ARCH amd64)
else()
    set(TUNEWICK_MANIFEST_ARCH x86)
endif()
set(TUNEWICK_GENERATED_RESOURCES ${CMAKE_BINARY_DIR}/generated-resources)
configure_file(${PROJECT_SOURCE_DIR}/src/platform/resources/tunewick.manifest.in
               ${TUNEWICK_GENERATED_RESOURCES}/tunewick.manifest @ONLY)
string(APPEND CMAKE_RC_FLAGS " -I${TUNEWICK_GENERATED_RESOURCES}")
# What the resource script takes in besides its #includes, which CMake's scan does not see: a
# change to the icon or the manifest must rebuild every program that embeds them.
set(TUNEWICK_RESOURCE_INPUTS ${PROJECT_SOURCE_DIR}/src/platform/resources/tunewick.ico
    ${TUNEWICK_GENERATED_RESOURCES}/tunewick.manifest)

# GoogleTest from Debian's source package, built with the cross compiler.
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
target_compile_options(gtest PRIVATE -w)
target_compile_options(gtest_main PRIVATE -w)
# What the win32 thread model lacks and GoogleTest needs, for it and every test that uses it.
target_compile_options(gtest PUBLIC
    -include ${PROJECT_SOURCE_DIR}/tests/support/win32/gtest_win32_threads.h)

# Tests run under Wine, inside the display and prefix that the wine.start fixture prepares.
set(TUNEWICK_WINE_SESSION ${CMAKE_BINARY_DIR}/wine)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(TUNEWICK_WINE_ARCH win64)
else()
    set(TUNEWICK_WINE_ARCH win32)
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/tools/wine/run ${TUNEWICK_WINE_SESSION})

# GUI programs: Unicode entry point wWinMain, no console.
function(tunewick_gui_program target)
    target_link_options(${target} PRIVATE -municode -mwindows)
endfunction()
# Console programs (tests, tools): wmain.
function(tunewick_console_program target)
    target_link_options(${target} PRIVATE -municode)
endfunction()
