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
//
// Two more ways of counting, each switched by Facons, start with the band memo
// at `seuil` steps:
//
// Whole bands (comptees). A band's walk that ends without a solution takes as
// many steps as there are ways to fill the first cells of the band, for every
// number of cells, plus, for each way to fill the whole band whose next cell has
// a candidate, the steps of the walk from that cell. Since a row's cell meets the
// rows below it in the band only through its square (a digit a column got from
// those rows is in the same square), the rows above a filled row see only the
// digits it put in each of the band's squares: the walk of a row is worked out
// once for each such set of three, and the ways to fill it that give the same
// set share it. The walk from each way out of the band is the band memo's, or
// counted in turn. So the band memo's miss counts the whole band at once; when a
// way out leads to a solution, the band is walked as before. A band is counted
// whatever its count holds: on every grid timed, a count costs less than the
// walk it replaces.
//
// Rests of bands (restes). Inside a band counted whole, the rest of the band
// from the first cell of its second or third row depends only on what each cell
// left in the band allows once the rows below are filled: those masks and the
// cell are the key, and the steps with the ways out of the band from there are
// kept (kRestes places, their ways out in one list of at most kSortiesRestes,
// emptied with the places when full). Different ways to fill the first rows,
// and different entries into the band, often leave the same rest.
//
// How a row is counted. Its steps are worked out over the sets of digits it can
// hold, kept per cell and per digit held that the cell or a later one allows
// (the others change nothing from there on); the last square's one to three
// cells are counted at once from what they allow. Its ways to fill are found
// square by square: each square's ways, sorted by the digits they put there,
// and the sets of the three squares that together fill the row, found without
// listing each way to fill the whole row.
#pragma once

#include "modSudoku.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace modSudoku {

using Masques = std::array<unsigned, kUnites + 1>;

// No memo: the plain walk.
struct SansMemo {
    static constexpr bool kActif = false;
    static void Commence(std::span<const std::uint8_t>, const Masques&) {}
    static bool Demande(std::size_t) { return false; }
    static std::int64_t Entre(std::size_t, const Masques&, std::int64_t) { return 0; }
    static void Sort(std::size_t, std::int64_t) {}
};

// The ways of counting that the memo uses, each on or off (see the banner).
struct Facons {
    bool bandes = true;
    bool comptees = true;
    bool restes = true;
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
    // The rests of bands kept when bands are counted whole (2^16 entries of 40
    // bytes), and the ways out of them that they hold at most (18 bytes each).
    static constexpr std::size_t kRestes = std::size_t{1} << 16;
    static constexpr std::size_t kSortiesRestes = std::size_t{1} << 19;

    // entrees: the entries of each table, rounded up to whole buckets; a count
    // that no table can hold leaves the memo without tables.
    explicit MemoBandes(std::int64_t seuil = kSeuil, std::size_t entrees = kEntrees,
                        Facons facons = {});

    // A search begins. vides: the cells empty at its start, in search order;
    // masques: the unit masks of the givens.
    void Commence(std::span<const std::uint8_t> vides, const Masques& masques);

    // Whether the search asks the memo when it enters cell k of the search order
    // (the first empty cell of a band after the first).
    bool Demande(std::size_t k) const { return k < demandes_.size() && demandes_[k]; }

    // The search enters cell k, asked about, with these masks (the digit before
    // it placed): the steps of the walk from there when they are known, else 0
    // (and the walk is recorded where it can be stored).
    std::int64_t Entre(std::size_t k, const Masques& masques, std::int64_t iterations);

    // The retreat leaves cell k, asked about, all of its candidates tried.
    void Sort(std::size_t k, std::int64_t iterations);

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
    // One table of dead walks.
    struct Table {
        std::vector<Entree> entrees;
        Entree* Seau(const Cle& cle);
        std::int64_t Connus(const Cle& cle); // 0: not stored
        void Retiens(const Cle& cle, std::int64_t pas);
    };
    // One band: where it starts, what its walks depend on, and its lookups.
    struct Bande {
        std::size_t debut = kAucune;            // the band's first empty cell in search order
        std::array<unsigned, kTaille> utiles{}; // per column, the digits that matter
        bool cherche = false;                   // still looking up
        // The walk being recorded, and the current window of lookups.
        bool enCours = false;
        Cle cle;
        std::int64_t depart = 0;
        std::int64_t recherchesFenetre = 0;
        std::int64_t pasFenetre = 0;
        Bilan bilan;
        // Looks cle up in table; starts recording on a miss.
        std::int64_t Cherche(Table& table, const Cle& cherchee, std::int64_t iterations);
        void Stocke(Table& table, std::int64_t iterations);
    };

    // What a band's walk puts in each column (a digit's bit per column x).
    using Sortie = std::array<std::uint16_t, kTaille>;
    // One way to fill a row's cells in one square: the digits it puts there, and
    // each cell's digit.
    struct Pose {
        unsigned chiffres = 0;
        std::array<std::uint16_t, 3> bits{};
    };
    // The ways to fill a row that put the same digits in each square: for each
    // square, the first of its ways in Rangee::poses and how many there are.
    struct Groupe {
        std::array<unsigned, 3> carres{};
        std::array<std::uint32_t, 3> debut{};
        std::array<std::uint32_t, 3> nombre{};
    };
    // One row's sets of digits, for counting a band.
    struct Rangee {
        std::size_t cases = 0;
        std::size_t coupe = 0;               // the first cell of the last square
        std::array<std::size_t, 4> bornes{}; // the first cell in each square, and the end
        std::uint32_t passage = 0;
        std::array<unsigned, kTaille + 2> permis{}; // and two cells allowing nothing
        std::array<std::uint8_t, kTaille> x{};
        // Per cell, the digits that it or a cell after it allows: the digits held
        // outside them do not change the walk from there, so the sets below are
        // kept per cell and the digits held among them.
        std::array<unsigned, kTaille + 1> permisApres{};
        std::array<std::uint32_t, kTaille << kTaille> vus{};
        std::array<std::int32_t, kTaille << kTaille> sous{};
        std::array<bool, kTaille << kTaille> vivant{};
        std::vector<Pose> poses;
        // Per set of digits, its place among the last square's sets, or none.
        static constexpr std::uint8_t kAucun = 0xFF;
        std::array<std::uint8_t, 1u << kTaille> suiteDe = [] {
            std::array<std::uint8_t, 1u << kTaille> aucun{};
            aucun.fill(kAucun);
            return aucun;
        }();
        std::vector<Groupe> groupes;
        std::size_t Place(unsigned tenus, std::size_t j) const {
            return j << kTaille | (tenus & permisApres[j]);
        }
        // The steps below the row holding `tenus` from cell j, every way to go on
        // counted, and whether one fills the row.
        struct Bout {
            std::int32_t sous;
            bool vivant;
        };
        Bout Explore(unsigned tenus, std::size_t j);
        // The same from the last square's first cell, from what its cells allow.
        Bout Fin(unsigned tenus) const;
        // Whether the row holding `tenus` can be filled from cell j (Explore done).
        bool Vivant(unsigned tenus, std::size_t j) const;
        // The ways to fill the row holding `tenus`, grouped by the digits they put
        // in each square (groupes), each square's ways in poses (Explore done).
        void Groupes(unsigned tenus);
        // Appends to poses the ways to fill square s's cells from cell j on.
        void Parties(std::size_t s, std::size_t j, unsigned tenus, Pose& pose);
    };

    // The rest of a band counted from the first cell of a row after its first:
    // the cell and what each cell left in the band allows (the key), the steps
    // (-1: a solution), and the ways out of the band from there in
    // sortiesRestes_.
    struct Reste {
        std::array<std::uint64_t, 3> cle{};
        std::int64_t pas = 0;
        std::uint32_t debut = 0;
        std::uint32_t nombre = 0;
    };
    Reste& PlaceReste(const std::array<std::uint64_t, 3>& cle);
    const Reste* Connu(const std::array<std::uint64_t, 3>& cle);
    void Retiens(const std::array<std::uint64_t, 3>& cle, std::int64_t pas,
                 std::vector<Sortie>::const_iterator sorties, std::size_t nombre);

    Bande* BandeDe(std::size_t k);
    static Cle CleBande(const Bande& bande, std::uint8_t y, const Masques& masques);
    // The steps of the walk from cell k, the first empty cell of its band, with
    // these masks; -1 when it meets a solution.
    std::int64_t CompteBande(std::size_t k, const Masques& masques);
    // The same from cell k, just after a band.
    std::int64_t CompteSuite(std::size_t k, const Masques& masques);
    // The steps of band b's rows from cell k, the first of a row, with `ajouts` in
    // the band's squares, -1 when they reach a solution; appends each way to fill
    // the rest of the band to sorties, or, without sorties (the band's first
    // row), adds the steps after each.
    std::int64_t CompteLignes(std::size_t b, std::size_t k, const Masques& masques,
                              const std::array<unsigned, 3>& ajouts, std::size_t niveau,
                              std::vector<Sortie>* sorties);
    // The same without looking the rest of the band up.
    std::int64_t CompteLignesSansReste(std::size_t b, std::size_t k, const Masques& masques,
                                       const std::array<unsigned, 3>& ajouts, std::size_t niveau,
                                       std::vector<Sortie>* sorties);

    bool Alloue(Table& table);
    bool AlloueComptes(); // the rows' tables and the rests, with the first band counted
    void Arrete();

    Facons facons_;
    std::int64_t seuil_;
    std::size_t entrees_;
    std::array<Bande, 2> bandes_;
    std::array<bool, kCases + 1> demandes_{}; // per cell of the search order
    bool actif_ = true;                       // false once a table could not be allocated
    // Per cell of the search order: its units, its row and its square's column (0
    // to 2); per row, its empty cells.
    std::array<UnitesCase, kCases + 1> unites_{};
    std::array<std::uint8_t, kCases + 1> ligneDe_{};
    std::array<std::uint8_t, kCases + 1> carreDe_{};
    std::array<std::size_t, kTaille> casesLigne_{};
    // Per cell of a band being counted, the digits it allows as the band is entered.
    std::array<unsigned, kCases + 1> permisBande_{};
    Table tableBandes_;
    std::size_t nbVides_ = 0;
    std::vector<Rangee> rangees_; // one per row (each about 40 KB)
    // Per band after the first and row of it, the ways out of the rows above.
    std::array<std::array<std::vector<Sortie>, 3>, 2> sorties_;
    std::array<std::size_t, 3> apres_{}; // per band, the cell after it
    std::vector<Reste> restes_;
    std::vector<Sortie> sortiesRestes_;
};

} // namespace modSudoku
