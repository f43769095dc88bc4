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

// One cell that was empty when the backtracking began: its label, the indices of
// its row, column and square in the array of unit masks, and whether the next
// empty cell shares a unit with it (all digits set) or not (0).
struct CaseVide {
    std::uint8_t label;
    std::uint8_t ligne;   // 0..8
    std::uint8_t colonne; // 9..17
    std::uint8_t carre;   // 18..26
    std::uint32_t voisine;
};

// Units 0..26, and unit 27 that stays empty: the row, column and square of the
// cell that stands after the last empty cell, which allows every digit.
constexpr int kUnites = 28;
constexpr std::uint8_t kUniteVide = 27;

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
// Before a digit goes into a cell, the digits that the next empty cell would
// then have are worked out from its masks as they stand (the digit taken out
// when the two cells share a unit). When there are none, the next step is a dead
// end that comes straight back here and ends with this cell's next candidate (or,
// with none left, goes on back): the digit is counted and reported as placed, and
// the cell goes on to its next candidate without touching any mask. Otherwise the
// digit is placed and the next cell starts with those digits, without reading
// the masks again.
//
// The board is written once at the end, the labels then rewritten once: that
// shows what a rewrite after each change would have left, and the labels reach
// the window only when the log is repainted.
template <typename Suivi> std::int64_t BackTracking(forms::FormRuntime& form, Suivi& suivi) {
    std::array<CaseVide, kCases + 1> vides{};
    std::array<unsigned, kUnites> unites{};
    int nbVides = 0;
    for (int label = 0; label < kCases; ++label) {
        const int cx = label % 9;
        const int cy = label / 9;
        const CaseVide c{static_cast<std::uint8_t>(label), static_cast<std::uint8_t>(cy),
                         static_cast<std::uint8_t>(9 + cx),
                         static_cast<std::uint8_t>(18 + 3 * (cy / 3) + cx / 3), 0};
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
    const auto n = static_cast<std::size_t>(nbVides);
    vides[n] = CaseVide{0, kUniteVide, kUniteVide, kUniteVide, 0};
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const CaseVide& a = vides[i];
        const CaseVide& b = vides[i + 1];
        if (a.ligne == b.ligne || a.colonne == b.colonne || a.carre == b.carre) {
            vides[i].voisine = kTousChiffres;
        }
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
    unsigned candidats = libres(vides[0]);
    for (;;) {
        if (candidats != 0) {
            // The smallest candidate, and the digits that the next empty cell
            // would have with it.
            const CaseVide& c = vides[k];
            const unsigned bit = candidats & (0u - candidats);
            const unsigned suivants = libres(vides[k + 1]) & ~(bit & c.voisine);
            ++iterations;
            suivi(c.label, std::countr_zero(bit) + 1);
            if (suivants == 0) {
                // The next step would find the next cell without a digit and come
                // back here: that step ends with this cell's next candidate.
                candidats ^= bit;
                if (candidats == 0) {
                    suivi(c.label, 0);
                }
                continue;
            }
            poses[k] = bit;
            restes[k] = candidats ^ bit;
            bascule(c, bit);
            if (++k == n) {
                break;
            }
            candidats = suivants;
            continue;
        }
        // No digit left for this cell: back to the previous cell of the path,
        // which takes its next candidate or is emptied in turn.
        if (k == 0) {
            if (iterations > 0) {
                Affiche_Grille(form); // the board is back as the deduction left it
            }
            throw std::logic_error("the backtracking ran out of cells");
        }
        --k;
        const CaseVide& c = vides[k];
        bascule(c, poses[k]);
        candidats = restes[k];
        if (candidats == 0) {
            suivi(c.label, 0);
        }
    }

    for (std::size_t i = 0; i < n; ++i) {
        Grille.Ecrit(vides[i].label, std::countr_zero(poses[i]) + 1);
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
