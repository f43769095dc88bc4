// Kernel services of the stand-in: the last error, the tick count, the module
// handle, debug output, system error texts and files through POSIX calls.
#include "State.h"

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

void setLastError(DWORD code) {
    lastError = code;
}

} // namespace standin

using namespace standin;

DWORD WINAPI GetLastError(void) {
    return lastError;
}

DWORD WINAPI GetTickCount(void) {
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
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
// fails as on Windows. Programs that do not lock are not stopped.
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
    // The file is truncated only once the sharing check has passed.
    int fd = ::open(name, mode | (creating ? O_CREAT : 0) | O_CLOEXEC, 0666);
    if (fd < 0) {
        setLastError(errorFromErrno(errno, creating));
        return INVALID_HANDLE_VALUE;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int error = errno;
        ::close(fd);
        setLastError(errorFromErrno(error, creating));
        return INVALID_HANDLE_VALUE;
    }
    struct stat opened {};
    bool regular = ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode);
    if (creating && regular && ::ftruncate(fd, 0) != 0) {
        int error = errno;
        ::close(fd);
        setLastError(errorFromErrno(error, creating));
        return INVALID_HANDLE_VALUE;
    }
    std::uintptr_t handle = nextFile;
    nextFile += 4;
    files()[handle] = fd;
    setLastError(creating && existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return reinterpret_cast<HANDLE>(handle);
}

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
    while (done < count) {
        ssize_t n = ::write(found->second, data + done, count - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            if (written != nullptr) {
                *written = done;
            }
            setLastError(n < 0 ? errorFromErrno(errno, false) : ERROR_DISK_FULL);
            return FALSE;
        }
        done += static_cast<DWORD>(n);
    }
    if (written != nullptr) {
        *written = done;
    }
    return TRUE;
}

BOOL WINAPI CloseHandle(HANDLE handle) {
    auto found = files().find(reinterpret_cast<std::uintptr_t>(handle));
    if (found == files().end()) {
        setLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    int result = ::close(found->second);
    files().erase(found);
    if (result != 0) {
        setLastError(errorFromErrno(errno, false));
        return FALSE;
    }
    return TRUE;
}

void WINAPI InitCommonControls(void) {}
