#include "PuzzleFiles.h"

#include "PuzzleText.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Creates the file and writes the whole text into it; on success fd holds it,
// open and locked. The file is locked before it is cut to nothing, so a file
// that another run holds keeps what it has; only a regular file has a length to
// cut (a link to /dev/full, say, has none). A short write goes on with the rest,
// an interrupted one is made again, and one that takes nothing is a full device
// (it would otherwise be made again for ever). On a failure the file is closed
// and the result is the line that says why.
std::optional<std::string> WriteGridFile(const char* name, const std::string& text, int& fd) {
    fd = open(name, O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    struct stat opened {};
    if (fd < 0 || flock(fd, LOCK_EX | LOCK_NB) != 0 || fstat(fd, &opened) != 0 ||
        (S_ISREG(opened.st_mode) && ftruncate(fd, 0) != 0)) {
        const int error = errno;
        if (fd >= 0) {
            close(fd);
        }
        return FileFailureLine(name, FileStep::Create, std::strerror(error));
    }
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            const int error = n < 0 ? errno : ENOSPC;
            close(fd);
            return FileFailureLine(name, FileStep::Write, std::strerror(error));
        }
        done += static_cast<std::size_t>(n);
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> WritePuzzleFiles(const CellGrid& solution, const CellGrid& puzzle) {
    int solutionFile = -1;
    if (auto failure = WriteGridFile(kSolutionFile, GridFileText(solution), solutionFile)) {
        return failure;
    }
    int maskFile = -1;
    if (auto failure = WriteGridFile(kMaskFile, GridFileText(puzzle), maskFile)) {
        close(solutionFile);
        return failure;
    }
    return std::nullopt;
}
