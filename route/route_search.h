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
#include <string>
#include <vector>

#include "route/open_list.h"
#include "route/route_records.h"

namespace koltar {

class MOptPath;
struct RoadData;
class SettlementNames;

// Shortest-path searches over one edge table, reusing their work tables.
class RouteSearcher {
 public:
  // The table must be sorted by from node and stay alive; its weights are read at the
  // first search (a compact copy of them is what the search walks), so a change of
  // weights needs a new searcher. The weights must be >= 0, 1e38 (impassable), infinite
  // or NaN, as ComputeEdgeWeights makes them. May throw std::bad_alloc.
  RouteSearcher(std::int32_t nodeCount, std::int32_t edgeCount, const EdgeEntry* edges);

  // One search from `start` minimising `criterion` (0 distance, 1 time, 2 cost),
  // ending when `target` is taken from the open list; a target outside the node table
  // searches everything reachable. Returns 0, or -1 when memory ran out.
  [[nodiscard]] int Search(std::int32_t start, std::int32_t target, int criterion);

  // Search, then the leg's steps from start to target with their running totals (the
  // target's label values), each step naming the first edge of the table that joins
  // its two nodes. `leg` stays empty when the target was not reached or is the start.
  // Returns 0, or -1 when memory ran out.
  [[nodiscard]] int FindShortestPath(std::int32_t start, std::int32_t target, int criterion,
                                     std::vector<RouteStep>& leg);

  // A node's label after the last search.
  const NodeLabel& Label(std::int32_t node) const { return labels_[node]; }
  std::int32_t nodeCount() const { return nodeCount_; }

 private:
  // An edge as the search walks it: its to node (-1 for one outside the node table)
  // and its three weights, 16 bytes instead of the table's 32.
  struct Arc {
    std::int32_t to;
    float distance, time, cost;
  };

  template <int Criterion>
  void Run(std::int32_t start, std::int32_t target);
  void BuildArcs();
  void ResetLabels();
  std::int32_t FindEdge(std::int32_t from, std::int32_t to) const;

  std::int32_t nodeCount_;
  const EdgeEntry* edges_;
  std::int32_t edgeCount_;
  std::vector<std::int32_t> firstEdge_;  // nodeCount + 1 run starts
  std::vector<Arc> arcs_;                // the table's edges, once searched
  bool arcsBuilt_ = false;
  std::vector<NodeLabel> labels_;
  std::vector<std::int32_t> touched_;  // nodes whose label is set
  OpenList open_;
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

}  // namespace koltar
