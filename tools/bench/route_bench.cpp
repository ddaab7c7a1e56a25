// Route search speed on a synthetic city network: our search against the literal
// sorted-array search it reproduces and against a textbook binary-heap Dijkstra, on
// the same edge table and the same fixed random pairs; and the throughput of whole
// route plans (weights, search, route, itinerary) as batch planning runs them.
//
//   route_bench                                 the city grid (about 50 000 nodes) and
//                                               one ten times larger
//   route_bench --benchmark_filter=side:224/    the city grid only
//   route_bench --benchmark_filter=side:20/     a small grid, for a quick check
//   route_bench --benchmark_filter=SideBySide   ours beside the textbook search only
//                                               (the city and a million-node grid)
//
// The city: a square grid of streets with integer block lengths of 80 ... 200 m (so
// many paths tie by distance), a main road every eighth row and column, some one-way
// and missing blocks, a few diagonal avenues and parallel roads. Every node is a
// street segment named after its row, so itineraries merge repeated names.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/binary.h"
#include "route/opt_path.h"
#include "route/road_data.h"
#include "route/route_search.h"
#include "tools/bench/interleaved.h"
#include "tools/bench/literal_route_search.h"
#include "tools/bench/textbook_dijkstra.h"

namespace koltar {
namespace {

constexpr int kPairCount = 1000;

class StreetNames final : public SettlementNames {
 public:
  std::int32_t Count() const override { return static_cast<std::int32_t>(names.size()); }
  std::string NameWithHouseNumbers(std::int32_t index) const override { return names[index]; }
  std::string PlainName(std::int32_t index) const override { return names[index]; }
  std::int32_t FindByName(std::string_view name) const override {
    const auto it = std::find(names.begin(), names.end(), name);
    return it == names.end() ? -1 : static_cast<std::int32_t>(it - names.begin());
  }
  bool HasHouseNumbers() const override { return false; }
  std::optional<HouseNumberRange> HouseRangeOf(std::int32_t) const override { return std::nullopt; }
  std::int32_t FindHouseNumber(std::int32_t first, std::string_view) const override { return first; }
  std::vector<std::string> names;
};

struct FileEdge {
  std::int32_t from, to, road, length;
};

// One generated network, loaded through MOptPath from files in a scratch folder.
class City {
 public:
  explicit City(int side) {
    std::mt19937 rng(7 + static_cast<unsigned>(side));
    auto roll = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    std::vector<FileEdge> edges;
    std::vector<std::int16_t> layers;
    auto street = [&](std::int32_t a, std::int32_t b, std::int32_t length, std::int16_t layer) {
      if (roll(100) < 3) return;  // missing block
      const auto road = static_cast<std::int32_t>(layers.size());
      layers.push_back(layer);
      const int oneWay = roll(100) < 5 ? 1 + roll(2) : 0;
      if (oneWay != 2) edges.push_back(FileEdge{a, b, road, length});
      if (oneWay != 1) edges.push_back(FileEdge{b, a, road, length});
      if (roll(200) == 0) {  // a parallel road of another type
        const auto other = static_cast<std::int32_t>(layers.size());
        layers.push_back(3);
        edges.push_back(FileEdge{a, b, other, length + roll(30)});
      }
    };
    nodes_ = side * side;
    for (int r = 0; r < side; ++r) {
      for (int c = 0; c < side; ++c) {
        const std::int32_t n = r * side + c;
        const std::int16_t rowType = r % 8 == 0 ? 1 : 2;
        const std::int16_t colType = c % 8 == 0 ? 1 : 2;
        if (c + 1 < side) street(n, n + 1, 80 + roll(121), rowType);
        if (r + 1 < side) street(n, n + side, 80 + roll(121), colType);
        if (r + 1 < side && c + 1 < side && roll(100) == 0) street(n, n + side + 1, 120 + roll(160), 1);
      }
    }
    std::stable_sort(edges.begin(), edges.end(),
                     [](const FileEdge& a, const FileEdge& b) { return a.from < b.from; });

    std::string folder = (std::filesystem::temp_directory_path() / "koltar-bench-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) std::abort();
    dir_ = folder;
    std::string nodeBytes(static_cast<std::size_t>(nodes_) * NodeRecord::kSize, '\0');
    std::vector<std::string> names;
    for (std::int32_t n = 0; n < nodes_; ++n) {
      WriteI32(nodeBytes.data() + static_cast<std::size_t>(n) * NodeRecord::kSize, n);
      names.push_back("Utca " + std::to_string(n / side));
    }
    towns_.names = std::move(names);
    std::string edgeBytes(edges.size() * EdgeRecord::kSize, '\0');
    for (std::size_t i = 0; i < edges.size(); ++i) {
      char* r = edgeBytes.data() + i * EdgeRecord::kSize;
      WriteI32(r + EdgeRecord::kFrom, edges[i].from);
      WriteI32(r + EdgeRecord::kTo, edges[i].to);
      WriteI32(r + EdgeRecord::kRoad, edges[i].road);
      WriteI32(r + EdgeRecord::kLength, edges[i].length);
    }
    Write("nodes.dat", nodeBytes);
    Write("edges.dat", edgeBytes);
    Write("city.map",
          "[CITY]\nNODEFILE=nodes.dat\nEDGEFILE=edges.dat\nNLAYER=1\nLAYER01=Route\nNCOST=3\n"
          "COST01=Main,1,1,50,12\nCOST02=Street,1,1,30,10\nCOST03=Service,1,1,20,15\n");

    roadRecords_.assign(layers.size() * PolyRecord::kSize, 0);
    for (std::size_t i = 0; i < layers.size(); ++i)
      WriteI16(roadRecords_.data() + i * PolyRecord::kSize, layers[i]);
    roads_ =
        RoadData{.records = roadRecords_.data(), .recordCount = static_cast<std::int32_t>(layers.size())};
    path_ = std::make_unique<MOptPath>("CITY", dir_.string() + "/", "city.map");
    path_->Bind(towns_, roads_);
    path_->ComputeEdgeWeights(roads_);

    for (int i = 0; i < kPairCount; ++i) pairs_.emplace_back(roll(nodes_), roll(nodes_));
  }

  ~City() {
    path_.reset();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }

  MOptPath& path() { return *path_; }
  const StreetNames& towns() const { return towns_; }
  const RoadData& roads() const { return roads_; }
  std::int32_t nodes() const { return nodes_; }
  const std::pair<std::int32_t, std::int32_t>& pair(std::int64_t i) const {
    return pairs_[static_cast<std::size_t>(i % kPairCount)];
  }

 private:
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
  }

  std::filesystem::path dir_;
  std::int32_t nodes_ = 0;
  StreetNames towns_;
  std::vector<std::uint8_t> roadRecords_;
  RoadData roads_;
  std::unique_ptr<MOptPath> path_;
  std::vector<std::pair<std::int32_t, std::int32_t>> pairs_;
};

// The networks, made on first use and destroyed before the program's static objects
// (their destruction writes the description file through the profile service).
std::map<int, std::unique_ptr<City>>* cities = nullptr;

City& CityOfSide(int side) {
  auto& city = (*cities)[side];
  if (!city) city = std::make_unique<City>(side);
  return *city;
}

void BM_Ours(benchmark::State& state) {
  City& city = CityOfSide(static_cast<int>(state.range(0)));
  const int criterion = static_cast<int>(state.range(1));
  const RoadGraph& p = city.path().graph();
  RouteSearcher searcher(p.nodeCount(), p.edgeTable());
  std::vector<RouteStep> leg;
  std::int64_t i = 0, steps = 0;
  for (auto _ : state) {
    const auto [s, t] = city.pair(i++);
    if (searcher.FindShortestPath(s, t, criterion, leg) != 0) state.SkipWithError("out of memory");
    steps += static_cast<std::int64_t>(leg.size());
    benchmark::DoNotOptimize(leg.data());
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["steps/query"] =
      benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kAvgIterations);
}

void BM_Literal(benchmark::State& state) {
  City& city = CityOfSide(static_cast<int>(state.range(0)));
  const int criterion = static_cast<int>(state.range(1));
  const RoadGraph& p = city.path().graph();
  RouteSearcher searcher(p.nodeCount(), p.edgeTable());
  const std::vector<EdgeEntry> entries = DecodeEdges(p.edgeTable());
  std::vector<RouteStep> leg, ours;
  std::int64_t i = 0, differ = 0;
  for (auto _ : state) {
    const auto [s, t] = city.pair(i++);
    reference::LiteralFindShortestPath(s, t, p.nodeCount(), static_cast<std::int32_t>(entries.size()),
                                       entries.data(), criterion, leg);
    state.PauseTiming();
    // The results must be the same step for step, bit for bit.
    static_cast<void>(searcher.FindShortestPath(s, t, criterion, ours));
    const bool same =
        leg.size() == ours.size() &&
        std::equal(leg.begin(), leg.end(), ours.begin(), [](const RouteStep& a, const RouteStep& b) {
          return a.from == b.from && a.to == b.to && a.edge == b.edge &&
                 std::bit_cast<std::uint32_t>(a.distance) == std::bit_cast<std::uint32_t>(b.distance) &&
                 std::bit_cast<std::uint32_t>(a.time) == std::bit_cast<std::uint32_t>(b.time) &&
                 std::bit_cast<std::uint32_t>(a.cost) == std::bit_cast<std::uint32_t>(b.cost);
        });
    if (!same) ++differ;
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["routes differing from ours"] = static_cast<double>(differ);
}

void BM_Textbook(benchmark::State& state) {
  City& city = CityOfSide(static_cast<int>(state.range(0)));
  const int criterion = static_cast<int>(state.range(1));
  const RoadGraph& p = city.path().graph();
  TextbookDijkstra dijkstra(p.nodeCount(), p.edgeTable());
  RouteSearcher searcher(p.nodeCount(), p.edgeTable());
  std::vector<std::int32_t> path;
  std::int64_t i = 0, differ = 0;
  for (auto _ : state) {
    const auto [s, t] = city.pair(i++);
    dijkstra.Query(s, t, criterion, path);
    benchmark::DoNotOptimize(path.data());
    state.PauseTiming();
    // Same optimum (the path itself may differ among equal ones).
    static_cast<void>(searcher.Search(s, t, criterion));
    if (CriterionValue(searcher.Label(t), criterion) != dijkstra.Distance(t)) ++differ;
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["optimum differing from ours"] = static_cast<double>(differ);
}

// Whole plans as batch planning makes them: delete the route, weights, search, route,
// itinerary.
void BM_BatchPlans(benchmark::State& state) {
  City& city = CityOfSide(static_cast<int>(state.range(0)));
  MOptPath& p = city.path();
  p.costTable().SetCriterion(static_cast<int>(state.range(1)));
  RouteState& route = p.routeState();
  std::string error;
  std::int64_t i = 0;
  for (auto _ : state) {
    const auto [s, t] = city.pair(i++);
    route.DeleteRoute();
    route.request().ClearRoutePoints();
    static_cast<void>(route.request().AddRoutePoint(s, "start"));
    static_cast<void>(route.request().AddRoutePoint(t, "target"));
    benchmark::DoNotOptimize(SearchRoute(p, city.towns(), city.roads(), error));
  }
  route.DeleteRoute();
  state.SetItemsProcessed(state.iterations());
}

// Ours and the textbook search side by side on the city's pairs (tools/bench/
// interleaved.h): medians of five passes, the searches that needed the exact
// emulation (the city's integer block lengths tie often), and what those cost: the
// same queries with every search forced through the exact emulation.
void BM_SideBySide(benchmark::State& state) {
  City& city = CityOfSide(static_cast<int>(state.range(0)));
  const int criterion = static_cast<int>(state.range(1));
  const RoadGraph& p = city.path().graph();
  RouteSearcher searcher(p.nodeCount(), p.edgeTable());
  RouteSearcher exact(p.nodeCount(), p.edgeTable());
  exact.SetAlwaysExact(true);
  TextbookDijkstra dijkstra(p.nodeCount(), p.edgeTable());
  std::vector<RouteStep> leg;
  std::vector<std::int32_t> path;
  SideBySide t, e;
  for (auto _ : state) {
    const auto ours = [&](int q) {
      static_cast<void>(searcher.FindShortestPath(city.pair(q).first, city.pair(q).second, criterion, leg));
    };
    t = TimeSideBySide(5, kPairCount, ours, [&](int q) {
      dijkstra.Query(city.pair(q).first, city.pair(q).second, criterion, path);
    });
    e = TimeSideBySide(3, kPairCount / 4, ours, [&](int q) {
      static_cast<void>(exact.FindShortestPath(city.pair(q).first, city.pair(q).second, criterion, leg));
    });
  }
  state.counters["ours ms"] = t.firstMs;
  state.counters["textbook ms"] = t.secondMs;
  state.counters["ours/textbook"] = t.ratio;
  state.counters["exact share"] =
      static_cast<double>(searcher.counts().exact) / static_cast<double>(searcher.counts().searches);
  state.counters["all-exact ms"] = e.secondMs;
}

// A network of a million nodes with real-valued lengths (a grid of 1000 x 1000 with
// random block lengths of 80 ... 200 m as floats, some one-way and missing blocks):
// ours and the textbook search side by side over 60 random pairs, three passes.
void BM_MillionSideBySide(benchmark::State& state) {
  constexpr std::int32_t kSide = 1000;
  const int criterion = static_cast<int>(state.range(0));
  std::mt19937 rng(99);
  std::uniform_real_distribution<float> length(80.0f, 200.0f);
  std::uniform_int_distribution<int> percent(0, 99);
  std::vector<EdgeEntry> edges;
  auto street = [&](std::int32_t a, std::int32_t b, float speed) {
    if (percent(rng) < 3) return;
    const float metres = length(rng);
    const int oneWay = percent(rng) < 5 ? 1 + percent(rng) % 2 : 0;
    EdgeEntry e{a, b, 0, static_cast<std::int32_t>(metres), metres, metres / 1000.0f / speed, metres * 0.01f,
                0};
    if (oneWay != 2) edges.push_back(e);
    std::swap(e.from, e.to);
    if (oneWay != 1) edges.push_back(e);
  };
  for (std::int32_t r = 0; r < kSide; ++r)
    for (std::int32_t c = 0; c < kSide; ++c) {
      const std::int32_t n = r * kSide + c;
      if (c + 1 < kSide) street(n, n + 1, r % 10 == 0 ? 90.0f : 40.0f);
      if (r + 1 < kSide) street(n, n + kSide, c % 10 == 0 ? 90.0f : 40.0f);
    }
  std::stable_sort(edges.begin(), edges.end(),
                   [](const EdgeEntry& a, const EdgeEntry& b) { return a.from < b.from; });
  const auto count = static_cast<std::int32_t>(edges.size());
  std::vector<std::pair<std::int32_t, std::int32_t>> pairs;
  std::uniform_int_distribution<std::int32_t> node(0, kSide * kSide - 1);
  for (int i = 0; i < 60; ++i) pairs.emplace_back(node(rng), node(rng));
  RouteSearcher searcher(kSide * kSide, count, edges.data());
  TextbookDijkstra dijkstra(kSide * kSide, count, edges.data());
  std::vector<RouteStep> leg;
  std::vector<std::int32_t> path;
  SideBySide t;
  for (auto _ : state) {
    t = TimeSideBySide(
        3, static_cast<int>(pairs.size()),
        [&](int q) {
          static_cast<void>(searcher.FindShortestPath(pairs[q].first, pairs[q].second, criterion, leg));
        },
        [&](int q) { dijkstra.Query(pairs[q].first, pairs[q].second, criterion, path); });
  }
  state.counters["ours ms"] = t.firstMs;
  state.counters["textbook ms"] = t.secondMs;
  state.counters["ours/textbook"] = t.ratio;
  state.counters["exact searches"] = static_cast<double>(searcher.counts().exact);
  state.counters["searches"] = static_cast<double>(searcher.counts().searches);
}

constexpr int kCitySide = 224;   // 50 176 nodes
constexpr int kLargeSide = 708;  // 501 264 nodes
constexpr int kSmallSide = 20;

void Register() {
  for (const int criterion : {kCriterionDistance, kCriterionTime}) {
    // One pass over the fixed pairs; the literal search only over the first ones.
    for (auto* b : {benchmark::RegisterBenchmark("Ours", BM_Ours)->Iterations(kPairCount),
                    benchmark::RegisterBenchmark("Textbook", BM_Textbook)->Iterations(kPairCount),
                    benchmark::RegisterBenchmark("Literal", BM_Literal)->Iterations(20),
                    benchmark::RegisterBenchmark("BatchPlans", BM_BatchPlans)->Iterations(kPairCount),
                    benchmark::RegisterBenchmark("SideBySide", BM_SideBySide)->Iterations(1)})
      b->Args({kCitySide, criterion})->ArgNames({"side", "criterion"})->Unit(benchmark::kMillisecond);
  }
  for (const int criterion : {kCriterionDistance, kCriterionTime})
    benchmark::RegisterBenchmark("MillionSideBySide", BM_MillionSideBySide)
        ->Iterations(1)
        ->Args({criterion})
        ->ArgNames({"criterion"})
        ->Unit(benchmark::kMillisecond);
  // Ten times larger: the literal search's scans of the open list and of the edge table
  // grow with the network.
  for (auto* b : {benchmark::RegisterBenchmark("Ours", BM_Ours)->Iterations(100),
                  benchmark::RegisterBenchmark("Textbook", BM_Textbook)->Iterations(100),
                  benchmark::RegisterBenchmark("Literal", BM_Literal)->Iterations(3)})
    b->Args({kLargeSide, kCriterionDistance})->ArgNames({"side", "criterion"})->Unit(benchmark::kMillisecond);
  for (auto* b :
       {benchmark::RegisterBenchmark("Ours", BM_Ours), benchmark::RegisterBenchmark("Textbook", BM_Textbook),
        benchmark::RegisterBenchmark("Literal", BM_Literal),
        benchmark::RegisterBenchmark("BatchPlans", BM_BatchPlans)})
    b->Args({kSmallSide, kCriterionDistance})->ArgNames({"side", "criterion"})->Unit(benchmark::kMicrosecond);
}

}  // namespace
}  // namespace koltar

int main(int argc, char** argv) {
  std::map<int, std::unique_ptr<koltar::City>> cities;
  koltar::cities = &cities;
  koltar::Register();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  cities.clear();
  return 0;
}
