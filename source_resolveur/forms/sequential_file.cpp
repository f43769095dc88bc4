#include "sequential_file.h"

#ifdef _WIN32
#include "system_text.h"

#include <windows.h>
#else
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace forms {

#ifdef _WIN32

namespace {

constexpr unsigned long kDiskFull = ERROR_DISK_FULL;

HANDLE Handle(void* h) {
    return static_cast<HANDLE>(h);
}

HANDLE OpenWide(const std::string& path, DWORD access, DWORD share, DWORD disposition) {
    const std::wstring wide = WideFromUtf8(path);
    if (wide.empty() && !path.empty()) {
        return INVALID_HANDLE_VALUE; // not UTF-8: the conversion's error stands
    }
    return CreateFileW(wide.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

} // namespace

bool SystemFile::Fail() {
    return Fail(GetLastError());
}

bool SystemFile::Fail(unsigned long number) {
    error_.number = number;
    error_.description = SystemErrorText(number);
    return false;
}

void SystemFile::Release() {
    if (handle_ != nullptr) {
        CloseHandle(Handle(handle_));
        handle_ = nullptr;
    }
}

bool SystemFile::OpenForInput(const std::string& path) {
    const HANDLE h =
        OpenWide(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    if (h == INVALID_HANDLE_VALUE) {
        return Fail();
    }
    handle_ = h;
    return true;
}

bool SystemFile::OpenForOutput(const std::string& path) {
    const HANDLE h = OpenWide(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS);
    if (h == INVALID_HANDLE_VALUE) {
        return Fail();
    }
    // CREATE_ALWAYS tells whether the file was there.
    if (GetLastError() != ERROR_ALREADY_EXISTS) {
        made_ = path;
    }
    handle_ = h;
    return true;
}

void SystemFile::Discard() {
    Release();
    if (!made_.empty()) {
        DeleteFileW(WideFromUtf8(made_).c_str());
        made_.clear();
    }
}

long SystemFile::ReadSome(char* buffer, std::size_t size) {
    DWORD read = 0;
    if (!ReadFile(Handle(handle_), buffer, static_cast<DWORD>(size), &read, nullptr)) {
        Fail();
        return -1;
    }
    return static_cast<long>(read);
}

long SystemFile::WriteSome(const char* data, std::size_t size) {
    DWORD written = 0;
    if (!WriteFile(Handle(handle_), data, static_cast<DWORD>(size), &written, nullptr)) {
        Fail();
        return -1;
    }
    return static_cast<long>(written);
}

bool SystemFile::CloseChecked() {
    const HANDLE h = Handle(handle_);
    handle_ = nullptr;
    return CloseHandle(h) ? true : Fail();
}

#else

namespace {

constexpr unsigned long kDiskFull = ENOSPC;

// Where the link at path leads, read from the link's own folder unless absolute;
// path itself when it is no link (a file made there meanwhile).
std::string LinkTarget(const std::string& path) {
    char target[PATH_MAX];
    const ssize_t n = ::readlink(path.c_str(), target, sizeof target);
    if (n <= 0 || n >= static_cast<ssize_t>(sizeof target)) {
        return path;
    }
    const std::string to(target, static_cast<std::size_t>(n));
    return to[0] == '/' ? to : path.substr(0, path.rfind('/') + 1) + to;
}

// A system call again after each interruption by a signal.
template <typename Call> ssize_t Uninterrupted(Call call) {
    for (;;) {
        const ssize_t n = call();
        if (n >= 0 || errno != EINTR) {
            return n;
        }
    }
}

} // namespace

bool SystemFile::Fail() {
    return Fail(static_cast<unsigned long>(errno));
}

bool SystemFile::Fail(unsigned long number) {
    error_.number = number;
    error_.description = std::strerror(static_cast<int>(number));
    return false;
}

void SystemFile::Release() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

bool SystemFile::OpenForInput(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return Fail();
    }
    fd_ = fd;
    return true;
}

// A file is created only where none stands (O_EXCL), so that a file made here is
// known by its path; a link that leads to no file yet is followed to where the
// file is made.
bool SystemFile::OpenForOutput(const std::string& path) {
    std::string target = path;
    for (int hop = 0; hop < 40; ++hop) {
        int fd = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        if (fd < 0 && errno == ENOENT) {
            fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd < 0 && errno == EEXIST) {
                target = LinkTarget(target);
                continue;
            }
            if (fd >= 0) {
                made_ = target;
            }
        }
        if (fd < 0) {
            return Fail();
        }
        fd_ = fd;
        return true;
    }
    return Fail(ELOOP);
}

void SystemFile::Discard() {
    Release();
    if (!made_.empty()) {
        ::unlink(made_.c_str());
        made_.clear();
    }
}

long SystemFile::ReadSome(char* buffer, std::size_t size) {
    const ssize_t n = Uninterrupted([&] { return ::read(fd_, buffer, size); });
    return n < 0 ? (Fail(), -1) : static_cast<long>(n);
}

long SystemFile::WriteSome(const char* data, std::size_t size) {
    const ssize_t n = Uninterrupted([&] { return ::write(fd_, data, size); });
    return n < 0 ? (Fail(), -1) : static_cast<long>(n);
}

bool SystemFile::CloseChecked() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0 ? true : Fail();
}

#endif

SystemFile::~SystemFile() {
    Release();
}

bool InputFile::Fill() {
    if (next_ < filled_) {
        return true;
    }
    if (ended_) {
        return false;
    }
    const long n = ReadSome(buffer_, sizeof buffer_);
    if (n <= 0) {
        ended_ = true;
        failed_ = n < 0;
        return false;
    }
    next_ = 0;
    filled_ = static_cast<std::size_t>(n);
    return true;
}

bool InputFile::AtEnd() {
    if (!Fill()) {
        return true;
    }
    if (afterCr_) {
        afterCr_ = false;
        if (buffer_[next_] == '\n') {
            ++next_;
            return !Fill();
        }
    }
    return false;
}

bool InputFile::ReadLine(std::string& line) {
    line.clear();
    if (AtEnd()) {
        return false;
    }
    for (;;) {
        if (!Fill()) {
            return !failed_; // the end of the file ends the last line
        }
        const char c = buffer_[next_++];
        if (c == '\r' || c == '\n') {
            afterCr_ = c == '\r';
            return true;
        }
        if (line.size() == kMaxLine) {
            return false;
        }
        line.push_back(c);
    }
}

bool OutputFile::WriteLine(std::string_view text) {
    std::string line(text);
    line += "\r\n";
    std::string_view rest(line);
    while (!rest.empty()) {
        const long n = WriteSome(rest.data(), rest.size());
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            return Fail(kDiskFull);
        }
        rest.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace forms
