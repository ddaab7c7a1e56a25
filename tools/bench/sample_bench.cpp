// Route search speed on a real map, the Gothenburg sample: our search against the
// literal sorted-array search it reproduces and against a textbook binary-heap
// Dijkstra, on the map's own edge table and 1000 fixed random pairs of settlements
// between which a route exists; and batch planning of those 1000 routes in one run
// (reading the blocks, searching, itineraries and the result text).
//
//   sample_bench [--map FILE.map] [benchmark options]
//   sample_bench [--map FILE.map] --write-batch FILE   the 1000 pairs as an end-point
//                                                      file for koltar-cli batch
//
// The map is copied into a scratch folder first, as closing it writes its settings
// back. Best run from a Release build.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <bit>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "map/mmap.h"
#include "platform/paths.h"
#include "platform/services.h"
#include "route/batch_plan.h"
#include "route/opt_path.h"
#include "route/route_search.h"
#include "tools/bench/interleaved.h"
#include "tools/bench/literal_route_search.h"
#include "tools/bench/textbook_dijkstra.h"

namespace koltar {
namespace {

constexpr int kPairCount = 1000;

struct Pair {
  std::int32_t start, target;  // nodes
  std::string from, to;        // the settlements' names
};

class Sample {
 public:
  explicit Sample(const std::filesystem::path& mapFile) {
    std::string folder = (std::filesystem::temp_directory_path() / "koltar-sample-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) std::abort();
    dir_ = folder;
    std::filesystem::copy(mapFile.parent_path(), dir_, std::filesystem::copy_options::recursive);
    map_ = std::make_unique<MMap>(ModelFileName(dir_ / mapFile.filename()));
    net_ = map_->roadNetwork();
    if (!net_ || !map_->CheckRouteCategories()) {
      std::fprintf(stderr, "sample_bench: %s has no road network to plan on\n", mapFile.c_str());
      std::exit(1);
    }
    net_->ComputeEdgeWeights(map_->Roads());
    ChoosePairs();
  }
  ~Sample() {
    map_.reset();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }

  MMap& map() { return *map_; }
  MOptPath& net() { return *net_; }
  const Pair& pair(std::int64_t i) const { return pairs_[static_cast<std::size_t>(i % kPairCount)]; }
  const std::vector<Pair>& pairs() const { return pairs_; }

  // The pairs as an end-point file: a block "[from - to]" with the two names each.
  void WriteBatchFile(const std::string& file) const {
    std::FILE* f = std::fopen(file.c_str(), "wb");
    if (!f) std::exit(1);
    for (const Pair& q : pairs_)
      std::fprintf(f, "[%s - %s]\n%s\n%s\n", q.from.c_str(), q.to.c_str(), q.from.c_str(), q.to.c_str());
    std::fclose(f);
  }

 private:
  // Settlements that batch planning finds by their names (the first object of the name,
  // and its first node), with a route between them by distance and by time.
  void ChoosePairs() {
    const PointSettlements towns = map_->Settlements();
    std::vector<std::pair<std::int32_t, std::string>> places;
    for (std::int32_t s = 0; s < towns.Count(); ++s) {
      const std::string name = towns.NameWithHouseNumbers(s);
      const std::int32_t node = net_->graph().FindNodeOfPoint(s);
      if (node >= 0 && !name.empty() && towns.FindByName(name) == s) places.emplace_back(node, name);
    }
    std::mt19937 rng(20240611u);
    std::uniform_int_distribution<std::size_t> any(0, places.size() - 1);
    const RoadGraph& graph = net_->graph();
    RouteSearcher search(graph.nodeCount(), graph.edgeTable());
    std::vector<RouteStep> leg;
    for (int tries = 0; pairs_.size() < kPairCount && tries < 100 * kPairCount; ++tries) {
      const auto& a = places[any(rng)];
      const auto& b = places[any(rng)];
      if (a.first == b.first) continue;
      bool connected = true;
      for (const int c : {kCriterionDistance, kCriterionTime})
        connected = connected && search.FindShortestPath(a.first, b.first, c, leg) == 0 && !leg.empty();
      if (connected) pairs_.push_back(Pair{a.first, b.first, a.second, b.second});
    }
    if (pairs_.size() < kPairCount) {
      std::fputs("sample_bench: not enough connected settlements\n", stderr);
      std::exit(1);
    }
  }

  std::filesystem::path dir_;
  std::unique_ptr<MMap> map_;
  MOptPath* net_ = nullptr;
  std::vector<Pair> pairs_;
};

Sample* sample = nullptr;

bool SameSteps(const std::vector<RouteStep>& a, const std::vector<RouteStep>& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](const RouteStep& x, const RouteStep& y) {
           return x.from == y.from && x.to == y.to && x.edge == y.edge &&
                  std::bit_cast<std::uint32_t>(x.distance) == std::bit_cast<std::uint32_t>(y.distance) &&
                  std::bit_cast<std::uint32_t>(x.time) == std::bit_cast<std::uint32_t>(y.time) &&
                  std::bit_cast<std::uint32_t>(x.cost) == std::bit_cast<std::uint32_t>(y.cost);
         });
}

void BM_Ours(benchmark::State& state) {
  const int criterion = static_cast<int>(state.range(0));
  const RoadGraph& p = sample->net().graph();
  RouteSearcher searcher(p.nodeCount(), p.edgeTable());
  std::vector<RouteStep> leg;
  std::int64_t i = 0, steps = 0;
  for (auto _ : state) {
    const Pair& q = sample->pair(i++);
    if (searcher.FindShortestPath(q.start, q.target, criterion, leg) != 0)
      state.SkipWithError("out of memory");
    steps += static_cast<std::int64_t>(leg.size());
    benchmark::DoNotOptimize(leg.data());
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["steps/query"] =
      benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kAvgIterations);
}

void BM_Literal(benchmark::State& state) {
  const int criterion = static_cast<int>(state.range(0));
  const RoadGraph& p = sample->net().graph();
  RouteSearcher searcher(p.nodeCount(), p.edgeTable());
  const std::vector<EdgeEntry> entries = DecodeEdges(p.edgeTable());
  std::vector<RouteStep> leg, ours;
  std::int64_t i = 0, differ = 0;
  for (auto _ : state) {
    const Pair& q = sample->pair(i++);
    reference::LiteralFindShortestPath(q.start, q.target, p.nodeCount(),
                                       static_cast<std::int32_t>(entries.size()), entries.data(), criterion,
                                       leg);
    state.PauseTiming();
    static_cast<void>(searcher.FindShortestPath(q.start, q.target, criterion, ours));
    if (!SameSteps(leg, ours)) ++differ;  // the same route, step for step, bit for bit
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["routes differing from ours"] = static_cast<double>(differ);
}

void BM_Textbook(benchmark::State& state) {
  const int criterion = static_cast<int>(state.range(0));
  const RoadGraph& p = sample->net().graph();
  TextbookDijkstra dijkstra(p.nodeCount(), p.edgeTable());
  RouteSearcher searcher(p.nodeCount(), p.edgeTable());
  std::vector<std::int32_t> path;
  std::int64_t i = 0, differ = 0;
  for (auto _ : state) {
    const Pair& q = sample->pair(i++);
    dijkstra.Query(q.start, q.target, criterion, path);
    benchmark::DoNotOptimize(path.data());
    state.PauseTiming();
    static_cast<void>(searcher.Search(q.start, q.target, criterion));
    if (CriterionValue(searcher.Label(q.target), criterion) != dijkstra.Distance(q.target)) ++differ;
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["optimum differing from ours"] = static_cast<double>(differ);
}

// Ours and the textbook search on the same queries, side by side (tools/bench/
// interleaved.h): medians of five passes, and how many of our searches needed the
// exact emulation of the sorted list.
void BM_SideBySide(benchmark::State& state) {
  const int criterion = static_cast<int>(state.range(0));
  const RoadGraph& p = sample->net().graph();
  RouteSearcher searcher(p.nodeCount(), p.edgeTable());
  TextbookDijkstra dijkstra(p.nodeCount(), p.edgeTable());
  std::vector<RouteStep> leg;
  std::vector<std::int32_t> path;
  SideBySide t;
  for (auto _ : state) {
    t = TimeSideBySide(
        5, kPairCount,
        [&](int q) {
          static_cast<void>(
              searcher.FindShortestPath(sample->pair(q).start, sample->pair(q).target, criterion, leg));
        },
        [&](int q) { dijkstra.Query(sample->pair(q).start, sample->pair(q).target, criterion, path); });
  }
  state.counters["ours ms"] = t.firstMs;
  state.counters["textbook ms"] = t.secondMs;
  state.counters["ours/textbook"] = t.ratio;
  state.counters["exact searches"] = static_cast<double>(searcher.counts().exact);
  state.counters["searches"] = static_cast<double>(searcher.counts().searches);
}

// One batch run over the 1000 pairs, each a block of its own.
void BM_Batch(benchmark::State& state) {
  MOptPath& p = sample->net();
  const int saved = p.costTable().criterion();
  p.costTable().SetCriterion(static_cast<int>(state.range(0)));
  std::vector<std::string> source;
  for (const Pair& q : sample->pairs()) {
    source.push_back("[" + q.from + " - " + q.to + "]");
    source.push_back(q.from);
    source.push_back(q.to);
  }
  std::size_t lines = 0;
  for (auto _ : state) {
    const BatchResult r = GenerateBatchRoutes(p, sample->map().Settlements(), sample->map().Roads(), source);
    if (!r.errorText.empty()) state.SkipWithError("the run stopped on an error");
    lines = r.lines.size();
  }
  p.costTable().SetCriterion(saved);
  state.SetItemsProcessed(state.iterations() * kPairCount);
  state.counters["routes/s"] =
      benchmark::Counter(static_cast<double>(state.iterations() * kPairCount), benchmark::Counter::kIsRate);
  state.counters["result lines"] = static_cast<double>(lines);
}

void Register() {
  for (const int criterion : {kCriterionDistance, kCriterionTime}) {
    for (auto* b : {benchmark::RegisterBenchmark("Ours", BM_Ours)->Iterations(kPairCount),
                    benchmark::RegisterBenchmark("Textbook", BM_Textbook)->Iterations(kPairCount),
                    benchmark::RegisterBenchmark("Literal", BM_Literal)->Iterations(kPairCount),
                    benchmark::RegisterBenchmark("Batch", BM_Batch)->Iterations(1),
                    benchmark::RegisterBenchmark("SideBySide", BM_SideBySide)->Iterations(1)})
      b->Args({criterion})->ArgNames({"criterion"})->Unit(benchmark::kMillisecond);
  }
}

}  // namespace
}  // namespace koltar

int main(int argc, char** argv) {
  std::filesystem::path mapFile =
      std::filesystem::path(KOLTAR_SOURCE_DIR) / "data/samples/gothenburg/gothenburg.map";
  std::vector<char*> rest{argv[0]};
  std::string batchFile;
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--map" && i + 1 < argc)
      mapFile = argv[++i];
    else if (std::string(argv[i]) == "--write-batch" && i + 1 < argc)
      batchFile = argv[++i];
    else
      rest.push_back(argv[i]);
  }
  if (!std::filesystem::exists(mapFile)) {
    std::fprintf(stderr, "sample_bench: no map %s\n", mapFile.c_str());
    return 1;
  }
  koltar::Program().pixel = koltar::PixelSize{};
  koltar::Sample loaded(mapFile);
  koltar::sample = &loaded;
  if (!batchFile.empty()) {
    loaded.WriteBatchFile(batchFile);
    return 0;
  }
  koltar::Register();
  int count = static_cast<int>(rest.size());
  benchmark::Initialize(&count, rest.data());
  if (benchmark::ReportUnrecognizedArguments(count, rest.data())) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
