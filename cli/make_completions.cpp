// make_completions FOLDER: writes korvalo-level's completion scripts for bash,
// zsh and fish into FOLDER (korvalo-level, _korvalo-level, korvalo-level.fish).

#include <fstream>
#include <iostream>
#include <string>

#include "cli/completions.h"

namespace {

bool WriteScript(const std::string& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary);
  file << text;
  file.close();
  if (file) return true;
  std::cerr << "make_completions: cannot write " << path << "\n";
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "Usage: make_completions FOLDER\n";
    return 2;
  }
  const std::string folder = argv[1];
  const bool written = WriteScript(folder + "/korvalo-level", BashCompletion()) &&
                       WriteScript(folder + "/_korvalo-level", ZshCompletion()) &&
                       WriteScript(folder + "/korvalo-level.fish", FishCompletion());
  return written ? 0 : 1;
}
