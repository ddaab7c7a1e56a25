#include "route/road_graph.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

#include "platform/binary.h"
#include "platform/format.h"
#include "platform/messages.h"
#include "route/cost_table.h"

namespace koltar {
namespace {

void ShowLoadProblem(const std::string& text) { ShowMessage(text, MessageKind::Exclamation); }

}  // namespace

RoadGraph::RoadGraph(std::string nodeFile, std::string edgeFile)
    : nodeFile_(std::move(nodeFile)), edgeFile_(std::move(edgeFile)) {
  LoadNodes();
  LoadEdges();
}

void RoadGraph::LoadNodes() {
  nodes_ = LoadFileToMemory(nodeFile_);
  nodeCount_ = nodes_.valid() ? nodes_.size() / NodeRecord::kSize : 0;
}

void RoadGraph::LoadEdges() {
  edgeBlock_ = LoadFileToMemory(edgeFile_);
  if (!edgeBlock_.valid()) return;
  edgeRecords_ = edgeBlock_.data();
  edgeCount_ = edgeBlock_.size() / EdgeRecord::kSize;
  CheckEdges();
}

// The edge file is not guarded by its format; what would make the search fail or loop
// is repaired or excluded here, and reported once. One pass over the records finds all
// three faults.
void RoadGraph::CheckEdges() {
  const EdgeTable table = edgeTable();
  const auto outside = [this](std::int32_t node) { return node < 0 || node >= nodeCount_; };
  bool sorted = true;
  std::int32_t bad = 0;
  std::int32_t negative = 0;
  std::int32_t previousFrom = std::numeric_limits<std::int32_t>::min();
  for (std::int32_t k = 0; k < edgeCount_; ++k) {
    const std::uint8_t* r = table.Record(k);
    const std::int32_t from = EdgeRecord::From(r);
    if (from < previousFrom) sorted = false;
    previousFrom = from;
    if (outside(from) || outside(EdgeRecord::To(r))) ++bad;
    if (EdgeRecord::Road(r) >= 0 && EdgeRecord::Length(r) < 0) ++negative;
  }
  if (!sorted) {
    SortEdges();
    ShowLoadProblem(StringPrintf(
        "'%s' file élei nincsenek kezdő csomópont szerint rendezve. A program betöltéskor rendezte őket.",
        edgeFile_.c_str()));
  }
  if (nodes_.valid() && bad > 0)
    ShowLoadProblem(StringPrintf(
        "'%s' file %d éle nem létező csomópontra hivatkozik. Ezeket az éleket a program nem használja.",
        edgeFile_.c_str(), static_cast<int>(bad)));
  if (negative > 0)
    ShowLoadProblem(StringPrintf("'%s' file %d élének hossza negatív. Ezek az élek nem járhatók.",
                                 edgeFile_.c_str(), static_cast<int>(negative)));
}

// A copy of the records sorted by from node; each node's edges keep their order, which
// decides among parallel edges.
void RoadGraph::SortEdges() {
  try {
    std::vector<std::int32_t> order(static_cast<std::size_t>(edgeCount_));
    for (std::int32_t k = 0; k < edgeCount_; ++k) order[static_cast<std::size_t>(k)] = k;
    const EdgeTable table = edgeTable();
    std::stable_sort(order.begin(), order.end(),
                     [&](std::int32_t a, std::int32_t b) { return table.From(a) < table.From(b); });
    sortedEdges_.resize(static_cast<std::size_t>(edgeCount_) * EdgeRecord::kSize);
    for (std::size_t i = 0; i < order.size(); ++i)
      std::memcpy(sortedEdges_.data() + i * EdgeRecord::kSize, table.Record(order[i]), EdgeRecord::kSize);
  } catch (const std::bad_alloc&) {
    ShowLoadProblem("Nincs elég memória optimális út kereséshez.");
    sortedEdges_.clear();
    edgeCount_ = 0;
  }
  edgeRecords_ = sortedEdges_.empty() ? nullptr : sortedEdges_.data();
  edgeBlock_ = MemoryBlock();
}

void RoadGraph::Bind(const SettlementNames& towns, const RoadData& roads, const CostTable& costs) {
  if (bound_) return;
  bound_ = true;
  if (nodes_.valid() && towns.Count() > 0) {
    std::int32_t bad = 0;
    for (std::int32_t node = 0; node < nodeCount_; ++node)
      if (NodeRecord(node) >= towns.Count()) ++bad;
    if (bad > 0)
      ShowLoadProblem(
          StringPrintf("'%s' file %d csomópontja nem létező településre hivatkozik. Ezeket a program "
                       "útkereszteződésnek tekinti.",
                       nodeFile_.c_str(), bad));
  }
  if (roads.records == nullptr) return;
  std::int32_t noRoad = 0;
  std::int32_t noType = 0;
  for (std::int32_t k = 0; k < edgeCount_; ++k) {
    const std::int32_t road = EdgeRecord::Road(edgeTable().Record(k));
    if (road < 0) continue;
    if (!roads.HasRecord(road)) {
      ++noRoad;
    } else if (costs.hasRoadTypes()) {
      const std::int32_t layer = roads.Layer(road);
      if (layer < 1 || layer > costs.roadTypeCount()) ++noType;
    }
  }
  if (noRoad > 0)
    ShowLoadProblem(StringPrintf("'%s' file %d éle nem létező útra hivatkozik. Ezek az élek nem járhatók.",
                                 edgeFile_.c_str(), noRoad));
  if (noType > 0)
    ShowLoadProblem(
        StringPrintf("'%s' file %d éle olyan útra hivatkozik, amelynek típusa nincs a költségtáblában. Ezek "
                     "az élek nem járhatók.",
                     edgeFile_.c_str(), noType));
}

void RoadGraph::ComputeEdgeWeights(const CostTable& costs, const RoadData& roads) {
  const std::vector<RoadType>& table = costs.roadTypes();
  // The weights depend only on the road types and the road objects' layers: when
  // neither changed since the last computation, the weights stand.
  if (weightsValid_ && weightsRoads_ == roads.records && weightsRoadCount_ == roads.recordCount &&
      weightsTypes_.size() == table.size() &&
      std::memcmp(weightsTypes_.data(), table.data(), table.size() * sizeof(RoadType)) == 0)
    return;

  // Computed in extended precision and stored as 32-bit floats. Per road type: whether
  // each weight is usable, and 1 / speed (the first operation of the time weight).
  struct TypeWeights {
    bool distance, time, cost;
    long double inverseSpeed;
  };
  std::vector<TypeWeights> types;
  types.reserve(table.size());
  for (const RoadType& t : table)
    types.push_back(TypeWeights{t.enabled != 0 && t.distanceFactor > 0, t.enabled != 0 && t.speed > 0,
                                t.enabled != 0 && t.unitCost > 0, t.speed > 0 ? 1.0L / t.speed : 0.0L});
  const long double kPerKilometre = 0.001;
  const std::int32_t typeCount = costs.roadTypeCount();
  if (weights_.size() != static_cast<std::size_t>(edgeCount_))
    weights_.resize(static_cast<std::size_t>(edgeCount_));
  for (std::int32_t k = 0; k < edgeCount_; ++k) {
    const std::uint8_t* r = edgeTable().Record(k);
    const std::int32_t road = EdgeRecord::Road(r);
    const std::int32_t edgeLength = EdgeRecord::Length(r);
    EdgeWeights& e = weights_[static_cast<std::size_t>(k)];
    if (road < 0 || table.empty()) {
      e = EdgeWeights{0, 0, 0};
      continue;
    }
    // A road that does not exist, a type without cost entry, or a negative length
    // cannot be weighed: such an edge is never used.
    const std::int32_t type = roads.HasRecord(road) ? roads.Layer(road) - 1 : -1;
    if (type < 0 || type >= typeCount || edgeLength < 0) {
      e = EdgeWeights{kUnreached, kUnreached, kUnreached};
      continue;
    }
    const RoadType& t = table[static_cast<std::size_t>(type)];
    const TypeWeights& w = types[static_cast<std::size_t>(type)];
    const long double length = edgeLength;
    e.distance = w.distance ? static_cast<float>(length * t.distanceFactor) : kUnreached;
    e.time = w.time ? static_cast<float>(w.inverseSpeed * length * kPerKilometre) : kUnreached;
    e.cost = w.cost ? static_cast<float>(length * t.unitCost * kPerKilometre) : kUnreached;
  }
  weightsValid_ = true;
  ++weightsVersion_;
  weightsRoads_ = roads.records;
  weightsRoadCount_ = roads.recordCount;
  weightsTypes_ = table;
}

std::int32_t RoadGraph::NodeRecord(std::int32_t node) const {
  if (node < 0 || node >= nodeCount_) return -1;
  return NodeRecord::Settlement(nodes_.data() + static_cast<std::size_t>(node) * NodeRecord::kSize);
}

std::int32_t RoadGraph::SettlementOfNode(std::int32_t node, const SettlementNames& towns) const {
  const std::int32_t settlement = NodeRecord(node);
  return settlement >= 0 && settlement < towns.Count() ? settlement : -1;
}

std::int32_t RoadGraph::FindNodeOfPoint(std::int32_t settlement) const {
  if (settlement < 0) return -1;
  for (std::int32_t node = 0; node < nodeCount_; ++node)
    if (NodeRecord(node) == settlement) return node;
  return -1;
}

std::optional<EdgeEntry> RoadGraph::EdgeOfStep(const RouteStep& step) const {
  if (step.edge < 0 || step.edge >= edgeCount_) return std::nullopt;
  return edge(step.edge);
}

}  // namespace koltar
