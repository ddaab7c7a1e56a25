#pragma once
// An illustrative road network for settlements that have no road data: plausible roads
// (a planar neighbourhood graph of the settlements, thinned, kept inside a border) with
// a hierarchy of motorways from the capital to the largest towns, main roads between
// large towns and minor roads between neighbours. Deterministic: the same settlements
// give the same roads. The roads are not real and are named as illustrative.

#include <string>
#include <string_view>
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

// A numbered road through named settlements, in the order it passes them.
struct Corridor {
  std::string name;                // UTF-8, "M1" or "1. sz. főút"
  std::string highway;             // motorway or primary
  std::vector<std::string> towns;  // settlement names, UTF-8
};

// Corridors from text, one a line: "NAME | motorway|primary | TOWN, TOWN, ..." ('#' starts
// a comment, blanks around fields are ignored); false with `error` naming the first bad
// line.
[[nodiscard]] bool ParseCorridors(std::string_view text, std::vector<Corridor>& out, std::string& error);

// Roads between the settlements, kept inside `border` (outer rings and holes) where the
// border is given; every settlement is joined to every other. Without corridors the
// motorways run from the largest place to the next largest far from it and main roads
// join the large towns. With corridors, each primary corridor raises the roads between
// its consecutive towns to a main road of its name, each motorway corridor is a road of
// its own from town to town (meeting the others only there), and the other links
// between towns are secondary roads. Names of a corridor that match no settlement are
// put in `unknown` (a name shared by several settlements means the most populous).
std::vector<GeneratedRoad> GenerateRoads(const std::vector<GeneratorSettlement>& settlements,
                                         const std::vector<Ring>& border,
                                         const std::vector<Corridor>& corridors = {},
                                         std::vector<std::string>* unknown = nullptr);

// The roads as a GeoJSON FeatureCollection of LineStrings with highway and name.
std::string RoadsToGeoJson(const std::vector<GeneratedRoad>& roads);

}  // namespace koltar::import
