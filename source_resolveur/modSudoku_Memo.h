// The memo of the backtracking: the steps of the walks that begin at the first
// empty cell of a band of three rows (y = 3..5 or 6..8) and end without a
// solution, so that a walk that comes back is counted instead of walked again.
//
// Why a stored count is exact. When the search enters the first empty cell of a
// band, every cell it has filled lies in a lower band: the rows and squares of
// this band and of the one above hold only what they held when the backtracking
// began. What the path decides for the cells left is then only which digits it
// put in each column, and of those only the digits that some cell left in that
// column could take beside its row's, square's and column's givens. Every
// candidate list of the walk from here is made of these nine masks and of what
// the walk itself placed, so two entries with the same masks take the same steps
// and end the same way. The key is the band and the nine masks, stored whole: a
// hit is never wrong, a miss or a replaced entry only walks.
//
// What is stored. The steps of such a walk, from entering the cell until the
// retreat moves below it, are the digits it takes at this cell and above; the
// dead end that sends the retreat below is counted, as every dead end, by the
// digit taken after it. So a known walk adds its stored steps and the search
// goes on as after a next cell without any digit: the cell before takes its next
// candidate. Only walks that ended without a solution are stored, so the walk
// that holds the first solution is always walked and the board is found as
// without the memo.
//
// Bounds. The table has a fixed number of entries, allocated only when the walk
// has taken `seuil` steps (when it cannot be, the memo stops and the walk is
// the plain one); an entry's place is the hash of its key, four places
// a bucket, the entry of fewest steps replaced first. A band stops looking up
// (and storing) when a window of its lookups has saved fewer steps than
// kPasParRecherche a lookup: then the states there do not come back.
#pragma once

#include "modSudoku.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace modSudoku {

using Masques = std::array<unsigned, kUnites + 1>;
using Colonnes = std::array<unsigned, kTaille>; // the masks of the columns, x = 0..8

// No memo: the plain walk.
struct SansMemo {
    static constexpr bool kActif = false;
    static void Commence(std::span<const std::uint8_t>, const Masques&) {}
    static std::uint8_t Bande(std::size_t) { return 0; }
    static std::int64_t Entre(std::uint8_t, const Colonnes&, std::int64_t) { return 0; }
    static void Sort(std::uint8_t, std::int64_t) {}
};

class MemoBandes {
public:
    static constexpr bool kActif = true;
    // The search's own: 2^20 entries of 24 bytes, allocated after a million steps.
    static constexpr std::int64_t kSeuil = 1'000'000;
    static constexpr std::size_t kEntrees = std::size_t{1} << 20;
    // A band goes on looking up while each window of kFenetre lookups saves at
    // least kPasParRecherche steps a lookup, about what a lookup costs.
    static constexpr std::int64_t kFenetre = 1 << 14;
    static constexpr std::int64_t kPasParRecherche = 16;

    explicit MemoBandes(std::int64_t seuil = kSeuil, std::size_t entrees = kEntrees);

    // A search begins. vides: the cells empty at its start, in search order;
    // masques: the unit masks of the givens.
    void Commence(std::span<const std::uint8_t> vides, const Masques& masques);

    // 1 or 2 when cell k of the search order is the first empty cell of the
    // middle or the top band, else 0.
    std::uint8_t Bande(std::size_t k) const {
        return k == bandes_[0].debut ? 1 : k == bandes_[1].debut ? 2 : 0;
    }

    // The search enters the first cell of band b with these column masks: the
    // steps of its walk when they are stored, else 0 (and the walk is recorded).
    std::int64_t Entre(std::uint8_t b, const Colonnes& colonnes, std::int64_t iterations);

    // The retreat leaves the first cell of band b, all of its candidates tried.
    void Sort(std::uint8_t b, std::int64_t iterations);

    // What a band's lookups did.
    struct Bilan {
        std::int64_t recherches = 0;
        std::int64_t trouvees = 0;
    };
    const Bilan& BilanBande(std::uint8_t b) const { return bandes_[b - 1u].bilan; }

private:
    static constexpr std::size_t kAucune = ~std::size_t{0};
    static constexpr std::size_t kParSeau = 4;

    struct Cle {
        std::uint64_t bas = 0;
        std::uint64_t haut = 0;
        bool operator==(const Cle&) const = default;
    };
    struct Entree {
        Cle cle;
        std::int64_t pas = 0; // 0: a free place
    };
    struct Etat {
        std::size_t debut = kAucune;            // the band's first empty cell in search order
        bool cherche = false;                   // still looking up
        std::array<unsigned, kTaille> utiles{}; // per column, the digits that matter
        // The walk being recorded, and the current window of lookups.
        bool enCours = false;
        Cle cle;
        std::int64_t depart = 0;
        std::int64_t recherchesFenetre = 0;
        std::int64_t pasFenetre = 0;
        Bilan bilan;
    };

    Entree* Seau(const Cle& cle);

    std::array<Etat, 2> bandes_;
    std::int64_t seuil_;
    std::size_t entrees_;
    std::vector<Entree> table_;
};

} // namespace modSudoku
