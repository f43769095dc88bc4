// The memo of the backtracking's dead walks (see modSudoku_Memo.h).
#include "modSudoku_Memo.h"

#include <algorithm>
#include <exception>
#include <limits>

namespace modSudoku {

namespace {

// The number of digits of each mask.
constexpr std::array<std::int32_t, 1u << kTaille> kChiffres = [] {
    std::array<std::int32_t, 1u << kTaille> compte{};
    for (unsigned m = 1; m < compte.size(); ++m) {
        compte[m] = compte[m >> 1] + static_cast<std::int32_t>(m & 1u);
    }
    return compte;
}();

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
    nbVides_ = vides.size();
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
        if (bande.debut == 0) {
            bande.debut = kAucune;
        }
        bande.cherche = facons_.bandes && bande.debut != kAucune;
        bande.compte = facons_.comptees;
        if (bande.debut != kAucune && (facons_.bandes || facons_.comptees)) {
            demandes_[bande.debut] = true;
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
    Bande* bande = BandeDe(k);
    if (bande != nullptr && bande->cherche) {
        const Cle cle = CleBande(*bande, y, masques);
        if (const std::int64_t pas = bande->Cherche(tableBandes_, cle, iterations); pas != 0) {
            return pas;
        }
    }
    if (bande != nullptr && bande->compte) {
        if (fins_.empty()) {
            fins_.assign(kFins, Fin{}); // exact keys: kept from one search to the next
        }
        const std::int64_t pas = CompteBande(k, masques);
        // A band whose walks are short is walked: counting it costs more.
        bande->pasComptes += std::max<std::int64_t>(pas, 0);
        if (++bande->comptes == kFenetreComptes) {
            bande->compte = bande->pasComptes >= kPasParCompte * kFenetreComptes;
            bande->comptes = 0;
            bande->pasComptes = 0;
        }
        if (pas > 0) {
            if (bande->enCours) {
                bande->Stocke(tableBandes_, iterations + pas);
            }
            return pas;
        }
    }

    Etat& etat = lignes_[y];
    if (!etat.cherche && !facons_.prefixes) {
        return 0;
    }
    // The row: what each empty cell allows on entry.
    for (std::size_t i = 0; i < ligne.cases; ++i) {
        const UnitesCase& u = unites_[ligne.debut + i];
        ligne.permis[i] =
            kTousChiffres & ~(masques[u.ligne] | masques[u.colonne] | masques[u.carre]);
    }
    const Cle cle = CleLigne(ligne.permis, ligne.cases);
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
    if (pas != 0 && bande != nullptr && bande->enCours) { // what the row counted, for the band
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
    const std::int64_t pas = table.Connus(cherchee);
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
    table.Retiens(cle, iterations - depart);
}

std::int64_t MemoBandes::Table::Connus(const Cle& cle) {
    const Entree* seau = Seau(cle);
    for (std::size_t i = 0; i < kParSeau; ++i) {
        if (seau[i].cle == cle) {
            return seau[i].pas;
        }
    }
    return 0;
}

void MemoBandes::Table::Retiens(const Cle& cle, std::int64_t pas) {
    Entree* seau = Seau(cle);
    Entree* remplacee = seau;
    for (std::size_t i = 1; i < kParSeau; ++i) {
        if (seau[i].pas < remplacee->pas) {
            remplacee = &seau[i];
        }
    }
    *remplacee = Entree{cle, pas};
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

MemoBandes::Bande* MemoBandes::BandeDe(std::size_t k) {
    for (Bande& bande : bandes_) {
        if (bande.debut == k) {
            return &bande;
        }
    }
    return nullptr;
}

MemoBandes::Cle MemoBandes::CleLigne(const std::array<unsigned, kTaille>& permis,
                                     std::size_t cases) {
    // What each empty cell allows, in bas for the first seven cells, in haut for
    // the last two with the number of cells.
    Cle cle{0, std::uint64_t{cases} << 18};
    for (std::size_t i = 0; i < cases; ++i) {
        if (i < 7) {
            cle.bas |= std::uint64_t{permis[i]} << (kTaille * i);
        } else {
            cle.haut |= std::uint64_t{permis[i]} << (kTaille * (i - 7));
        }
    }
    return cle;
}

MemoBandes::Cle MemoBandes::CleBande(const Bande& bande, std::uint8_t y, const Masques& masques) {
    // The masks of columns 0..6 in bas, 9 bits each; of 7 and 8, and the band's
    // first row, in haut.
    Cle cle{0, std::uint64_t{y} << 18};
    for (std::size_t x = 0; x < kTaille; ++x) {
        const std::uint64_t bits = masques[kTaille + x] & bande.utiles[x];
        if (x < 7) {
            cle.bas |= bits << (kTaille * x);
        } else {
            cle.haut |= bits << (kTaille * (x - 7));
        }
    }
    return cle;
}

std::int64_t MemoBandes::CompteBande(std::size_t k, const Masques& masques) {
    const std::size_t b = ligneDe_[k] / 3u;
    // The cell after the band, from which each way out of the band goes on.
    std::size_t apres = k;
    while (apres < nbVides_ && ligneDe_[apres] / 3u == b) {
        ++apres;
    }
    apres_[b] = apres;
    return CompteLignes(b, k, masques, {}, 0, nullptr);
}

std::int64_t MemoBandes::CompteSuite(std::size_t k, const Masques& masques) {
    if (k == nbVides_) {
        return -1; // the board is filled: a solution
    }
    const UnitesCase& u = unites_[k];
    if ((kTousChiffres & ~(masques[u.ligne] | masques[u.colonne] | masques[u.carre])) == 0) {
        return 0;
    }
    Bande* bande = BandeDe(k);
    const bool table = bande != nullptr && facons_.bandes && !tableBandes_.entrees.empty();
    Cle cle;
    if (table) {
        cle = CleBande(*bande, ligneDe_[k], masques);
        if (const std::int64_t connus = tableBandes_.Connus(cle); connus != 0) {
            return connus;
        }
    }
    const std::int64_t pas = CompteBande(k, masques);
    if (table && pas > 0) {
        tableBandes_.Retiens(cle, pas);
    }
    return pas;
}

std::int64_t MemoBandes::CompteLignes(std::size_t b, std::size_t k, const Masques& masques,
                                      const std::array<unsigned, 3>& ajouts, std::size_t niveau,
                                      std::vector<Sortie>* sorties) {
    if (k >= nbVides_) {
        return -1; // the board is filled: a solution
    }
    if (ligneDe_[k] / 3u != b) {
        sorties->push_back(Sortie{}); // the band is filled: one way out of it
        return 0;
    }
    const std::uint8_t y = ligneDe_[k];
    Rangee& rangee = rangees_[y];
    rangee.cases = prefixes_[y].cases;
    rangee.coupe = rangee.cases;
    rangee.fins = &fins_;
    for (std::size_t i = 0; i < rangee.cases; ++i) {
        const UnitesCase& u = unites_[k + i];
        rangee.x[i] = static_cast<std::uint8_t>(u.colonne - kTaille);
        if (i > 0 && rangee.x[i] / 3u != rangee.x[i - 1] / 3u) {
            rangee.coupe = i;
        }
        rangee.permis[i] = kTousChiffres & ~(masques[y] | masques[u.colonne] | masques[u.carre] |
                                             ajouts[rangee.x[i] / 3u]);
    }
    // A row that no order fills is the rows' memo's: looked up, or stored.
    const bool table = facons_.lignes && !tableLignes_.entrees.empty();
    const Cle cle = CleLigne(rangee.permis, rangee.cases);
    if (table) {
        if (const std::int64_t connus = tableLignes_.Connus(cle); connus != 0) {
            return connus;
        }
    }
    if (++rangee.passage == 0) {
        rangee.vus.fill(0);
        rangee.passage = 1;
    }
    std::int64_t pas = rangee.Explore(masques[y], 0);
    if (!rangee.vivant[masques[y]]) {
        if (table && pas != 0) {
            tableLignes_.Retiens(cle, pas);
        }
        return pas;
    }
    // The ways to fill the row, by the digits they put in each square: the rows
    // above in the band see only those.
    std::vector<Rempli>& remplis = remplis_[b][niveau];
    remplis.clear();
    Rempli courant{};
    rangee.Remplis(masques[y], 0, courant, remplis);
    std::sort(remplis.begin(), remplis.end(),
              [](const Rempli& a, const Rempli& c) { return a.carres < c.carres; });
    std::vector<Sortie>& dessus = sorties_[b][niveau + 1];
    for (std::size_t debut = 0, fin = 0; debut < remplis.size(); debut = fin) {
        while (fin < remplis.size() && remplis[fin].carres == remplis[debut].carres) {
            ++fin;
        }
        const std::uint32_t carres = remplis[debut].carres;
        const std::array<unsigned, 3> plus{ajouts[0] | (carres & kTousChiffres),
                                           ajouts[1] | ((carres >> kTaille) & kTousChiffres),
                                           ajouts[2] | (carres >> (2 * kTaille))};
        dessus.clear();
        const std::int64_t dessous =
            CompteLignes(b, k + rangee.cases, masques, plus, niveau + 1, &dessus);
        if (dessous < 0) {
            return -1;
        }
        pas += static_cast<std::int64_t>(fin - debut) * dessous;
        // Each way out of the band: handed to the row below, or, from the band's
        // first row, counted from the cell after the band.
        for (std::size_t i = debut; i < fin; ++i) {
            for (const Sortie& haut : dessus) {
                Sortie sortie = remplis[i].colonnes;
                for (std::size_t x = 0; x < kTaille; ++x) {
                    sortie[x] |= haut[x];
                }
                if (sorties != nullptr) {
                    sorties->push_back(sortie);
                    continue;
                }
                Masques suite = masques;
                for (std::size_t x = 0; x < kTaille; ++x) {
                    suite[kTaille + x] |= sortie[x];
                }
                const std::int64_t apresBande = CompteSuite(apres_[b], suite);
                if (apresBande < 0) {
                    return -1;
                }
                pas += apresBande;
            }
        }
    }
    return pas;
}

MemoBandes::Rangee::Bout MemoBandes::Rangee::Dernieres(unsigned tenus, std::size_t j) const {
    if (j == cases) {
        return {0, true};
    }
    if (j + 1 == cases) {
        const unsigned reste = permis[j] & ~tenus;
        return {kChiffres[reste], reste != 0};
    }
    Bout bout{0, false};
    for (unsigned reste = permis[j] & ~tenus; reste != 0; reste &= reste - 1) {
        const unsigned fin = permis[j + 1] & ~(tenus | (reste & (0u - reste)));
        bout.sous += 1 + kChiffres[fin];
        bout.vivant = bout.vivant || fin != 0;
    }
    return bout;
}

std::int32_t MemoBandes::Rangee::Explore(unsigned tenus, std::size_t j) {
    if (vus[tenus] == passage) {
        return sous[tenus];
    }
    vus[tenus] = passage;
    Fin* fin = nullptr;
    if (j == coupe) {
        std::uint64_t cle = std::uint64_t{tenus} | std::uint64_t{cases - j} << 36;
        for (std::size_t i = j; i < cases; ++i) {
            cle |= std::uint64_t{permis[i]} << (kTaille * (i - j + 1));
        }
        std::uint64_t h = cle * 0x9E3779B97F4A7C15ull;
        fin = &(*fins)[static_cast<std::size_t>(h >> 50) & (fins->size() - 1)];
        if (fin->cle == cle) {
            sous[tenus] = fin->sous;
            vivant[tenus] = fin->vivant;
            return fin->sous;
        }
        fin->cle = cle;
    }
    Bout bout{0, false};
    if (j + 2 >= cases) {
        bout = Dernieres(tenus, j);
    } else {
        for (unsigned reste = permis[j] & ~tenus; reste != 0; reste &= reste - 1) {
            const unsigned suivant = tenus | (reste & (0u - reste));
            bout.sous += 1 + Explore(suivant, j + 1);
            bout.vivant = bout.vivant || vivant[suivant];
        }
    }
    sous[tenus] = bout.sous;
    vivant[tenus] = bout.vivant;
    if (fin != nullptr) {
        fin->sous = bout.sous;
        fin->vivant = bout.vivant;
    }
    return bout.sous;
}

void MemoBandes::Rangee::Remplis(unsigned tenus, std::size_t j, Rempli& courant,
                                 std::vector<Rempli>& remplis) const {
    if (j == cases) {
        remplis.push_back(courant);
        return;
    }
    for (unsigned reste = permis[j] & ~tenus; reste != 0; reste &= reste - 1) {
        const unsigned bit = reste & (0u - reste);
        // Whether the row can be filled from here: past the cut and in the last
        // two cells the sets were not kept.
        const bool vivante = j + 3 >= cases || j + 1 > coupe ? Dernieres(tenus | bit, j + 1).vivant
                                                             : vivant[tenus | bit];
        if (!vivante) {
            continue;
        }
        const std::uint32_t carre = std::uint32_t{bit} << (kTaille * (x[j] / 3u));
        courant.colonnes[x[j]] = static_cast<std::uint16_t>(bit);
        courant.carres |= carre;
        Remplis(tenus | bit, j + 1, courant, remplis);
        courant.carres &= ~carre;
    }
    courant.colonnes[x[j]] = 0;
}

MemoBandes::Entree* MemoBandes::Table::Seau(const Cle& cle) {
    std::uint64_t h = (cle.bas ^ (cle.haut * 0x9E3779B97F4A7C15ull)) * 0xBF58476D1CE4E5B9ull;
    h ^= h >> 31;
    return &entrees[static_cast<std::size_t>(h % (entrees.size() / kParSeau)) * kParSeau];
}

} // namespace modSudoku
