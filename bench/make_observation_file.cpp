// Writes a BDL file of made-up Moon observations of Paris, 1960-2019, for measuring the
// whole program on a large set:
//   make_observation_file APP_FOLDER COUNT FILE_NUMBER
// writes APP_FOLDER/ObsPARI/PARI11_G_<FILE_NUMBER>.txt through window 1's writer.
#include <cstdlib>
#include <iostream>

#include "bench_support.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: make_observation_file APP_FOLDER COUNT FILE_NUMBER\n";
    return 2;
  }
  planova::bench::WriteBdlFile(argv[1], std::string("G_") + argv[3],
                               planova::bench::MoonLikeObservations(std::atoi(argv[2])));
  return 0;
}
