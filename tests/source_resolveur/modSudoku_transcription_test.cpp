// The backtracking phase against the plain step-by-step transcription of the test
// support: same steps, same board, the cells going through the same sequence of
// contents as the transcription's labels, and the same labels at the end.
#include "GridFiles.h"
#include "modSudoku_BackTracking.h"
#include "solver_test_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using namespace modSudoku;
using solver_test::BoardText;
using solver_test::kReference;
using solver_test::SetBoard;
using solver_test::TestForm;
using solver_test::Transcription;

namespace {

std::uint64_t Hash(const forms::CaptionChars& captions) {
    std::uint64_t h = 1469598103934665603ull;
    for (char c : captions) {
        h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    return h;
}

// Each label content, as a hash, repeats dropped.
class LabelHistory {
public:
    void Add(const forms::CaptionChars& captions) {
        const std::uint64_t h = Hash(captions);
        if (hashes.empty() || hashes.back() != h) {
            hashes.push_back(h);
        }
    }
    std::vector<std::uint64_t> hashes;
};

void ExpectSameSearch(const std::string& puzzle) {
    SCOPED_TRACE(puzzle);
    TestForm deduction;
    SetBoard(puzzle);
    PhaseDecoupage(deduction);
    const std::string start = BoardText();

    // The search reports its cell changes; the labels they would give are
    // rebuilt here from the labels shown before it.
    TestForm fast;
    Affiche_Grille(fast);
    LabelHistory fastHistory;
    forms::CaptionChars shown = fast.Captions();
    auto follow = [&](int label, int valeur) {
        shown[static_cast<std::size_t>(label)] =
            valeur == 0 ? ' ' : static_cast<char>('0' + valeur);
        fastHistory.Add(shown);
    };
    const std::int64_t fastSteps = BackTracking(fast, follow);
    const std::string fastBoard = BoardText();

    SetBoard(start);
    TestForm plain;
    Affiche_Grille(plain);
    LabelHistory plainHistory;
    plain.SetCaptionObserver(
        [&](const forms::CaptionChars& captions) { plainHistory.Add(captions); });
    const std::int64_t plainSteps = Transcription(plain);

    EXPECT_EQ(fastSteps, plainSteps);
    EXPECT_EQ(fastBoard, BoardText());
    ASSERT_EQ(fastHistory.hashes.size(), plainHistory.hashes.size());
    for (std::size_t i = 0; i < fastHistory.hashes.size(); ++i) {
        ASSERT_EQ(fastHistory.hashes[i], plainHistory.hashes[i])
            << "label contents differ at " << i;
    }
    EXPECT_EQ(fast.Captions(), shown) << "the labels show the last change";
    EXPECT_EQ(fast.Captions(), plain.Captions());

    // Without a report, the same search.
    SetBoard(start);
    TestForm quiet;
    Affiche_Grille(quiet);
    EXPECT_EQ(PhaseBackTracking(quiet), plainSteps);
    EXPECT_EQ(BoardText(), fastBoard);
    EXPECT_EQ(quiet.Captions(), plain.Captions());
}

TEST(BackTracking, FollowsTheStepByStepSearch) {
    ExpectSameSearch(std::string(81, '0'));
    std::string sparse(kReference);
    for (std::size_t i = 0; i < 81; ++i) {
        if (i % 3 != 0) {
            sparse[i] = '0';
        }
    }
    ExpectSameSearch(sparse);
    // The first hard board: some 300 000 steps with long retreats.
    ExpectSameSearch(grids::HardBoards().front().puzzle);
}

} // namespace
