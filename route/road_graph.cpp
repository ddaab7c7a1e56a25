#include "route/road_graph.h"

#include <algorithm>
#include <cstring>
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
  const MemoryBlock file = LoadFileToMemory(edgeFile_);
  if (!file.valid()) return;
  const std::int32_t count = file.size() / EdgeRecord::kSize;
  try {
    edges_.resize(static_cast<std::size_t>(count));
  } catch (const std::bad_alloc&) {
    ShowLoadProblem("Nincs elég memória optimális út kereséshez.");
    return;
  }
  for (std::int32_t i = 0; i < count; ++i) {
    const std::uint8_t* r = file.data() + static_cast<std::size_t>(i) * EdgeRecord::kSize;
    EdgeEntry& e = edges_[static_cast<std::size_t>(i)];
    e.from = EdgeRecord::From(r);
    e.to = EdgeRecord::To(r);
    e.road = EdgeRecord::Road(r);
    e.length = EdgeRecord::Length(r);
  }
  CheckEdges();
}

// The edge file is not guarded by its format; what would make the search fail or loop
// is repaired or excluded here, and reported once.
void RoadGraph::CheckEdges() {
  const auto byFrom = [](const EdgeEntry& a, const EdgeEntry& b) { return a.from < b.from; };
  if (!std::is_sorted(edges_.begin(), edges_.end(), byFrom)) {
    // Each node's edges keep their order, which decides among parallel edges.
    std::stable_sort(edges_.begin(), edges_.end(), byFrom);
    ShowLoadProblem(StringPrintf(
        "'%s' file élei nincsenek kezdő csomópont szerint rendezve. A program betöltéskor rendezte őket.",
        edgeFile_.c_str()));
  }
  if (nodes_.valid()) {
    const auto outside = [this](std::int32_t node) { return node < 0 || node >= nodeCount_; };
    const auto bad = std::count_if(edges_.begin(), edges_.end(),
                                   [&](const EdgeEntry& e) { return outside(e.from) || outside(e.to); });
    if (bad > 0)
      ShowLoadProblem(StringPrintf(
          "'%s' file %d éle nem létező csomópontra hivatkozik. Ezeket az éleket a program nem használja.",
          edgeFile_.c_str(), static_cast<int>(bad)));
  }
  const auto negative = std::count_if(edges_.begin(), edges_.end(),
                                      [](const EdgeEntry& e) { return e.road >= 0 && e.length < 0; });
  if (negative > 0)
    ShowLoadProblem(StringPrintf("'%s' file %d élének hossza negatív. Ezek az élek nem járhatók.",
                                 edgeFile_.c_str(), static_cast<int>(negative)));
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
  for (const EdgeEntry& e : edges_) {
    if (e.road < 0) continue;
    if (!roads.HasRecord(e.road)) {
      ++noRoad;
    } else if (costs.hasRoadTypes()) {
      const std::int32_t layer = roads.Layer(e.road);
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
  for (EdgeEntry& e : edges_) {
    if (e.road < 0 || table.empty()) {
      e.distanceWeight = e.timeWeight = e.costWeight = 0;
      continue;
    }
    // A road that does not exist, a type without cost entry, or a negative length
    // cannot be weighed: such an edge is never used.
    const std::int32_t type = roads.HasRecord(e.road) ? roads.Layer(e.road) - 1 : -1;
    if (type < 0 || type >= typeCount || e.length < 0) {
      e.distanceWeight = e.timeWeight = e.costWeight = kUnreached;
      continue;
    }
    const RoadType& t = table[static_cast<std::size_t>(type)];
    const TypeWeights& w = types[static_cast<std::size_t>(type)];
    const long double length = e.length;
    e.distanceWeight = w.distance ? static_cast<float>(length * t.distanceFactor) : kUnreached;
    e.timeWeight = w.time ? static_cast<float>(w.inverseSpeed * length * kPerKilometre) : kUnreached;
    e.costWeight = w.cost ? static_cast<float>(length * t.unitCost * kPerKilometre) : kUnreached;
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

const EdgeEntry* RoadGraph::EdgeOfStep(const RouteStep& step) const {
  return step.edge >= 0 && step.edge < edgeCount() ? &edges_[static_cast<std::size_t>(step.edge)] : nullptr;
}

}  // namespace koltar
