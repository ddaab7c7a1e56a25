#pragma once
// The textbook shortest-path search the route benchmarks compare with.

#include <algorithm>
#include <cstdint>
#include <deque>
#include <utility>
#include <vector>

#include "route/route_records.h"

namespace koltar {

// Binary-heap Dijkstra as in the textbooks: lazy deletion, one criterion, stops when
// the target is taken, the path read back from the predecessors.
class TextbookDijkstra {
 public:
  // Over an edge table sorted by from node, which must stay alive; the (to node, weight)
  // arrays of a criterion are made at its first query, as any adjacency-array program
  // would make them.
  TextbookDijkstra(std::int32_t nodes, const EdgeTable& edges)
      : edges_(edges),
        first_(static_cast<std::size_t>(nodes) + 1),
        dist_(static_cast<std::size_t>(nodes), kUnreached),
        pred_(static_cast<std::size_t>(nodes), -1) {
    std::int32_t i = 0;
    for (std::int32_t x = 0; x <= nodes; ++x) {
      while (i < edges.count && edges.From(i) < x) ++i;
      first_[x] = i;
    }
  }
  TextbookDijkstra(std::int32_t nodes, std::int32_t edgeCount, const EdgeEntry* edges)
      : TextbookDijkstra(nodes, Keep(EdgeList(edges, edgeCount))) {}

  // The edges of the path, from start to target.
  void Query(std::int32_t start, std::int32_t target, int criterion, std::vector<std::int32_t>& path) {
    for (const std::int32_t n : touched_) dist_[n] = kUnreached, pred_[n] = -1;
    touched_.clear();
    heap_.clear();
    path.clear();
    dist_[start] = 0;
    touched_.push_back(start);
    heap_.emplace_back(0.0f, start);
    const auto later = [](const auto& a, const auto& b) { return a.first > b.first; };
    const std::vector<Arc>& arcs = ArcsOf(criterion);
    while (!heap_.empty()) {
      std::pop_heap(heap_.begin(), heap_.end(), later);
      const auto [d, x] = heap_.back();
      heap_.pop_back();
      if (d > dist_[x]) continue;
      if (x == target) break;
      for (std::int32_t k = first_[x]; k < first_[x + 1]; ++k) {
        const Arc& e = arcs[k];
        const float nd = AddWeight(d, e.weight);
        if (nd < dist_[e.to]) {
          if (pred_[e.to] == -1) touched_.push_back(e.to);
          dist_[e.to] = nd;
          pred_[e.to] = k;
          heap_.emplace_back(nd, e.to);
          std::push_heap(heap_.begin(), heap_.end(), later);
        }
      }
    }
    if (target == start || pred_[target] == -1) return;
    for (std::int32_t x = target; x != start; x = edges_.From(pred_[x])) path.push_back(pred_[x]);
    std::reverse(path.begin(), path.end());
  }

  float Distance(std::int32_t node) const { return dist_[node]; }

 private:
  struct Arc {
    std::int32_t to;
    float weight;
  };
  // An edge list made from decoded edges lives as long as the program.
  static EdgeTable Keep(EdgeList list) { return kept_.emplace_back(std::move(list)).table(); }
  const std::vector<Arc>& ArcsOf(int criterion) {
    std::vector<Arc>& arcs = arcs_[criterion];
    if (arcs.empty() && edges_.count > 0) {
      arcs.resize(static_cast<std::size_t>(edges_.count));
      for (std::int32_t k = 0; k < edges_.count; ++k)
        arcs[k] = Arc{edges_.To(k), edges_.weights ? CriterionWeight(edges_.Weights(k), criterion) : 0.0f};
    }
    return arcs;
  }

  static inline std::deque<EdgeList> kept_;
  EdgeTable edges_;
  std::vector<Arc> arcs_[3];
  std::vector<std::int32_t> first_;
  std::vector<float> dist_;
  std::vector<std::int32_t> pred_;  // edge index
  std::vector<std::int32_t> touched_;
  std::vector<std::pair<float, std::int32_t>> heap_;
};

}  // namespace koltar
