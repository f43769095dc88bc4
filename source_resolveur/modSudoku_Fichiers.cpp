// Charge_Grille and Sauve_Grille: grille.txt in, solution.txt out.
#include "fichier_texte.h"
#include "modSudoku.h"

#include <stdexcept>
#include <string>

namespace modSudoku {
namespace {

// Positions 1, 3, ..., 17 hold the values; nothing after position 17 is looked at.
constexpr std::size_t kLongueurUtile = 17;

// Stores the values of one line into row y, left to right; false stops the load.
// The digit is checked before the row, and each cell is stored before the next
// character is looked at. A row outside 0..8 throws std::out_of_range.
bool RangeLigne(const std::string& ligne, int y) {
    for (int x = 0; x < kTaille; ++x) {
        const std::size_t position = static_cast<std::size_t>(2 * x);
        if (position >= ligne.size()) {
            return false;
        }
        const char c = ligne[position];
        if (c < '0' || c > '9') {
            return false;
        }
        Grille.Pose(x, y, c - '0');
    }
    return true;
}

void ChargeDepuis(FichierTexte& fichier) {
    std::string ligne;
    bool ligneOuverte = false; // some character of the current line has been read
    bool apresCR = false;      // the previous byte was a CR: a LF right after it is part of it
    int y = 8;
    char tampon[4096];
    for (;;) {
        const long lus = fichier.Lit(tampon, sizeof tampon);
        if (lus < 0) {
            return;
        }
        if (lus == 0) {
            break;
        }
        for (long i = 0; i < lus; ++i) {
            const char c = tampon[i];
            if (apresCR) {
                apresCR = false;
                if (c == '\n') {
                    continue;
                }
            }
            if (c == '\r' || c == '\n') {
                apresCR = c == '\r';
                if (!RangeLigne(ligne, y)) {
                    return;
                }
                --y;
                ligne.clear();
                ligneOuverte = false;
                continue;
            }
            ligneOuverte = true;
            if (ligne.size() < kLongueurUtile) {
                ligne.push_back(c);
            }
        }
    }
    if (ligneOuverte) {
        RangeLigne(ligne, y);
    }
}

} // namespace

void Charge_Grille(forms::FormRuntime& form) {
    try {
        FichierTexte fichier;
        if (!fichier.OuvreEnLecture(form.ProgramFolder() + "/grille.txt")) {
            return;
        }
        ChargeDepuis(fichier);
    } catch (const std::exception&) {
        // A tenth line (row -1) or any other failure: what was stored so far stays.
    }
}

bool Sauve_Grille(forms::FormRuntime& form, const std::string& chemin) {
    FichierTexte fichier;
    // The file is closed before the box comes up, so that the user can deal with
    // it while the box waits.
    const auto echec = [&] {
        fichier.Relache();
        const ErreurFichier& erreur = fichier.Erreur();
        form.ShowMessage("Erreur " + std::to_string(erreur.numero) + " (" + erreur.description +
                             ")",
                         "Sauve_Grille");
        return false;
    };
    if (!fichier.OuvreEnEcriture(chemin)) {
        return echec();
    }
    for (int y = 8; y >= 0; --y) {
        for (int x = 0; x < kTaille; ++x) {
            const char texte[3] = {static_cast<char>('0' + Grille(x, y)), '\r', '\n'};
            if (!fichier.Ecrit(std::string_view(texte, sizeof texte))) {
                return echec();
            }
        }
    }
    if (!fichier.Ferme()) {
        return echec();
    }
    return true;
}

} // namespace modSudoku
