#pragma once
// CostTable: the cost model of a road network. It holds the road types (keys COSTnn),
// each with its enabled flag, distance factor, speed and unit cost, and the criterion
// that routes minimise (key DEFAULTCOSTTYPE). It is a plain value: the cost dialog
// copies it, edits speeds and unit costs and assigns the copy back; the route request
// dialog switches the enabled flags and the criterion on a copy and takes them over on
// OK. The edge weights made from it belong to the graph (RoadGraph::ComputeEdgeWeights).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "route/route_records.h"

namespace koltar {

class CostTable {
 public:
  // No road types; the criterion is distance.
  CostTable() = default;
  // Road type k (from 1) is types[k - 1]; a criterion that selects no weight is read as
  // distance.
  explicit CostTable(std::vector<RoadType> types, int criterion = kCriterionDistance);

  // 0 distance, 1 time, 2 cost.
  int criterion() const { return criterion_; }
  // A value that selects no weight sets distance.
  void SetCriterion(int criterion);

  // Road type k (from 1) is entry k - 1; precondition 0 <= index < roadTypeCount().
  bool hasRoadTypes() const { return !types_.empty(); }
  std::int32_t roadTypeCount() const { return static_cast<std::int32_t>(types_.size()); }
  RoadType& roadType(std::int32_t index) { return types_[static_cast<std::size_t>(index)]; }
  const RoadType& roadType(std::int32_t index) const { return types_[static_cast<std::size_t>(index)]; }
  const std::vector<RoadType>& roadTypes() const { return types_; }

  // Takes the enabled flag of every road type from `edited` (a copy of this table whose
  // flags were switched) and leaves the other fields as they stand, so that speeds and
  // unit costs changed meanwhile stay. Types that `edited` lacks keep their flag.
  void TakeEnabledFlags(const CostTable& edited);

 private:
  std::vector<RoadType> types_;
  int criterion_ = kCriterionDistance;
};

// Parses a COSTnn value as "%[^,]%*c%d,%f,%f,%f" would: name (cut to 31 characters),
// one separator, enabled flag, distance factor, speed, unit cost. Fields after the
// first that does not parse are 0 (the name empty). Independent of the C locale.
RoadType ParseRoadType(std::string_view value);
// The COSTnn value written back: "%s,%d,%.2f,%.2f,%.2f", with a decimal point whatever
// the C locale.
std::string FormatRoadType(const RoadType& type);

}  // namespace koltar
