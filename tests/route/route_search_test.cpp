#include "route/route_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tests/route/random_seed.h"
#include "tests/route/route_net.h"
#include "tests/support/test_env.h"
#include "tools/bench/literal_route_search.h"

namespace koltar {
namespace {

// ---------------------------------------------------------------------------------
// The fast search against the literal one on generated graphs.

struct Graph {
  std::int32_t nodes = 0;
  std::vector<EdgeEntry> edges;

  std::int32_t edgeCount() const { return static_cast<std::int32_t>(edges.size()); }
  // Edge files are sorted by from node; each node's edges keep their generated order.
  void Sort() {
    std::stable_sort(edges.begin(), edges.end(),
                     [](const EdgeEntry& a, const EdgeEntry& b) { return a.from < b.from; });
  }
};

enum class Weights { SmallIntegers, Reals, ZeroOrOne };

float RandomWeight(std::mt19937& rng, Weights kind) {
  const int roll = std::uniform_int_distribution<int>(0, 99)(rng);
  if (roll < 5) return kUnreached;
  if (roll < 12 || (kind == Weights::ZeroOrOne && roll < 50)) return 0.0f;
  if (kind == Weights::ZeroOrOne) return 1.0f;
  if (kind == Weights::SmallIntegers)
    return static_cast<float>(std::uniform_int_distribution<int>(1, 4)(rng));
  return std::uniform_real_distribution<float>(0.01f, 50.0f)(rng);
}

EdgeEntry RandomEdge(std::mt19937& rng, std::int32_t from, std::int32_t to, Weights kind) {
  EdgeEntry e;
  e.from = from;
  e.to = to;
  e.road = std::uniform_int_distribution<int>(-1, 20)(rng);
  e.distanceWeight = RandomWeight(rng, kind);
  e.timeWeight = RandomWeight(rng, kind);
  e.costWeight = RandomWeight(rng, kind);
  return e;
}

// Random arcs with self-loops and parallel edges, plus a block of nodes that no arc
// from the rest reaches.
Graph RandomGraph(std::mt19937& rng, Weights kind) {
  Graph g;
  const std::int32_t reachable = std::uniform_int_distribution<std::int32_t>(2, 120)(rng);
  const std::int32_t island = std::uniform_int_distribution<std::int32_t>(0, 10)(rng);
  g.nodes = reachable + island;
  auto node = [&](std::int32_t lo, std::int32_t hi) {
    return std::uniform_int_distribution<std::int32_t>(lo, hi)(rng);
  };
  const int arcs = static_cast<int>(reachable) * std::uniform_int_distribution<int>(1, 4)(rng);
  for (int i = 0; i < arcs; ++i) {
    const std::int32_t from = node(0, reachable - 1);
    const int roll = std::uniform_int_distribution<int>(0, 19)(rng);
    const std::int32_t to = roll == 0 ? from : node(0, reachable - 1);
    g.edges.push_back(RandomEdge(rng, from, to, kind));
    if (roll == 1) g.edges.push_back(RandomEdge(rng, from, to, kind));  // parallel edge
  }
  for (int i = 0; island > 0 && i < 2 * island; ++i)
    g.edges.push_back(RandomEdge(rng, node(reachable, g.nodes - 1), node(0, g.nodes - 1), kind));
  g.Sort();
  return g;
}

// A grid of two-way streets where almost every path of the same number of blocks ties:
// equal integer weights, a few parallel edges and a few missing ones, each node's
// edges in random order.
Graph TieGrid(std::mt19937& rng, int rows, int cols) {
  Graph g;
  g.nodes = rows * cols;
  auto add = [&](std::int32_t a, std::int32_t b) {
    if (std::uniform_int_distribution<int>(0, 29)(rng) == 0) return;
    const int copies = std::uniform_int_distribution<int>(0, 9)(rng) == 0 ? 2 : 1;
    for (int i = 0; i < copies; ++i) {
      EdgeEntry e;
      e.from = a;
      e.to = b;
      e.road = static_cast<std::int32_t>(g.edges.size());
      e.distanceWeight = 100.0f;
      e.timeWeight = i == 0 ? 1.0f : 2.0f;
      e.costWeight = std::uniform_int_distribution<int>(0, 3)(rng) == 0 ? 0.0f : 5.0f;
      g.edges.push_back(e);
    }
  };
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c) {
      const std::int32_t n = r * cols + c;
      if (c + 1 < cols) add(n, n + 1), add(n + 1, n);
      if (r + 1 < rows) add(n, n + cols), add(n + cols, n);
    }
  std::shuffle(g.edges.begin(), g.edges.end(), rng);
  g.Sort();
  return g;
}

std::string Bits(float f) {
  std::ostringstream out;
  out << f << "[" << std::hex << std::bit_cast<std::uint32_t>(f) << "]";
  return out.str();
}

std::string Dump(const std::vector<RouteStep>& steps) {
  std::ostringstream out;
  for (const RouteStep& s : steps)
    out << s.from << ">" << s.to << " e" << s.edge << " " << Bits(s.distance) << " " << Bits(s.time) << " "
        << Bits(s.cost) << "\n";
  return out.str();
}

std::string Dump(const NodeLabel& l) {
  return std::to_string(l.predecessor) + " " + Bits(l.distance) + " " + Bits(l.time) + " " + Bits(l.cost);
}

// How often the heap stood, by scope: path searches on fresh tables (not forced
// exact), and everything the shared searcher ran.
struct SearchCounts {
  RouteSearcher::Counts paths;
  RouteSearcher::Counts all;
};

// Targeted searches give the literal steps; searches to no target give the literal
// labels of every node. One searcher serves every query and criterion in turn, and
// each query is also asked of fresh work tables (every other one forced through the
// exact emulation), which must give the same. Adds the searches to `counts`.
void ExpectSameAsLiteral(const Graph& g, std::mt19937& rng, int queries, SearchCounts& counts) {
  RouteSearcher searcher(g.nodes, g.edgeCount(), g.edges.data());
  for (int q = 0; q < queries; ++q) {
    const int criterion = q % 3;
    const std::int32_t start = std::uniform_int_distribution<std::int32_t>(0, g.nodes - 1)(rng);
    const std::int32_t target = std::uniform_int_distribution<std::int32_t>(0, g.nodes - 1)(rng);
    std::vector<RouteStep> fast, fresh, literal;
    ASSERT_EQ(searcher.FindShortestPath(start, target, criterion, fast), 0);
    reference::LiteralFindShortestPath(start, target, g.nodes, g.edgeCount(), g.edges.data(), criterion,
                                       literal);
    ASSERT_EQ(Dump(fast), Dump(literal))
        << "from " << start << " to " << target << " criterion " << criterion;
    RouteSearcher once(g.nodes, g.edgeCount(), g.edges.data());
    once.SetAlwaysExact(q % 2 == 1);
    ASSERT_EQ(once.FindShortestPath(start, target, criterion, fresh), 0);
    ASSERT_EQ(Dump(fresh), Dump(literal)) << "fresh tables, from " << start << " to " << target;
    if (q % 2 == 0) {
      counts.paths.searches += once.counts().searches;
      counts.paths.exact += once.counts().exact;
    }

    std::vector<NodeLabel> labels;
    ASSERT_EQ(searcher.Search(start, -1, criterion), 0);
    reference::LiteralFindShortestPath(start, -1, g.nodes, g.edgeCount(), g.edges.data(), criterion, literal,
                                       &labels);
    for (std::int32_t n = 0; n < g.nodes; ++n)
      ASSERT_EQ(Dump(searcher.Label(n)), Dump(labels[n]))
          << "node " << n << " from " << start << " criterion " << criterion;
  }
  counts.all.searches += searcher.counts().searches;
  counts.all.exact += searcher.counts().exact;
}

TEST(RouteSearch, SameAsLiteralOnRandomGraphs) {
  const std::uint32_t seed = test::TestSeed();
  SCOPED_TRACE(test::SeedNote(seed));
  std::mt19937 rng(seed);
  SearchCounts reals, integers;
  for (int round = 0; round < 300; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const bool real = round % 2 == 1;
    const Graph g = RandomGraph(rng, real ? Weights::Reals : Weights::SmallIntegers);
    ExpectSameAsLiteral(g, rng, 6, real ? reals : integers);
    if (HasFatalFailure()) return;
  }
  // Both ways were taken, in both scopes: the heap search alone, and the exact
  // emulation after a tie.
  EXPECT_GT(reals.all.searches - reals.all.exact, 0);
  EXPECT_GT(integers.all.exact, 0);
  EXPECT_GT(integers.all.searches - integers.all.exact, 0);
  EXPECT_GT(integers.paths.exact, 0);
  EXPECT_GT(integers.paths.searches - integers.paths.exact, 0);
}

// Many edges of weight 0: nodes of the target's value that the sorted list takes before
// the target, or after it, decide the target's label.
TEST(RouteSearch, SameAsLiteralWhereZeroWeightsTie) {
  const std::uint32_t seed = test::TestSeed();
  SCOPED_TRACE(test::SeedNote(seed));
  std::mt19937 rng(seed + 2);
  SearchCounts counts;
  for (int round = 0; round < 300; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    ExpectSameAsLiteral(RandomGraph(rng, Weights::ZeroOrOne), rng, 6, counts);
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(counts.all.exact, 0);
  EXPECT_GT(counts.all.searches - counts.all.exact, 0);
  EXPECT_GT(counts.paths.exact, 0);
  EXPECT_GT(counts.paths.searches - counts.paths.exact, 0);
}

// Two nodes of the target's value, each with an edge of weight 0 to the target: which
// of them the target's label names is the sorted list's order, also when the target
// itself is taken before one of them.
TEST(RouteSearch, TargetReachedFromNodesOfItsOwnValue) {
  for (int ways = 2; ways <= 5; ++ways)
    for (int order = 0; order < 2; ++order) {
      Graph g;
      g.nodes = ways + 2;
      const std::int32_t target = ways + 1;
      for (std::int32_t n = 1; n <= ways; ++n) g.edges.push_back(EdgeEntry{0, n, 0, 1, 1, 1, 1, 0});
      for (std::int32_t n = 1; n <= ways; ++n)
        g.edges.push_back(EdgeEntry{order == 0 ? n : ways + 1 - n, target, 0, 0, 0, 0, 0, 0});
      g.Sort();
      std::vector<RouteStep> ours, literal;
      RouteSearcher searcher(g.nodes, g.edgeCount(), g.edges.data());
      ASSERT_EQ(searcher.FindShortestPath(0, target, kCriterionDistance, ours), 0);
      reference::LiteralFindShortestPath(0, target, g.nodes, g.edgeCount(), g.edges.data(),
                                         kCriterionDistance, literal);
      EXPECT_EQ(Dump(ours), Dump(literal)) << ways << " ways, order " << order;
    }
}

// A path search needs the exact emulation only where the order decides a label on the
// path, or a node of the target's value may be the target's predecessor; a search of
// every label needs it for any tie. Each graph: distance weights, from node 0.
TEST(RouteSearch, PathSearchFallsBackOnlyForItsOwnTies) {
  struct Case {
    const char* what;
    std::vector<std::array<std::int32_t, 3>> arcs;  // from, to, weight
    std::int32_t target;
    bool pathExact, allExact;
  };
  const std::vector<Case> cases = {
      {"equal ways to a node off the path",
       {{0, 1, 1}, {0, 2, 1}, {1, 3, 1}, {2, 3, 1}, {0, 4, 5}},
       4,
       false,
       true},
      {"equal ways to the target", {{0, 1, 1}, {0, 2, 1}, {1, 3, 1}, {2, 3, 1}, {0, 4, 5}}, 3, true, true},
      {"another node of the target's value, last step from below",
       {{0, 1, 1}, {1, 2, 1}, {0, 3, 2}},
       2,
       false,
       true},
      {"the last step from a node of the target's value", {{0, 1, 1}, {1, 2, 0}, {0, 3, 1}}, 2, true, true},
  };
  for (const Case& c : cases) {
    Graph g;
    g.nodes = 5;
    for (const auto& [from, to, weight] : c.arcs) {
      const float w = static_cast<float>(weight);
      g.edges.push_back(EdgeEntry{from, to, 0, weight, w, w, w, 0});
    }
    g.Sort();
    std::vector<RouteStep> ours, literal;
    RouteSearcher path(g.nodes, g.edgeCount(), g.edges.data());
    ASSERT_EQ(path.FindShortestPath(0, c.target, kCriterionDistance, ours), 0);
    reference::LiteralFindShortestPath(0, c.target, g.nodes, g.edgeCount(), g.edges.data(),
                                       kCriterionDistance, literal);
    EXPECT_EQ(Dump(ours), Dump(literal)) << c.what;
    EXPECT_EQ(path.counts().exact, c.pathExact ? 1 : 0) << c.what;
    RouteSearcher all(g.nodes, g.edgeCount(), g.edges.data());
    ASSERT_EQ(all.Search(0, c.target, kCriterionDistance), 0);
    EXPECT_EQ(all.counts().exact, c.allExact ? 1 : 0) << c.what;
  }
}

TEST(RouteSearch, SameAsLiteralOnTieHeavyGrids) {
  const std::uint32_t seed = test::TestSeed();
  SCOPED_TRACE(test::SeedNote(seed));
  std::mt19937 rng(seed + 1);
  SearchCounts counts;
  for (int round = 0; round < 30; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const int rows = std::uniform_int_distribution<int>(1, 25)(rng);
    const int cols = std::uniform_int_distribution<int>(2, 25)(rng);
    ExpectSameAsLiteral(TieGrid(rng, rows, cols), rng, 6, counts);
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(counts.all.exact, counts.all.searches / 2);
  EXPECT_GT(counts.paths.exact, 0);
}

// New weights reach a searcher only through its weights version.
TEST(RouteSearch, NewWeightsVersionReadsTheWeightsAgain) {
  std::vector<EdgeEntry> edges(3);
  edges[0] = EdgeEntry{0, 1, 0, 1, 1, 1, 1, 0};
  edges[1] = EdgeEntry{0, 2, 0, 1, 1, 1, 1, 0};
  edges[2] = EdgeEntry{2, 1, 0, 1, 1, 1, 1, 0};
  EdgeList list(edges);
  RouteSearcher searcher(3, list.table());
  std::vector<RouteStep> leg;
  searcher.UseWeightsVersion(1);
  ASSERT_EQ(searcher.FindShortestPath(0, 1, kCriterionTime, leg), 0);
  ASSERT_EQ(leg.size(), 1u);
  list.weights(0).time = 5;
  searcher.UseWeightsVersion(1);
  ASSERT_EQ(searcher.FindShortestPath(0, 1, kCriterionTime, leg), 0);
  EXPECT_EQ(leg.size(), 1u) << "same version, the copy stands";
  searcher.UseWeightsVersion(2);
  ASSERT_EQ(searcher.FindShortestPath(0, 1, kCriterionTime, leg), 0);
  ASSERT_EQ(leg.size(), 2u);
  EXPECT_EQ(leg[1].time, 2.0f);
  EXPECT_EQ(leg[1].distance, 2.0f);
}

// After a search to no target: no arc can improve a reached node, and every reached
// node's value is its predecessor's plus the weight of an arc between them.
TEST(RouteSearch, LabelsAreShortestDistancesOnRandomGraphs) {
  const std::uint32_t seed = test::TestSeed();
  SCOPED_TRACE(test::SeedNote(seed));
  std::mt19937 rng(seed + 2);
  for (int round = 0; round < 200; ++round) {
    const Graph g = round % 3 == 2 ? TieGrid(rng, 12, 15) : RandomGraph(rng, Weights::Reals);
    RouteSearcher searcher(g.nodes, g.edgeCount(), g.edges.data());
    const int c = round % 3;
    const std::int32_t start = std::uniform_int_distribution<std::int32_t>(0, g.nodes - 1)(rng);
    ASSERT_EQ(searcher.Search(start, -1, c), 0);
    auto value = [&](std::int32_t n) { return CriterionValue(searcher.Label(n), c); };
    for (const EdgeEntry& e : g.edges) {
      if (searcher.Label(e.from).predecessor == -1) continue;
      ASSERT_GE(AddWeight(value(e.from), CriterionWeight(e, c)), value(e.to))
          << "arc " << e.from << ">" << e.to << " round " << round;
    }
    for (std::int32_t n = 0; n < g.nodes; ++n) {
      const NodeLabel& l = searcher.Label(n);
      if (l.predecessor == -1 || n == start) continue;
      const bool explained = std::any_of(g.edges.begin(), g.edges.end(), [&](const EdgeEntry& e) {
        return e.from == l.predecessor && e.to == n &&
               AddWeight(value(e.from), CriterionWeight(e, c)) == value(n);
      });
      ASSERT_TRUE(explained) << "node " << n << " round " << round;
    }
    EXPECT_EQ(value(start), 0.0f);
  }
}

TEST(RouteSearch, EndsOutsideTheTableOrWithoutEdges) {
  Graph g;
  g.nodes = 3;
  std::vector<RouteStep> leg{RouteStep{}};
  EXPECT_EQ(FindShortestPath(0, 2, g.nodes, 0, nullptr, kCriterionDistance, leg), 0);
  EXPECT_TRUE(leg.empty());
  EXPECT_EQ(FindShortestPath(-1, 2, g.nodes, 0, nullptr, kCriterionDistance, leg), 0);
  EXPECT_EQ(FindShortestPath(0, 7, g.nodes, 0, nullptr, kCriterionDistance, leg), 0);
  EXPECT_EQ(FindShortestPath(0, 0, 0, 0, nullptr, kCriterionTime, leg), 0);
  EXPECT_TRUE(leg.empty());
}

// Edges naming nodes outside the table are never followed.
TEST(RouteSearch, IgnoresEdgesToNodesOutsideTheTable) {
  std::vector<EdgeEntry> edges(3);
  edges[0] = EdgeEntry{-4, 1, 0, 1, 1, 1, 1, 0};
  edges[1] = EdgeEntry{0, 99, 0, 1, 1, 1, 1, 0};
  edges[2] = EdgeEntry{0, 1, 0, 1, 5, 5, 5, 0};
  std::vector<RouteStep> leg;
  ASSERT_EQ(FindShortestPath(0, 1, 2, 3, edges.data(), kCriterionDistance, leg), 0);
  ASSERT_EQ(leg.size(), 1u);
  EXPECT_EQ(leg[0].edge, 2);
  EXPECT_EQ(leg[0].distance, 5.0f);
}

// ---------------------------------------------------------------------------------
// Route planning along route points, on networks drawn as text.

class PlanRoute : public test::ServicesTest {};

constexpr const char* kTypes =
    "type main   1 1 90 10\n"
    "type closed 0 1 90 10\n"
    "type slow   1 2 30 10\n"
    "type parked 1 1 0 10\n";

TEST_F(PlanRoute, StartEqualToDestinationHasNoRoute) {
  test::RouteNet net(std::string(kTypes) + "Alma -- Bükk 1000 main\n");
  net.Request({"Alma", "Alma"});
  EXPECT_EQ(net.Plan(kCriterionDistance), 0);
  EXPECT_EQ(net.error(), "'Alma' és 'Alma' között nincs a keresési feltételeket kielégítő útvonal.");
  EXPECT_EQ(net.path().routeState().itinerary(), nullptr);
}

TEST_F(PlanRoute, DisabledRoadsAreNeverUsed) {
  test::RouteNet net(std::string(kTypes) +
                     "Alma -- Bükk 1000 closed\n"
                     "Alma -- x    100  main\n"
                     "x    -- Cser 100  main\n");
  net.Request({"Alma", "Bükk"});
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(net.Plan(c), 0);
    EXPECT_EQ(net.error(), "'Alma' és 'Bükk' között nincs a keresési feltételeket kielégítő útvonal.");
  }
}

// A searcher kept across plannings (as batch planning keeps one) follows a change of
// the cost table between them, and a change of criterion.
TEST_F(PlanRoute, KeptSearcherFollowsNewWeights) {
  test::RouteNet net(std::string(kTypes) +
                     "Alma -- Bükk 1000 main\n"
                     "Alma -- x     600 slow\n"
                     "x    -- Bükk  600 slow\n");
  net.Request({"Alma", "Bükk"});
  std::unique_ptr<RouteSearcher> searcher;
  std::string error;
  MOptPath& path = net.path();
  const auto plan = [&](int criterion) {
    path.costTable().SetCriterion(criterion);
    path.routeState().DeleteRoute();
    return SearchRoute(path, net.towns(), net.roads(), error, searcher);
  };
  EXPECT_EQ(plan(kCriterionDistance), 1);
  EXPECT_EQ(net.Nodes(), "Alma Bükk");
  ASSERT_NE(searcher, nullptr);
  const RouteSearcher* kept = searcher.get();
  path.costTable().roadType(0).enabled = 0;  // "main" closed
  EXPECT_EQ(plan(kCriterionDistance), 2);
  EXPECT_EQ(net.Nodes(), "Alma x Bükk");
  path.costTable().roadType(0).enabled = 1;
  EXPECT_EQ(plan(kCriterionTime), 1);
  EXPECT_EQ(net.Nodes(), "Alma Bükk");
  EXPECT_EQ(searcher.get(), kept);
  EXPECT_EQ(error, "");
}

// A leg without route is reported and skipped; the next legs are still planned.
TEST_F(PlanRoute, LegWithoutRouteLeavesTheOthers) {
  test::RouteNet net(std::string(kTypes) +
                     "Alma -> Bükk 1000 closed\n"
                     "Bükk -> x     300 main\n"
                     "x    -> Cser  200 main\n");
  net.Request({"Alma", "Bükk", "Cser"});
  EXPECT_EQ(net.Plan(kCriterionDistance), 2);
  EXPECT_EQ(net.error(), "'Alma' és 'Bükk' között nincs a keresési feltételeket kielégítő útvonal.");
  EXPECT_EQ(net.Nodes(), "Bükk x Cser");
  EXPECT_EQ(net.Itinerary(), "»Bükk 0, »Cser 500");
}

// The second leg's totals continue from the first leg's.
TEST_F(PlanRoute, LegsAreJoinedWithRunningTotals) {
  test::RouteNet net(std::string(kTypes) +
                     "Alma -- Bükk 1000 main\n"
                     "Bükk -- Cser 2000 slow\n");
  net.Request({"Alma", "Bükk", "Alma", "Cser"});
  ASSERT_EQ(net.Plan(kCriterionDistance), 4);
  EXPECT_EQ(net.Nodes(), "Alma Bükk Alma Bükk Cser");
  EXPECT_EQ(net.error(), "");
  const RouteStep last = net.path().routeState().steps().back();
  EXPECT_EQ(last.distance, 1000.0f + 1000.0f + 1000.0f + 4000.0f);
  EXPECT_FLOAT_EQ(last.time, 3 * (1000 * 0.001f / 90) + 2000 * 0.001f / 30);
  EXPECT_FLOAT_EQ(last.cost, 50.0f);
  EXPECT_EQ(net.Itinerary(), "»Alma 0, »Bükk 1000, »Alma 2000, »Bükk 3000, »Cser 7000");
}

// Equal paths: the first found stays. Here the node reached first is also taken
// first: an entry equal to one already in the open list is taken after it.
TEST_F(PlanRoute, AmongEqualPathsTheFirstFoundStays) {
  test::RouteNet viaX(std::string(kTypes) +
                      "Alma -> x 100 main\n"
                      "Alma -> y 100 main\n"
                      "x -> Cser 100 main\n"
                      "y -> Cser 100 main\n");
  viaX.Request({"Alma", "Cser"});
  ASSERT_EQ(viaX.Plan(kCriterionDistance), 2);
  EXPECT_EQ(viaX.Nodes(), "Alma x Cser");

  test::RouteNet viaY(std::string(kTypes) +
                      "Alma -> y 100 main\n"
                      "Alma -> x 100 main\n"
                      "x -> Cser 100 main\n"
                      "y -> Cser 100 main\n");
  viaY.Request({"Alma", "Cser"});
  ASSERT_EQ(viaY.Plan(kCriterionDistance), 2);
  EXPECT_EQ(viaY.Nodes(), "Alma y Cser");
}

// Parallel edges: the totals follow the better edge, the step names the first one.
TEST_F(PlanRoute, ParallelEdgesGiveTheBestTotalsAndTheFirstEdge) {
  test::RouteNet net(std::string(kTypes) +
                     "Alma -- Bükk 1000 slow\n"
                     "Alma -- Bükk 1000 main\n");
  net.Request({"Alma", "Bükk"});
  ASSERT_EQ(net.Plan(kCriterionDistance), 1);
  EXPECT_EQ(net.Roads(), "0");
  EXPECT_EQ(net.path().routeState().steps()[0].distance, 1000.0f);
  EXPECT_EQ(net.path().GetRouteBounds(net.roads()), MapRect::Of(0, 50, 50, 0));
}

TEST_F(PlanRoute, SpeedZeroIsImpassableOnlyByTime) {
  test::RouteNet net(std::string(kTypes) + "Alma -- Bükk 2000 parked\n");
  net.Request({"Alma", "Bükk"});
  ASSERT_EQ(net.Plan(kCriterionDistance), 1);
  EXPECT_EQ(net.path().routeState().steps()[0].distance, 2000.0f);
  EXPECT_EQ(net.path().routeState().steps()[0].time, kUnreached);
  EXPECT_EQ(net.path().routeState().steps()[0].cost, 20.0f);
  EXPECT_EQ(net.Plan(kCriterionCost), 1);
  EXPECT_EQ(net.Plan(kCriterionTime), 0);
}

// Edges without road object cost nothing and add nothing to the bounds.
TEST_F(PlanRoute, EdgesWithoutRoadObjectAreFree) {
  test::RouteNet net(std::string(kTypes) +
                     "Alma -- x    5000 -\n"
                     "x    -- Bükk 1000 main\n");
  net.Request({"Alma", "Bükk"});
  ASSERT_EQ(net.Plan(kCriterionTime), 2);
  EXPECT_EQ(net.Roads(), "- 1");
  EXPECT_EQ(net.path().routeState().steps()[0].distance, 0.0f);
  EXPECT_EQ(net.path().GetRouteBounds(net.roads()), MapRect::Of(100, 150, 150, 100));
  net.path().routeState().DeleteRoute();
  EXPECT_EQ(net.path().GetRouteBounds(net.roads()), MapRect::Empty());
}

TEST_F(PlanRoute, SettlementPassedAtSeveralNodesIsListedOnce) {
  const std::string streets = std::string(kTypes) +
                              "Alma -- Fő#1 100 main\n"
                              "Fő#1 -- Fő#2 100 main\n"
                              "Fő#2 -- Fő#3 100 main\n"
                              "Fő#3 -- x    50  main\n"
                              "x    -- Cser 50  main\n";
  test::RouteNet net(streets);
  net.Request({"Alma", "Cser"});
  ASSERT_EQ(net.Plan(kCriterionDistance), 5);
  EXPECT_EQ(net.Itinerary(), "»Alma 0, Fő 100, »Cser 400");

  net.Request({"Alma", "Fő#3"});  // the last of them is the destination
  ASSERT_EQ(net.Plan(kCriterionDistance), 3);
  EXPECT_EQ(net.Itinerary(), "»Alma 0, »Fő 300");

  net.Request({"Alma", "Fő#2", "Cser"});  // one of them is a route point
  ASSERT_EQ(net.Plan(kCriterionDistance), 5);
  EXPECT_EQ(net.Itinerary(), "»Alma 0, »Fő 200, »Cser 400");
}

TEST_F(PlanRoute, ProgressPerLegAndEscapeBetweenLegs) {
  test::RouteNet net(std::string(kTypes) +
                     "Alma -- Bükk 100 main\n"
                     "Bükk -- Cser 100 main\n"
                     "Cser -- Dió  100 main\n");
  net.Request({"Alma", "Bükk"});
  ASSERT_EQ(net.Plan(kCriterionDistance), 1);
  EXPECT_EQ(
      services.progress.events(),
      (std::vector<std::string>{"START Útvonal tervezés [Megszakítás: ESC]:", "SET 0", "SET 100", "END"}));

  net.Request({"Alma", "Bükk", "Cser", "Dió"});
  ASSERT_EQ(net.Plan(kCriterionDistance), 3);
  EXPECT_EQ(services.progress.percents(), (std::vector<int>{0, 100, 0, 33, 66, 100}));

  // ESC seen at the poll before the second leg: the first leg stays, silently.
  test::ScopedTestServices fresh;
  fresh.progress.PressEscAtPoll(2);
  EXPECT_EQ(net.Plan(kCriterionDistance), 1);
  EXPECT_EQ(net.error(), "");
  EXPECT_EQ(net.Nodes(), "Alma Bükk");
  EXPECT_EQ(fresh.progress.percents(), (std::vector<int>{0, 33}));
  EXPECT_EQ(fresh.progress.depth(), 0);
}

TEST_F(PlanRoute, FewerThanTwoRoutePointsPlanNothing) {
  test::RouteNet net(std::string(kTypes) + "Alma -- Bükk 100 main\n");
  net.Request({"Alma"});
  EXPECT_EQ(net.Plan(kCriterionDistance), 0);
  EXPECT_EQ(net.error(), "");
  EXPECT_TRUE(services.messages.messages().empty());
}

}  // namespace
}  // namespace koltar
