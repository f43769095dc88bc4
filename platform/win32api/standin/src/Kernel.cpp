// Kernel services of the stand-in: the last error, the tick count, the module
// handle, debug output, system error texts and files through POSIX calls.
#include "State.h"
#include "SystemCalls.h"

#include <commctrl.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <map>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

thread_local DWORD lastError = ERROR_SUCCESS;

int openFile(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}

int readClock(clockid_t clock, timespec* now) {
    return ::clock_gettime(clock, now);
}

standin::SystemCalls systemCallTable{openFile, ::flock, ::fstat,  ::ftruncate,
                                     ::write,  ::close, readClock};

// File handles are distinct values that map onto file descriptors.
std::map<std::uintptr_t, int>& files() {
    static auto* table = new std::map<std::uintptr_t, int>;
    return *table;
}
std::uintptr_t nextFile = 0x50010;

DWORD errorFromErrno(int error, bool creating) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return creating ? ERROR_PATH_NOT_FOUND : ERROR_FILE_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
        return ERROR_ACCESS_DENIED;
    case EROFS:
        return ERROR_WRITE_PROTECT;
    case EEXIST:
        return ERROR_FILE_EXISTS;
    case EMFILE:
    case ENFILE:
        return ERROR_TOO_MANY_OPEN_FILES;
    case ENAMETOOLONG:
        return ERROR_FILENAME_EXCED_RANGE;
    case ENOSPC:
    case EDQUOT:
        return ERROR_DISK_FULL;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case EBADF:
        return ERROR_INVALID_HANDLE;
    case EINVAL:
        return ERROR_INVALID_PARAMETER;
    case EWOULDBLOCK:
        return ERROR_SHARING_VIOLATION;
    default:
        return ERROR_GEN_FAILURE;
    }
}

// The texts that Windows gives for the codes above.
const std::map<DWORD, const char*> kErrorTexts = {
    {ERROR_SUCCESS, "The operation completed successfully."},
    {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified."},
    {ERROR_PATH_NOT_FOUND, "The system cannot find the path specified."},
    {ERROR_TOO_MANY_OPEN_FILES, "The system cannot open the file."},
    {ERROR_ACCESS_DENIED, "Access is denied."},
    {ERROR_INVALID_HANDLE, "The handle is invalid."},
    {ERROR_NOT_ENOUGH_MEMORY, "Not enough memory resources are available to process this command."},
    {ERROR_WRITE_PROTECT, "The media is write protected."},
    {ERROR_GEN_FAILURE, "A device attached to the system is not functioning."},
    {ERROR_SHARING_VIOLATION,
     "The process cannot access the file because it is being used by another process."},
    {ERROR_FILE_EXISTS, "The file exists."},
    {ERROR_INVALID_PARAMETER, "The parameter is incorrect."},
    {ERROR_DISK_FULL, "There is not enough space on the disk."},
    {ERROR_FILENAME_EXCED_RANGE, "The filename or extension is too long."},
};

} // namespace

namespace standin {

SystemCalls& systemCalls() {
    return systemCallTable;
}

void setLastError(DWORD code) {
    lastError = code;
}

} // namespace standin

using namespace standin;

DWORD WINAPI GetLastError(void) {
    return lastError;
}

// Milliseconds since the system started, on 32 bits, as on Windows. The boot
// clock goes on while the system sleeps, as Windows' count does; where it cannot
// be read, the monotonic clock, which every Linux system has. A stand-in that
// can read neither cannot tell the time and stops.
DWORD WINAPI GetTickCount(void) {
    timespec now{};
    if (systemCalls().clockGettime(CLOCK_BOOTTIME, &now) != 0 &&
        systemCalls().clockGettime(CLOCK_MONOTONIC, &now) != 0) {
        std::fputs("win32 stand-in: no clock can be read\n", stderr);
        std::abort();
    }
    auto ms = static_cast<unsigned long long>(now.tv_sec) * 1000ull +
              static_cast<unsigned long long>(now.tv_nsec) / 1000000ull;
    return static_cast<DWORD>(ms & 0xFFFFFFFFull);
}

HMODULE WINAPI GetModuleHandleA(LPCSTR name) {
    if (name != nullptr) {
        setLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    // The usual load address of a Windows program.
    return reinterpret_cast<HMODULE>(static_cast<std::uintptr_t>(0x400000));
}

// No debugger can attach to the stand-in: debug output goes to standard error.
void WINAPI OutputDebugStringA(LPCSTR text) {
    if (text != nullptr) {
        std::fputs(text, stderr);
        std::fflush(stderr);
    }
}

DWORD WINAPI FormatMessageA(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId,
                            LPSTR buffer, DWORD size, void* arguments) {
    (void)source;
    (void)languageId;
    (void)arguments;
    auto found = kErrorTexts.find(messageId);
    if (!(flags & FORMAT_MESSAGE_FROM_SYSTEM) || found == kErrorTexts.end()) {
        setLastError(ERROR_MR_MID_NOT_FOUND);
        return 0;
    }
    std::size_t length = std::strlen(found->second) + 2; // the text ends with CR LF
    if (buffer == nullptr || size <= length) {
        setLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::snprintf(buffer, size, "%s\r\n", found->second);
    return static_cast<DWORD>(length);
}

// Files are opened unshared, the one sharing mode that callers use: the handle
// takes an exclusive advisory lock, so that a second unshared open of the file
// fails as on Windows. Programs that do not lock are not stopped. Opening for
// writing with CREATE_ALWAYS cuts the file to nothing only once the lock is
// held; opening an existing file (OPEN_EXISTING) leaves it as it is.
HANDLE WINAPI CreateFileA(LPCSTR name, DWORD access, DWORD shareMode,
                          LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD flags,
                          HANDLE templateFile) {
    (void)security;
    (void)flags;
    bool reads = (access & GENERIC_READ) != 0;
    bool writes = (access & GENERIC_WRITE) != 0;
    if (name == nullptr || templateFile != nullptr || shareMode != 0 || !(reads || writes) ||
        (disposition != CREATE_ALWAYS && disposition != OPEN_EXISTING)) {
        setLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    int mode = reads && writes ? O_RDWR : writes ? O_WRONLY : O_RDONLY;
    bool creating = disposition == CREATE_ALWAYS;
    struct stat before {};
    bool existed = ::stat(name, &before) == 0;
    const SystemCalls& system = systemCalls();
    int fd = system.open(name, mode | (creating ? O_CREAT : 0) | O_CLOEXEC, 0666);
    if (fd < 0) {
        setLastError(errorFromErrno(errno, creating));
        return INVALID_HANDLE_VALUE;
    }
    auto fail = [&](int error) {
        system.close(fd);
        setLastError(errorFromErrno(error, creating));
        return INVALID_HANDLE_VALUE;
    };
    if (system.flock(fd, LOCK_EX | LOCK_NB) != 0) {
        return fail(errno);
    }
    // Only a regular file has a length to cut (a link to /dev/full, say, has none).
    struct stat opened {};
    if (system.fstat(fd, &opened) != 0) {
        return fail(errno);
    }
    if (creating && S_ISREG(opened.st_mode) && system.ftruncate(fd, 0) != 0) {
        return fail(errno);
    }
    std::uintptr_t handle = nextFile;
    nextFile += 4;
    files()[handle] = fd;
    setLastError(creating && existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return reinterpret_cast<HANDLE>(handle);
}

// A short write goes on with the rest and an interrupted one is made again. A
// write that takes nothing without an error ends the call with the count so
// far, as a WriteFile that took fewer bytes than asked; an error ends it with
// the count so far and the error.
BOOL WINAPI WriteFile(HANDLE file, LPCVOID buffer, DWORD count, LPDWORD written,
                      LPOVERLAPPED overlapped) {
    if (written != nullptr) {
        *written = 0;
    }
    auto found = files().find(reinterpret_cast<std::uintptr_t>(file));
    if (found == files().end() || overlapped != nullptr || (buffer == nullptr && count != 0)) {
        setLastError(found == files().end() ? ERROR_INVALID_HANDLE : ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const char* data = static_cast<const char*>(buffer);
    DWORD done = 0;
    BOOL result = TRUE;
    while (done < count) {
        ssize_t n = systemCalls().write(found->second, data + done, count - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            setLastError(errorFromErrno(errno, false));
            result = FALSE;
        }
        if (n <= 0) {
            break;
        }
        done += static_cast<DWORD>(n);
    }
    if (written != nullptr) {
        *written = done;
    }
    return result;
}

// The handle goes whatever close answers. An interrupted close has released the
// descriptor all the same (Linux), so only another error is a failure.
BOOL WINAPI CloseHandle(HANDLE handle) {
    auto found = files().find(reinterpret_cast<std::uintptr_t>(handle));
    if (found == files().end()) {
        setLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    int fd = found->second;
    files().erase(found);
    if (systemCalls().close(fd) != 0 && errno != EINTR) {
        setLastError(errorFromErrno(errno, false));
        return FALSE;
    }
    return TRUE;
}

void WINAPI InitCommonControls(void) {}
