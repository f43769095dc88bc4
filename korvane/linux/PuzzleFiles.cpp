#include "PuzzleFiles.h"

#include "PuzzleText.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// One of the two files, held for this run: open for writing and locked.
struct HeldFile {
    int fd = -1;
    std::string made; // its path when this run created it, so that a failure removes it
};

// Where the link at path leads, read from the link's own folder unless absolute;
// path itself when it is no link (a file made there meanwhile).
std::string LinkTarget(const std::string& path) {
    char target[PATH_MAX];
    const ssize_t n = readlink(path.c_str(), target, sizeof target);
    if (n <= 0 || n >= static_cast<ssize_t>(sizeof target)) {
        return path;
    }
    const std::string to(target, static_cast<std::size_t>(n));
    return to[0] == '/' ? to : path.substr(0, path.rfind('/') + 1) + to;
}

// Opens the file for writing, or creates it where there is none, and locks it for
// this run alone, without changing it. A link to a file still to be made is
// followed to the place where it is made, so that the file made there is known as
// this run's. The file locked must still stand under its name: a run that made it
// and gave it up has removed it before unlocking it, and the name is tried again.
std::optional<std::string> HoldGridFile(const char* name, HeldFile& held) {
    std::string path = name;
    for (int attempt = 0; attempt < 40; ++attempt) {
        int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
        bool made = false;
        if (fd < 0 && errno == ENOENT) {
            fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            made = fd >= 0;
            if (fd < 0 && errno == EEXIST) {
                path = LinkTarget(path);
                continue;
            }
        }
        if (fd < 0) {
            return FileFailureLine(name, FileStep::Create, std::strerror(errno));
        }
        if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            close(fd);
            return error == EWOULDBLOCK
                       ? FileFailureLine(name, FileStep::Open, kFileInUse)
                       : FileFailureLine(name, FileStep::Create, std::strerror(error));
        }
        struct stat opened {};
        struct stat named {};
        if (fstat(fd, &opened) == 0 && stat(path.c_str(), &named) == 0 &&
            opened.st_dev == named.st_dev && opened.st_ino == named.st_ino) {
            held = {fd, made ? path : std::string()};
            return std::nullopt;
        }
        close(fd);
    }
    return FileFailureLine(name, FileStep::Create, std::strerror(ELOOP));
}

// Cuts a held file to nothing and writes the whole text into it. Only a regular
// file has a length to cut (a link to /dev/full, say, has none). A short write
// goes on with the rest, an interrupted one is made again, and one that takes
// nothing is a full device (it would otherwise be made again for ever).
std::optional<std::string> WriteHeldFile(const char* name, int fd, const std::string& text) {
    struct stat opened {};
    if (fstat(fd, &opened) != 0 || (S_ISREG(opened.st_mode) && ftruncate(fd, 0) != 0)) {
        return FileFailureLine(name, FileStep::Create, std::strerror(errno));
    }
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return FileFailureLine(name, FileStep::Write, std::strerror(n < 0 ? errno : ENOSPC));
        }
        done += static_cast<std::size_t>(n);
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> WritePuzzleFiles(const CellGrid& solution, const CellGrid& puzzle) {
    const char* names[] = {kSolutionFile, kMaskFile};
    const std::string texts[] = {GridFileText(solution), GridFileText(puzzle)};
    HeldFile files[2];
    std::optional<std::string> failure;
    for (int i = 0; i < 2 && !failure; ++i) {
        failure = HoldGridFile(names[i], files[i]);
    }
    for (int i = 0; i < 2 && !failure; ++i) {
        failure = WriteHeldFile(names[i], files[i].fd, texts[i]);
    }
    if (failure) {
        // Removed while still locked: a run that opened it meanwhile tries again.
        for (const HeldFile& file : files) {
            if (!file.made.empty()) {
                unlink(file.made.c_str());
            }
            if (file.fd >= 0) {
                close(file.fd);
            }
        }
    }
    return failure;
}
