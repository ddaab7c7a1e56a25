#pragma once
// RoadGraph: the fixed graph of a road network. Nodes (NODEFILE) stand for settlement
// objects or junctions; directed edges (EDGEFILE) run along road objects. The tables
// are read and checked once; what stays mutable is the three weights of each edge,
// which ComputeEdgeWeights makes from a cost table before a search. The edge records
// are read in place from the loaded edge file, so a map's road network takes no more
// memory than its files until its weights are made.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/files.h"
#include "route/road_data.h"
#include "route/route_records.h"

namespace koltar {

class CostTable;

class RoadGraph {
 public:
  // No nodes and no edges.
  RoadGraph() = default;
  // Loads the node and the edge file (model file names). Never fails: a file that
  // cannot be loaded leaves its table empty after LoadFileToMemory's message. An edge
  // table that is not sorted by from node is sorted stably; edges naming nodes outside
  // the node table are never followed; edges with a road object and a negative length
  // are impassable. Each of these is reported once (caption "KOLTAR32", exclamation
  // icon).
  RoadGraph(std::string nodeFile, std::string edgeFile);

  const std::string& nodeFile() const { return nodeFile_; }
  const std::string& edgeFile() const { return edgeFile_; }

  // Checks the graph against the two categories once they are loaded, reporting once
  // each: nodes whose settlement index is outside the settlement category (they count
  // as junctions), edges whose road object index is outside the road category and
  // edges whose road's layer has no entry in `costs` (both impassable). Later calls do
  // nothing.
  void Bind(const SettlementNames& towns, const RoadData& roads, const CostTable& costs);

  // Fills the three weights of every edge from `costs` and the road objects' layers.
  // Edges without road object, or all edges when there are no road types, weigh 0; a
  // disabled type, or a factor, speed or unit cost <= 0, weighs 1e38. Skipped when the
  // road types and the road data block are those of the last call (the road objects'
  // layers never change while a map is open); the criterion plays no part.
  void ComputeEdgeWeights(const CostTable& costs, const RoadData& roads);

  // Counts the computations of the weights that changed them (0 before the first), so
  // that a searcher can tell whether its copies of them still hold.
  std::uint64_t weightsVersion() const { return weightsVersion_; }

  // Node table, used in place.
  std::int32_t nodeCount() const { return nodeCount_; }
  // The NODEFILE record of a node; -1 for a node outside the table.
  std::int32_t NodeRecord(std::int32_t node) const;
  // The settlement object index a node stands for, or -1 for a junction, a node outside
  // the table, or an index outside the settlement category.
  std::int32_t SettlementOfNode(std::int32_t node, const SettlementNames& towns) const;
  // The first node (from node 0) that stands for the settlement object; -1 for a
  // negative index or when none does.
  std::int32_t FindNodeOfPoint(std::int32_t settlement) const;

  // Edge table, sorted by from node; precondition 0 <= index < edgeCount(). Its weights
  // are zero until the first ComputeEdgeWeights, and stay where they are from then on.
  std::int32_t edgeCount() const { return edgeCount_; }
  EdgeTable edgeTable() const {
    return EdgeTable{edgeRecords_, weights_.empty() ? nullptr : weights_.data(), edgeCount_};
  }
  EdgeEntry edge(std::int32_t index) const { return edgeTable().Entry(index); }
  // The edge a route step names, or nothing when its index is outside the table.
  std::optional<EdgeEntry> EdgeOfStep(const RouteStep& step) const;

 private:
  void LoadNodes();
  void LoadEdges();
  void CheckEdges();
  void SortEdges();

  std::string nodeFile_;
  MemoryBlock nodes_;
  std::int32_t nodeCount_ = 0;
  std::string edgeFile_;
  MemoryBlock edgeBlock_;
  std::vector<std::uint8_t> sortedEdges_;  // the records sorted, when the file's were not
  const std::uint8_t* edgeRecords_ = nullptr;
  std::int32_t edgeCount_ = 0;
  std::vector<EdgeWeights> weights_;  // made by the first ComputeEdgeWeights
  bool bound_ = false;
  // What the edge weights were last computed from.
  bool weightsValid_ = false;
  std::uint64_t weightsVersion_ = 0;
  const std::uint8_t* weightsRoads_ = nullptr;
  std::int32_t weightsRoadCount_ = 0;
  std::vector<RoadType> weightsTypes_;
};

}  // namespace koltar
