// The grids of a grid file as the solver program meets them, for the performance
// report: for grid n (from 0), the folder <out>/<n> with its grille.txt and the
// solution.txt that the program must save, expected.txt. Prints "<n> <steps>" per grid.
//
//   grid_folders <grid file> <out>
#include "GridFiles.h"
#include "GrilleText.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: grid_folders <grid file> <out>\n", stderr);
        return 2;
    }
    int n = 0;
    for (const grids::Grid& grid : grids::Read(argv[1])) {
        const std::filesystem::path folder = std::filesystem::path(argv[2]) / std::to_string(n);
        std::filesystem::create_directories(folder);
        std::ofstream(folder / "grille.txt", std::ios::binary)
            << check::grilleBytes(*check::boardFromText(grid.puzzle));
        std::ofstream(folder / "expected.txt", std::ios::binary)
            << check::solutionBytes(*check::boardFromText(grid.solved));
        std::printf("%d %lld\n", n++, static_cast<long long>(grid.steps));
    }
    return 0;
}
