#include "existence_solution.h"

#include "modSudoku.h"

#include <bit>

namespace modSudoku {
namespace {

struct Etat {
    std::array<std::uint8_t, kCases> valeurs{};
    std::array<std::uint16_t, kUnites> presents{};

    std::uint16_t Libres(int label) const {
        const UnitesCase& u = kUnitesCase[static_cast<std::size_t>(label)];
        return static_cast<std::uint16_t>(
            kTousChiffres & ~(presents[u.ligne] | presents[u.colonne] | presents[u.carre]));
    }
    // False when the digit already stands in the cell's row, column or square.
    bool Pose(int label, std::uint16_t bit) {
        if ((Libres(label) & bit) == 0) {
            return false;
        }
        valeurs[static_cast<std::size_t>(label)] =
            static_cast<std::uint8_t>(std::countr_zero(bit) + 1);
        const UnitesCase& u = kUnitesCase[static_cast<std::size_t>(label)];
        presents[u.ligne] |= bit;
        presents[u.colonne] |= bit;
        presents[u.carre] |= bit;
        return true;
    }
};

enum class Issue { Bloque, Complet, Ouvert };

// Fills forced cells until none is left. Ouvert: some cell is still empty, and
// meilleure is an empty cell with the fewest candidates.
Issue Propage(Etat& etat, int& meilleure) {
    for (;;) {
        bool change = false;
        int moins = 10;
        meilleure = -1;
        for (int label = 0; label < kCases; ++label) {
            if (etat.valeurs[static_cast<std::size_t>(label)] != 0) {
                continue;
            }
            const std::uint16_t libres = etat.Libres(label);
            const int n = std::popcount(libres);
            if (n == 0) {
                return Issue::Bloque;
            }
            if (n == 1) {
                etat.Pose(label, libres);
                change = true;
            } else if (n < moins) {
                moins = n;
                meilleure = label;
            }
        }
        for (const auto& unite : kCasesUnite) {
            std::uint16_t presents = 0;
            std::uint16_t unePlace = 0;
            std::uint16_t plusieurs = 0;
            for (const std::uint8_t label : unite) {
                const int v = etat.valeurs[label];
                if (v != 0) {
                    presents |= static_cast<std::uint16_t>(1u << (v - 1));
                    continue;
                }
                const std::uint16_t libres = etat.Libres(label);
                plusieurs |= unePlace & libres;
                unePlace |= libres;
            }
            if ((presents | unePlace) != kTousChiffres) {
                return Issue::Bloque; // a digit has no place left in this unit
            }
            const auto seuls = static_cast<std::uint16_t>(unePlace & ~plusieurs);
            for (const std::uint8_t label : unite) {
                if (etat.valeurs[label] != 0) {
                    continue;
                }
                const auto bit = static_cast<std::uint16_t>(seuls & etat.Libres(label));
                if (bit != 0) {
                    if (std::popcount(bit) > 1 || !etat.Pose(label, bit)) {
                        return Issue::Bloque;
                    }
                    change = true;
                }
            }
        }
        if (!change) {
            return meilleure < 0 ? Issue::Complet : Issue::Ouvert;
        }
    }
}

bool Complete(const Etat& depart) {
    Etat etat = depart;
    int label = -1;
    switch (Propage(etat, label)) {
    case Issue::Bloque:
        return false;
    case Issue::Complet:
        return true;
    case Issue::Ouvert:
        break;
    }
    for (std::uint16_t libres = etat.Libres(label); libres != 0;
         libres = static_cast<std::uint16_t>(libres & (libres - 1))) {
        Etat essai = etat;
        essai.Pose(label, static_cast<std::uint16_t>(libres & (~libres + 1)));
        if (Complete(essai)) {
            return true;
        }
    }
    return false;
}

} // namespace

bool ACompletion(const std::array<std::int16_t, 81>& cases) {
    Etat etat;
    for (int label = 0; label < kCases; ++label) {
        const int v = cases[static_cast<std::size_t>(label)];
        if (v < 0 || v > 9) {
            return false;
        }
        if (v != 0 && !etat.Pose(label, static_cast<std::uint16_t>(1u << (v - 1)))) {
            return false; // the digit already stands in this cell's row, column or square
        }
    }
    return Complete(etat);
}

} // namespace modSudoku
