#pragma once
// MOptPath: the road network of a map (category type OPTPATH). It reads the category's
// section and owns three parts: the graph (RoadGraph: nodes and edges, fixed once
// loaded, with the edge weights), the cost table (CostTable: road types and criterion)
// and the route state (RouteState: the request and the last route with its itinerary).
// It also holds the layer names and the batch file names. The settings the user
// changes are written back to the category's section when the object is destroyed.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/geometry.h"
#include "route/cost_table.h"
#include "route/road_data.h"
#include "route/road_graph.h"
#include "route/route_state.h"

namespace koltar {

class MOptPath {
 public:
  // Reads the category's section of ResolveFileName(mapDirectory, mapFileName) and
  // loads NODEFILE and EDGEFILE (see RoadGraph). Never fails: problems are shown
  // (caption "KOLTAR32", exclamation icon) and leave the table concerned empty.
  MOptPath(std::string_view categoryName, std::string_view mapDirectory, std::string_view mapFileName);
  // Writes DEFAULTCOSTTYPE, COSTnn, DEFAULTSTARTNODE, BATCHSOURCEFILE and
  // BATCHTARGETFILE back (not when the description file was missing at load).
  ~MOptPath();
  MOptPath(const MOptPath&) = delete;
  MOptPath& operator=(const MOptPath&) = delete;

  // Checks the graph against the two categories and the cost table once the categories
  // are loaded (RoadGraph::Bind).
  void Bind(const SettlementNames& towns, const RoadData& roads);
  // The graph's edge weights from the cost table (RoadGraph::ComputeEdgeWeights).
  void ComputeEdgeWeights(const RoadData& roads);
  // Union of the bounding rectangles of the road objects of the route's steps (roads
  // the road category refused as damaged left out); the empty rectangle without route.
  MapRect GetRouteBounds(const RoadData& roads) const;

  const std::string& categoryName() const { return categoryName_; }
  const std::string& descriptionFile() const { return descriptionFile_; }

  // The graph, read once; its weights change only through ComputeEdgeWeights.
  const RoadGraph& graph() const { return graph_; }
  // The cost table the next search weighs with; the cost dialog assigns its edited copy.
  CostTable& costTable() { return costs_; }
  const CostTable& costTable() const { return costs_; }
  // The request and the last route.
  RouteState& routeState() { return state_; }
  const RouteState& routeState() const { return state_; }

  // Layer names; the first one draws the route.
  std::int32_t layerCount() const { return static_cast<std::int32_t>(layers_.size()); }
  const std::string& layerName(std::int32_t index) const { return layers_[static_cast<std::size_t>(index)]; }

  // The files batch planning last used (model file names).
  const std::string& batchSourceFile() const { return batchSourceFile_; }
  const std::string& batchTargetFile() const { return batchTargetFile_; }
  void SetBatchSourceFile(std::string_view name) { batchSourceFile_ = std::string(name); }
  void SetBatchTargetFile(std::string_view name) { batchTargetFile_ = std::string(name); }

 private:
  void LoadLayers();
  void LoadCostTable();
  void LoadSettings();
  void Save() const;
  std::string ReadKey(const char* key, std::string_view defaultText, int capacity) const;
  [[nodiscard]] bool CountFits(const char* key, std::int32_t count) const;

  std::string categoryName_;
  std::string descriptionFile_;
  bool descriptionExisted_ = false;
  RoadGraph graph_;
  CostTable costs_;
  RouteState state_;
  std::vector<std::string> layers_;
  std::string batchSourceFile_;
  std::string batchTargetFile_;
};

}  // namespace koltar
