#include "route/route_search.h"

#include <algorithm>
#include <limits>
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

bool InTable(std::int32_t node, std::int32_t count) { return node >= 0 && node < count; }

// Heap order: the smallest value on top.
struct Later {
  template <typename Entry>
  bool operator()(const Entry& a, const Entry& b) const {
    return a.value > b.value;
  }
};

}  // namespace

RouteSearcher::RouteSearcher(std::int32_t nodeCount, std::int32_t edgeCount, const EdgeEntry* edges)
    : RouteSearcher(nodeCount, EdgeList(edges, edges == nullptr || edgeCount < 0 ? 0 : edgeCount)) {}

RouteSearcher::RouteSearcher(std::int32_t nodeCount, EdgeList edges)
    : ownEdges_(std::make_unique<EdgeList>(std::move(edges))) {
  Init(nodeCount, ownEdges_->table());
}

RouteSearcher::RouteSearcher(std::int32_t nodeCount, const EdgeTable& edges) { Init(nodeCount, edges); }

void RouteSearcher::Init(std::int32_t nodeCount, const EdgeTable& edges) {
  nodeCount_ = nodeCount > 0 ? nodeCount : 0;
  edges_ = edges;
  if (edges_.count < 0 || edges_.records == nullptr) edges_.count = 0;
  const std::int32_t edgeCount = edges_.count;
  // Run starts of the sorted table: the first edge whose from node is at least x.
  // Edges naming nodes before 0 or from nodeCount on fall outside every run.
  firstEdge_.resize(static_cast<std::size_t>(nodeCount_) + 1);
  std::int32_t i = 0;
  for (std::int32_t x = 0; x <= nodeCount_; ++x) {
    while (i < edgeCount && edges_.From(i) < x) ++i;
    firstEdge_[x] = i;
  }
  value_.assign(static_cast<std::size_t>(nodeCount_) + 1, kUnreached);
  // Arcs to nodes outside the table lead here: no value is smaller.
  value_[static_cast<std::size_t>(nodeCount_)] = -std::numeric_limits<float>::infinity();
  via_.assign(static_cast<std::size_t>(nodeCount_), kViaNone);
  marked_.assign(static_cast<std::size_t>(nodeCount_), 0);
  touched_.reserve(static_cast<std::size_t>(nodeCount_));
}

void RouteSearcher::ForgetWeights() {
  for (std::vector<Arc>& arcs : arcs_) std::vector<Arc>().swap(arcs);
}

void RouteSearcher::UseWeightsVersion(std::uint64_t version) {
  if (version != weightsVersion_) ForgetWeights();
  weightsVersion_ = version;
}

const RouteSearcher::Arc* RouteSearcher::ArcsOf(int criterion) {
  std::vector<Arc>& arcs = arcs_[criterion];
  const std::int32_t edgeCount = edges_.count;
  if (arcs.size() != static_cast<std::size_t>(edgeCount)) {
    arcs.resize(static_cast<std::size_t>(edgeCount));
    for (std::int32_t k = 0; k < edgeCount; ++k) {
      const std::int32_t to = edges_.To(k);
      arcs[k] = Arc{InTable(to, nodeCount_) ? to : nodeCount_, CriterionWeight(WeightsOf(k), criterion)};
    }
  }
  return arcs.data();
}

void RouteSearcher::Reset() {
  for (const std::int32_t node : touched_) {
    value_[node] = kUnreached;
    via_[node] = kViaNone;
    marked_[node] = 0;
  }
  touched_.clear();
  heap_.clear();
  labelsMade_ = false;
}

// Whether the sorted list's order decides between the label of `z` and a second way to
// it of the same value, found while expanding `x`. Not when z is the node x's label is
// from (x was reached only after z was expanded), nor the start, nor when z's label is
// from x itself (x's edge order decides, in any order); otherwise when the first way
// came from a node of x's value (of a smaller value, it was relaxed first in any order).
bool RouteSearcher::OrderDecides(std::int32_t x, std::int32_t z) const {
  if (via_[z] < 0 || (via_[x] >= 0 && edges_.From(via_[x]) == z)) return false;
  const std::int32_t first = edges_.From(via_[z]);
  return first != x && value_[first] == value_[x];
}

// Whether `x` offers `z` its value as a second node of the value of the node that
// offered it first. Unlike OrderDecides, which may rely on every label being checked,
// this also counts a way back to the node x's label is from.
bool RouteSearcher::SecondOfferOfValue(std::int32_t x, std::int32_t z) const {
  if (via_[z] < 0) return false;
  const std::int32_t first = edges_.From(via_[z]);
  return first != x && value_[first] == value_[x];
}

// Whether no node on the predecessor chain from `target` is marked.
bool RouteSearcher::PathUnmarked(std::int32_t target) const {
  std::int32_t steps = 0;
  for (std::int32_t x = target; via_[x] >= 0 && steps <= nodeCount_; x = edges_.From(via_[x]), ++steps)
    if (marked_[x] != 0) return false;
  return steps <= nodeCount_;
}

inline void RouteSearcher::Reach(std::int32_t node, float value, std::int32_t edge) {
  if (via_[node] == kViaNone) touched_.push_back(node);
  value_[node] = value;
  via_[node] = edge;
}

bool RouteSearcher::RunHeap(const Arc* arcs, std::int32_t start, std::int32_t target, Scope scope) {
  if (heap_.capacity() == 0) heap_.reserve(static_cast<std::size_t>(nodeCount_) + 1);
  float* const value = value_.data();
  const std::int32_t* const first = firstEdge_.data();
  Reach(start, 0.0f, kViaStart);
  heap_.push_back(HeapEntry{0.0f, start});
  float expanded = -1.0f;  // the value of the last node expanded
  while (!heap_.empty()) {
    std::pop_heap(heap_.begin(), heap_.end(), Later{});
    const HeapEntry taken = heap_.back();
    heap_.pop_back();
    const std::int32_t x = taken.node;
    // An entry put in before the node's last improvement: every edge was already
    // relaxed from the better value, so relaxing from this one cannot improve a label.
    if (taken.value > value[x]) continue;
    if (x == target) {
      // Which other nodes of the target's value the sorted list takes before the
      // target is its order's business: with none, both searches expanded the same.
      // A path whose last step comes from a smaller value does not care: such nodes
      // offer the target no more than its predecessor did, and before them.
      const bool tailBelow =
          scope == Scope::kPath && via_[x] >= 0 && value[edges_.From(via_[x])] < taken.value;
      const bool tie = expanded == taken.value || (!heap_.empty() && heap_.front().value == taken.value);
      if (tie && !tailBelow) return false;
      return scope == Scope::kAllLabels || PathUnmarked(target);
    }
    expanded = taken.value;
    const std::int32_t end = first[x + 1];
    for (std::int32_t k = first[x]; k < end; ++k) {
      const Arc arc = arcs[k];
      const float next = AddWeight(taken.value, arc.weight);
      if (value[arc.to] > next) {
        Reach(arc.to, next, k);
        marked_[arc.to] = 0;
        heap_.push_back(HeapEntry{next, arc.to});
        std::push_heap(heap_.begin(), heap_.end(), Later{});
      } else if (value[arc.to] == next && next < kUnreached) {
        if (scope == Scope::kPath) {
          if (SecondOfferOfValue(x, arc.to)) marked_[arc.to] = 1;
        } else if (OrderDecides(x, arc.to)) {
          return false;
        }
      }
    }
  }
  return true;
}

void RouteSearcher::RunExact(const Arc* arcs, std::int32_t start, std::int32_t target) {
  if (!openSized_) {
    open_.Reset(nodeCount_);
    openSized_ = true;
  }
  float* const value = value_.data();
  Reach(start, 0.0f, kViaStart);
  open_.Insert(start, 0.0f);
  while (!open_.Empty()) {
    const OpenList::Popped taken = open_.PopLast();
    const std::int32_t x = taken.node;
    if (x == target) break;
    const float current = value[x];
    if (taken.value > current) continue;  // outdated, as in RunHeap
    // Each improvement removes the node's oldest remaining entry; once it has none,
    // no later improvement of this expansion finds one either.
    bool older = true;
    const std::int32_t end = firstEdge_[x + 1];
    for (std::int32_t k = firstEdge_[x]; k < end; ++k) {
      const Arc arc = arcs[k];
      const float next = AddWeight(current, arc.weight);
      if (value[arc.to] > next) {
        Reach(arc.to, next, k);
        if (older) older = open_.RemoveFirstOf(x);
        open_.Insert(arc.to, next);
      }
    }
  }
}

int RouteSearcher::Search(std::int32_t start, std::int32_t target, int criterion, Scope scope) {
  Reset();  // the open list was emptied at the end of the last search
  if (!InTable(start, nodeCount_)) return 0;
  if (criterion != kCriterionTime && criterion != kCriterionCost) criterion = kCriterionDistance;
  try {
    const Arc* const arcs = ArcsOf(criterion);
    ++counts_.searches;
    // After two heap searches in a row that could not stand, the next searches go
    // straight to the exact emulation (a network where the order decides twice mostly
    // does again), and the heap is tried again now and then: after 15 searches, and
    // twice as many after each further failure, so that a failed attempt costs little
    // on any network. A single failure among searches that stand starts no streak.
    const bool tryHeap = !alwaysExact_ && exactStreak_ == 0;
    if (exactStreak_ > 0) --exactStreak_;
    const bool heapStood = tryHeap && RunHeap(arcs, start, target, scope);
    if (heapStood) {
      heapFailures_ = 0;
      streakLength_ = kExactStreak;
    }
    if (!heapStood) {
      ++counts_.exact;
      if (tryHeap && ++heapFailures_ >= 2) {
        exactStreak_ = streakLength_;
        streakLength_ = std::min(2 * streakLength_ + 1, kLongestExactStreak);
      }
      Reset();
      RunExact(arcs, start, target);
    }
  } catch (const std::bad_alloc&) {
    Reset();
    if (openSized_) open_.Clear();
    return -1;
  }
  heap_.clear();
  if (openSized_) open_.Clear();
  return 0;
}

void RouteSearcher::MaterializeLabels() const {
  if (labels_.empty()) labels_.assign(static_cast<std::size_t>(nodeCount_), NodeLabel{});
  for (const std::int32_t node : labelled_) labels_[node] = NodeLabel{};
  labelled_.clear();
  std::vector<std::int32_t> chain;
  for (const std::int32_t node : touched_) {
    // Walk up to a node already labelled (or the start), then label back down.
    std::int32_t x = node;
    while (labels_[x].predecessor == -1 && via_[x] != kViaStart) {
      chain.push_back(x);
      x = edges_.From(via_[x]);
    }
    if (labels_[x].predecessor == -1) {
      labels_[x] = NodeLabel{x, 0.0f, 0.0f, 0.0f};
      labelled_.push_back(x);
    }
    while (!chain.empty()) {
      const std::int32_t y = chain.back();
      chain.pop_back();
      const std::int32_t k = via_[y];
      const std::int32_t x0 = edges_.From(k);
      const EdgeWeights w = WeightsOf(k);
      const NodeLabel& from = labels_[x0];
      labels_[y] = NodeLabel{x0, AddWeight(from.distance, w.distance), AddWeight(from.time, w.time),
                             AddWeight(from.cost, w.cost)};
      labelled_.push_back(y);
    }
  }
  labelsMade_ = true;
}

NodeLabel RouteSearcher::Label(std::int32_t node) const {
  if (!labelsMade_) MaterializeLabels();
  return labels_.empty() ? NodeLabel{} : labels_[node];
}

std::int32_t RouteSearcher::FindEdge(std::int32_t from, std::int32_t to) const {
  for (std::int32_t k = firstEdge_[from]; k < firstEdge_[from + 1]; ++k)
    if (edges_.To(k) == to) return k;
  return -1;
}

int RouteSearcher::FindShortestPath(std::int32_t start, std::int32_t target, int criterion,
                                    std::vector<RouteStep>& leg) {
  leg.clear();
  if (Search(start, target, criterion, Scope::kPath) != 0) return -1;
  if (!InTable(start, nodeCount_) || !InTable(target, nodeCount_)) return 0;

  std::int32_t count = 0;
  for (std::int32_t x = target; x != start && via_[x] >= 0; x = edges_.From(via_[x])) {
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
  // The steps backwards, then their running totals forwards: the same sums, in the
  // same order, as the labels were made.
  std::int32_t x = target;
  for (std::int32_t i = count - 1; i >= 0; --i) {
    const std::int32_t from = edges_.From(via_[x]);
    leg[i] = RouteStep{from, x, FindEdge(from, x), 0.0f, 0.0f, 0.0f};
    x = from;
  }
  float distance = 0.0f, time = 0.0f, cost = 0.0f;
  for (RouteStep& step : leg) {
    const EdgeWeights w = WeightsOf(via_[step.to]);
    distance = AddWeight(distance, w.distance);
    time = AddWeight(time, w.time);
    cost = AddWeight(cost, w.cost);
    step.distance = distance;
    step.time = time;
    step.cost = cost;
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
  std::unique_ptr<RouteSearcher> searcher;
  return SearchRoute(path, towns, roads, errorText, searcher);
}

std::int32_t SearchRoute(MOptPath& path, const SettlementNames& towns, const RoadData& roads,
                         std::string& errorText, std::unique_ptr<RouteSearcher>& searcher) {
  errorText.clear();
  try {
    path.ComputeEdgeWeights(roads);
  } catch (const std::bad_alloc&) {
    errorText = kNoMemoryText;
    return path.routeState().stepCount();
  }
  const RoadGraph& graph = path.graph();
  const int criterion = path.costTable().criterion();
  RouteState& state = path.routeState();
  const RouteRequest& request = state.request();
  ProgressStart(kRoutePlanningProgress);
  ProgressSet(0);

  const std::int32_t points = request.routePointCount();
  for (std::int32_t i = 0; i + 1 < points; ++i) {
    if (EscapePressed()) break;
    ProgressSet((i + 1) * 100 / (points - 1));
    const std::int32_t from = request.routePoint(i).node;
    const std::int32_t to = request.routePoint(i + 1).node;
    std::vector<RouteStep> leg;
    int status = -1;
    try {
      if (!searcher) searcher = std::make_unique<RouteSearcher>(graph.nodeCount(), graph.edgeTable());
      searcher->UseWeightsVersion(graph.weightsVersion());
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
