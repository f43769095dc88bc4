// Fuzz target: the bytes of grille.txt through the solver's whole run (clear,
// load, search, save) in a scratch program folder. The run must not crash,
// trip a sanitizer or leak, and what it leaves is judged by our own checks:
// - solution.txt is 81 lines of one digit and CR LF;
// - "solved" comes only with a completion of the grid as loaded, complete,
//   valid, keeping every given, and the first one in the search order;
// - "no solution" comes only for a grid without a completion, and the file then
//   holds the grid as loaded, read here by a reader of our own;
// - the board, the labels and the log agree with that outcome, and no message
//   box was shown.
//
// What a sound run leaves is worked out before the run, once per loaded grid
// (check::ExpectedRunCache): whether the grid has a completion
// (check::countCompletions) and, when it has, the first completion in the
// solver's cell and digit order, from a search of our own in that order
// (check::searchSteps). The solver's backtracking is exhaustive in
// that order, and some grids with a completion need hundreds of millions of
// steps (about 100 times slower under the sanitizers than in a release
// build). A grid whose search of our own needs more than kStepBudget steps is
// left out; the stress run covers the hard boards natively. Grids without a
// completion always run.
#include "GrilleText.h"
#include "SolverOutcome.h"
#include "frmSudoku.h"
#include "headless_runtime.h"
#include "modSudoku.h"

#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <linux/magic.h>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::int64_t kStepBudget = 200'000;
// Mutations of separators, line ends and bytes past the ninth line leave the
// loaded grid as it was: in a 30 s run, nine inputs in ten load a grid that an
// earlier input loaded. The expected runs of the last grids are kept.
constexpr std::size_t kExpectedRunSlots = 4096;

[[noreturn]] void SystemFailure(const char* what, const std::string& path) {
    std::fprintf(stderr, "grille_fuzzer: %s %s: %s\n", what, path.c_str(), std::strerror(errno));
    std::abort();
}

// The scratch program folder of this process and its two files, removed at a
// normal exit (never destroyed themselves, so that the removal can still read
// them).
//
// solution.txt is a named pipe that this process holds open for reading. The
// solver's save opens it, writes its 81 lines and closes it as it would a
// file, and what comes out of the pipe is what a file would hold: the save
// opens it once, writes in order and never seeks (a seek would fail here and
// show as a failed save). The 81 writes cost half the kernel time of writes to
// a file, and nothing is created or removed per input.
struct Scratch {
    std::string folder;
    std::string grille;
    std::string solution;
    int solutionReader = -1;
};

constexpr std::string_view kScratchPrefix = "grille_fuzzer-";

bool OnMemoryFileSystem(const std::string& folder) {
    struct statfs info {};
    return statfs(folder.c_str(), &info) == 0 && info.f_type == TMPFS_MAGIC &&
           access(folder.c_str(), W_OK | X_OK) == 0;
}

// Where the scratch folder goes: $TMPDIR when it is on a memory file system,
// otherwise /dev/shm when that is one, otherwise $TMPDIR. Each input creates,
// writes and removes files there; on a disk file system that costs more than
// the solver's run itself (ext4: 0.15 ms of kernel time per input for the
// inodes, 3 ms for a file truncated and written again, flushed at its close).
std::string ScratchParent() {
    const std::string temp = fs::temp_directory_path().string();
    if (OnMemoryFileSystem(temp)) {
        return temp;
    }
    if (OnMemoryFileSystem("/dev/shm")) {
        return "/dev/shm";
    }
    return temp;
}

// Folders left by earlier processes that ended on a finding (libFuzzer then
// leaves without the exit handlers): grille_fuzzer-<pid>-XXXXXX of a process
// that is gone.
void RemoveStaleFolders(const std::string& parent) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(parent, error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(kScratchPrefix, 0) != 0) {
            continue;
        }
        const long pid = std::strtol(name.c_str() + kScratchPrefix.size(), nullptr, 10);
        if (pid > 0 && kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
            fs::remove_all(entry.path(), error);
        }
    }
}

const Scratch& Files() {
    static const Scratch* const files = [] {
        const std::string parent = ScratchParent();
        RemoveStaleFolders(parent);
        std::string pattern =
            parent + "/" + std::string(kScratchPrefix) + std::to_string(getpid()) + "-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) {
            SystemFailure("mkdtemp", pattern);
        }
        auto* made = new Scratch{pattern, pattern + "/grille.txt", pattern + "/solution.txt"};
        if (mkfifo(made->solution.c_str(), 0600) != 0) {
            SystemFailure("mkfifo", made->solution);
        }
        // Without a reader the save's open would wait for one.
        made->solutionReader = open(made->solution.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (made->solutionReader < 0) {
            SystemFailure("open", made->solution);
        }
        return made;
    }();
    static const bool removalRegistered = std::atexit([] { fs::remove_all(files->folder); }) == 0;
    (void)removalRegistered;
    return *files;
}

// Writes grille.txt as a new file: removed first rather than truncated (see
// ScratchParent).
void WriteGrille(std::string_view bytes) {
    const std::string& path = Files().grille;
    if (unlink(path.c_str()) != 0 && errno != ENOENT) {
        SystemFailure("unlink", path);
    }
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        SystemFailure("open", path);
    }
    while (!bytes.empty()) {
        const ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            SystemFailure("write", path);
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    if (close(fd) != 0) {
        SystemFailure("close", path);
    }
}

// The bytes that the run wrote to solution.txt ("" when it wrote none), into
// a buffer kept from one input to the next. The pipe is left empty.
const std::string& ReadSolution() {
    static std::string bytes;
    bytes.clear();
    char block[512];
    for (;;) {
        const ssize_t n = read(Files().solutionReader, block, sizeof block);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n == 0 || (n < 0 && errno == EAGAIN)) {
            break; // no writer left, or one that still holds it open
        }
        if (n < 0) {
            SystemFailure("read", Files().solution);
        }
        bytes.append(block, static_cast<std::size_t>(n));
    }
    return bytes;
}

std::string Escaped(std::string_view bytes) {
    std::string text;
    for (unsigned char c : bytes.substr(0, 400)) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            text += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            text += hex;
        }
    }
    return text;
}

[[noreturn]] void Fail(std::string_view input, const std::string& what) {
    std::fprintf(stderr, "grille.txt \"%s\"\n  %s\n", Escaped(input).c_str(), what.c_str());
    std::abort();
}

// The solver's board (label 9y + x, y from the bottom) in row-major order from the top.
check::Board BoardNow() {
    check::Board board{};
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 9; ++x) {
            board[9 * (8 - y) + x] = modSudoku::Grille(x, y);
        }
    }
    return board;
}

// The run's form: the scratch program folder, and the message boxes kept.
class FuzzForm : public forms::HeadlessRuntime {
public:
    std::string ProgramFolder() const override { return Files().folder; }
    void ShowMessage(const std::string& text, const std::string& /*title*/) override {
        messages.push_back(text);
    }
    std::vector<std::string> messages;
};

// Empty when the labels show the board and the log holds the lines of the outcome.
std::string JudgeForm(const FuzzForm& form, const check::Board& board, bool solved) {
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 9; ++x) {
            const int v = board[9 * (8 - y) + x];
            const char want = v == 0 ? ' ' : static_cast<char>('0' + v);
            if (form.Captions()[9 * y + x] != want) {
                return "label " + std::to_string(9 * y + x) + " does not show the board";
            }
        }
    }
    std::string_view log = form.LogText();
    int lines = 1;
    for (std::size_t at = log.find("\r\n"); at != std::string_view::npos;
         at = log.find("\r\n", at + 2)) {
        ++lines;
    }
    if (lines != (solved ? 3 : 4)) {
        return "the log has " + std::to_string(lines) + " lines: " + std::string(log);
    }
    if (log.find(" : Début recherche par découpage...\r\n") == std::string_view::npos ||
        log.find(" : Fin recherche par découpage : ") == std::string_view::npos ||
        log.find(" : Fin recherche par back tracking : ") == std::string_view::npos) {
        return "a line of the log is missing: " + std::string(log);
    }
    if (!form.messages.empty()) {
        return "a message box was shown: " + form.messages.front();
    }
    return {};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // Allocated with the first input: finding a grid allocates nothing later.
    static check::ExpectedRunCache expectedRuns(kStepBudget, kExpectedRunSlots);
    const check::ExpectedRun* expected = expectedRuns.find(check::loadedGrille(input));
    if (expected == nullptr) {
        return -1; // too long a search for a fuzzing run; not kept in the corpus
    }

    WriteGrille(input);

    FuzzForm form;
    const int exitCode = frmSudoku::RunSudoku(form);

    const std::string& saved = ReadSolution();
    if (std::string finding = check::judgeSolverOutcome(*expected, exitCode, saved);
        !finding.empty()) {
        Fail(input, "loaded " + check::toText(expected->loaded) + ", exit code " +
                        std::to_string(exitCode) + ": " + finding);
    }
    const check::Board board = BoardNow();
    if (check::savedSolution(saved) != board) {
        Fail(input, "the board after the run differs from the saved file");
    }
    if (std::string finding = JudgeForm(form, board, exitCode == check::kSolved);
        !finding.empty()) {
        Fail(input, finding);
    }
    return 0;
}
