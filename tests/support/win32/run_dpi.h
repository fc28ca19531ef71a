#pragma once

// A Windows test run at a DPI of its own: tools/wine/run sets the system DPI from
// TUNEWICK_WINE_DPI before the program starts. A run whose DPI did not take effect would test
// 96 DPI under another name, so it stops at once.

#include <cstdio>
#include <cstdlib>

#include "platform/layout.h"

namespace tunewick::e2e {

// False (after saying why) when the run asked for a DPI that the system does not have.
inline bool RunsAtTheAskedDpi() {
    const wchar_t* asked = _wgetenv(L"TUNEWICK_WINE_DPI");
    if (asked == nullptr || *asked == L'\0' || platform::SystemDpi() == _wtoi(asked)) {
        return true;
    }
    std::fwprintf(stderr, L"asked to run at %ls DPI, but the system DPI is %d\n", asked,
                  platform::SystemDpi());
    return false;
}

}  // namespace tunewick::e2e
