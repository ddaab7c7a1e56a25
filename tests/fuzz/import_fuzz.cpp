// The importer's readers: the input is one OpenStreetMap XML file (KOLTAR_FUZZ_FORMAT
// "osm") or one GeoJSON file ("geojson"), read into a sink that keeps the features'
// shapes and counts their points.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "tests/fuzz/fuzz_support.h"
#include "tools/import/readers.h"

#ifndef KOLTAR_FUZZ_FORMAT
#error "KOLTAR_FUZZ_FORMAT names the input format"
#endif

namespace {

class CountingSink final : public koltar::import::FeatureSink {
 public:
  void Add(koltar::import::Feature&& feature) override {
    ++features;
    for (const auto& line : feature.lines) points += static_cast<std::int64_t>(line.size());
  }
  std::int64_t features = 0;
  std::int64_t points = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace koltar;
  fuzz::FuzzWorld& world = fuzz::World();
  world.Reset();
  const std::string name = std::string("in.") + KOLTAR_FUZZ_FORMAT;
  world.Write(name, std::string_view(reinterpret_cast<const char*>(data), size));
  const std::string path = (world.path() / name).string();
  CountingSink sink;
  import::InputCounts counts;
  std::string error;
  const bool ok = std::string_view(KOLTAR_FUZZ_FORMAT) == "osm"
                      ? import::ReadOsmFile(path, sink, counts, error)
                      : import::ReadGeoJsonFile(path, sink, counts, error);
  if (!ok && error.empty()) std::abort();  // a failure always says why
  return 0;
}
