// The memo of the backtracking's dead walks (see modSudoku_Memo.h).
#include "modSudoku_Memo.h"

#include <algorithm>
#include <exception>
#include <limits>
#include <new>

namespace modSudoku {

namespace {

// The number of digits of each mask (a table: the programs are built for
// processors without a population count instruction).
constexpr std::array<std::uint8_t, 1u << kTaille> kChiffres = [] {
    std::array<std::uint8_t, 1u << kTaille> compte{};
    for (unsigned m = 1; m < compte.size(); ++m) {
        compte[m] = static_cast<std::uint8_t>(compte[m >> 1] + (m & 1u));
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
    std::fill(restes_.begin(), restes_.end(), Reste{}); // their keys hold this search's cells
    sortiesRestes_.clear();
    demandes_.fill(false);
    nbVides_ = vides.size();
    casesLigne_.fill(0);
    for (std::size_t k = 0; k < vides.size(); ++k) {
        unites_[k] = kUnitesCase[vides[k]];
        ligneDe_[k] = unites_[k].ligne;
        carreDe_[k] = static_cast<std::uint8_t>((unites_[k].colonne - kTaille) / 3);
        ++casesLigne_[ligneDe_[k]];
    }
    for (std::size_t b = 0; b < bandes_.size(); ++b) {
        Bande& bande = bandes_[b];
        bande = Bande{};
        const auto premiereLigne = static_cast<std::uint8_t>(3 * (b + 1));
        for (std::size_t k = 0; k < vides.size(); ++k) {
            const UnitesCase& u = unites_[k];
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
        if (bande.debut != kAucune && (facons_.bandes || facons_.comptees)) {
            demandes_[bande.debut] = true;
        }
    }
    actif_ = true;
}

std::int64_t MemoBandes::Entre(std::size_t k, const Masques& masques, std::int64_t iterations) {
    if (!actif_ || iterations < seuil_) {
        return 0;
    }
    if ((facons_.bandes && !Alloue(tableBandes_)) || (facons_.comptees && !AlloueComptes())) {
        Arrete(); // without its tables the memo stops, and the walk goes on as the plain one
        return 0;
    }
    Bande& bande = *BandeDe(k);
    if (bande.cherche) {
        const Cle cle = CleBande(bande, ligneDe_[k], masques);
        if (const std::int64_t pas = bande.Cherche(tableBandes_, cle, iterations); pas != 0) {
            return pas;
        }
    }
    if (!facons_.comptees) {
        return 0;
    }
    std::int64_t pas = 0;
    try {
        pas = CompteBande(k, masques);
    } catch (const std::bad_alloc&) {
        Arrete(); // no memory for a count's lists: the walk goes on as the plain one
        return 0;
    }
    if (pas < 0) {
        return 0; // the band holds a solution: walked
    }
    if (bande.enCours) {
        bande.Stocke(tableBandes_, iterations + pas);
    }
    return pas;
}

void MemoBandes::Sort(std::size_t k, std::int64_t iterations) {
    for (Bande& bande : bandes_) {
        if (bande.debut == k && bande.enCours) {
            bande.Stocke(tableBandes_, iterations);
        }
    }
}

std::int64_t MemoBandes::Bande::Cherche(Table& table, const Cle& cherchee,
                                        std::int64_t iterations) {
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
        if (pasFenetre < kPasParRecherche * kFenetre) {
            cherche = false; // the states here do not come back
            enCours = false;
        }
        recherchesFenetre = 0;
        pasFenetre = 0;
    }
    return pas;
}

void MemoBandes::Bande::Stocke(Table& table, std::int64_t iterations) {
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

bool MemoBandes::Alloue(Table& table) {
    if (!table.entrees.empty()) {
        return true;
    }
    try {
        table.entrees.resize(entrees_);
    } catch (const std::exception&) { // no memory for it, or more than a vector holds
        return false;
    }
    return true;
}

bool MemoBandes::AlloueComptes() {
    if (!rangees_.empty()) {
        return true;
    }
    try {
        rangees_.resize(kTaille);
        if (facons_.restes) {
            restes_.resize(kRestes);
            sortiesRestes_.reserve(kSortiesRestes); // never grown past it
        }
    } catch (const std::exception&) {
        rangees_.clear();
        restes_.clear();
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
}

MemoBandes::Bande* MemoBandes::BandeDe(std::size_t k) {
    for (Bande& bande : bandes_) {
        if (bande.debut == k) {
            return &bande;
        }
    }
    return nullptr;
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
    for (std::size_t i = k; i < apres; ++i) {
        const UnitesCase& u = unites_[i];
        permisBande_[i] =
            kTousChiffres & ~(masques[u.ligne] | masques[u.colonne] | masques[u.carre]);
    }
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
    // The rest of the band from a row after its first: known, or kept below.
    if (niveau > 0 && !restes_.empty()) {
        std::array<std::uint64_t, 3> cle{0, 0, std::uint64_t{k} << 54};
        for (std::size_t i = k, mot = 0; i < apres_[b]; ++mot) {
            for (std::size_t decalage = 0; decalage < 7 * kTaille && i < apres_[b];
                 decalage += kTaille, ++i) {
                cle[mot] |= std::uint64_t{permisBande_[i] & ~ajouts[carreDe_[i]]} << decalage;
            }
        }
        if (const Reste* connu = Connu(cle); connu != nullptr) {
            sorties->insert(sorties->end(), sortiesRestes_.begin() + connu->debut,
                            sortiesRestes_.begin() + connu->debut + connu->nombre);
            return connu->pas;
        }
        const std::size_t avant = sorties->size();
        const std::int64_t pas = CompteLignesSansReste(b, k, masques, ajouts, niveau, sorties);
        const std::size_t nombre = pas < 0 ? 0 : sorties->size() - avant;
        if (nombre <= kSortiesRestes / 16) { // a longer list would soon crowd the others out
            Retiens(cle, pas, sorties->begin() + static_cast<std::ptrdiff_t>(avant), nombre);
        }
        return pas;
    }
    return CompteLignesSansReste(b, k, masques, ajouts, niveau, sorties);
}

MemoBandes::Reste& MemoBandes::PlaceReste(const std::array<std::uint64_t, 3>& cle) {
    const std::uint64_t h =
        (cle[0] ^ (cle[1] * 0x9E3779B97F4A7C15ull) ^ (cle[2] * 0xC2B2AE3D27D4EB4Full)) *
        0xBF58476D1CE4E5B9ull;
    return restes_[static_cast<std::size_t>(h >> 40) & (restes_.size() - 1)];
}

const MemoBandes::Reste* MemoBandes::Connu(const std::array<std::uint64_t, 3>& cle) {
    const Reste& reste = PlaceReste(cle);
    return reste.cle[0] == cle[0] && reste.cle[1] == cle[1] && reste.cle[2] == cle[2] ? &reste
                                                                                      : nullptr;
}

void MemoBandes::Retiens(const std::array<std::uint64_t, 3>& cle, std::int64_t pas,
                         std::vector<Sortie>::const_iterator sorties, std::size_t nombre) {
    if (sortiesRestes_.size() + nombre > kSortiesRestes) {
        sortiesRestes_.clear(); // the rests kept before hold ways out no longer there
        std::fill(restes_.begin(), restes_.end(), Reste{});
    }
    PlaceReste(cle) = Reste{cle, pas, static_cast<std::uint32_t>(sortiesRestes_.size()),
                            static_cast<std::uint32_t>(nombre)};
    sortiesRestes_.insert(sortiesRestes_.end(), sorties,
                          sorties + static_cast<std::ptrdiff_t>(nombre));
}

std::int64_t MemoBandes::CompteLignesSansReste(std::size_t b, std::size_t k, const Masques& masques,
                                               const std::array<unsigned, 3>& ajouts,
                                               std::size_t niveau, std::vector<Sortie>* sorties) {
    const std::uint8_t y = ligneDe_[k];
    Rangee& rangee = rangees_[y];
    rangee.cases = casesLigne_[y];
    std::size_t carre = 0;
    for (std::size_t i = 0; i < rangee.cases; ++i) {
        const UnitesCase& u = unites_[k + i];
        rangee.x[i] = static_cast<std::uint8_t>(u.colonne - kTaille);
        while (carre <= rangee.x[i] / 3u) {
            rangee.bornes[carre++] = i;
        }
        rangee.permis[i] = permisBande_[k + i] & ~ajouts[rangee.x[i] / 3u];
    }
    while (carre < rangee.bornes.size()) {
        rangee.bornes[carre++] = rangee.cases;
    }
    rangee.coupe = rangee.cases == 0 ? 0 : rangee.bornes[rangee.x[rangee.cases - 1] / 3u];
    rangee.permis[rangee.cases] = 0;
    rangee.permis[rangee.cases + 1] = 0;
    rangee.permisApres[rangee.cases] = 0;
    for (std::size_t i = rangee.cases; i-- > 0;) {
        rangee.permisApres[i] = rangee.permisApres[i + 1] | rangee.permis[i];
    }
    if (++rangee.passage == 0) {
        rangee.vus.fill(0);
        rangee.passage = 1;
    }
    const Rangee::Bout ligne = rangee.Explore(masques[y], 0);
    std::int64_t pas = ligne.sous;
    if (!ligne.vivant) {
        return pas;
    }
    // The ways to fill the row, by the digits they put in each square: the rows
    // above in the band see only those.
    rangee.Groupes(masques[y]);
    std::vector<Sortie>& dessus = sorties_[b - 1][niveau];
    for (const Groupe& groupe : rangee.groupes) {
        const std::array<unsigned, 3> plus{ajouts[0] | groupe.carres[0],
                                           ajouts[1] | groupe.carres[1],
                                           ajouts[2] | groupe.carres[2]};
        dessus.clear();
        const std::int64_t dessous =
            CompteLignes(b, k + rangee.cases, masques, plus, niveau + 1, &dessus);
        if (dessous < 0) {
            return -1;
        }
        const std::uint32_t facons = groupe.nombre[0] * groupe.nombre[1] * groupe.nombre[2];
        pas += std::int64_t{facons} * dessous;
        // Each way out of the band: handed to the row below, or, from the band's
        // first row, counted from the cell after the band.
        for (std::uint32_t i = 0; i < (dessus.empty() ? 0 : facons); ++i) {
            Sortie rangs{};
            for (std::size_t c = 0, reste = i; c < 3; reste /= groupe.nombre[c++]) {
                const Pose& pose = rangee.poses[groupe.debut[c] + reste % groupe.nombre[c]];
                for (std::size_t j = rangee.bornes[c]; j < rangee.bornes[c + 1]; ++j) {
                    rangs[rangee.x[j]] = pose.bits[j - rangee.bornes[c]];
                }
            }
            for (const Sortie& haut : dessus) {
                Sortie sortie = rangs;
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

MemoBandes::Rangee::Bout MemoBandes::Rangee::Fin(unsigned tenus) const {
    // The ways to fill the first cell, the first two (distinct digits) and all
    // three (a missing cell allows nothing).
    const std::size_t j = coupe;
    const unsigned p = permis[j] & ~tenus;
    const unsigned q = permis[j + 1] & ~tenus;
    const unsigned r = permis[j + 2] & ~tenus;
    const int a = kChiffres[p];
    const int b = kChiffres[q];
    const int deux = a * b - kChiffres[p & q];
    const int trois = deux * kChiffres[r] - kChiffres[p & r] * b - kChiffres[q & r] * a +
                      2 * kChiffres[p & q & r];
    const int toutes = cases - j == 1 ? a : cases - j == 2 ? deux : trois;
    return {a + deux + trois, toutes != 0};
}

MemoBandes::Rangee::Bout MemoBandes::Rangee::Explore(unsigned tenus, std::size_t j) {
    if (j == coupe) {
        return Fin(tenus);
    }
    const std::size_t place = Place(tenus, j);
    if (vus[place] == passage) {
        return {sous[place], vivant[place]};
    }
    vus[place] = passage;
    Bout bout{0, false};
    for (unsigned reste = permis[j] & ~tenus; reste != 0; reste &= reste - 1) {
        const Bout suite = Explore(tenus | (reste & (0u - reste)), j + 1);
        bout.sous += 1 + suite.sous;
        bout.vivant = bout.vivant || suite.vivant;
    }
    sous[place] = bout.sous;
    vivant[place] = bout.vivant;
    return bout;
}

bool MemoBandes::Rangee::Vivant(unsigned tenus, std::size_t j) const {
    return j == cases || (j == coupe ? Fin(tenus).vivant : vivant[Place(tenus, j)]);
}

void MemoBandes::Rangee::Groupes(unsigned tenus) {
    poses.clear();
    groupes.clear();
    // Each square's ways, sorted by the digits they take: per set, its digits
    // and its first way in poses (then the end).
    std::array<std::array<unsigned, 85>, 3> ensembles;
    std::array<std::array<std::uint32_t, 85>, 3> suites;
    std::array<std::size_t, 3> nombres{};
    for (std::size_t s = 0; s < 3; ++s) {
        const std::size_t debut = poses.size();
        Pose pose;
        Parties(s, bornes[s], tenus, pose);
        std::sort(poses.begin() + static_cast<std::ptrdiff_t>(debut), poses.end(),
                  [](const Pose& a, const Pose& b) { return a.chiffres < b.chiffres; });
        for (std::size_t i = debut; i < poses.size(); ++i) {
            if (i == debut || poses[i].chiffres != poses[i - 1].chiffres) {
                ensembles[s][nombres[s]] = poses[i].chiffres;
                suites[s][nombres[s]++] = static_cast<std::uint32_t>(i);
            }
        }
        suites[s][nombres[s]] = static_cast<std::uint32_t>(poses.size());
    }
    // The sets of the three squares that fill the row together: the last square
    // takes the digits left.
    for (std::size_t c = 0; c < nombres[2]; ++c) {
        suiteDe[ensembles[2][c]] = static_cast<std::uint8_t>(c);
    }
    Groupe groupe;
    for (std::size_t a = 0; a < nombres[0]; ++a) {
        const unsigned avecA = tenus | ensembles[0][a];
        if (!Vivant(avecA, bornes[1])) {
            continue;
        }
        for (std::size_t b = 0; b < nombres[1]; ++b) {
            if ((ensembles[1][b] & avecA) != 0) {
                continue;
            }
            const std::size_t c = suiteDe[kTousChiffres & ~(avecA | ensembles[1][b])];
            if (c == kAucun) {
                continue;
            }
            for (const auto& [s, n] : {std::pair{0, a}, std::pair{1, b}, std::pair{2, c}}) {
                groupe.carres[s] = ensembles[s][n];
                groupe.debut[s] = suites[s][n];
                groupe.nombre[s] = suites[s][n + 1] - suites[s][n];
            }
            groupes.push_back(groupe);
        }
    }
    for (std::size_t c = 0; c < nombres[2]; ++c) {
        suiteDe[ensembles[2][c]] = kAucun;
    }
}

void MemoBandes::Rangee::Parties(std::size_t s, std::size_t j, unsigned tenus, Pose& pose) {
    if (j == bornes[s + 1]) {
        poses.push_back(pose);
        return;
    }
    for (unsigned reste = permis[j] & ~tenus; reste != 0; reste &= reste - 1) {
        const unsigned bit = reste & (0u - reste);
        pose.bits[j - bornes[s]] = static_cast<std::uint16_t>(bit);
        pose.chiffres |= bit;
        Parties(s, j + 1, tenus | bit, pose);
        pose.chiffres &= ~bit;
    }
}

MemoBandes::Entree* MemoBandes::Table::Seau(const Cle& cle) {
    std::uint64_t h = (cle.bas ^ (cle.haut * 0x9E3779B97F4A7C15ull)) * 0xBF58476D1CE4E5B9ull;
    h ^= h >> 31;
    // The bucket from the hash's top half, by a product rather than a division.
    const std::uint64_t seaux = entrees.size() / kParSeau;
    return &entrees[static_cast<std::size_t>(((h >> 32) * seaux) >> 32) * kParSeau];
}

} // namespace modSudoku
