#pragma once
// The seed of the randomised route tests: fixed, or KOLTAR_TEST_SEED from the
// environment to explore or to replay a failure (tests print the seed when they fail).

#include <cstdint>
#include <cstdlib>
#include <string>

namespace koltar::test {

inline std::uint32_t TestSeed() {
  if (const char* text = std::getenv("KOLTAR_TEST_SEED"))
    return static_cast<std::uint32_t>(std::strtoul(text, nullptr, 10));
  return 20240611u;
}

inline std::string SeedNote(std::uint32_t seed) {
  return "seed " + std::to_string(seed) + " (replay with KOLTAR_TEST_SEED=" + std::to_string(seed) + ")";
}

}  // namespace koltar::test
