// Support of the solver's tests: a form that keeps what a run shows, boards
// written as text, scratch folders, the grid files' bytes, and a plain
// step-by-step transcription of the search's operations to check the search
// against.
#pragma once

#include "headless_runtime.h"
#include "modSudoku.h"
#include "temp_folder.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace solver_test {

struct ShownMessage {
    std::string title;
    std::string text;
};

// A headless form whose clock always reads 12:34:56 and whose program folder is
// the one a test sets (the executable's own until then). It keeps the message
// boxes, the pointer, the event rounds and the caption rewrites.
class TestForm : public forms::HeadlessRuntime {
public:
    std::string TimeOfDay() const override { return "12:34:56"; }
    std::string ProgramFolder() const override;
    void ShowMessage(const std::string& text, const std::string& title) override;
    void ProcessEvents() override { ++eventRounds_; }
    void SetBusyPointer(bool busy) override { busy_ = busy; }
    void SetCaptions(const forms::CaptionChars& captions) override;

    void SetProgramFolder(std::string folder) { folder_ = std::move(folder); }
    const std::vector<ShownMessage>& Messages() const { return messages_; }
    int EventRounds() const { return eventRounds_; }
    bool BusyPointer() const { return busy_; }
    long long CaptionUpdates() const { return captionUpdates_; }
    // Called with all captions after every rewrite.
    void SetCaptionObserver(std::function<void(const forms::CaptionChars&)> observer) {
        observer_ = std::move(observer);
    }
    // The caption of a label: "" when never set, else its one character.
    std::string Caption(int index) const;

private:
    std::optional<std::string> folder_;
    std::vector<ShownMessage> messages_;
    int eventRounds_ = 0;
    bool busy_ = false;
    long long captionUpdates_ = 0;
    std::function<void(const forms::CaptionChars&)> observer_;
};

// The board that the search makes from an empty board, top row (y = 8) first.
inline constexpr std::string_view kReference = "978531642"
                                               "642978531"
                                               "531642978"
                                               "897214365"
                                               "365897214"
                                               "214365897"
                                               "789123456"
                                               "456789123"
                                               "123456789";

// Fills Grille from 81 chars, top row first ('0' or '.' = empty).
void SetBoard(std::string_view text);
// Grille as 81 chars, top row first, '0' for empty.
std::string BoardText();

// The solution.txt bytes for 81 chars, top row first.
std::string SolutionBytes(std::string_view board);
// A grille.txt for 81 chars: nine lines of digits separated by blanks, CR LF.
std::string GrilleFile(std::string_view board);

// A fresh empty folder under the temporary directory, removed at the end.
using ScratchFolder = test_support::TempFolder;

// The search's operations written out plainly, for a step-by-step transcription
// of the backtracking.

// The digits allowed at (x, y): absent from its row, its column and its square.
void Valeurs_Possibles(int x, int y, modSudoku::ListeChiffres& liste);
// 1 when the board is full (x, y untouched); else 0 with (x, y) the empty cell of
// smallest label.
int Grille_Pleine(std::int16_t& x, std::int16_t& y);

// One entry of the backtracking path.
struct Position {
    std::int16_t X;
    std::int16_t Y;
};
// The path: entry 0 is the bottom entry, never removed.
void Empile(std::int16_t x, std::int16_t y, std::vector<Position>& chemin);
void Depile(std::int16_t& x, std::int16_t& y, std::vector<Position>& chemin);

// The backtracking step by step, with the operations above: push the cell, take
// its smallest allowed digit, or go back along the path moving the latest cell to
// a larger digit; the labels are rewritten after every change. Returns the steps.
std::int64_t Transcription(forms::FormRuntime& form);

} // namespace solver_test
