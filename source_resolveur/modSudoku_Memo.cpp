// The memo of the backtracking's dead walks (see modSudoku_Memo.h).
#include "modSudoku_Memo.h"

#include <exception>

namespace modSudoku {

MemoBandes::MemoBandes(std::int64_t seuil, std::size_t entrees)
    : seuil_(seuil), entrees_((entrees + kParSeau - 1) / kParSeau * kParSeau) {}

void MemoBandes::Commence(std::span<const std::uint8_t> vides, const Masques& masques) {
    table_.clear();
    for (std::size_t b = 0; b < bandes_.size(); ++b) {
        Etat& bande = bandes_[b];
        bande = Etat{};
        const auto premiereLigne = static_cast<std::uint8_t>(3 * (b + 1));
        for (std::size_t k = 0; k < vides.size(); ++k) {
            const UnitesCase& u = kUnitesCase[vides[k]];
            if (u.ligne < premiereLigne) {
                continue;
            }
            if (bande.debut == kAucune) {
                bande.debut = k;
            }
            // The digits that the givens leave to a cell of this band or above.
            bande.utiles[static_cast<std::size_t>(u.colonne - kTaille)] |=
                kTousChiffres & ~(masques[u.ligne] | masques[u.colonne] | masques[u.carre]);
        }
        // A band whose first cell is the first of the search holds the whole search.
        bande.cherche = bande.debut != kAucune && bande.debut != 0;
        if (!bande.cherche) {
            bande.debut = kAucune;
        }
    }
}

std::int64_t MemoBandes::Entre(std::uint8_t b, const Colonnes& colonnes, std::int64_t iterations) {
    Etat& bande = bandes_[b - 1u];
    if (!bande.cherche || iterations < seuil_) {
        return 0;
    }
    if (table_.empty()) {
        try {
            table_.resize(entrees_);
        } catch (const std::exception&) { // no memory for it, or more than a vector holds
            // Without its table the memo stops, and the walk goes on as the plain one.
            for (Etat& uneBande : bandes_) {
                uneBande.cherche = false;
            }
            return 0;
        }
    }
    // The key: the masks of columns 0..6 in bas, 9 bits each; of 7 and 8, and the
    // band, in haut.
    Cle cle{0, std::uint64_t{b} << 18};
    for (std::size_t x = 0; x < kTaille; ++x) {
        const std::uint64_t bits = colonnes[x] & bande.utiles[x];
        if (x < 7) {
            cle.bas |= bits << (kTaille * x);
        } else {
            cle.haut |= bits << (kTaille * (x - 7));
        }
    }

    std::int64_t pas = 0;
    const Entree* seau = Seau(cle);
    for (std::size_t i = 0; i < kParSeau && pas == 0; ++i) {
        if (seau[i].cle == cle) {
            pas = seau[i].pas;
        }
    }
    ++bande.bilan.recherches;
    ++bande.recherchesFenetre;
    if (pas != 0) {
        ++bande.bilan.trouvees;
        bande.pasFenetre += pas;
    } else {
        bande.enCours = true;
        bande.cle = cle;
        bande.depart = iterations;
    }
    if (bande.recherchesFenetre == kFenetre) {
        if (bande.pasFenetre < kPasParRecherche * kFenetre) {
            bande.cherche = false; // the states here do not come back
            bande.enCours = false;
        }
        bande.recherchesFenetre = 0;
        bande.pasFenetre = 0;
    }
    return pas;
}

void MemoBandes::Sort(std::uint8_t b, std::int64_t iterations) {
    Etat& bande = bandes_[b - 1u];
    if (!bande.enCours) {
        return;
    }
    bande.enCours = false;
    Entree* seau = Seau(bande.cle);
    Entree* remplacee = seau;
    for (std::size_t i = 1; i < kParSeau; ++i) {
        if (seau[i].pas < remplacee->pas) {
            remplacee = &seau[i];
        }
    }
    *remplacee = Entree{bande.cle, iterations - bande.depart};
}

MemoBandes::Entree* MemoBandes::Seau(const Cle& cle) {
    std::uint64_t h = (cle.bas ^ (cle.haut * 0x9E3779B97F4A7C15ull)) * 0xBF58476D1CE4E5B9ull;
    h ^= h >> 31;
    return &table_[static_cast<std::size_t>(h % (entrees_ / kParSeau)) * kParSeau];
}

} // namespace modSudoku
