// Recherche: the deduction passes, then the depth-first backtracking.
#include "existence_solution.h"
#include "modSudoku.h"
#include "modSudoku_BackTracking.h"

#include <string>

namespace modSudoku {
namespace {

int PremierChiffre(const ListeChiffres& liste) {
    for (int i = 0; i < kTaille; ++i) {
        if (liste[i] != 0) {
            return liste[i];
        }
    }
    return 0;
}

// Square step for square n; returns true when it placed a digit. The square's
// cells are visited by columns from its left one, each from its bottom row.
bool EtapeCarre(forms::FormRuntime& form, int n) {
    ListeChiffres carre;
    Manque_Carre(n, carre);
    const int k = Compte_Chiffres(carre);
    if (k == 0) {
        return false;
    }
    const auto& cases = kCasesUnite[static_cast<std::size_t>(2 * kTaille + n)];
    bool change = false;
    if (k == 1) {
        // One digit missing: it goes into the empty cells. A square that is full but
        // holds a digit twice also lacks one digit; then nothing is placed and nothing
        // counts as a change.
        const int d = PremierChiffre(carre);
        for (const std::uint8_t label : cases) {
            if (Grille.Lit(label) == 0) {
                Grille.Ecrit(label, d);
                change = true;
            }
        }
        Affiche_Grille(form);
        return change;
    }
    // Hidden single: a digit of the list that fits exactly one empty cell of the square.
    for (int i = 0; i < kTaille; ++i) {
        const int d = carre[i];
        if (d == 0) {
            continue;
        }
        int compte = 0;
        int retenue = 0;
        for (const std::uint8_t label : cases) {
            if (Grille.Lit(label) != 0) {
                continue;
            }
            ListeChiffres ligne;
            ListeChiffres colonne;
            Manque_Ligne(label / kTaille, "H", ligne);
            Manque_Ligne(label % kTaille, "V", colonne);
            if (ligne[d - 1] != 0 && colonne[d - 1] != 0) {
                ++compte;
                retenue = label;
            }
        }
        if (compte == 1) {
            Grille.Ecrit(retenue, d);
            Affiche_Grille(form);
            change = true;
        }
    }
    return change;
}

// Column ("V") or row ("H") step for line n; returns true when it placed a digit.
bool EtapeLigne(forms::FormRuntime& form, int n, std::string_view direction) {
    ListeChiffres liste;
    Manque_Ligne(n, direction, liste);
    if (Compte_Chiffres(liste) != 1) {
        return false;
    }
    const int d = PremierChiffre(liste);
    bool change = false;
    for (const std::uint8_t label :
         kCasesUnite[static_cast<std::size_t>(UniteLigne(n, direction))]) {
        if (Grille.Lit(label) == 0) {
            Grille.Ecrit(label, d);
            change = true;
            break;
        }
    }
    Affiche_Grille(form);
    return change;
}

} // namespace

std::int32_t PhaseDecoupage(forms::FormRuntime& form) {
    std::int32_t passes = 0;
    bool stable = false;
    while (!stable) {
        stable = true;
        ++passes;
        for (int n = 0; n < kTaille; ++n) {
            if (EtapeCarre(form, n)) {
                stable = false;
            }
        }
        for (int x = 0; x < kTaille; ++x) {
            if (EtapeLigne(form, x, "V")) {
                stable = false;
            }
        }
        for (int y = 0; y < kTaille; ++y) {
            if (EtapeLigne(form, y, "H")) {
                stable = false;
            }
        }
        form.ProcessEvents();
    }
    return passes;
}

std::int64_t PhaseBackTracking(forms::FormRuntime& form) {
    SansSuivi suivi;
#ifdef SUDOKU_SANS_MEMO
    SansMemo memo; // the benchmarks' build of the plain walk
#else
    MemoBandes memo;
#endif
    return BackTracking(form, suivi, memo);
}

BilanRecherche Recherche(forms::FormRuntime& form) {
    BilanRecherche bilan;
    Trace(form, kDebutDecoupage);
    const Plateau charge = Grille;
    const bool completable = ACompletion(charge.Cases());

    bilan.passes = PhaseDecoupage(form);
    Trace(form,
          std::string(kFinDecoupage) + std::to_string(bilan.passes) + std::string(kIterations));

    if (!completable) {
        // The search would run endlessly or end on a board that breaks the rules:
        // put the board back as it came and say so.
        Grille = charge;
        Affiche_Grille(form);
        Trace(form, std::string(kFinBackTracking) + "0" + std::string(kIterations));
        Trace(form, kSansSolution);
        return bilan;
    }

    bilan.iterations = PhaseBackTracking(form);
    bilan.resolue = true;
    Trace(form, std::string(kFinBackTracking) + std::to_string(bilan.iterations) +
                    std::string(kIterations));
    return bilan;
}

} // namespace modSudoku
