// The route search on the Gothenburg sample map against an independent reference: a
// textbook Dijkstra, written here, on the graph and the road types read from the map's
// files, in double precision. The search keeps its totals in 32-bit floats, so each
// distance may differ from the reference by the rounding of one float addition per
// step.
//
// The sample lives in data/samples/gothenburg (KOLTAR_SAMPLES_DIR overrides the folder
// of the samples); the test is skipped where it is absent.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <queue>
#include <random>
#include <string>
#include <vector>

#include "categories/line.h"
#include "categories/record_array.h"
#include "map/mmap.h"
#include "platform/paths.h"
#include "route/opt_path.h"
#include "route/route_search.h"
#include "tests/route/random_seed.h"
#include "tests/support/test_env.h"

namespace koltar {
namespace {

std::filesystem::path SampleFolder() {
  if (const char* dir = std::getenv("KOLTAR_SAMPLES_DIR")) return std::filesystem::path(dir) / "gothenburg";
  return std::filesystem::path(KOLTAR_SOURCE_DIR) / "data" / "samples" / "gothenburg";
}

constexpr double kInfinite = std::numeric_limits<double>::infinity();

struct Arc {
  std::int32_t to;
  double metres;  // kInfinite: not passable
};

// The distance graph as the files and the cost table define it: an edge along a road
// weighs its length times its road type's distance factor, when the type is enabled
// and the factor positive; an edge without road weighs nothing.
std::vector<std::vector<Arc>> DistanceGraph(const RoadGraph& net, const CostTable& costs,
                                            const MLine& roads) {
  std::vector<std::vector<Arc>> arcs(static_cast<std::size_t>(net.nodeCount()));
  for (std::int32_t i = 0; i < net.edgeCount(); ++i) {
    const EdgeEntry& e = net.edge(i);
    if (e.from < 0 || e.from >= net.nodeCount() || e.to < 0 || e.to >= net.nodeCount()) continue;
    double metres = 0;
    if (e.road >= 0) {
      metres = kInfinite;
      if (e.road < roads.recordCount() && e.length >= 0) {
        const std::int32_t type = RecordLayer(roads.records().at(e.road)) - 1;
        if (type >= 0 && type < costs.roadTypeCount()) {
          const RoadType& t = costs.roadType(type);
          if (t.enabled != 0 && t.distanceFactor > 0)
            metres = static_cast<double>(e.length) * t.distanceFactor;
        }
      }
    }
    arcs[static_cast<std::size_t>(e.from)].push_back(Arc{e.to, metres});
  }
  return arcs;
}

struct Reference {
  std::vector<double> metres;
  std::vector<int> hops;
};

Reference Dijkstra(const std::vector<std::vector<Arc>>& arcs, std::int32_t start) {
  Reference r{std::vector<double>(arcs.size(), kInfinite), std::vector<int>(arcs.size(), 0)};
  using Item = std::pair<double, std::int32_t>;
  std::priority_queue<Item, std::vector<Item>, std::greater<>> queue;
  r.metres[static_cast<std::size_t>(start)] = 0;
  queue.emplace(0.0, start);
  while (!queue.empty()) {
    const auto [d, x] = queue.top();
    queue.pop();
    if (d > r.metres[static_cast<std::size_t>(x)]) continue;
    for (const Arc& a : arcs[static_cast<std::size_t>(x)]) {
      const double nd = d + a.metres;
      if (nd < r.metres[static_cast<std::size_t>(a.to)]) {
        r.metres[static_cast<std::size_t>(a.to)] = nd;
        r.hops[static_cast<std::size_t>(a.to)] = r.hops[static_cast<std::size_t>(x)] + 1;
        queue.emplace(nd, a.to);
      }
    }
  }
  return r;
}

int Hops(const RouteSearcher& search, std::int32_t start, std::int32_t node) {
  int hops = 0;
  for (std::int32_t x = node; x != start; x = search.Label(x).predecessor) ++hops;
  return hops;
}

TEST(SampleRoutes, ShortestDistancesOnGothenburgMatchATextbookDijkstra) {
  const std::filesystem::path sample = SampleFolder();
  if (!std::filesystem::exists(sample / "gothenburg.map")) GTEST_SKIP() << "no sample at " << sample;
  test::ScopedTestServices services;
  // A copy, so that closing the map writes its settings back there.
  test::TempDir dir;
  std::filesystem::copy(sample, dir.path(), std::filesystem::copy_options::recursive);
  MMap map(dir.Model("gothenburg.map"));
  MOptPath* network = map.roadNetwork();
  ASSERT_NE(network, nullptr);
  const RoadGraph* net = &network->graph();
  ASSERT_GE(map.roadCategory(), 0);
  ASSERT_GT(net->nodeCount(), 1000);
  const MLine& roads = *map.lines()[static_cast<std::size_t>(map.roadCategory())];

  network->ComputeEdgeWeights(map.Roads());
  const std::vector<std::vector<Arc>> arcs = DistanceGraph(*net, network->costTable(), roads);
  RouteSearcher search(net->nodeCount(), net->edgeTable());

  const std::uint32_t seed = test::TestSeed();
  std::mt19937 rng(seed);
  std::uniform_int_distribution<std::int32_t> anyNode(0, net->nodeCount() - 1);
  int reached = 0;
  for (int source = 0; source < 6; ++source) {
    const std::int32_t start = anyNode(rng);
    const Reference ref = Dijkstra(arcs, start);
    // Every node: the whole reachable network.
    ASSERT_EQ(search.Search(start, -1, kCriterionDistance), 0);
    int mismatches = 0;
    for (std::int32_t n = 0; n < net->nodeCount() && mismatches < 5; ++n) {
      const double want = ref.metres[static_cast<std::size_t>(n)];
      const float got = search.Label(n).distance;
      if (std::isinf(want)) {
        if (got != kUnreached) ++mismatches;
        EXPECT_EQ(got, kUnreached) << "node " << n << " from " << start << ", " << test::SeedNote(seed);
        continue;
      }
      ++reached;
      const int hops = std::max(Hops(search, start, n), ref.hops[static_cast<std::size_t>(n)]);
      const double tolerance = 2.0 * hops * std::ldexp(want, -24);
      if (std::fabs(got - want) > tolerance) ++mismatches;
      EXPECT_NEAR(got, want, tolerance) << "node " << n << " from " << start << ", " << test::SeedNote(seed);
    }
  }
  // The sources lie in the connected part of the city, not on islands of a few nodes.
  EXPECT_GT(reached, net->nodeCount() / 2);
}

}  // namespace
}  // namespace koltar
