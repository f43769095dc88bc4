// The memo of the backtracking's dead walks (see modSudoku_Memo.h).
#include "modSudoku_Memo.h"

#include <algorithm>
#include <exception>
#include <limits>

namespace modSudoku {

namespace {

// Whole buckets of four for `entrees`, at least one, never more than a size holds.
std::size_t EntreesBornees(std::size_t entrees, std::size_t parSeau) {
    const std::size_t seaux =
        std::clamp<std::size_t>(entrees / parSeau + (entrees % parSeau != 0), 1,
                                std::numeric_limits<std::size_t>::max() / parSeau);
    return seaux * parSeau;
}

} // namespace

MemoBandes::MemoBandes(std::int64_t seuil, std::size_t entrees, Facons facons)
    : facons_(facons), seuil_(seuil), entrees_(EntreesBornees(entrees, kParSeau)) {}

void MemoBandes::Commence(std::span<const std::uint8_t> vides, const Masques& masques) {
    tableBandes_.entrees.clear();
    tableLignes_.entrees.clear();
    demandes_.assign(vides.size(), false);
    for (std::size_t b = 0; b < bandes_.size(); ++b) {
        Bande& bande = bandes_[b];
        bande = Bande{};
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
        bande.cherche = facons_.bandes && bande.debut != kAucune && bande.debut != 0;
        if (bande.cherche) {
            demandes_[bande.debut] = true;
        } else {
            bande.debut = kAucune;
        }
    }
    for (std::size_t y = 0; y < lignes_.size(); ++y) {
        lignes_[y] = Etat{};
        lignes_[y].cherche = facons_.lignes;
        lignes_[y].garde = kPasParRechercheLigne;
        prefixes_[y].cases = 0;
        prefixes_[y].pret = false;
    }
    for (std::size_t k = 0; k < vides.size(); ++k) {
        unites_[k] = kUnitesCase[vides[k]];
        const std::uint8_t y = unites_[k].ligne;
        ligneDe_[k] = y;
        Prefixes& ligne = prefixes_[y];
        if (ligne.cases == 0) {
            ligne.debut = k;
            ligneAvant_[k] = k == 0 ? 0 : ligneDe_[k - 1];
            if (k != 0 && (facons_.lignes || facons_.prefixes)) {
                demandes_[k] = true;
            }
        }
        ++ligne.cases;
    }
    actif_ = true;
}

std::int64_t MemoBandes::Entre(std::size_t k, const Masques& masques, std::int64_t iterations) {
    const std::uint8_t y = ligneDe_[k];
    Prefixes& ligne = prefixes_[y];
    ligne.pret = false;
    if (!actif_ || iterations < seuil_) {
        return 0;
    }
    if ((facons_.bandes && !Alloue(tableBandes_)) || (facons_.lignes && !Alloue(tableLignes_))) {
        Arrete(); // without its tables the memo stops, and the walk goes on as the plain one
        return 0;
    }

    // The band: the masks of columns 0..6 in bas, 9 bits each; of 7 and 8, and the
    // band, in haut.
    Bande* bande = nullptr;
    for (Bande& b : bandes_) {
        if (b.debut == k && b.cherche) {
            bande = &b;
        }
    }
    if (bande != nullptr) {
        Cle cle{0, std::uint64_t{y} << 18};
        for (std::size_t x = 0; x < kTaille; ++x) {
            const std::uint64_t bits = masques[kTaille + x] & bande->utiles[x];
            if (x < 7) {
                cle.bas |= bits << (kTaille * x);
            } else {
                cle.haut |= bits << (kTaille * (x - 7));
            }
        }
        if (const std::int64_t pas = bande->Cherche(tableBandes_, cle, iterations); pas != 0) {
            return pas;
        }
    }

    Etat& etat = lignes_[y];
    if (!etat.cherche && !facons_.prefixes) {
        return 0;
    }
    // The row: what each empty cell allows on entry, in bas for the first seven
    // cells, in haut for the last two with the number of cells.
    Cle cle{0, std::uint64_t{ligne.cases} << 18};
    for (std::size_t i = 0; i < ligne.cases; ++i) {
        const UnitesCase& u = unites_[ligne.debut + i];
        const unsigned permis =
            kTousChiffres & ~(masques[u.ligne] | masques[u.colonne] | masques[u.carre]);
        ligne.permis[i] = permis;
        if (i < 7) {
            cle.bas |= std::uint64_t{permis} << (kTaille * i);
        } else {
            cle.haut |= std::uint64_t{permis} << (kTaille * (i - 7));
        }
    }
    std::int64_t pas = 0;
    if (etat.cherche) {
        pas = etat.Cherche(tableLignes_, cle, iterations);
        etat.remplie = false;
    }
    if (pas == 0 && facons_.prefixes) {
        if (++ligne.passage == 0) {
            ligne.vus.fill(0);
            ligne.passage = 1;
        }
        const std::int32_t morts = ligne.Explore(masques[y], 0);
        if (morts < 0) {
            ligne.pret = true;
            etat.enCours = false; // the walk fills the row: not a walk to store
        } else {
            pas = morts;
            if (etat.enCours) {
                etat.Stocke(tableLignes_, iterations + pas);
            }
        }
    }
    if (pas != 0 && bande != nullptr && bande->enCours) {
        bande->Stocke(tableBandes_, iterations + pas);
    }
    return pas;
}

void MemoBandes::Sort(std::size_t k, std::int64_t iterations) {
    for (Bande& bande : bandes_) {
        if (bande.debut == k && bande.enCours) {
            bande.Stocke(tableBandes_, iterations);
        }
    }
    Etat& ligne = lignes_[ligneDe_[k]];
    if (ligne.enCours && !ligne.remplie) {
        ligne.Stocke(tableLignes_, iterations);
    }
    ligne.enCours = false;
}

std::int64_t MemoBandes::Etat::Cherche(Table& table, const Cle& cherchee, std::int64_t iterations) {
    if (!cherche) {
        return 0;
    }
    std::int64_t pas = 0;
    const Entree* seau = table.Seau(cherchee);
    for (std::size_t i = 0; i < kParSeau && pas == 0; ++i) {
        if (seau[i].cle == cherchee) {
            pas = seau[i].pas;
        }
    }
    ++bilan.recherches;
    ++recherchesFenetre;
    if (pas != 0) {
        ++bilan.trouvees;
        pasFenetre += pas;
        enCours = false;
    } else {
        enCours = true;
        cle = cherchee;
        depart = iterations;
    }
    if (recherchesFenetre == kFenetre) {
        if (pasFenetre < garde * kFenetre) {
            cherche = false; // the states here do not come back
            enCours = false;
        }
        recherchesFenetre = 0;
        pasFenetre = 0;
    }
    return pas;
}

void MemoBandes::Etat::Stocke(Table& table, std::int64_t iterations) {
    enCours = false;
    Entree* seau = table.Seau(cle);
    Entree* remplacee = seau;
    for (std::size_t i = 1; i < kParSeau; ++i) {
        if (seau[i].pas < remplacee->pas) {
            remplacee = &seau[i];
        }
    }
    *remplacee = Entree{cle, iterations - depart};
}

std::int32_t MemoBandes::Prefixes::Explore(unsigned tenus, std::size_t j) {
    if (j == cases) {
        morts[tenus] = -1; // the row is filled
        return -1;
    }
    if (vus[tenus] == passage) {
        return morts[tenus];
    }
    vus[tenus] = passage;
    bool vivant = false;
    std::int32_t sous = 0;
    for (unsigned reste = permis[j] & ~tenus; reste != 0; reste &= reste - 1) {
        const std::int32_t s = Explore(tenus | (reste & (0u - reste)), j + 1);
        if (s < 0) {
            vivant = true;
        } else {
            sous += 1 + s;
        }
    }
    morts[tenus] = vivant ? -1 : sous;
    return morts[tenus];
}

bool MemoBandes::Alloue(Table& table) {
    if (!table.entrees.empty()) {
        return true;
    }
    try {
        table.entrees.resize(&table == &tableLignes_ ? std::min(entrees_, kEntreesLignes)
                                                     : entrees_);
    } catch (const std::exception&) { // no memory for it, or more than a vector holds
        return false;
    }
    return true;
}

void MemoBandes::Arrete() {
    actif_ = false;
    for (Bande& bande : bandes_) {
        bande.cherche = false;
        bande.enCours = false;
    }
    for (Etat& ligne : lignes_) {
        ligne.cherche = false;
        ligne.enCours = false;
    }
}

MemoBandes::Entree* MemoBandes::Table::Seau(const Cle& cle) {
    std::uint64_t h = (cle.bas ^ (cle.haut * 0x9E3779B97F4A7C15ull)) * 0xBF58476D1CE4E5B9ull;
    h ^= h >> 31;
    return &entrees[static_cast<std::size_t>(h % (entrees.size() / kParSeau)) * kParSeau];
}

} // namespace modSudoku
