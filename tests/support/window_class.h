// Windows only: the class name of a window, this process's or another's, as the
// tests and test supports of both programs compare it.
#pragma once

#include <windows.h>

#include <string>

namespace test_support {

inline std::string ClassOf(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

} // namespace test_support
