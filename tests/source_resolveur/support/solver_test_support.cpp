#include "solver_test_support.h"

#include "GridFiles.h"
#include "GrilleText.h"

#include <stdexcept>

using namespace modSudoku;

namespace solver_test {

std::string TestForm::ProgramFolder() const {
    return folder_ ? *folder_ : HeadlessRuntime::ProgramFolder();
}

void TestForm::ShowMessage(const std::string& text, const std::string& title) {
    messages_.push_back({title, text});
}

void TestForm::SetCaptions(const forms::CaptionChars& captions) {
    HeadlessRuntime::SetCaptions(captions);
    ++captionUpdates_;
    if (observer_) {
        observer_(captions);
    }
}

std::string TestForm::Caption(int index) const {
    const char c = Captions().at(static_cast<std::size_t>(index));
    return c == '\0' ? std::string() : std::string(1, c);
}

void SetBoard(std::string_view text) {
    if (text.size() != 81) {
        throw std::invalid_argument("a board is 81 chars");
    }
    for (int i = 0; i < 81; ++i) {
        const char c = text[static_cast<std::size_t>(i)];
        Grille.Ecrit(grids::Label(i), c == '.' ? 0 : c - '0');
    }
}

std::string BoardText() {
    std::string text;
    for (int i = 0; i < 81; ++i) {
        text.push_back(static_cast<char>('0' + Grille.Lit(grids::Label(i))));
    }
    return text;
}

namespace {
check::Board Checked(std::string_view board) {
    const auto parsed = check::boardFromText(board);
    if (!parsed) {
        throw std::invalid_argument("a board is 81 chars 0..9 or '.'");
    }
    return *parsed;
}
} // namespace

std::string SolutionBytes(std::string_view board) {
    return check::solutionBytes(Checked(board));
}

std::string GrilleFile(std::string_view board) {
    return check::grilleBytes(Checked(board));
}

void Valeurs_Possibles(int x, int y, ListeChiffres& liste) {
    ListeChiffres carre;
    ListeChiffres ligne;
    ListeChiffres colonne;
    Manque_Carre(3 * (VerifieCoord(y) / 3) + VerifieCoord(x) / 3, carre);
    Manque_Ligne(y, "H", ligne);
    Manque_Ligne(x, "V", colonne);
    Init_Chiffres(liste);
    liste.DefinitBits(liste.Bits() & carre.Bits() & ligne.Bits() & colonne.Bits());
}

int Grille_Pleine(std::int16_t& x, std::int16_t& y) {
    for (int label = 0; label < kCases; ++label) {
        if (Grille.Lit(label) == 0) {
            x = static_cast<std::int16_t>(label % 9);
            y = static_cast<std::int16_t>(label / 9);
            return 0;
        }
    }
    return 1;
}

void Empile(std::int16_t x, std::int16_t y, std::vector<Position>& chemin) {
    chemin.push_back(Position{x, y});
}

void Depile(std::int16_t& x, std::int16_t& y, std::vector<Position>& chemin) {
    if (chemin.size() > 1) {
        chemin.pop_back();
    }
    x = chemin.back().X;
    y = chemin.back().Y;
}

std::int64_t Transcription(forms::FormRuntime& form) {
    std::int16_t x = 0;
    std::int16_t y = 0;
    if (Grille_Pleine(x, y) == 1) {
        return 0;
    }
    std::vector<Position> chemin{{0, 0}};
    std::int64_t steps = 0;
    bool complete = false;
    while (!complete) {
        Empile(x, y, chemin);
        ListeChiffres liste;
        Valeurs_Possibles(x, y, liste);
        int d = 0;
        for (int i = 0; i < 9 && d == 0; ++i) {
            d = liste[i];
        }
        if (d > 0) {
            Grille.Pose(x, y, d);
            Affiche_Grille(form);
            complete = Grille_Pleine(x, y) == 1;
        } else {
            bool changed = false;
            while (!changed) {
                Depile(x, y, chemin);
                const int v = Grille(x, y);
                Valeurs_Possibles(x, y, liste);
                int e = 0;
                for (int i = 0; i < 9 && e == 0; ++i) {
                    if (liste[i] != 0 && liste[i] > v) {
                        e = liste[i];
                    }
                }
                if (e > 0) {
                    Grille.Pose(x, y, e);
                    Affiche_Grille(form);
                    changed = true;
                    Grille_Pleine(x, y);
                } else {
                    Grille.Pose(x, y, 0);
                    Affiche_Grille(form);
                }
            }
        }
        ++steps;
    }
    return steps;
}

} // namespace solver_test
