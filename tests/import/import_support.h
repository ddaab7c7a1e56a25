#pragma once
// Helpers of the importer tests: running an import into a folder and reading the
// written binary files back.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "platform/binary.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "tools/import/map_builder.h"
#include "tools/import/readers.h"

namespace koltar::import::test {

inline ImportConfig DefaultConfig() {
  ImportConfig config;
  std::string error;
  EXPECT_TRUE(ParseConfig(DefaultConfigText(), config, error)) << error;
  return config;
}

// Reads the input files and writes `dir`/t.map; the summary and reader counts out.
inline bool Import(const std::vector<std::string>& inputs, const std::filesystem::path& dir,
                   BuildSummary& summary, InputCounts& counts, ImportConfig config = DefaultConfig()) {
  MapBuilder builder(std::move(config));
  for (const std::string& input : inputs) {
    std::string error;
    if (!ReadInputFile(input, builder, counts, error)) return false;
  }
  std::string error;
  return builder.Write(dir, "t.map", "Teszt", summary, error);
}

// One category's file, by the key in its section of the map file (category name in code page
// 1250).
inline std::string CategoryFile(const std::filesystem::path& dir, const std::string& category,
                                const std::string& key, const std::string& mapFile = "t.map") {
  const std::string map = ModelFileName(dir / mapFile);
  const std::string name = ReadProfileString(category, key, "", 260, map);
  std::ifstream in(dir / name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline std::string NameAt(const std::string& names, std::int32_t offset) {
  return offset < 0 ? std::string() : std::string(names.c_str() + offset);
}

}  // namespace koltar::import::test
