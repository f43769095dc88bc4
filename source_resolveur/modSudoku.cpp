// Board, digit lists, display and log of the solver.
#include "modSudoku.h"

#include <bit>
#include <string>

namespace modSudoku {

Plateau Grille;

void HorsLimites(const char* what, int value) {
    throw std::out_of_range(std::string(what) + " out of range: " + std::to_string(value));
}

namespace {

// Digits present in unit u, as a mask.
std::uint16_t Presents(int u) {
    std::uint16_t presents = 0;
    for (const std::uint8_t label : kCasesUnite[static_cast<std::size_t>(u)]) {
        const int v = Grille.Lit(label);
        if (v != 0) {
            presents |= static_cast<std::uint16_t>(1u << (v - 1));
        }
    }
    return presents;
}

} // namespace

void Efface_Grille() {
    for (int label = 0; label < kCases; ++label) {
        Grille.Ecrit(label, 0);
    }
}

void Affiche_Grille(forms::FormRuntime& form) {
    forms::CaptionChars captions;
    const auto& cases = Grille.Cases();
    for (std::size_t i = 0; i < captions.size(); ++i) {
        captions[i] = cases[i] == 0 ? ' ' : static_cast<char>('0' + cases[i]);
    }
    form.SetCaptions(captions);
}

void Init_Chiffres(ListeChiffres& liste) {
    liste.DefinitBits(kTousChiffres);
}

void Manque_Carre(int n, ListeChiffres& liste) {
    Init_Chiffres(liste);
    liste.DefinitBits(
        static_cast<std::uint16_t>(liste.Bits() & ~Presents(2 * kTaille + VerifieCoord(n))));
}

void Manque_Ligne(int n, std::string_view direction, ListeChiffres& liste) {
    Init_Chiffres(liste);
    liste.DefinitBits(
        static_cast<std::uint16_t>(liste.Bits() & ~Presents(UniteLigne(n, direction))));
}

int Compte_Chiffres(const ListeChiffres& liste) {
    return std::popcount(liste.Bits());
}

void Trace(forms::FormRuntime& form, std::string_view texte) {
    std::string ligne = form.TimeOfDay();
    ligne += " : ";
    ligne += texte;
    if (form.LogText().empty()) {
        form.SetLogText(std::move(ligne));
    } else {
        form.SetLogText(form.LogText() + "\r\n" + ligne);
    }
    form.RepaintLog();
}

} // namespace modSudoku
