#include "existence_solution.h"

#include <bit>

namespace modSudoku {
namespace {

constexpr std::uint16_t kTous = 0x1FF;

int CarreDe(int label) {
    return 3 * (label / 27) + (label % 9) / 3;
}

struct Etat {
    std::array<std::uint16_t, 9> lignes{};
    std::array<std::uint16_t, 9> colonnes{};
    std::array<std::uint16_t, 9> carres{};
    std::array<std::uint8_t, 81> vides{};
    int nbVides = 0;

    std::uint16_t Libres(int label) const {
        return static_cast<std::uint16_t>(kTous &
                                          ~(lignes[static_cast<std::size_t>(label / 9)] |
                                            colonnes[static_cast<std::size_t>(label % 9)] |
                                            carres[static_cast<std::size_t>(CarreDe(label))]));
    }
    void Bascule(int label, std::uint16_t bit) {
        lignes[static_cast<std::size_t>(label / 9)] ^= bit;
        colonnes[static_cast<std::size_t>(label % 9)] ^= bit;
        carres[static_cast<std::size_t>(CarreDe(label))] ^= bit;
    }
};

// Fills vides[0..profondeur) already; tries to fill the rest.
bool Complete(Etat& etat, int profondeur) {
    if (profondeur == etat.nbVides) {
        return true;
    }
    // Bring the empty cell with the fewest candidates to position profondeur.
    int meilleur = profondeur;
    int moins = 10;
    for (int i = profondeur; i < etat.nbVides; ++i) {
        const int n = std::popcount(etat.Libres(etat.vides[static_cast<std::size_t>(i)]));
        if (n < moins) {
            moins = n;
            meilleur = i;
            if (n <= 1) {
                break;
            }
        }
    }
    if (moins == 0) {
        return false;
    }
    std::swap(etat.vides[static_cast<std::size_t>(profondeur)],
              etat.vides[static_cast<std::size_t>(meilleur)]);
    const int label = etat.vides[static_cast<std::size_t>(profondeur)];
    for (std::uint16_t libres = etat.Libres(label); libres != 0; libres &= libres - 1) {
        const auto bit = static_cast<std::uint16_t>(libres & -libres);
        etat.Bascule(label, bit);
        const bool trouve = Complete(etat, profondeur + 1);
        etat.Bascule(label, bit);
        if (trouve) {
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
        if (v == 0) {
            etat.vides[static_cast<std::size_t>(etat.nbVides++)] = static_cast<std::uint8_t>(label);
            continue;
        }
        const auto bit = static_cast<std::uint16_t>(1u << (v - 1));
        if ((~etat.Libres(label) & bit) != 0) {
            return false; // the digit already stands in this cell's row, column or square
        }
        etat.Bascule(label, bit);
    }
    return Complete(etat, 0);
}

} // namespace modSudoku
