// The solver's board Grille and the operations that read it, display it and log.
//
// Coordinates: x is the column from the left, y the row from the bottom, both
// 0..8. Cell (x, y) is shown by label 9*y + x; label 0 is the bottom-left cell.
// Square n (0..8) covers x 3*(n%3)..+2 and y 3*(n/3)..+2: square 0 at the bottom
// left, 8 at the top right.
//
// A digit list has nine entries: entry i holds i + 1 when digit i + 1 is in the
// list and 0 otherwise. It is kept as a 9-bit mask (bit i for digit i + 1).
//
// Every index is checked: an index outside its range throws std::out_of_range.
#pragma once

#include "form_runtime.h"

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace modSudoku {

inline constexpr int kTaille = 9;
inline constexpr int kCases = 81;
inline constexpr std::uint16_t kTousChiffres = 0x1FF;

// The 27 units of the board, numbered once for the whole solver: row y is unit y,
// column x unit 9 + x, square n unit 18 + n.
inline constexpr int kUnites = 27;

// The units of one label.
struct UnitesCase {
    std::uint8_t ligne;
    std::uint8_t colonne;
    std::uint8_t carre;
};

inline constexpr std::array<UnitesCase, kCases> kUnitesCase = [] {
    std::array<UnitesCase, kCases> unites{};
    for (int label = 0; label < kCases; ++label) {
        const int x = label % kTaille;
        const int y = label / kTaille;
        unites[static_cast<std::size_t>(label)] = {
            static_cast<std::uint8_t>(y), static_cast<std::uint8_t>(kTaille + x),
            static_cast<std::uint8_t>(2 * kTaille + 3 * (y / 3) + x / 3)};
    }
    return unites;
}();

// The nine labels of each unit, in the order in which the search visits them: a
// row from x = 0, a column from y = 0, a square by columns from its left one, each
// column from its bottom row.
inline constexpr std::array<std::array<std::uint8_t, kTaille>, kUnites> kCasesUnite = [] {
    std::array<std::array<std::uint8_t, kTaille>, kUnites> cases{};
    for (int n = 0; n < kTaille; ++n) {
        for (int k = 0; k < kTaille; ++k) {
            const int x = 3 * (n % 3) + k / 3;
            const int y = 3 * (n / 3) + k % 3;
            cases[static_cast<std::size_t>(n)][static_cast<std::size_t>(k)] =
                static_cast<std::uint8_t>(kTaille * n + k);
            cases[static_cast<std::size_t>(kTaille + n)][static_cast<std::size_t>(k)] =
                static_cast<std::uint8_t>(kTaille * k + n);
            cases[static_cast<std::size_t>(2 * kTaille + n)][static_cast<std::size_t>(k)] =
                static_cast<std::uint8_t>(kTaille * y + x);
        }
    }
    return cases;
}();

[[noreturn]] void HorsLimites(const char* what, int value);

inline int VerifieCoord(int v) {
    if (v < 0 || v >= kTaille) {
        HorsLimites("coordinate", v);
    }
    return v;
}

// The unit of row n ("H") or of column n (any other direction text), n checked.
inline int UniteLigne(int n, std::string_view direction) {
    return direction == "H" ? VerifieCoord(n) : kTaille + VerifieCoord(n);
}

// The label (and storage) index of cell (x, y), both checked.
inline int Etiquette(int x, int y) {
    return kTaille * VerifieCoord(y) + VerifieCoord(x);
}

// The 9 x 9 board. Values are 0 (empty) or a digit 1..9.
class Plateau {
public:
    std::int16_t operator()(int x, int y) const { return cases_[VerifieLabel(Etiquette(x, y))]; }
    void Pose(int x, int y, int valeur) { Ecrit(Etiquette(x, y), valeur); }

    std::int16_t Lit(int label) const { return cases_[VerifieLabel(label)]; }
    void Ecrit(int label, int valeur) {
        if (valeur < 0 || valeur > 9) {
            HorsLimites("cell value", valeur);
        }
        cases_[VerifieLabel(label)] = static_cast<std::int16_t>(valeur);
    }
    // All 81 values in label order (9*y + x).
    const std::array<std::int16_t, kCases>& Cases() const { return cases_; }

private:
    static std::size_t VerifieLabel(int label) {
        if (label < 0 || label >= kCases) {
            HorsLimites("label", label);
        }
        return static_cast<std::size_t>(label);
    }
    std::array<std::int16_t, kCases> cases_{};
};

// A digit list (see the banner).
class ListeChiffres {
public:
    std::int16_t operator[](int i) const {
        return static_cast<std::int16_t>((bits_ >> VerifieCoord(i)) & 1u ? i + 1 : 0);
    }
    std::uint16_t Bits() const { return bits_; }
    void DefinitBits(std::uint16_t bits) { bits_ = bits & kTousChiffres; }

private:
    std::uint16_t bits_ = 0;
};

// The board, module state for the whole run.
extern Plateau Grille;

void Efface_Grille();
void Affiche_Grille(forms::FormRuntime& form);
void Init_Chiffres(ListeChiffres& liste);
void Manque_Carre(int n, ListeChiffres& liste);
void Manque_Ligne(int n, std::string_view direction, ListeChiffres& liste);
int Compte_Chiffres(const ListeChiffres& liste);
// Appends "<time> : <texte>" to the log box, CR LF between lines, and repaints it.
void Trace(forms::FormRuntime& form, std::string_view texte);

struct BilanRecherche {
    std::int32_t passes = 0;     // passes of the deduction phase
    std::int64_t iterations = 0; // steps of the backtracking phase
    bool resolue = false;        // false: the board had no completion and was left as loaded
};

// Completes Grille in place (deduction passes, then backtracking), showing every
// change in the labels and logging three lines. A board without completion is put
// back as it was, and a fourth line says so.
BilanRecherche Recherche(forms::FormRuntime& form);

// The two phases of Recherche, without its log lines.
// The deduction passes; returns their number (the last one changed nothing).
std::int32_t PhaseDecoupage(forms::FormRuntime& form);
// The backtracking on a board that has a completion; returns its steps. The labels
// show the board at the end (rewritten once, when anything changed).
std::int64_t PhaseBackTracking(forms::FormRuntime& form);

// Reads <dossier>/grille.txt into Grille; any failure stops it silently.
void Charge_Grille(const std::string& dossier);
// Writes Grille to chemin, 81 lines "d\r\n" from row 8 down. On failure shows
// "Erreur <n> (<description>)" titled "Sauve_Grille", the file already closed,
// and returns false.
bool Sauve_Grille(forms::FormRuntime& form, const std::string& chemin);

// Log texts.
inline constexpr std::string_view kDebutDecoupage = "Début recherche par découpage...";
inline constexpr std::string_view kFinDecoupage = "Fin recherche par découpage : ";
inline constexpr std::string_view kFinBackTracking = "Fin recherche par back tracking : ";
inline constexpr std::string_view kIterations = " itération(s)";
inline constexpr std::string_view kSansSolution = "Grille sans solution";

} // namespace modSudoku
