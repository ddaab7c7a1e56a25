#pragma once
// The optimal-route search: one shortest-path search per leg between consecutive route
// points, joined into the route state of MOptPath, and the itinerary derived from it.
//
// Which path wins among equally good ones is fixed: a node's label
// changes only on a strict improvement, and the nodes are taken in the order of a
// sorted open list (see OpenList). The search reproduces that order exactly while
// taking every node's outgoing edges from a first-edge index and skipping the
// re-expansion of outdated open-list entries, which can never improve a label.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "route/open_list.h"
#include "route/route_records.h"

namespace koltar {

class MOptPath;
struct RoadData;
class SettlementNames;

// Shortest-path searches over one edge table, reusing their work tables: they are
// made once and reset in time proportional to what the last search touched.
//
// Each search first runs as a plain binary-heap search over the same 32-bit sums. The
// sorted list's order decides anything only among entries of equal value, and among
// them only which of two equally good ways to a node, from nodes of equal value, is
// relaxed first (the label stays with the first), and which nodes of the target's
// value are expanded before the target. Each node's value does not depend on the
// order, so while no relaxation finds such a second way and no other node has the
// target's value, every label is the one the sorted list would give (outdated entries
// only re-expand their node without improving a label). Otherwise the search is run
// again with the exact emulation of the sorted list (OpenList), and so are the next
// few searches.
//
// A path needs less: its own nodes' labels. A node's label names the first node
// expanded among those that offer its final value; when one node of the smallest value
// offers it, that node is the predecessor in any order. So a path search marks each
// node that gets a second such offer from another node of the same value (and clears
// the mark when its value improves), and the heap's path stands when no node on it is
// marked and no other node has the target's value.
class RouteSearcher {
 public:
  // The table must be sorted by from node and stay alive; its weights are read at the
  // first search by each criterion (a compact copy of them is what the search walks),
  // so a change of weights needs ForgetWeights. The weights must be >= 0, 1e38
  // (impassable), infinite or NaN, as ComputeEdgeWeights makes them; a table without
  // weights weighs every edge 0. May throw std::bad_alloc.
  RouteSearcher(std::int32_t nodeCount, const EdgeTable& edges);
  // The same over a copy of decoded edges (or an edge list) that the searcher keeps.
  RouteSearcher(std::int32_t nodeCount, std::int32_t edgeCount, const EdgeEntry* edges);
  RouteSearcher(std::int32_t nodeCount, EdgeList edges);

  // What a search must give as the sorted list would: every node's label, or only the
  // labels along the path from the start to the target.
  enum class Scope { kAllLabels, kPath };

  // One search from `start` minimising `criterion` (0 distance, 1 time, 2 cost),
  // ending when `target` is taken from the open list; a target outside the node table
  // searches everything reachable. Returns 0, or -1 when memory ran out.
  [[nodiscard]] int Search(std::int32_t start, std::int32_t target, int criterion,
                           Scope scope = Scope::kAllLabels);

  // Search (of the path's scope: afterwards only the labels along the path are the
  // sorted list's), then the leg's steps from start to target with their running
  // totals (the target's label values), each step naming the first edge of the table
  // that joins its two nodes. `leg` stays empty when the target was not reached or is
  // the start. Returns 0, or -1 when memory ran out.
  [[nodiscard]] int FindShortestPath(std::int32_t start, std::int32_t target, int criterion,
                                     std::vector<RouteStep>& leg);

  // A node's label after the last search (its three totals summed along its
  // predecessors, as the search made them). The first call after a search costs time
  // proportional to the nodes the search reached.
  NodeLabel Label(std::int32_t node) const;
  std::int32_t nodeCount() const { return nodeCount_; }

  // Drops the compact copies of the weights, to be read again at the next search.
  void ForgetWeights();
  // Makes the weights version `version` the one the compact copies hold: a different
  // one than before drops them (see RoadGraph::weightsVersion).
  void UseWeightsVersion(std::uint64_t version);

  // How many searches ran, and how many of them needed the exact emulation.
  struct Counts {
    std::int64_t searches = 0;
    std::int64_t exact = 0;
  };
  const Counts& counts() const { return counts_; }
  // Makes every search run the exact emulation (for tests and benchmarks).
  void SetAlwaysExact(bool exact) { alwaysExact_ = exact; }

 private:
  // An edge as a search by one criterion walks it: its to node (nodeCount for one
  // outside the node table, whose value never improves) and its weight.
  struct Arc {
    std::int32_t to;
    float weight;
  };
  struct HeapEntry {
    float value;
    std::int32_t node;
  };
  static constexpr std::int32_t kViaStart = -2;  // the start's label
  static constexpr std::int32_t kViaNone = -1;   // not reached

  void Init(std::int32_t nodeCount, const EdgeTable& edges);
  EdgeWeights WeightsOf(std::int32_t k) const {
    return edges_.weights != nullptr ? edges_.Weights(k) : EdgeWeights{};
  }
  const Arc* ArcsOf(int criterion);
  bool RunHeap(const Arc* arcs, std::int32_t start, std::int32_t target, Scope scope);
  bool OrderDecides(std::int32_t x, std::int32_t z) const;
  bool SecondOfferOfValue(std::int32_t x, std::int32_t z) const;
  bool PathUnmarked(std::int32_t target) const;
  void RunExact(const Arc* arcs, std::int32_t start, std::int32_t target);
  void Reach(std::int32_t node, float value, std::int32_t edge);
  void Reset();
  void MaterializeLabels() const;
  std::int32_t FindEdge(std::int32_t from, std::int32_t to) const;

  std::int32_t nodeCount_ = 0;
  std::unique_ptr<EdgeList> ownEdges_;  // the edges, when the searcher keeps them
  EdgeTable edges_;
  std::vector<std::int32_t> firstEdge_;  // nodeCount + 1 run starts
  std::vector<Arc> arcs_[3];             // per criterion, once searched
  std::uint64_t weightsVersion_ = 0;
  // Work tables: per node the value of the criterion (one more, for the node outside
  // the table) and the edge of the label's last improvement.
  std::vector<float> value_;
  std::vector<std::int32_t> via_;
  std::vector<std::uint8_t> marked_;   // path searches: a second offer of its value
  std::vector<std::int32_t> touched_;  // nodes reached
  std::vector<HeapEntry> heap_;
  OpenList open_;
  bool openSized_ = false;
  bool alwaysExact_ = false;
  static constexpr int kExactStreak = 15;
  static constexpr int kLongestExactStreak = 1023;
  int exactStreak_ = 0;              // searches left to go straight to the exact emulation
  int streakLength_ = kExactStreak;  // the next streak's
  int heapFailures_ = 0;             // heap searches in a row that could not stand
  Counts counts_;
  // The labels of the last search, made at the first Label call.
  mutable std::vector<NodeLabel> labels_;
  mutable std::vector<std::int32_t> labelled_;
  mutable bool labelsMade_ = true;
};

// One leg's shortest path (see RouteSearcher::FindShortestPath) on an edge table sorted
// by from node. Returns 0, or -1 when memory ran out.
[[nodiscard]] int FindShortestPath(std::int32_t start, std::int32_t target, std::int32_t nodeCount,
                                   std::int32_t edgeCount, const EdgeEntry* edges, int criterion,
                                   std::vector<RouteStep>& leg);

// Plans the route along the route points of the request of `path` with the criterion
// of its cost table: computes the edge weights, searches each leg (ESC is polled
// before each; the progress shows "Útvonal tervezés [Megszakítás: ESC]:"), joins the
// legs into the route and builds the itinerary in the route state. Returns the route
// step count; `errorText` is empty or holds the message to show (the last failed
// leg's, or the memory message). The caller deletes the old route first.
std::int32_t SearchRoute(MOptPath& path, const SettlementNames& towns, const RoadData& roads,
                         std::string& errorText);
// The same with a searcher kept by the caller across plannings (batch planning keeps
// one for its run): made at the first call when `searcher` is null, for the graph of
// `path`. Memory running out is reported as for SearchRoute.
std::int32_t SearchRoute(MOptPath& path, const SettlementNames& towns, const RoadData& roads,
                         std::string& errorText, std::unique_ptr<RouteSearcher>& searcher);

}  // namespace koltar
