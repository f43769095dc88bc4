#include "frmSudoku.h"

#include "modSudoku.h"

namespace frmSudoku {

int RunSudoku(forms::FormRuntime& form) {
    using namespace modSudoku;
    Efface_Grille();
    Affiche_Grille(form);
    Charge_Grille(form);
    Affiche_Grille(form);
    form.SetBusyPointer(true);
    form.SetLogText(std::string());
    const BilanRecherche bilan = Recherche(form);
    form.SetBusyPointer(false);
    const bool sauve = Sauve_Grille(form, form.ProgramFolder() + "/solution.txt");
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

} // namespace frmSudoku
