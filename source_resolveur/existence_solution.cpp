#include "existence_solution.h"

#include <bit>

namespace modSudoku {
namespace {

constexpr std::uint16_t kTous = 0x1FF;

// The 27 units (9 rows, 9 columns, 9 squares) as lists of labels.
struct Unites {
    std::array<std::array<std::uint8_t, 9>, 27> cases{};
    Unites() {
        for (int i = 0; i < 9; ++i) {
            for (int k = 0; k < 9; ++k) {
                cases[static_cast<std::size_t>(i)][static_cast<std::size_t>(k)] =
                    static_cast<std::uint8_t>(9 * i + k); // row i
                cases[static_cast<std::size_t>(9 + i)][static_cast<std::size_t>(k)] =
                    static_cast<std::uint8_t>(9 * k + i); // column i
                const int x = 3 * (i % 3) + k % 3;
                const int y = 3 * (i / 3) + k / 3;
                cases[static_cast<std::size_t>(18 + i)][static_cast<std::size_t>(k)] =
                    static_cast<std::uint8_t>(9 * y + x); // square i
            }
        }
    }
};
const Unites kUnites;

int CarreDe(int label) {
    return 3 * (label / 27) + (label % 9) / 3;
}

struct Etat {
    std::array<std::uint8_t, 81> valeurs{};
    std::array<std::uint16_t, 9> lignes{};
    std::array<std::uint16_t, 9> colonnes{};
    std::array<std::uint16_t, 9> carres{};

    std::uint16_t Libres(int label) const {
        return static_cast<std::uint16_t>(kTous &
                                          ~(lignes[static_cast<std::size_t>(label / 9)] |
                                            colonnes[static_cast<std::size_t>(label % 9)] |
                                            carres[static_cast<std::size_t>(CarreDe(label))]));
    }
    // False when the digit already stands in the cell's row, column or square.
    bool Pose(int label, std::uint16_t bit) {
        if ((Libres(label) & bit) == 0) {
            return false;
        }
        valeurs[static_cast<std::size_t>(label)] =
            static_cast<std::uint8_t>(std::countr_zero(bit) + 1);
        lignes[static_cast<std::size_t>(label / 9)] |= bit;
        colonnes[static_cast<std::size_t>(label % 9)] |= bit;
        carres[static_cast<std::size_t>(CarreDe(label))] |= bit;
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
        for (int label = 0; label < 81; ++label) {
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
        for (const auto& unite : kUnites.cases) {
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
            if ((presents | unePlace) != kTous) {
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
    for (int label = 0; label < 81; ++label) {
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
