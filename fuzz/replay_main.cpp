// Runs a harness as an ordinary program: every file named on the command line, and every file below
// every folder named, is passed to LLVMFuzzerTestOneInput once. Lets the corpora be replayed by any
// compiler's build, under valgrind, without libFuzzer.

#include "fuzz_check.h"

#include <vector>

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  std::vector<fs::path> files;
  for (int i = 1; i < argc; ++i) {
    if (fs::is_regular_file(argv[i])) {
      files.emplace_back(argv[i]);
    } else if (fs::is_directory(argv[i])) {
      for (const auto& entry : fs::recursive_directory_iterator(argv[i])) {
        if (entry.is_regular_file()) files.push_back(entry.path());
      }
    } else {
      std::fprintf(stderr, "cannot read %s\n", argv[i]);
      return 1;
    }
  }
  // A replay that ran nothing proves nothing: a misnamed corpus folder must fail the test.
  if (files.empty()) {
    std::fprintf(stderr, "no input files given\n");
    return 1;
  }
  for (const fs::path& file : files) {
    const std::string bytes = korvane::fuzz::readFile(file);
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
  std::printf("replayed %zu inputs\n", files.size());
  return 0;
}
