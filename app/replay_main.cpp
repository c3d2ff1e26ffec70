// tavolen-replay [SCRIPT]: performs a script of user actions on the window
// model and writes what the window shows, one JSON object per line.
#include <filesystem>
#include <fstream>
#include <iostream>

#include "replay/replay.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <cstdio>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
  // The lines are written as they are, with no carriage return added.
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
#endif
  std::ios::sync_with_stdio(false);
  if (argc > 2) {
    std::cerr << "usage: tavolen-replay [SCRIPT]\n";
    return 2;
  }
  if (argc == 1) {
    return tavolen::RunReplay(std::cin, std::cout, std::cerr);
  }
  std::error_code error;
  std::ifstream file(argv[1], std::ios::binary);
  if (!file || std::filesystem::is_directory(argv[1], error)) {
    std::cerr << "tavolen-replay: cannot read " << argv[1] << '\n';
    return 2;
  }
  return tavolen::RunReplay(file, std::cout, std::cerr);
}
