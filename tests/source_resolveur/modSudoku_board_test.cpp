// The board operations: numbering, lists, next empty cell, display and log.
#include "solver_test_support.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace modSudoku;
using solver_test::BoardText;
using solver_test::kReference;
using solver_test::SetBoard;
using solver_test::TestForm;

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
    std::string captions;
    for (int label = 0; label < 81; ++label) {
        captions += form.Caption(label);
    }
    // The reference board in label order, bottom row first, with (3, 5) emptied.
    EXPECT_EQ(captions, "123456789456789123789123456214365897365897214897 14365"
                        "531642978642978531978531642");
}

TEST_F(BoardTest, EmptyBoardListsHoldAllDigits) {
    ListeChiffres liste;
    for (int n = 0; n < 9; ++n) {
        Manque_Carre(n, liste);
        EXPECT_EQ(Digits(liste), "123456789");
        Manque_Ligne(n, "H", liste);
        EXPECT_EQ(Compte_Chiffres(liste), 9);
    }
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

} // namespace
