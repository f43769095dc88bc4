// The POSIX calls behind the stand-in's files and clock, gathered in one table
// so that a test can give the rare answers of the system: a descriptor 0, a
// short or empty write, an interrupted call, a failed lock, status, truncation
// or close, a clock that cannot be read. The table holds the system's own calls
// unless a test puts others in; nothing else about the stand-in changes.
#pragma once

#include <ctime>
#include <sys/stat.h>
#include <sys/types.h>

namespace standin {

struct SystemCalls {
    int (*open)(const char* path, int flags, mode_t mode);
    int (*flock)(int fd, int operation);
    int (*fstat)(int fd, struct stat* status);
    int (*ftruncate)(int fd, off_t length);
    ssize_t (*write)(int fd, const void* data, size_t count);
    int (*close)(int fd);
    int (*clockGettime)(clockid_t clock, timespec* now);
};

// The calls that the stand-in makes: the system's own until replaced.
SystemCalls& systemCalls();

} // namespace standin
