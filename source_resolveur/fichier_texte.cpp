#include "fichier_texte.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace modSudoku {

#ifdef _WIN32

namespace {
HANDLE Handle(void* h) {
    return static_cast<HANDLE>(h);
}
} // namespace

bool FichierTexte::Echec() {
    const DWORD code = GetLastError();
    erreur_.numero = code;
    char* texte = nullptr;
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<LPSTR>(&texte), 0, nullptr);
    erreur_.description = n > 0 && texte != nullptr ? std::string(texte, n) : std::string();
    if (texte != nullptr) {
        LocalFree(texte);
    }
    while (!erreur_.description.empty() &&
           (erreur_.description.back() == '\n' || erreur_.description.back() == '\r')) {
        erreur_.description.pop_back();
    }
    return false;
}

FichierTexte::~FichierTexte() {
    Relache();
}

void FichierTexte::Relache() {
    if (handle_ != nullptr) {
        CloseHandle(Handle(handle_));
        handle_ = nullptr;
    }
}

bool FichierTexte::OuvreEnLecture(const std::string& chemin) {
    const HANDLE h = CreateFileA(chemin.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return Echec();
    }
    handle_ = h;
    return true;
}

bool FichierTexte::OuvreEnEcriture(const std::string& chemin) {
    const HANDLE h = CreateFileA(chemin.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return Echec();
    }
    handle_ = h;
    return true;
}

long FichierTexte::Lit(char* tampon, std::size_t taille) {
    DWORD lus = 0;
    if (!ReadFile(Handle(handle_), tampon, static_cast<DWORD>(taille), &lus, nullptr)) {
        Echec();
        return -1;
    }
    return static_cast<long>(lus);
}

bool FichierTexte::Ecrit(std::string_view texte) {
    while (!texte.empty()) {
        DWORD ecrits = 0;
        if (!WriteFile(Handle(handle_), texte.data(), static_cast<DWORD>(texte.size()), &ecrits,
                       nullptr)) {
            return Echec();
        }
        texte.remove_prefix(ecrits);
    }
    return true;
}

bool FichierTexte::Ferme() {
    const HANDLE h = Handle(handle_);
    handle_ = nullptr;
    return CloseHandle(h) ? true : Echec();
}

#else

bool FichierTexte::Echec() {
    const int code = errno;
    erreur_.numero = static_cast<unsigned long>(code);
    erreur_.description = std::strerror(code);
    return false;
}

FichierTexte::~FichierTexte() {
    Relache();
}

void FichierTexte::Relache() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

bool FichierTexte::OuvreEnLecture(const std::string& chemin) {
    const int fd = ::open(chemin.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return Echec();
    }
    fd_ = fd;
    return true;
}

bool FichierTexte::OuvreEnEcriture(const std::string& chemin) {
    const int fd = ::open(chemin.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        return Echec();
    }
    fd_ = fd;
    return true;
}

long FichierTexte::Lit(char* tampon, std::size_t taille) {
    for (;;) {
        const ssize_t n = ::read(fd_, tampon, taille);
        if (n >= 0) {
            return static_cast<long>(n);
        }
        if (errno != EINTR) {
            Echec();
            return -1;
        }
    }
}

bool FichierTexte::Ecrit(std::string_view texte) {
    while (!texte.empty()) {
        const ssize_t n = ::write(fd_, texte.data(), texte.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Echec();
        }
        texte.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool FichierTexte::Ferme() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0 ? true : Echec();
}

#endif

} // namespace modSudoku
