// Runs a harness as an ordinary program: every file named on the command line, and every file
// below every folder named, is passed to LLVMFuzzerTestOneInput once. Lets the corpora be
// replayed by any compiler's build, under valgrind, without libFuzzer.

#include "fuzz_check.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

bool replay(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", file.c_str());
    return false;
  }
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>()};
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t replayed = 0;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path named(argv[i]);
    std::error_code error;
    if (std::filesystem::is_directory(named, error)) {
      for (const auto& entry : std::filesystem::recursive_directory_iterator(named)) {
        if (!entry.is_regular_file()) continue;
        if (!replay(entry.path())) return 1;
        ++replayed;
      }
    } else {
      if (!replay(named)) return 1;
      ++replayed;
    }
  }
  // A replay that ran nothing proves nothing: a misnamed corpus folder must fail the test.
  if (replayed == 0) {
    std::fprintf(stderr, "no input files given\n");
    return 1;
  }
  std::printf("replayed %zu inputs\n", replayed);
  return 0;
}
