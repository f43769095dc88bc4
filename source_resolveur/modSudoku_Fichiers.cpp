// Charge_Grille and Sauve_Grille: grille.txt in, solution.txt out.
#include "modSudoku.h"
#include "sequential_file.h"

#include <exception>
#include <string>

namespace modSudoku {

void Charge_Grille(const std::string& dossier) {
    try {
        forms::InputFile fichier;
        if (!fichier.Open(dossier + "/grille.txt")) {
            return;
        }
        std::string ligne;
        int y = 8;
        while (!fichier.AtEnd()) {
            // A line that cannot be read, or one far longer than any grid's, is faulty.
            if (!fichier.ReadLine(ligne)) {
                return;
            }
            // Position 2x + 1 (from 1) holds the value of column x. The digit is
            // checked before the row, and each cell is stored before the next
            // character is looked at; a tenth line (row -1) throws.
            for (int x = 0; x < kTaille; ++x) {
                const std::size_t position = static_cast<std::size_t>(2 * x);
                if (position >= ligne.size() || ligne[position] < '0' || ligne[position] > '9') {
                    return;
                }
                Grille.Pose(x, y, ligne[position] - '0');
            }
            --y;
        }
    } catch (const std::exception&) {
        // A tenth line or any other failure: what was stored so far stays.
    }
}

bool Sauve_Grille(forms::FormRuntime& form, const std::string& chemin) {
    forms::OutputFile fichier;
    // The file is closed before the box comes up, so that the user can deal with
    // it while the box waits; a file that this save created is removed again.
    const auto echec = [&] {
        fichier.Discard();
        const forms::FileError& erreur = fichier.Error();
        form.ShowMessage("Erreur " + std::to_string(erreur.number) + " (" + erreur.description +
                             ")",
                         "Sauve_Grille");
        return false;
    };
    if (!fichier.Open(chemin)) {
        return echec();
    }
    for (int y = 8; y >= 0; --y) {
        for (int x = 0; x < kTaille; ++x) {
            if (!fichier.WriteLine(std::to_string(Grille(x, y)))) {
                return echec();
            }
        }
    }
    if (!fichier.Close()) {
        return echec();
    }
    return true;
}

} // namespace modSudoku
