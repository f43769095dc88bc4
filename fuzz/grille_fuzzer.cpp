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
// The solver's backtracking is exhaustive in a fixed cell order, and some
// grids with a completion need hundreds of millions of steps (about 100 times
// slower under the sanitizers than in a release build). Such inputs are left
// out, before the run, when a search of our own in the same cell and digit
// order needs more than kStepBudget steps on the grid as loaded; the stress
// run covers the hard boards natively. Grids without a completion always run.
#include "GrilleText.h"
#include "SolverOutcome.h"
#include "frmSudoku.h"
#include "headless_runtime.h"
#include "modSudoku.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::int64_t kStepBudget = 200'000;

// A scratch program folder for this process under $TMPDIR, removed at a normal
// exit (never destroyed itself, so that the removal can still read it).
const fs::path& Folder() {
    static const fs::path* const folder = [] {
        std::string pattern = (fs::temp_directory_path() / "grille_fuzzer.XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        return new fs::path(pattern);
    }();
    static const bool removalRegistered = std::atexit([] { fs::remove_all(*folder); }) == 0;
    (void)removalRegistered;
    return *folder;
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
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
    std::string ProgramFolder() const override { return Folder().string(); }
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
    const check::Board loaded = check::loadedGrille(input);
    if (check::countCompletions(loaded, 1) > 0 &&
        check::searchSteps(loaded, check::bottomUpOrder(), kStepBudget) < 0) {
        return -1; // too long a search for a fuzzing run; not kept in the corpus
    }

    const fs::path& folder = Folder();
    {
        std::ofstream grille(folder / "grille.txt", std::ios::binary | std::ios::trunc);
        grille.write(input.data(), static_cast<std::streamsize>(input.size()));
    }
    fs::remove(folder / "solution.txt");

    FuzzForm form;
    const int exitCode = frmSudoku::RunSudoku(form);

    const std::string saved = ReadAll(folder / "solution.txt");
    if (std::string finding = check::judgeSolverOutcome(loaded, exitCode, saved);
        !finding.empty()) {
        Fail(input, "loaded " + check::toText(loaded) + ", exit code " + std::to_string(exitCode) +
                        ": " + finding);
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
