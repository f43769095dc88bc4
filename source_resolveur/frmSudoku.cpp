#include "frmSudoku.h"

#include "modSudoku.h"

#include <exception>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdio>
#endif

namespace frmSudoku {

int RunSudoku(forms::FormRuntime& form) {
    using namespace modSudoku;
    // Looked up once: the load and the save use the same folder.
    const std::string dossier = form.ProgramFolder();
    if (dossier.empty()) {
        form.ShowMessage("Dossier du programme introuvable", "sudoku");
        return kSortieSansDossier;
    }
    Efface_Grille();
    Affiche_Grille(form);
    Charge_Grille(dossier);
    Affiche_Grille(form);
    form.SetBusyPointer(true);
    form.SetLogText(std::string());
    const BilanRecherche bilan = Recherche(form);
    form.SetBusyPointer(false);
    const bool sauve = Sauve_Grille(form, dossier + "/solution.txt");
    Affiche_Grille(form);
    form.Flush();
    if (!sauve) {
        return kSortieEchecSauvegarde;
    }
    return bilan.resolue ? kSortieResolue : kSortieSansSolution;
}

void Form_Load(forms::FormRuntime& form) {
    form.EndNow(RunSudoku(form));
}

int Demarre(const FabriqueForme& creeForme) {
    try {
        const auto form = creeForme();
        Form_Load(*form);
    } catch (const std::exception& e) {
#ifdef _WIN32
        MessageBoxA(nullptr, e.what(), "sudoku", MB_OK | MB_ICONERROR);
#else
        std::fprintf(stderr, "sudoku: unexpected error: %s\n", e.what());
#endif
        return kSortieErreurInattendue;
    }
}

} // namespace frmSudoku
