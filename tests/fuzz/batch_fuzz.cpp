// The batch end-point text: the input is the end-point file, planned on a copy of the
// Hungary sample map (loaded once, never closed, so the copy is not written).

#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>

#include "map/mmap.h"
#include "platform/paths.h"
#include "route/batch_plan.h"
#include "route/opt_path.h"
#include "tests/fuzz/fuzz_support.h"

#ifndef KOLTAR_SOURCE_DIR
#error "KOLTAR_SOURCE_DIR names the source tree"
#endif

namespace {

koltar::MMap& SampleMap() {
  static koltar::MMap* map = [] {
    const std::filesystem::path copy = koltar::fuzz::World().path().string() + "-map";
    std::error_code ec;
    std::filesystem::remove_all(copy, ec);
    std::filesystem::copy(std::filesystem::path(KOLTAR_SOURCE_DIR) / "data/samples/hungary", copy, ec);
    std::atexit([] {
      std::error_code e;
      std::filesystem::remove_all(koltar::fuzz::World().path().string() + "-map", e);
    });
    return new koltar::MMap(koltar::ModelFileName(copy / "hungary.map"));
  }();
  return *map;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace koltar;
  MMap& map = SampleMap();
  fuzz::FuzzWorld& world = fuzz::World();
  world.Reset();
  const std::string source =
      world.Write("routes.dat", std::string_view(reinterpret_cast<const char*>(data), size));
  std::string text;
  if (!ReadBatchSource(source, text)) return 0;
  MOptPath* network = map.roadNetwork();
  if (!network) return 0;
  const BatchResult result =
      GenerateBatchRoutes(*network, map.Settlements(), map.Roads(), SplitTextLines(text));
  (void)WriteBatchResult(world.Model("plan.txt"), result.lines);
  return 0;
}
