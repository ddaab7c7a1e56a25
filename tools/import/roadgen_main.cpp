// koltar-roadgen: an illustrative road network between settlements, for maps without
// real road data. Usage:
//   koltar-roadgen [--corridors FILE] SETTLEMENTS.geojson [BORDER.geojson] OUT.geojson
// SETTLEMENTS: points with "name" and "population"; BORDER: polygons to keep roads in;
// FILE: the numbered roads and the towns they pass (see ParseCorridors).
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/scan.h"
#include "tools/import/readers.h"
#include "tools/import/road_generator.h"

namespace {

class Collect : public koltar::import::FeatureSink {
 public:
  void Add(koltar::import::Feature&& f) override {
    if (f.shape == koltar::import::Shape::Point && f.tags.Find("name")) {
      koltar::import::GeneratorSettlement s;
      s.at = f.lines[0][0];
      s.name = f.tags.Get("name");
      koltar::ScanValues(f.tags.Get("population"), "%lf", s.population);
      settlements.push_back(std::move(s));
    } else if (f.shape == koltar::import::Shape::Area) {
      rings.insert(rings.end(), f.rings.begin(), f.rings.end());
    }
  }
  std::vector<koltar::import::GeneratorSettlement> settlements;
  std::vector<koltar::import::Ring> rings;
};

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::vector<koltar::import::Corridor> corridors;
  if (args.size() >= 2 && args[0] == "--corridors") {
    std::ifstream in(args[1], std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    std::string error;
    if (!in || !koltar::import::ParseCorridors(text, corridors, error)) {
      std::fprintf(stderr, "koltar-roadgen: %s: %s\n", args[1].c_str(), in ? error.c_str() : "cannot read");
      return 1;
    }
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.size() != 2 && args.size() != 3) {
    std::fprintf(
        stderr,
        "usage: koltar-roadgen [--corridors FILE] SETTLEMENTS.geojson [BORDER.geojson] OUT.geojson\n");
    return 2;
  }
  Collect places, border;
  koltar::import::InputCounts counts;
  std::string error;
  if (!koltar::import::ReadGeoJsonFile(args[0], places, counts, error) ||
      (args.size() == 3 && !koltar::import::ReadGeoJsonFile(args[1], border, counts, error))) {
    std::fprintf(stderr, "koltar-roadgen: %s\n", error.c_str());
    return 1;
  }
  std::vector<std::string> unknown;
  const auto roads = koltar::import::GenerateRoads(places.settlements, border.rings, corridors, &unknown);
  for (const std::string& name : unknown)
    std::fprintf(stderr, "koltar-roadgen: no settlement %s\n", name.c_str());
  if (!unknown.empty()) return 1;
  if (!koltar::WriteFileAtomically(args.back(), koltar::import::RoadsToGeoJson(roads))) {
    std::fprintf(stderr, "koltar-roadgen: cannot write %s\n", args.back().c_str());
    return 1;
  }
  std::printf("%zu settlements, %zu roads\n", places.settlements.size(), roads.size());
  return 0;
}
