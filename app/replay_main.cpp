// tavolen-replay [SCRIPT]: performs a script of user actions on the window
// model and writes what the window shows, one JSON object per line.
#include <filesystem>
#include <fstream>
#include <iostream>

#include "replay/replay.h"

int main(int argc, char** argv) {
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
