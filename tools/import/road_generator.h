#pragma once
// An illustrative road network for settlements that have no road data: plausible roads
// (a planar neighbourhood graph of the settlements, thinned, kept inside a border) with
// a hierarchy of motorways from the capital to the largest towns, main roads between
// large towns and minor roads between neighbours. Deterministic: the same settlements
// give the same roads. The roads are not real and are named as illustrative.

#include <string>
#include <vector>

#include "tools/import/features.h"

namespace koltar::import {

struct GeneratorSettlement {
  GeoPoint at;
  std::string name;  // UTF-8
  double population = 0;
};

struct GeneratedRoad {
  std::vector<GeoPoint> points;  // starts and ends exactly at settlements
  std::string highway;           // motorway, primary, secondary, tertiary, unclassified
  std::string name;              // UTF-8, for example "4. sz. főút"
  int from = -1, to = -1;        // settlement indices
};

// Roads between the settlements, kept inside `border` (outer rings and holes) where the
// border is given; every settlement is joined to every other.
std::vector<GeneratedRoad> GenerateRoads(const std::vector<GeneratorSettlement>& settlements,
                                         const std::vector<Ring>& border);

// The roads as a GeoJSON FeatureCollection of LineStrings with highway and name.
std::string RoadsToGeoJson(const std::vector<GeneratedRoad>& roads);

}  // namespace koltar::import
