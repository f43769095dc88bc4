// Program folder and time of day, from the operating system.
#include "form_runtime.h"

#ifdef _WIN32
#include "system_text.h"

#include <windows.h>
#else
#include <ctime>
#include <unistd.h>
#endif

#include <vector>

namespace forms {

#ifdef _WIN32

std::string ExecutableFolder() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) {
            return {};
        }
        if (n < buffer.size()) {
            std::wstring path(buffer.data(), n);
            const auto slash = path.find_last_of(L"\\/");
            if (slash == std::wstring::npos) {
                return {};
            }
            // "C:\prog.exe" keeps its root separator: "C:\".
            const bool driveRoot = slash == 2 && path[1] == L':';
            return Utf8FromWide(path.substr(0, driveRoot ? slash + 1 : slash));
        }
        // A full buffer may hold a truncated path: try again with more room.
        buffer.resize(buffer.size() * 2);
    }
}

std::string LocalTimeOfDay() {
    char text[64];
    const int n = GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, text, sizeof text);
    return n > 0 ? std::string(text) : std::string();
}

#else

std::string FolderOfLink(const std::string& link) {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t n = readlink(link.c_str(), buffer.data(), buffer.size());
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
        // readlink fills the whole buffer when the target may be longer: try again.
        buffer.resize(buffer.size() * 2);
    }
}

std::string ExecutableFolder() {
    return FolderOfLink("/proc/self/exe");
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
