#include "route/opt_path.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>
#include <new>

#include "platform/message_texts.h"
#include "platform/binary.h"
#include "platform/format.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/scan.h"
#include "route/itinerary.h"

namespace koltar {
namespace {

constexpr int kFileNameCapacity = 260;
constexpr int kLayerCapacity = 32;
constexpr int kCostCapacity = 80;
constexpr int kStartCapacity = 80;

void ShowLoadProblem(const std::string& text) { ShowMessage(text, MessageKind::Exclamation); }

std::string FormatFixed2(float value) {
  char buffer[64];
  const auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value), std::chars_format::fixed, 2);
  return ec == std::errc() ? std::string(buffer, end) : std::string("0.00");
}

bool IsValidCriterion(std::int64_t c) { return c >= kCriterionDistance && c <= kCriterionCost; }

}  // namespace

RoadType ParseRoadType(std::string_view value) {
  RoadType type;
  std::string name;
  if (ScanValues(value, "%[^,]%*c%d,%f,%f,%f", name, type.enabled, type.distanceFactor, type.speed,
                 type.unitCost) > 0)
    SetFixedText(type.name, name);
  return type;
}

std::string FormatRoadType(const RoadType& type) {
  std::string out(FixedText(type.name));
  out += StringPrintf(",%d,", type.enabled);
  out += FormatFixed2(type.distanceFactor) + ",";
  out += FormatFixed2(type.speed) + ",";
  out += FormatFixed2(type.unitCost);
  return out;
}

MOptPath::MOptPath(std::string_view categoryName, std::string_view mapDirectory,
                   std::string_view mapFileName)
    : categoryName_(categoryName.substr(0, kShortTextSize - 1)),
      descriptionFile_(ResolveFileName(mapDirectory, mapFileName)) {
  descriptionExisted_ = FileExists(descriptionFile_);
  if (!descriptionExisted_)
    ShowLoadProblem(StringPrintf(kFileNotOpenedFormat, descriptionFile_.c_str()));

  nodeFile_ = ResolveFileName(mapDirectory, ReadKey("NODEFILE", "", kFileNameCapacity));
  LoadNodes();
  edgeFile_ = ResolveFileName(mapDirectory, ReadKey("EDGEFILE", "", kFileNameCapacity));
  LoadEdges();
  LoadLayers();
  LoadCostTable();
  LoadSettings();
}

MOptPath::~MOptPath() { Save(); }

std::string MOptPath::ReadKey(const char* key, std::string_view defaultText, int capacity) const {
  return ReadProfileString(categoryName_, key, defaultText, capacity, descriptionFile_);
}

void MOptPath::LoadNodes() {
  nodes_ = LoadFileToMemory(nodeFile_);
  nodeCount_ = nodes_.valid() ? nodes_.size() / NodeRecord::kSize : 0;
}

void MOptPath::LoadEdges() {
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
    EdgeEntry& e = edges_[i];
    e.from = EdgeRecord::From(r);
    e.to = EdgeRecord::To(r);
    e.road = EdgeRecord::Road(r);
    e.length = EdgeRecord::Length(r);
  }
  CheckEdges();
}

// The edge file is not guarded by its format; what would make the search fail or loop
// is repaired or excluded here, and reported once.
void MOptPath::CheckEdges() {
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
    const auto bad = std::count_if(edges_.begin(), edges_.end(), [&](const EdgeEntry& e) {
      return outside(e.from) || outside(e.to);
    });
    if (bad > 0)
      ShowLoadProblem(StringPrintf(
          "'%s' file %d éle nem létező csomópontra hivatkozik. Ezeket az éleket a program nem használja.",
          edgeFile_.c_str(), static_cast<int>(bad)));
  }
  const auto negative = std::count_if(edges_.begin(), edges_.end(), [](const EdgeEntry& e) {
    return e.road >= 0 && e.length < 0;
  });
  if (negative > 0)
    ShowLoadProblem(StringPrintf("'%s' file %d élének hossza negatív. Ezek az élek nem járhatók.",
                                 edgeFile_.c_str(), static_cast<int>(negative)));
}

void MOptPath::LoadLayers() {
  const std::int32_t count = ReadProfileInt(categoryName_, "NLAYER", 0, descriptionFile_);
  if (count <= 0) return;
  try {
    layers_.reserve(static_cast<std::size_t>(count));
  } catch (const std::bad_alloc&) {
    ShowNoMemory();
    return;
  }
  for (std::int32_t i = 1; i <= count; ++i)
    layers_.push_back(ReadKey(StringPrintf("%s%02d", "LAYER", i).c_str(), "", kLayerCapacity));
}

void MOptPath::LoadCostTable() {
  const std::int32_t count = ReadProfileInt(categoryName_, "NCOST", 0, descriptionFile_);
  if (count <= 0) return;
  try {
    costTable_.reserve(static_cast<std::size_t>(count));
  } catch (const std::bad_alloc&) {
    ShowNoMemory();
    return;
  }
  for (std::int32_t i = 1; i <= count; ++i)
    costTable_.push_back(
        ParseRoadType(ReadKey(StringPrintf("%s%02d", "COST", i).c_str(), "?,0,0,0,0", kCostCapacity)));
}

void MOptPath::LoadSettings() {
  // The criterion selects a weight; a value that selects none is read as distance.
  const std::int32_t c = ReadProfileInt(categoryName_, "DEFAULTCOSTTYPE", 0, descriptionFile_);
  criterion_ = IsValidCriterion(c) ? c : kCriterionDistance;

  const std::string start = ReadKey("DEFAULTSTARTNODE", "-1", kStartCapacity);
  std::int64_t node = -1;
  std::string name;
  const int read = ScanValues(start, "%lld,%[^~]", node, name);
  if (read >= 1)
    defaultStartNode_ = node >= -1 && node <= std::numeric_limits<std::int32_t>::max() ? static_cast<std::int32_t>(node)
                                                                                      : -1;
  if (read == 2) SetFixedText(defaultStartName_, name);
  batchSourceFile_ = ReadKey("BATCHSOURCEFILE", "", kFileNameCapacity);
  batchTargetFile_ = ReadKey("BATCHTARGETFILE", "", kFileNameCapacity);
}

void MOptPath::Save() const {
  // Writing to a description file that was not there would create a stray file that
  // holds nothing but these settings.
  if (!descriptionExisted_) return;
  const auto write = [this](const std::string& key, const std::string& value) {
    // A file that cannot be written keeps its old settings; nothing is shown.
    static_cast<void>(WriteProfileString(categoryName_, key, value, descriptionFile_));
  };
  write("DEFAULTCOSTTYPE", StringPrintf("%d", criterion_));
  for (std::int32_t i = 0; i < roadTypeCount(); ++i)
    write(StringPrintf("%s%02d", "COST", i + 1), FormatRoadType(costTable_[i]));
  write("DEFAULTSTARTNODE", StringPrintf("%ld,%s", static_cast<long>(defaultStartNode_),
                                         std::string(defaultStartName()).c_str()));
  write("BATCHSOURCEFILE", batchSourceFile_);
  write("BATCHTARGETFILE", batchTargetFile_);
}

void MOptPath::Bind(const SettlementNames& towns, const RoadData& roads) {
  if (bound_) return;
  bound_ = true;
  if (nodes_.valid() && towns.Count() > 0) {
    std::int32_t bad = 0;
    for (std::int32_t node = 0; node < nodeCount_; ++node)
      if (NodeRecord(node) >= towns.Count()) ++bad;
    if (bad > 0)
      ShowLoadProblem(StringPrintf(
          "'%s' file %d csomópontja nem létező településre hivatkozik. Ezeket a program útkereszteződésnek tekinti.",
          nodeFile_.c_str(), bad));
  }
  if (roads.records == nullptr) return;
  std::int32_t noRoad = 0;
  std::int32_t noType = 0;
  for (const EdgeEntry& e : edges_) {
    if (e.road < 0) continue;
    if (!roads.HasRecord(e.road)) {
      ++noRoad;
    } else if (hasCostTable()) {
      const std::int32_t layer = roads.Layer(e.road);
      if (layer < 1 || layer > roadTypeCount()) ++noType;
    }
  }
  if (noRoad > 0)
    ShowLoadProblem(StringPrintf("'%s' file %d éle nem létező útra hivatkozik. Ezek az élek nem járhatók.",
                                 edgeFile_.c_str(), noRoad));
  if (noType > 0)
    ShowLoadProblem(StringPrintf(
        "'%s' file %d éle olyan útra hivatkozik, amelynek típusa nincs a költségtáblában. Ezek az élek nem járhatók.",
        edgeFile_.c_str(), noType));
}

void MOptPath::ComputeEdgeWeights(const RoadData& roads) {
  // The weights depend only on the cost table and the road objects' layers: when
  // neither changed since the last computation, the weights stand.
  if (weightsValid_ && weightsRoads_ == roads.records && weightsRoadCount_ == roads.recordCount &&
      weightsCostTable_.size() == costTable_.size() &&
      std::memcmp(weightsCostTable_.data(), costTable_.data(), costTable_.size() * sizeof(RoadType)) == 0)
    return;

  // Computed in extended precision and stored as 32-bit floats. Per road type: whether
  // each weight is usable, and 1 / speed (the first operation of the time weight).
  struct TypeWeights {
    bool distance, time, cost;
    long double inverseSpeed;
  };
  std::vector<TypeWeights> types;
  types.reserve(costTable_.size());
  for (const RoadType& t : costTable_)
    types.push_back(TypeWeights{t.enabled != 0 && t.distanceFactor > 0, t.enabled != 0 && t.speed > 0,
                                t.enabled != 0 && t.unitCost > 0,
                                t.speed > 0 ? 1.0L / t.speed : 0.0L});
  const long double kPerKilometre = 0.001;
  for (EdgeEntry& e : edges_) {
    if (e.road < 0 || costTable_.empty()) {
      e.distanceWeight = e.timeWeight = e.costWeight = 0;
      continue;
    }
    // A road that does not exist, a type without cost entry, or a negative length
    // cannot be weighed: such an edge is never used.
    const std::int32_t type = roads.HasRecord(e.road) ? roads.Layer(e.road) - 1 : -1;
    if (type < 0 || type >= roadTypeCount() || e.length < 0) {
      e.distanceWeight = e.timeWeight = e.costWeight = kUnreached;
      continue;
    }
    const RoadType& t = costTable_[type];
    const TypeWeights& w = types[type];
    const long double length = e.length;
    e.distanceWeight = w.distance ? static_cast<float>(length * t.distanceFactor) : kUnreached;
    e.timeWeight = w.time ? static_cast<float>(w.inverseSpeed * length * kPerKilometre) : kUnreached;
    e.costWeight = w.cost ? static_cast<float>(length * t.unitCost * kPerKilometre) : kUnreached;
  }
  weightsValid_ = true;
  weightsRoads_ = roads.records;
  weightsRoadCount_ = roads.recordCount;
  weightsCostTable_ = costTable_;
}

std::int32_t MOptPath::FindNodeOfPoint(std::int32_t settlement) const {
  if (settlement < 0) return -1;
  for (std::int32_t node = 0; node < nodeCount_; ++node)
    if (NodeRecord(node) == settlement) return node;
  return -1;
}

MapRect MOptPath::GetRouteBounds(const RoadData& roads) const {
  MapRect bounds = MapRect::Empty();
  for (const RouteStep& step : route_) {
    if (step.edge < 0 || step.edge >= edgeCount()) continue;
    const std::int32_t road = edges_[step.edge].road;
    if (roads.Usable(road)) bounds = bounds.United(roads.Bounds(road));
  }
  return bounds;
}

void MOptPath::SetCriterion(int criterion) {
  criterion_ = IsValidCriterion(criterion) ? criterion : kCriterionDistance;
}

std::int32_t MOptPath::NodeRecord(std::int32_t node) const {
  if (node < 0 || node >= nodeCount_) return -1;
  return NodeRecord::Settlement(nodes_.data() + static_cast<std::size_t>(node) * NodeRecord::kSize);
}

std::int32_t MOptPath::SettlementOfNode(std::int32_t node, const SettlementNames& towns) const {
  const std::int32_t settlement = NodeRecord(node);
  return settlement >= 0 && settlement < towns.Count() ? settlement : -1;
}

int MOptPath::AppendLeg(const std::vector<RouteStep>& leg) {
  const RouteStep last = route_.empty() ? RouteStep{0, 0, -1, 0, 0, 0} : route_.back();
  try {
    route_.reserve(route_.size() + leg.size());
  } catch (const std::bad_alloc&) {
    return -1;
  }
  for (const RouteStep& s : leg)
    route_.push_back(RouteStep{s.from, s.to, s.edge, AddWeight(s.distance, last.distance),
                               AddWeight(s.time, last.time), AddWeight(s.cost, last.cost)});
  return 0;
}

void MOptPath::DeleteRoute() {
  std::vector<RouteStep>().swap(route_);
  itinerary_.reset();
}

bool MOptPath::AddRoutePoint(std::int32_t node, std::string_view name) {
  if (routePointCount() >= kMaxRoutePoints) return false;
  RoutePoint point;
  point.node = node;
  SetFixedText(point.name, name);
  routePoints_.push_back(point);
  return true;
}

bool MOptPath::IsRoutePointNode(std::int32_t node) const {
  return std::any_of(routePoints_.begin(), routePoints_.end(),
                     [node](const RoutePoint& p) { return p.node == node; });
}

void MOptPath::SetDefaultStart(std::int32_t node, std::string_view name) {
  defaultStartNode_ = node;
  SetFixedText(defaultStartName_, name);
}

void MOptPath::SetItinerary(std::unique_ptr<MultipleNodeFilter> itinerary) {
  itinerary_ = std::move(itinerary);
}

int MOptPath::GetItineraryEntry(std::int32_t index, ItineraryItem& item) const {
  item = ItineraryItem{};
  if (!itinerary_ || index < 0 || index >= itinerary_->count()) return 0;
  item.mark = itinerary_->Mark(index);
  item.name = std::string(itinerary_->Name(index));
  item.settlement = itinerary_->Settlement(index);
  item.distance = itinerary_->Distance(index);
  item.time = itinerary_->Time(index);
  item.cost = itinerary_->Cost(index);
  return itinerary_->Shown(index);
}

}  // namespace koltar
