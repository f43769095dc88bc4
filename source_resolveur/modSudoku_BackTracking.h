// The backtracking phase of Recherche, as a template over what it reports of each
// change of a cell (the run reports nothing, a check of the search can follow
// every change) and over its memo of dead walks (the run's MemoBandes, or none:
// the plain walk, whose every change can be followed).
#pragma once

#include "modSudoku.h"
#include "modSudoku_Memo.h"

#include <array>
#include <bit>
#include <cstdint>
#include <span>
#include <stdexcept>

namespace modSudoku {

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
// current cell in that list, and the digits present in each unit are kept as
// masks. When a retreat comes back to a cell, every cell after it is empty again
// and every cell before it unchanged, so its allowed digits are those it had when
// it was entered: the digits not yet tried are kept per cell instead of being
// recomputed. A step ends with one digit placed, so the steps are the digits
// placed.
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
// The memo (modSudoku_Memo.h) is asked when the next cell is the first of a band
// after the first: when it knows the walk from there (stored, or counted band by
// band), that walk ends without a solution and comes back here like the dead end
// above, its steps counted. The changes of a walk the memo counts are not
// reported.
//
// The board is written once at the end, the labels then rewritten once: that
// shows what a rewrite after each change would have left, and the labels reach
// the window only when the log is repainted.
template <typename Suivi, typename Memo>
std::int64_t BackTracking(forms::FormRuntime& form, Suivi& suivi, Memo& memo) {
    // One cell that was empty when the backtracking began, whether the memo is
    // asked when the walk enters it, and whether the next empty cell shares a unit
    // with it (all digits set) or not (0).
    struct CaseVide {
        std::uint8_t label;
        UnitesCase unites;
        bool demandee;
        std::uint16_t voisine;
    };
    // The unit masks, and one more that stays empty: the units of the cell that
    // stands after the last empty cell, which allows every digit.
    constexpr std::uint8_t kUniteVide = kUnites;
    Masques masques{};
    std::array<CaseVide, kCases + 1> vides{};
    int nbVides = 0;
    for (int label = 0; label < kCases; ++label) {
        const UnitesCase& u = kUnitesCase[static_cast<std::size_t>(label)];
        const int v = Grille.Lit(label);
        if (v == 0) {
            vides[static_cast<std::size_t>(nbVides++)] =
                CaseVide{static_cast<std::uint8_t>(label), u, false, 0};
        } else {
            const unsigned bit = 1u << (v - 1);
            masques[u.ligne] |= bit;
            masques[u.colonne] |= bit;
            masques[u.carre] |= bit;
        }
    }
    if (nbVides == 0) {
        return 0;
    }
    const auto n = static_cast<std::size_t>(nbVides);
    vides[n] = CaseVide{0, UnitesCase{kUniteVide, kUniteVide, kUniteVide}, false, 0};
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const UnitesCase& a = vides[i].unites;
        const UnitesCase& b = vides[i + 1].unites;
        if (a.ligne == b.ligne || a.colonne == b.colonne || a.carre == b.carre) {
            vides[i].voisine = kTousChiffres;
        }
    }
    std::array<std::uint8_t, kCases> labels{};
    for (std::size_t i = 0; i < n; ++i) {
        labels[i] = vides[i].label;
    }
    memo.Commence(std::span<const std::uint8_t>(labels.data(), n), masques);
    for (std::size_t i = 0; i < n; ++i) {
        vides[i].demandee = memo.Demande(i);
    }

    // Per cell of the path: its digit as a bit, and its allowed digits not yet tried.
    std::array<unsigned, kCases> poses{};
    std::array<unsigned, kCases> restes{};
    const auto libres = [&](const CaseVide& c) {
        return kTousChiffres &
               ~(masques[c.unites.ligne] | masques[c.unites.colonne] | masques[c.unites.carre]);
    };
    const auto bascule = [&](const CaseVide& c, unsigned bits) {
        masques[c.unites.ligne] ^= bits;
        masques[c.unites.colonne] ^= bits;
        masques[c.unites.carre] ^= bits;
    };

    std::int64_t iterations = 0;
    std::size_t k = 0; // the current cell in vides
    // With bit placed in cell c, whether the memo knows the walk from the next
    // cell, the first of a band; its steps are then counted.
    const auto connue = [&](const CaseVide& c, unsigned bit) {
        bascule(c, bit);
        const std::int64_t pas = memo.Entre(k + 1, masques, iterations);
        bascule(c, bit);
        iterations += pas;
        return pas != 0;
    };
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
            bool connu = false; // the walk from the next cell, by the memo
            if constexpr (Memo::kActif) {
                if (vides[k + 1].demandee) [[unlikely]] {
                    connu = suivants != 0 && connue(c, bit);
                }
            }
            if (suivants == 0 || connu) {
                // The walk from the next cell comes back here: at once when the
                // cell has no digit, after the steps the memo counted when it is
                // known. The step that ends it ends with this cell's next
                // candidate.
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
        // which takes its next candidate or is emptied in turn. Below the first
        // cell there is none: Recherche never starts this on a board without a
        // completion.
        if (k == 0) {
            throw std::logic_error("the backtracking ran out of cells");
        }
        if (Memo::kActif && vides[k].demandee) [[unlikely]] {
            memo.Sort(k, iterations); // the walk from this band's first cell ends
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

// The plain walk, without the memo.
template <typename Suivi> std::int64_t BackTracking(forms::FormRuntime& form, Suivi& suivi) {
    SansMemo memo;
    return BackTracking(form, suivi, memo);
}

} // namespace modSudoku
