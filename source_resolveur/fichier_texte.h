// A thin sequential file: open for reading or for writing (create or truncate),
// read blocks, write texts, close. A failure keeps the error number and text that
// the system reports: errno and strerror on POSIX, GetLastError and FormatMessageA
// (without its line break) on Windows.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace modSudoku {

struct ErreurFichier {
    unsigned long numero = 0;
    std::string description;
};

class FichierTexte {
public:
    FichierTexte() = default;
    FichierTexte(const FichierTexte&) = delete;
    FichierTexte& operator=(const FichierTexte&) = delete;
    ~FichierTexte(); // closes a file still open, ignoring any failure

    bool OuvreEnLecture(const std::string& chemin);
    bool OuvreEnEcriture(const std::string& chemin);
    // Bytes read into tampon: 0 at the end of the file, -1 on failure.
    long Lit(char* tampon, std::size_t taille);
    bool Ecrit(std::string_view texte);
    bool Ferme();
    // Closes the file if it is open, ignoring any failure; Erreur() stays as it was.
    void Relache();

    const ErreurFichier& Erreur() const { return erreur_; }

private:
    bool Echec();
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
    ErreurFichier erreur_;
};

} // namespace modSudoku
