// Runs a fuzz target's entry point once on every file of the folders (and files) given,
// as libFuzzer does on a corpus, without libFuzzer: the corpora and the crash files
// found so far become regression tests under any compiler. Folders that do not exist
// are skipped; a target that crashes ends the run.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "tests/fuzz/fuzz_support.h"

int main(int argc, char** argv) {
  std::vector<std::filesystem::path> inputs;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path given = argv[i];
    std::error_code ec;
    if (std::filesystem::is_regular_file(given, ec)) {
      inputs.push_back(given);
    } else if (std::filesystem::is_directory(given, ec)) {
      for (const auto& entry : std::filesystem::recursive_directory_iterator(given, ec))
        if (entry.is_regular_file()) inputs.push_back(entry.path());
    }
  }
  std::sort(inputs.begin(), inputs.end());
  for (const std::filesystem::path& input : inputs) {
    std::ifstream in(input, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::fprintf(stderr, "%s\n", input.filename().c_str());
    (void)LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
  std::printf("%zu inputs replayed\n", inputs.size());
  return 0;
}
