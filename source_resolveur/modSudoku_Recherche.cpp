// Recherche: the deduction passes, then the depth-first backtracking.
#include "existence_solution.h"
#include "modSudoku.h"

#include <array>
#include <bit>
#include <stdexcept>
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

// Square step for square n; returns true when it placed a digit.
bool EtapeCarre(forms::FormRuntime& form, int n) {
    ListeChiffres carre;
    Manque_Carre(n, carre);
    const int k = Compte_Chiffres(carre);
    if (k == 0) {
        return false;
    }
    const int gauche = 3 * (n % 3);
    const int bas = 3 * (n / 3);
    bool change = false;
    if (k == 1) {
        // One digit missing: it goes into the empty cells. A square that is full but
        // holds a digit twice also lacks one digit; then nothing is placed and nothing
        // counts as a change.
        const int d = PremierChiffre(carre);
        for (int x = gauche; x <= gauche + 2; ++x) {
            for (int y = bas; y <= bas + 2; ++y) {
                if (Grille(x, y) == 0) {
                    Grille.Pose(x, y, d);
                    change = true;
                }
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
        int retenuX = 0;
        int retenuY = 0;
        for (int x = gauche; x <= gauche + 2; ++x) {
            for (int y = bas; y <= bas + 2; ++y) {
                if (Grille(x, y) != 0) {
                    continue;
                }
                ListeChiffres ligne;
                ListeChiffres colonne;
                Manque_Ligne(y, "H", ligne);
                Manque_Ligne(x, "V", colonne);
                if (ligne[d - 1] != 0 && colonne[d - 1] != 0) {
                    ++compte;
                    retenuX = x;
                    retenuY = y;
                }
            }
        }
        if (compte == 1) {
            Grille.Pose(retenuX, retenuY, d);
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
    for (int k = 0; k < kTaille; ++k) {
        const int x = direction == "H" ? k : n;
        const int y = direction == "H" ? n : k;
        if (Grille(x, y) == 0) {
            Grille.Pose(x, y, d);
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

namespace {

// One cell that was empty when the backtracking began: its label and the indices
// of its row, column and square in the array of unit masks.
struct CaseVide {
    std::uint8_t label;
    std::uint8_t ligne;   // 0..8
    std::uint8_t colonne; // 9..17
    std::uint8_t carre;   // 18..26
};

constexpr int kUnites = 27;

// Reports nothing: the run's own search.
struct SansSuivi {
    void operator()(int /*label*/, int /*valeur*/) const {}
};

// The backtracking on the board as the deduction left it, reporting every change
// of a cell to suivi(label, new value) (0 when the cell is emptied again).
//
// The cells are visited in label order of the empty cells, digits in increasing
// order, and a retreat moves the latest cell of the path to its next larger
// allowed digit. Since every next cell is the first empty cell left, the path is
// always a prefix of the list of empty cells: the path is the index k of the
// current cell in that list, and the digits present in each row, column and
// square are kept as masks. When a retreat comes back to a cell, every cell after
// it is empty again and every cell before it unchanged, so its allowed digits are
// those it had when it was entered: the digits not yet tried are kept per cell
// instead of being recomputed. A step ends with one digit placed, so the steps
// are the digits placed.
//
// The board is written once at the end, the labels then rewritten once: that
// shows what a rewrite after each change would have left, and the labels reach
// the window only when the log is repainted.
template <typename Suivi> std::int64_t BackTracking(forms::FormRuntime& form, Suivi& suivi) {
    std::array<CaseVide, kCases> vides{};
    std::array<unsigned, kUnites> unites{};
    int nbVides = 0;
    for (int label = 0; label < kCases; ++label) {
        const int cx = label % 9;
        const int cy = label / 9;
        const CaseVide c{static_cast<std::uint8_t>(label), static_cast<std::uint8_t>(cy),
                         static_cast<std::uint8_t>(9 + cx),
                         static_cast<std::uint8_t>(18 + 3 * (cy / 3) + cx / 3)};
        const int v = Grille.Lit(label);
        if (v == 0) {
            vides[static_cast<std::size_t>(nbVides++)] = c;
        } else {
            const unsigned bit = 1u << (v - 1);
            unites[c.ligne] |= bit;
            unites[c.colonne] |= bit;
            unites[c.carre] |= bit;
        }
    }
    if (nbVides == 0) {
        return 0;
    }

    // Per cell of the path: its digit as a bit, and its allowed digits not yet tried.
    std::array<unsigned, kCases> poses{};
    std::array<unsigned, kCases> restes{};
    const auto libres = [&](const CaseVide& c) {
        return kTousChiffres & ~(unites[c.ligne] | unites[c.colonne] | unites[c.carre]);
    };
    const auto bascule = [&](const CaseVide& c, unsigned bits) {
        unites[c.ligne] ^= bits;
        unites[c.colonne] ^= bits;
        unites[c.carre] ^= bits;
    };

    std::int64_t iterations = 0;
    std::size_t k = 0; // the current cell in vides
    const auto n = static_cast<std::size_t>(nbVides);
    unsigned candidats = libres(vides[0]);
    for (;;) {
        if (candidats != 0) {
            // Place the smallest candidate and step to the next empty cell.
            const CaseVide& c = vides[k];
            const unsigned bit = candidats & (0u - candidats);
            poses[k] = bit;
            restes[k] = candidats ^ bit;
            bascule(c, bit);
            suivi(c.label, std::countr_zero(bit) + 1);
            ++iterations;
            if (++k == n) {
                break;
            }
        } else {
            // Dead end: back along the path to a cell that takes a larger digit;
            // it moves there in one change, and the next empty cell follows it.
            for (;;) {
                if (k == 0) {
                    if (iterations > 0) {
                        Affiche_Grille(form); // the board is back as the deduction left it
                    }
                    throw std::logic_error("the backtracking ran out of cells");
                }
                --k;
                const CaseVide& c = vides[k];
                const unsigned ancien = poses[k];
                const unsigned reste = restes[k];
                if (reste != 0) {
                    const unsigned bit = reste & (0u - reste);
                    poses[k] = bit;
                    restes[k] = reste ^ bit;
                    bascule(c, ancien | bit);
                    suivi(c.label, std::countr_zero(bit) + 1);
                    ++iterations;
                    ++k;
                    break;
                }
                bascule(c, ancien);
                suivi(c.label, 0);
            }
        }
        candidats = libres(vides[k]);
    }

    for (std::size_t i = 0; i < n; ++i) {
        Grille.Ecrit(vides[i].label, std::countr_zero(static_cast<unsigned>(poses[i])) + 1);
    }
    Affiche_Grille(form);
    return iterations;
}

} // namespace

std::int64_t PhaseBackTracking(forms::FormRuntime& form) {
    SansSuivi suivi;
    return BackTracking(form, suivi);
}

std::int64_t PhaseBackTracking(forms::FormRuntime& form, const SuiviCase& suivi) {
    return BackTracking(form, suivi);
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
