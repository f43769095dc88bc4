// Program folder and time of day, from the operating system.
#include "form_runtime.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <ctime>
#include <unistd.h>
#endif

#include <vector>

namespace forms {

#ifdef _WIN32

std::string ExecutableFolder() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD n =
            GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) {
            return {};
        }
        if (n < buffer.size()) {
            std::string path(buffer.data(), n);
            const auto slash = path.find_last_of("\\/");
            if (slash == std::string::npos) {
                return {};
            }
            // "C:\prog.exe" keeps its root separator: "C:\".
            const bool driveRoot = slash == 2 && path[1] == ':';
            return path.substr(0, driveRoot ? slash + 1 : slash);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string LocalTimeOfDay() {
    char text[64];
    const int n = GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, text, sizeof text);
    return n > 0 ? std::string(text) : std::string();
}

#else

std::string ExecutableFolder() {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) {
            return {};
        }
        if (static_cast<std::size_t>(n) < buffer.size()) {
            std::string path(buffer.data(), static_cast<std::size_t>(n));
            const auto slash = path.rfind('/');
            if (slash == std::string::npos) {
                return {};
            }
            return slash == 0 ? std::string("/") : path.substr(0, slash);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string LocalTimeOfDay() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    const std::size_t n = std::strftime(text, sizeof text, "%H:%M:%S", &local);
    return std::string(text, n);
}

#endif

} // namespace forms
