#pragma once
// Builds a complete map in the program's format from the features of the input files:
// settlements and streets (the towns category, with house-number ranges), roads by class
// with the road graph, areas, other lines, labels, overview categories for small scales,
// and a road-atlas symbology with its symbol bitmaps.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tools/import/features.h"
#include "tools/import/import_config.h"

namespace koltar::import {

struct BuildSummary {
  struct CategoryCount {
    std::string name;  // UTF-8
    std::string kind;  // POINT, LINE, AREA, TEXT, OPTPATH
    std::int64_t objects = 0;
  };
  std::vector<CategoryCount> categories;
  std::int64_t settlements = 0;
  std::int64_t streets = 0;
  std::int64_t houseRanges = 0;
  std::int64_t addresses = 0;
  std::int64_t nodes = 0;
  std::int64_t edges = 0;
  std::int64_t namesTransliterated = 0;  // names with characters code page 1250 lacks
  std::int64_t namesCut = 0;             // names longer than their field
  std::int64_t unusedFeatures = 0;       // features whose tags no rule takes
  std::int64_t brokenGeometry = 0;       // skipped while building (degenerate after projection)
  std::int64_t unboundSettlements = 0;   // settlements or streets without a road node
  std::int32_t unit = 1;
  std::int32_t originX = 0, originY = 0;
  double centralMeridian = 0, originLatitude = 0;
};

class MapBuilder : public FeatureSink {
 public:
  explicit MapBuilder(ImportConfig config);
  ~MapBuilder() override;

  // Classifies a feature by its tags and keeps what the map needs.
  void Add(Feature&& feature) override;

  // Writes `directory`/`mapFile` and its files; `mapName` (UTF-8) becomes NAME. False,
  // with `error`, when there is nothing to write or a file cannot be written. The map is
  // written into a fresh folder beside `directory` first and moved into place once
  // complete, so that an interrupted import leaves no half map under the final name (a
  // new folder appears whole; into an existing one the map description moves last).
  [[nodiscard]] bool Write(const std::filesystem::path& directory, const std::string& mapFile,
                           const std::string& mapName, BuildSummary& summary, std::string& error);

 private:
  bool BuildInto(const std::filesystem::path& directory, const std::string& mapFile,
                 const std::string& mapName, BuildSummary& summary, std::string& error);
  struct Data;
  std::unique_ptr<Data> data_;
};

}  // namespace koltar::import
