// koltar-roadgen: an illustrative road network between settlements, for maps without
// real road data. Usage:
//   koltar-roadgen SETTLEMENTS.geojson [BORDER.geojson] OUT.geojson
// SETTLEMENTS: points with "name" and "population"; BORDER: polygons to keep roads in.
#include <cstdio>
#include <string>

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
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: koltar-roadgen SETTLEMENTS.geojson [BORDER.geojson] OUT.geojson\n");
    return 2;
  }
  Collect places, border;
  koltar::import::InputCounts counts;
  std::string error;
  if (!koltar::import::ReadGeoJsonFile(argv[1], places, counts, error) ||
      (argc == 4 && !koltar::import::ReadGeoJsonFile(argv[2], border, counts, error))) {
    std::fprintf(stderr, "koltar-roadgen: %s\n", error.c_str());
    return 1;
  }
  const auto roads = koltar::import::GenerateRoads(places.settlements, border.rings);
  if (!koltar::WriteFileAtomically(argv[argc - 1], koltar::import::RoadsToGeoJson(roads))) {
    std::fprintf(stderr, "koltar-roadgen: cannot write %s\n", argv[argc - 1]);
    return 1;
  }
  std::printf("%zu settlements, %zu roads\n", places.settlements.size(), roads.size());
  return 0;
}
