#include "tools/bench/literal_route_search.h"

#include "platform/messages.h"

namespace koltar::reference {
namespace {

std::int32_t FirstEdgeOf(std::int32_t node, std::int32_t edgeCount, const EdgeEntry* edges) {
  std::int32_t lower = 0;
  std::int32_t upper = edgeCount - 1;
  while (lower <= upper) {
    std::int32_t mid = (lower + upper) / 2;
    if (edges[mid].from == node) {
      while (mid > 0 && edges[mid - 1].from == node) --mid;
      return mid;
    }
    if (edges[mid].from < node)
      lower = mid + 1;
    else
      upper = mid - 1;
  }
  return -1;
}

}  // namespace

std::int32_t LiteralInsertPosition(const std::vector<OpenListEntry>& list, float value, int criterion) {
  if (list.empty()) return 0;
  std::int32_t lower = 0;
  std::int32_t upper = static_cast<std::int32_t>(list.size()) - 1;
  std::int32_t mid = 0;
  while (lower <= upper) {
    mid = (lower + upper) / 2;
    const float entry = CriterionValue(list[mid], criterion);
    if (entry == value) return mid;
    if (entry > value)
      lower = mid + 1;
    else
      upper = mid - 1;
  }
  return CriterionValue(list[mid], criterion) >= value ? mid + 1 : mid;
}

int LiteralFindShortestPath(std::int32_t start, std::int32_t target, std::int32_t nodeCount,
                            std::int32_t edgeCount, const EdgeEntry* edges, int criterion,
                            std::vector<RouteStep>& steps, std::vector<NodeLabel>* labelsOut) {
  steps.clear();
  std::vector<NodeLabel> labels(static_cast<std::size_t>(nodeCount));
  std::vector<OpenListEntry> open;
  labels[start] = NodeLabel{start, 0, 0, 0};
  open.push_back(OpenListEntry{start, 0, 0, 0});

  do {
    const OpenListEntry current = open.back();
    open.pop_back();
    const std::int32_t first = FirstEdgeOf(current.node, edgeCount, edges);
    for (std::int32_t k = first; k >= 0 && k < edgeCount && edges[k].from == current.node; ++k) {
      const EdgeEntry& e = edges[k];
      const OpenListEntry next{e.to, AddWeight(current.distance, e.distanceWeight),
                               AddWeight(current.time, e.timeWeight), AddWeight(current.cost, e.costWeight)};
      if (CriterionValue(labels[e.to], criterion) > CriterionValue(next, criterion)) {
        labels[e.to] = NodeLabel{current.node, next.distance, next.time, next.cost};
        for (std::size_t i = 0; i < open.size(); ++i) {
          if (open[i].node == current.node) {
            open.erase(open.begin() + static_cast<std::ptrdiff_t>(i));
            break;
          }
        }
        const std::int32_t at = LiteralInsertPosition(open, CriterionValue(next, criterion), criterion);
        open.insert(open.begin() + at, next);
      }
    }
    if (current.node == target) break;
  } while (!open.empty());

  std::int32_t count = 0;
  const bool targetInTable = target >= 0 && target < nodeCount;
  for (std::int32_t x = target; targetInTable && x != start && labels[x].predecessor != -1;
       x = labels[x].predecessor)
    ++count;
  if (count > 0) {
    steps.resize(static_cast<std::size_t>(count));
    std::int32_t i = count - 1;
    for (std::int32_t x = target; x != start; x = labels[x].predecessor) {
      if (i < 0) {
        ShowMessage("Programhiba. Nincs elég hely lefoglalva opt. út számára.", MessageKind::Exclamation);
        break;
      }
      const std::int32_t from = labels[x].predecessor;
      std::int32_t edge = -1;
      for (std::int32_t k = 0; k < edgeCount; ++k) {
        if (edges[k].from == from && edges[k].to == x) {
          edge = k;
          break;
        }
      }
      steps[i--] = RouteStep{from, x, edge, labels[x].distance, labels[x].time, labels[x].cost};
    }
  }
  if (labelsOut) *labelsOut = std::move(labels);
  return 0;
}

}  // namespace koltar::reference
