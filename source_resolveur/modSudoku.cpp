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

std::uint16_t Bit(int valeur) {
    return valeur == 0 ? 0 : static_cast<std::uint16_t>(1u << (valeur - 1));
}

// Digits present in square n (x outer, y inner), as a mask.
std::uint16_t PresentsCarre(int n) {
    VerifieCoord(n);
    const int gauche = 3 * (n % 3);
    const int bas = 3 * (n / 3);
    std::uint16_t presents = 0;
    for (int x = gauche; x <= gauche + 2; ++x) {
        for (int y = bas; y <= bas + 2; ++y) {
            presents |= Bit(Grille(x, y));
        }
    }
    return presents;
}

std::uint16_t PresentsLigne(int n, std::string_view direction) {
    std::uint16_t presents = 0;
    if (direction == "H") {
        for (int k = 0; k < kTaille; ++k) {
            presents |= Bit(Grille(k, n));
        }
    } else {
        for (int k = 0; k < kTaille; ++k) {
            presents |= Bit(Grille(n, k));
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
    liste.DefinitBits(static_cast<std::uint16_t>(liste.Bits() & ~PresentsCarre(n)));
}

void Manque_Carre_Case(int x, int y, ListeChiffres& liste) {
    Manque_Carre(3 * (VerifieCoord(y) / 3) + VerifieCoord(x) / 3, liste);
}

void Manque_Ligne(int n, std::string_view direction, ListeChiffres& liste) {
    Init_Chiffres(liste);
    liste.DefinitBits(static_cast<std::uint16_t>(liste.Bits() & ~PresentsLigne(n, direction)));
}

void Valeurs_Possibles(int x, int y, ListeChiffres& liste) {
    ListeChiffres carre;
    ListeChiffres ligne;
    ListeChiffres colonne;
    Manque_Carre_Case(x, y, carre);
    Manque_Ligne(y, "H", ligne);
    Manque_Ligne(x, "V", colonne);
    Init_Chiffres(liste);
    liste.DefinitBits(liste.Bits() & carre.Bits() & ligne.Bits() & colonne.Bits());
}

int Compte_Chiffres(const ListeChiffres& liste) {
    return std::popcount(liste.Bits());
}

int Grille_Pleine(std::int16_t& x, std::int16_t& y) {
    const auto& cases = Grille.Cases();
    for (int label = 0; label < kCases; ++label) {
        if (cases[static_cast<std::size_t>(label)] == 0) {
            x = static_cast<std::int16_t>(label % 9);
            y = static_cast<std::int16_t>(label / 9);
            return 0;
        }
    }
    return 1;
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
