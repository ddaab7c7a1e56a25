#include "route/route_search.h"

#include <memory>
#include <new>

#include "platform/format.h"
#include "platform/message_texts.h"
#include "platform/messages.h"
#include "platform/progress.h"
#include "route/itinerary.h"
#include "route/opt_path.h"
#include "route/road_data.h"

namespace koltar {
namespace {

template <int Criterion>
float Value(const NodeLabel& label) {
  if constexpr (Criterion == kCriterionTime)
    return label.time;
  else if constexpr (Criterion == kCriterionCost)
    return label.cost;
  else
    return label.distance;
}

template <int Criterion, typename Weights>
float Weight(const Weights& w) {
  if constexpr (Criterion == kCriterionTime)
    return w.time;
  else if constexpr (Criterion == kCriterionCost)
    return w.cost;
  else
    return w.distance;
}

bool InTable(std::int32_t node, std::int32_t count) { return node >= 0 && node < count; }

}  // namespace

RouteSearcher::RouteSearcher(std::int32_t nodeCount, std::int32_t edgeCount, const EdgeEntry* edges)
    : nodeCount_(nodeCount > 0 ? nodeCount : 0),
      edges_(edges),
      edgeCount_(edgeCount < 0 || edges == nullptr ? 0 : edgeCount) {
  edgeCount = edgeCount_;
  // Run starts of the sorted table: the first edge whose from node is at least x.
  // Edges naming nodes before 0 or from nodeCount on fall outside every run.
  firstEdge_.resize(static_cast<std::size_t>(nodeCount_) + 1);
  std::int32_t i = 0;
  for (std::int32_t x = 0; x <= nodeCount_; ++x) {
    while (i < edgeCount && edges_[i].from < x) ++i;
    firstEdge_[x] = i;
  }
  labels_.assign(static_cast<std::size_t>(nodeCount_), NodeLabel{});
  touched_.reserve(static_cast<std::size_t>(nodeCount_));
  open_.Reset(nodeCount_);
}

void RouteSearcher::ResetLabels() {
  for (const std::int32_t node : touched_) labels_[node] = NodeLabel{};
  touched_.clear();
}

void RouteSearcher::BuildArcs() {
  arcs_.resize(static_cast<std::size_t>(edgeCount_));
  for (std::int32_t k = 0; k < edgeCount_; ++k) {
    const EdgeEntry& e = edges_[k];
    arcs_[k] = Arc{InTable(e.to, nodeCount_) ? e.to : -1, e.distanceWeight, e.timeWeight, e.costWeight};
  }
  arcsBuilt_ = true;
}

template <int Criterion>
void RouteSearcher::Run(std::int32_t start, std::int32_t target) {
  labels_[start] = NodeLabel{start, 0.0f, 0.0f, 0.0f};
  touched_.push_back(start);
  open_.Insert(start, 0.0f);
  const Arc* const arcs = arcs_.data();
  NodeLabel* const labels = labels_.data();
  while (!open_.Empty()) {
    const OpenList::Popped taken = open_.PopLast();
    const std::int32_t x = taken.node;
    if (x == target) break;
    const NodeLabel current = labels[x];
    // An entry put in before the node's last improvement: every edge was already
    // relaxed from the better value, so relaxing from this one cannot improve a label.
    if (taken.value > Value<Criterion>(current)) continue;
    const std::int32_t end = firstEdge_[x + 1];
    for (std::int32_t k = firstEdge_[x]; k < end; ++k) {
      const Arc arc = arcs[k];
      if (arc.to < 0) continue;  // a node outside the table
      const float value = AddWeight(Value<Criterion>(current), Weight<Criterion>(arc));
      NodeLabel& label = labels[arc.to];
      if (Value<Criterion>(label) > value) {
        if (label.predecessor == -1) touched_.push_back(arc.to);
        label = NodeLabel{x, AddWeight(current.distance, arc.distance), AddWeight(current.time, arc.time),
                          AddWeight(current.cost, arc.cost)};
        open_.RemoveFirstOf(x);
        open_.Insert(arc.to, value);
      }
    }
  }
}

int RouteSearcher::Search(std::int32_t start, std::int32_t target, int criterion) {
  ResetLabels();
  open_.Clear();
  if (!InTable(start, nodeCount_)) return 0;
  try {
    if (!arcsBuilt_) BuildArcs();
    switch (criterion) {
      case kCriterionTime: Run<kCriterionTime>(start, target); break;
      case kCriterionCost: Run<kCriterionCost>(start, target); break;
      default: Run<kCriterionDistance>(start, target); break;
    }
  } catch (const std::bad_alloc&) {
    open_.Clear();
    return -1;
  }
  open_.Clear();
  return 0;
}

std::int32_t RouteSearcher::FindEdge(std::int32_t from, std::int32_t to) const {
  for (std::int32_t k = firstEdge_[from]; k < firstEdge_[from + 1]; ++k)
    if (edges_[k].to == to) return k;
  return -1;
}

int RouteSearcher::FindShortestPath(std::int32_t start, std::int32_t target, int criterion,
                                    std::vector<RouteStep>& leg) {
  leg.clear();
  if (Search(start, target, criterion) != 0) return -1;
  if (!InTable(start, nodeCount_) || !InTable(target, nodeCount_)) return 0;

  std::int32_t count = 0;
  for (std::int32_t x = target; x != start && labels_[x].predecessor != -1; x = labels_[x].predecessor) {
    // Predecessors always lead back to the start; a longer chain would be a cycle.
    if (++count > nodeCount_) {
      ShowMessage("Programhiba. Nincs elég hely lefoglalva opt. út számára.", MessageKind::Exclamation);
      return 0;
    }
  }
  if (count == 0) return 0;
  try {
    leg.resize(static_cast<std::size_t>(count));
  } catch (const std::bad_alloc&) {
    return -1;
  }
  std::int32_t x = target;
  for (std::int32_t i = count - 1; i >= 0; --i) {
    const NodeLabel& label = labels_[x];
    const std::int32_t from = label.predecessor;
    leg[i] = RouteStep{from, x, FindEdge(from, x), label.distance, label.time, label.cost};
    x = from;
  }
  return 0;
}

int FindShortestPath(std::int32_t start, std::int32_t target, std::int32_t nodeCount, std::int32_t edgeCount,
                     const EdgeEntry* edges, int criterion, std::vector<RouteStep>& leg) {
  leg.clear();
  try {
    RouteSearcher searcher(nodeCount, edgeCount, edges);
    return searcher.FindShortestPath(start, target, criterion, leg);
  } catch (const std::bad_alloc&) {
    return -1;
  }
}

namespace {

std::string SettlementName(const RoadGraph& graph, const SettlementNames& towns, std::int32_t node) {
  const std::int32_t settlement = graph.SettlementOfNode(node, towns);
  return settlement >= 0 ? towns.NameWithHouseNumbers(settlement) : std::string();
}

}  // namespace

std::int32_t SearchRoute(MOptPath& path, const SettlementNames& towns, const RoadData& roads,
                         std::string& errorText) {
  errorText.clear();
  path.ComputeEdgeWeights(roads);
  const RoadGraph& graph = path.graph();
  const int criterion = path.costTable().criterion();
  RouteState& state = path.routeState();
  const RouteRequest& request = state.request();
  ProgressStart(kRoutePlanningProgress);
  ProgressSet(0);

  const std::int32_t points = request.routePointCount();
  std::unique_ptr<RouteSearcher> searcher;
  for (std::int32_t i = 0; i + 1 < points; ++i) {
    if (EscapePressed()) break;
    ProgressSet((i + 1) * 100 / (points - 1));
    const std::int32_t from = request.routePoint(i).node;
    const std::int32_t to = request.routePoint(i + 1).node;
    std::vector<RouteStep> leg;
    int status = -1;
    try {
      if (!searcher)
        searcher = std::make_unique<RouteSearcher>(graph.nodeCount(), graph.edgeCount(), graph.edges());
      status = searcher->FindShortestPath(from, to, criterion, leg);
    } catch (const std::bad_alloc&) {
      status = -1;
    }
    if (status != 0) {
      errorText = kNoMemoryText;
      break;
    }
    if (leg.empty()) {
      errorText =
          StringPrintf("'%s' és '%s' között nincs a keresési feltételeket kielégítő útvonal.",
                       SettlementName(graph, towns, from).c_str(), SettlementName(graph, towns, to).c_str());
      continue;
    }
    if (state.stepCount() == 0)
      state.SetRoute(std::move(leg));
    else if (state.AppendLeg(leg) != 0)
      errorText = kNoMemoryText;
  }
  ProgressEnd();

  if (state.stepCount() > 0) {
    try {
      state.SetItinerary(BuildItinerary(graph, state, towns));
    } catch (const std::bad_alloc&) {
      state.SetItinerary(nullptr);
      errorText = kNoMemoryText;
    }
  }
  return state.stepCount();
}

}  // namespace koltar
