// Recherche: the deduction passes, then the depth-first backtracking.
#include "existence_solution.h"
#include "modSudoku.h"

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

// One cell that was empty when the backtracking began.
struct CaseVide {
    std::int16_t x;
    std::int16_t y;
    std::uint8_t label;
    std::uint8_t carre;
};

} // namespace

// The backtracking phase on a board without any digit twice in a unit.
//
// The cells are visited in label order of the empty cells, digits in increasing
// order, and a retreat moves the latest cell of the path to its next larger
// allowed digit. Since every next cell is the first empty cell left, the path is
// always a prefix of the list of empty cells, so the next empty cell is the
// entry after the top of the path, and the digits present in each row, column
// and square are kept as masks instead of being recounted. The labels are
// rewritten after every change, from a copy of the captions kept in step with
// the board.
std::int64_t PhaseBackTracking(forms::FormRuntime& form) {
    std::int16_t x = 0;
    std::int16_t y = 0;
    if (Grille_Pleine(x, y) == 1) {
        return 0;
    }

    std::vector<CaseVide> vides;
    std::array<std::uint16_t, kTaille> lignes{};
    std::array<std::uint16_t, kTaille> colonnes{};
    std::array<std::uint16_t, kTaille> carres{};
    forms::CaptionChars captions;
    for (int label = 0; label < kCases; ++label) {
        const int cx = label % 9;
        const int cy = label / 9;
        const int n = 3 * (cy / 3) + cx / 3;
        const int v = Grille.Lit(label);
        captions[static_cast<std::size_t>(label)] = v == 0 ? ' ' : static_cast<char>('0' + v);
        if (v == 0) {
            vides.push_back(CaseVide{static_cast<std::int16_t>(cx), static_cast<std::int16_t>(cy),
                                     static_cast<std::uint8_t>(label),
                                     static_cast<std::uint8_t>(n)});
        } else {
            const auto bit = static_cast<std::uint16_t>(1u << (v - 1));
            lignes[static_cast<std::size_t>(cy)] |= bit;
            colonnes[static_cast<std::size_t>(cx)] |= bit;
            carres[static_cast<std::size_t>(n)] |= bit;
        }
    }

    const auto libres = [&](const CaseVide& c) {
        return static_cast<std::uint16_t>(
            kTousChiffres & ~(lignes[static_cast<std::size_t>(c.y)] |
                              colonnes[static_cast<std::size_t>(c.x)] | carres[c.carre]));
    };
    const auto bascule = [&](const CaseVide& c, int v) {
        const auto bit = static_cast<std::uint16_t>(1u << (v - 1));
        lignes[static_cast<std::size_t>(c.y)] ^= bit;
        colonnes[static_cast<std::size_t>(c.x)] ^= bit;
        carres[c.carre] ^= bit;
    };
    const auto ecrit = [&](const CaseVide& c, int v) {
        Grille.Ecrit(c.label, v);
        captions[c.label] = v == 0 ? ' ' : static_cast<char>('0' + v);
        form.SetCaptions(captions);
    };

    std::vector<Position> chemin;
    chemin.reserve(vides.size() + 1);
    chemin.push_back(Position{0, 0});
    const std::size_t nbVides = vides.size();
    std::size_t k = 0; // index in vides of the current cell
    std::int64_t iterations = 0;
    for (;;) {
        const CaseVide& c = vides[k];
        Empile(c.x, c.y, chemin);
        const std::uint16_t liste = libres(c);
        if (liste != 0) {
            const int d = std::countr_zero(liste) + 1;
            bascule(c, d);
            ecrit(c, d);
            ++iterations;
            if (++k == nbVides) {
                return iterations;
            }
            continue;
        }
        // Dead end: go back along the path until a cell takes a larger digit.
        for (;;) {
            Depile(x, y, chemin);
            if (chemin.size() == 1) {
                throw std::logic_error("the backtracking ran out of cells");
            }
            k = chemin.size() - 2;
            const CaseVide& p = vides[k];
            const int v = Grille.Lit(p.label);
            const auto plusGrands = static_cast<std::uint16_t>(libres(p) & (kTousChiffres << v));
            bascule(p, v);
            if (plusGrands != 0) {
                const int e = std::countr_zero(plusGrands) + 1;
                bascule(p, e);
                ecrit(p, e);
                ++k; // the first empty cell now follows it
                break;
            }
            ecrit(p, 0);
        }
        ++iterations;
    }
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
