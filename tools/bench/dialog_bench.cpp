// How fast the route request dialog opens on a large settlement category: filling its
// settlement list (one entry per node of a named settlement, the segments of a street
// once) on the Gothenburg sample, and typing into the settlement field, both a whole
// name and a name without its accents (whose keys are made at the first such search).
//
//   dialog_bench [--map FILE.map] [benchmark options]
//
// The map is copied into a scratch folder first, as closing it writes its settings
// back. Best run from a Release build.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "map/mmap.h"
#include "platform/paths.h"
#include "platform/services.h"
#include "route/opt_path.h"
#include "route/select_target_node.h"

namespace koltar {
namespace {

class Sample {
 public:
  explicit Sample(const std::filesystem::path& mapFile) {
    std::string folder = (std::filesystem::temp_directory_path() / "koltar-dialog-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) std::abort();
    dir_ = folder;
    std::filesystem::copy(mapFile.parent_path(), dir_, std::filesystem::copy_options::recursive);
    map_ = std::make_unique<MMap>(ModelFileName(dir_ / mapFile.filename()));
    if (!map_->roadNetwork() || !map_->CheckRouteCategories()) {
      std::fprintf(stderr, "dialog_bench: %s has no road network to plan on\n", mapFile.c_str());
      std::exit(1);
    }
    towns_ = std::make_unique<PointSettlements>(map_->Settlements());
  }
  ~Sample() {
    towns_.reset();
    map_.reset();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }

  MOptPath& net() { return *map_->roadNetwork(); }
  const PointSettlements& towns() const { return *towns_; }

 private:
  std::filesystem::path dir_;
  std::unique_ptr<MMap> map_;
  std::unique_ptr<PointSettlements> towns_;
};

Sample* sample = nullptr;

// Opening the dialog: the settlement list filled from every node.
void BM_FillSettlementList(benchmark::State& state) {
  std::int32_t entries = 0;
  for (auto _ : state) {
    SelectTargetNode dialog(sample->net(), sample->towns());
    entries = dialog.settlementCount();
    benchmark::DoNotOptimize(entries);
  }
  state.counters["nodes"] = static_cast<double>(sample->net().graph().nodeCount());
  state.counters["entries"] = static_cast<double>(entries);
}

// One keystroke that completes the last name of the list (the longest scan).
void BM_TypeWholeName(benchmark::State& state) {
  SelectTargetNode dialog(sample->net(), sample->towns());
  const std::string last = dialog.settlementText(dialog.settlementCount() - 1);
  for (auto _ : state) {
    dialog.TypeSettlement(last);
    benchmark::DoNotOptimize(dialog.selectedNode());
  }
}

// A name typed without its accents, found only loosely; the first search makes the keys.
void BM_TypeWithoutAccents(benchmark::State& state) {
  SelectTargetNode dialog(sample->net(), sample->towns());
  dialog.TypeSettlement("zzqq");  // no entry begins with it: the keys are made once
  for (auto _ : state) {
    dialog.TypeSettlement("zzqx");
    benchmark::DoNotOptimize(dialog.hintRow());
  }
}

}  // namespace
}  // namespace koltar

int main(int argc, char** argv) {
  std::filesystem::path mapFile =
      std::filesystem::path(KOLTAR_SOURCE_DIR) / "data/samples/gothenburg/gothenburg.map";
  std::vector<char*> rest{argv[0]};
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--map" && i + 1 < argc)
      mapFile = argv[++i];
    else
      rest.push_back(argv[i]);
  }
  if (!std::filesystem::exists(mapFile)) {
    std::fprintf(stderr, "dialog_bench: no map %s\n", mapFile.c_str());
    return 1;
  }
  koltar::Program().pixel = koltar::PixelSize{};
  koltar::Sample loaded(mapFile);
  koltar::sample = &loaded;
  benchmark::RegisterBenchmark("FillSettlementList", koltar::BM_FillSettlementList)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("TypeWholeName", koltar::BM_TypeWholeName)->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("TypeWithoutAccents", koltar::BM_TypeWithoutAccents)
      ->Unit(benchmark::kMicrosecond);
  int count = static_cast<int>(rest.size());
  benchmark::Initialize(&count, rest.data());
  if (benchmark::ReportUnrecognizedArguments(count, rest.data())) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
