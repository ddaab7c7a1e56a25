#pragma once
// MOptPath: the road network of a map (category type OPTPATH). It holds the graph
// (nodes standing for settlement objects or junctions, directed edges along road
// objects), the road types with their speed and unit cost, the layer names, the
// current criterion, the default start place, the batch file names, the route points
// of the last request, and the last route with its itinerary. The settings the user
// changes are written back to the category's section when the object is destroyed.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/geometry.h"
#include "platform/files.h"
#include "route/road_data.h"
#include "route/route_records.h"

namespace koltar {

class MultipleNodeFilter;

// One itinerary entry as readers get it.
struct ItineraryItem {
  char mark = kNoMark;
  std::string name;
  std::int32_t settlement = -1;
  float distance = 0;
  float time = 0;
  float cost = 0;
};

class MOptPath {
 public:
  // Reads the category's section of ResolveFileName(mapDirectory, mapFileName) and
  // loads NODEFILE and EDGEFILE. Never fails: problems are shown (caption "KOLTAR32",
  // exclamation icon) and leave the table concerned empty. An edge table that is not
  // sorted by from node is sorted stably; edges naming nodes outside the node table
  // are never followed; edges with a road object and a negative length are
  // impassable. Each of these is reported once.
  MOptPath(std::string_view categoryName, std::string_view mapDirectory,
           std::string_view mapFileName);
  // Writes DEFAULTCOSTTYPE, COSTnn, DEFAULTSTARTNODE, BATCHSOURCEFILE and
  // BATCHTARGETFILE back (not when the description file was missing at load).
  ~MOptPath();
  MOptPath(const MOptPath&) = delete;
  MOptPath& operator=(const MOptPath&) = delete;

  // Checks the graph against the two categories once they are loaded, reporting once
  // each: nodes whose settlement index is outside the settlement category (they count
  // as junctions), edges whose road object index is outside the road category and
  // edges whose road's layer has no entry in the cost table (both impassable).
  void Bind(const SettlementNames& towns, const RoadData& roads);

  // Fills the three weights of every edge from the cost table and the road objects'
  // layers. Edges without road object, or all edges when there is no cost table,
  // weigh 0; a disabled type, or a factor, speed or unit cost <= 0, weighs 1e38.
  // Skipped when the cost table and the road data block are those of the last call
  // (the road objects' layers never change while a map is open).
  void ComputeEdgeWeights(const RoadData& roads);

  // The first node (from node 0) that stands for the settlement object; -1 for a
  // negative index or when none does.
  std::int32_t FindNodeOfPoint(std::int32_t settlement) const;

  // Union of the bounding rectangles of the road objects of the route's steps (roads
  // the road category refused as damaged left out); the empty rectangle without route.
  MapRect GetRouteBounds(const RoadData& roads) const;

  const std::string& categoryName() const { return categoryName_; }
  const std::string& descriptionFile() const { return descriptionFile_; }
  const std::string& nodeFile() const { return nodeFile_; }
  const std::string& edgeFile() const { return edgeFile_; }

  // 0 distance, 1 time, 2 cost.
  int criterion() const { return criterion_; }
  void SetCriterion(int criterion);

  // Cost table: road type k (from 1) is entry k - 1.
  bool hasCostTable() const { return !costTable_.empty(); }
  std::int32_t roadTypeCount() const { return static_cast<std::int32_t>(costTable_.size()); }
  RoadType& roadType(std::int32_t index) { return costTable_[index]; }
  const RoadType& roadType(std::int32_t index) const { return costTable_[index]; }

  // Layer names; the first one draws the route.
  std::int32_t layerCount() const { return static_cast<std::int32_t>(layers_.size()); }
  const std::string& layerName(std::int32_t index) const { return layers_[index]; }

  // Node table, used in place: the NODEFILE record of a node.
  std::int32_t nodeCount() const { return nodeCount_; }
  std::int32_t NodeRecord(std::int32_t node) const;
  // The settlement object index a node stands for, or -1 for a junction, a node outside
  // the table, or an index outside the settlement category.
  std::int32_t SettlementOfNode(std::int32_t node, const SettlementNames& towns) const;

  // Edge table, sorted by from node.
  std::int32_t edgeCount() const { return static_cast<std::int32_t>(edges_.size()); }
  const EdgeEntry* edges() const { return edges_.data(); }
  const EdgeEntry& edge(std::int32_t index) const { return edges_[index]; }

  // The route: steps in travel order with running totals.
  std::int32_t routeStepCount() const { return static_cast<std::int32_t>(route_.size()); }
  const std::vector<RouteStep>& route() const { return route_; }
  // Replaces the route by a leg's steps.
  void SetRoute(std::vector<RouteStep> steps) { route_ = std::move(steps); }
  // Appends a leg, adding the route's last running totals to the leg's. Returns 0, or
  // -1 (route unchanged) when the route cannot be enlarged.
  [[nodiscard]] int AppendLeg(const std::vector<RouteStep>& leg);
  // Frees the route and destroys the itinerary.
  void DeleteRoute();

  // Route points of the last request (at most kMaxRoutePoints).
  std::int32_t routePointCount() const { return static_cast<std::int32_t>(routePoints_.size()); }
  const RoutePoint& routePoint(std::int32_t index) const { return routePoints_[index]; }
  void ClearRoutePoints() { routePoints_.clear(); }
  // False, adding nothing, when there are kMaxRoutePoints already.
  [[nodiscard]] bool AddRoutePoint(std::int32_t node, std::string_view name);
  bool IsRoutePointNode(std::int32_t node) const;

  // Default start place: node -1 for none; the name holds at most 31 characters.
  std::int32_t defaultStartNode() const { return defaultStartNode_; }
  std::string_view defaultStartName() const { return FixedText(defaultStartName_); }
  void SetDefaultStart(std::int32_t node, std::string_view name);

  const std::string& batchSourceFile() const { return batchSourceFile_; }
  const std::string& batchTargetFile() const { return batchTargetFile_; }
  void SetBatchSourceFile(std::string_view name) { batchSourceFile_ = std::string(name); }
  void SetBatchTargetFile(std::string_view name) { batchTargetFile_ = std::string(name); }

  // Itinerary of the last route, or null.
  const MultipleNodeFilter* itinerary() const { return itinerary_.get(); }
  void SetItinerary(std::unique_ptr<MultipleNodeFilter> itinerary);
  // The entry at `index`; returns its shown flag, or 0 when there is no itinerary or
  // no such entry (then `item` gets a blank mark, an empty name, index -1 and zeros).
  int GetItineraryEntry(std::int32_t index, ItineraryItem& item) const;

 private:
  void LoadNodes();
  void LoadEdges();
  void CheckEdges();
  void LoadLayers();
  void LoadCostTable();
  void LoadSettings();
  void Save() const;
  std::string ReadKey(const char* key, std::string_view defaultText, int capacity) const;

  std::string categoryName_;
  int criterion_ = kCriterionDistance;
  std::vector<RoadType> costTable_;
  std::string descriptionFile_;
  bool descriptionExisted_ = false;
  std::vector<RouteStep> route_;
  std::string nodeFile_;
  MemoryBlock nodes_;
  std::int32_t nodeCount_ = 0;
  std::string edgeFile_;
  std::vector<EdgeEntry> edges_;
  std::vector<std::string> layers_;
  std::vector<RoutePoint> routePoints_;
  std::int32_t defaultStartNode_ = -1;
  char defaultStartName_[kShortTextSize] = {};
  std::string batchSourceFile_;
  std::string batchTargetFile_;
  std::unique_ptr<MultipleNodeFilter> itinerary_;
  bool bound_ = false;
  // What the edge weights were last computed from.
  bool weightsValid_ = false;
  const std::uint8_t* weightsRoads_ = nullptr;
  std::int32_t weightsRoadCount_ = 0;
  std::vector<RoadType> weightsCostTable_;
};

// Parses a COSTnn value as "%[^,]%*c%d,%f,%f,%f" would: name (cut to 31 characters),
// one separator, enabled flag, distance factor, speed, unit cost. Fields after the
// first that does not parse are 0 (the name empty). Independent of the C locale.
RoadType ParseRoadType(std::string_view value);
// The COSTnn value written back: "%s,%d,%.2f,%.2f,%.2f", with a decimal point whatever
// the C locale.
std::string FormatRoadType(const RoadType& type);

}  // namespace koltar
