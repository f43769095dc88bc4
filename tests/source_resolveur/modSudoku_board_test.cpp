// The board operations: numbering, lists, next empty cell, display and log.
#include "solver_test_support.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace modSudoku;
using solver_test::BoardText;
using solver_test::Depile;
using solver_test::Empile;
using solver_test::Grille_Pleine;
using solver_test::kReference;
using solver_test::Manque_Carre_Case;
using solver_test::Position;
using solver_test::SetBoard;
using solver_test::TestForm;
using solver_test::Valeurs_Possibles;

namespace {

std::string Digits(const ListeChiffres& liste) {
    std::string s;
    for (int i = 0; i < 9; ++i) {
        s += static_cast<char>('0' + liste[i]);
    }
    return s;
}

class BoardTest : public ::testing::Test {
protected:
    void SetUp() override { Efface_Grille(); }
};

TEST_F(BoardTest, LabelNumberingRunsFromBottomLeftRowByRow) {
    TestForm form;
    Grille.Pose(0, 0, 1); // bottom left
    Grille.Pose(8, 0, 2); // bottom right
    Grille.Pose(0, 8, 3); // top left
    Grille.Pose(8, 8, 4); // top right
    Grille.Pose(4, 1, 5);
    Affiche_Grille(form);
    EXPECT_EQ(form.Caption(0), "1");
    EXPECT_EQ(form.Caption(8), "2");
    EXPECT_EQ(form.Caption(72), "3");
    EXPECT_EQ(form.Caption(80), "4");
    EXPECT_EQ(form.Caption(13), "5");
    EXPECT_EQ(form.Caption(1), " ") << "an empty cell shows a single blank, never 0";
    EXPECT_EQ(Grille.Lit(13), 5);
}

TEST_F(BoardTest, AfficheRewritesEveryLabel) {
    TestForm form;
    SetBoard(kReference);
    Affiche_Grille(form);
    Grille.Pose(3, 5, 0);
    Affiche_Grille(form);
    for (int label = 0; label < 81; ++label) {
        const int v = Grille.Lit(label);
        EXPECT_EQ(form.Caption(label), v == 0 ? " " : std::string(1, static_cast<char>('0' + v)));
    }
    EXPECT_EQ(form.Caption(9 * 5 + 3), " ");
}

TEST_F(BoardTest, EmptyBoardListsHoldAllDigits) {
    ListeChiffres liste;
    for (int n = 0; n < 9; ++n) {
        Manque_Carre(n, liste);
        EXPECT_EQ(Digits(liste), "123456789");
        Manque_Ligne(n, "H", liste);
        EXPECT_EQ(Compte_Chiffres(liste), 9);
        Valeurs_Possibles(n, 8 - n, liste);
        EXPECT_EQ(Digits(liste), "123456789");
    }
    std::int16_t x = 5;
    std::int16_t y = 5;
    EXPECT_EQ(Grille_Pleine(x, y), 0);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
}

TEST_F(BoardTest, SquareNumbersStartBottomLeft) {
    // Put a distinct digit at the lower-left corner of each square, read back per number.
    for (int n = 0; n < 9; ++n) {
        Grille.Pose(3 * (n % 3), 3 * (n / 3), n + 1);
    }
    ListeChiffres liste;
    for (int n = 0; n < 9; ++n) {
        SCOPED_TRACE(n);
        Manque_Carre(n, liste);
        EXPECT_EQ(liste[n], 0);
        EXPECT_EQ(Compte_Chiffres(liste), 8);
    }
    // Square 6 is x 0..2, y 6..8: the top-left square.
    Grille.Pose(2, 8, 9);
    Manque_Carre(6, liste);
    EXPECT_EQ(Digits(liste), "123456080");
    // The square of a cell is found from any of its cells.
    Manque_Carre_Case(1, 7, liste);
    EXPECT_EQ(Digits(liste), "123456080");
    Manque_Carre_Case(8, 0, liste);
    EXPECT_EQ(Digits(liste), "120456789");
}

TEST_F(BoardTest, DirectionHSelectsARowAnyOtherTextAColumn) {
    Grille.Pose(5, 2, 7); // in row 2 and column 5
    Grille.Pose(2, 6, 4); // in column 2 and row 6
    ListeChiffres liste;
    Manque_Ligne(2, "H", liste);
    EXPECT_EQ(Digits(liste), "123456089");
    for (const char* direction : {"V", "h", "", "HH"}) {
        SCOPED_TRACE(direction);
        Manque_Ligne(2, direction, liste);
        EXPECT_EQ(Digits(liste), "123056789");
    }
}

TEST_F(BoardTest, DuplicatesMakeListsShort) {
    Grille.Pose(0, 0, 3);
    Grille.Pose(1, 0, 3);
    Grille.Pose(2, 0, 5);
    ListeChiffres liste;
    Manque_Ligne(0, "H", liste);
    EXPECT_EQ(Compte_Chiffres(liste), 7);
    EXPECT_EQ(Digits(liste), "120406789");
}

TEST_F(BoardTest, ValeursPossiblesNeverHoldsTheCellsOwnDigit) {
    SetBoard(kReference);
    ListeChiffres liste;
    for (int label = 0; label < 81; ++label) {
        Valeurs_Possibles(label % 9, label / 9, liste);
        EXPECT_EQ(Compte_Chiffres(liste), 0) << "label " << label;
    }
    // With its row emptied apart from itself, a cell still excludes its own digit.
    Efface_Grille();
    Grille.Pose(4, 4, 6);
    Valeurs_Possibles(4, 4, liste);
    EXPECT_EQ(Digits(liste), "123450789");
    Grille.Pose(4, 0, 2); // column
    Grille.Pose(3, 3, 8); // square
    Grille.Pose(0, 4, 1); // row
    Valeurs_Possibles(4, 4, liste);
    EXPECT_EQ(Digits(liste), "003450709");
}

TEST_F(BoardTest, GrillePleineFindsTheSmallestEmptyLabel) {
    SetBoard(kReference);
    std::int16_t x = 7;
    std::int16_t y = 3;
    EXPECT_EQ(Grille_Pleine(x, y), 1);
    EXPECT_EQ(x, 7) << "a full board leaves x untouched";
    EXPECT_EQ(y, 3) << "a full board leaves y untouched";

    // Bottom row full, (0..3, 1) filled, (4, 1) empty, rows above with holes.
    Grille.Pose(4, 1, 0);
    Grille.Pose(6, 1, 0);
    Grille.Pose(0, 5, 0);
    Grille.Pose(2, 8, 0);
    EXPECT_EQ(Grille_Pleine(x, y), 0);
    EXPECT_EQ(x, 4);
    EXPECT_EQ(y, 1);

    // A hole further left in a higher row does not come first.
    Grille.Pose(4, 1, 5);
    Grille.Pose(6, 1, 7);
    EXPECT_EQ(Grille_Pleine(x, y), 0);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 5);
}

TEST_F(BoardTest, TraceSeparatesLinesWithCrLfAndNoneBeforeTheFirst) {
    TestForm form;
    Trace(form, "un");
    EXPECT_EQ(form.LogText(), "12:34:56 : un");
    Trace(form, "deux");
    Trace(form, "");
    EXPECT_EQ(form.LogText(), "12:34:56 : un\r\n12:34:56 : deux\r\n12:34:56 : ");
}

TEST_F(BoardTest, OutOfRangeIndexesThrowAndWriteNothing) {
    ListeChiffres liste;
    EXPECT_THROW(Grille.Pose(9, 0, 1), std::out_of_range);
    EXPECT_THROW(Grille.Pose(0, -1, 1), std::out_of_range);
    EXPECT_THROW(Grille.Pose(0, 0, 10), std::out_of_range);
    EXPECT_THROW(Grille.Pose(0, 0, -1), std::out_of_range);
    EXPECT_THROW((void)Grille(0, 9), std::out_of_range);
    EXPECT_THROW((void)Grille.Lit(81), std::out_of_range);
    EXPECT_THROW(Manque_Carre(9, liste), std::out_of_range);
    EXPECT_THROW(Manque_Ligne(-1, "H", liste), std::out_of_range);
    EXPECT_THROW(Manque_Ligne(9, "V", liste), std::out_of_range);
    EXPECT_THROW(Valeurs_Possibles(0, 9, liste), std::out_of_range);
    EXPECT_THROW((void)liste[9], std::out_of_range);
    EXPECT_THROW((void)liste[-1], std::out_of_range);
    EXPECT_EQ(BoardText(), std::string(81, '0'));
}

TEST(DigitList, EntriesHoldTheirOwnDigitOrZero) {
    ListeChiffres liste;
    Init_Chiffres(liste);
    EXPECT_EQ(Digits(liste), "123456789");
    liste.DefinitBits(static_cast<std::uint16_t>(liste.Bits() & ~(1u << 4 | 1u << 0)));
    EXPECT_EQ(liste[4], 0);
    EXPECT_EQ(liste[5], 6);
    EXPECT_EQ(Compte_Chiffres(liste), 7);
}

TEST(Path, DepileKeepsTheBottomEntry) {
    std::vector<Position> chemin{{0, 0}};
    Empile(3, 4, chemin);
    Empile(5, 6, chemin);
    std::int16_t x = -1;
    std::int16_t y = -1;
    Depile(x, y, chemin);
    EXPECT_EQ(x, 3);
    EXPECT_EQ(y, 4);
    Depile(x, y, chemin);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    ASSERT_EQ(chemin.size(), 1u);
    x = 7;
    Depile(x, y, chemin);
    EXPECT_EQ(chemin.size(), 1u);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
}

} // namespace
