#pragma once
// The road graph of an imported map: ways split into edges at shared vertices, the part
// of the graph in which every node reaches every other over enabled road types, and the
// binding of settlements and street segments to nodes of their own.

#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "tools/import/geo.h"

namespace koltar::import {

class RoadGraph {
 public:
  struct GraphEdge {
    int from = -1;
    int to = -1;
    std::vector<PlanePoint> points;  // projected, metres
    double length = 0;               // metres on the ellipsoid
    int rule = 0;                    // road type, counted from 0
    std::string name;                // code page 1250
    bool street = false;             // the name is a street's, not a road number
    int oneway = 0;                  // 1 forward only, -1 backward only, 0 both
  };

  // Adds a way: its positions (to find shared vertices and lengths) and their
  // projections. Repeated consecutive positions are dropped; a way of fewer than two
  // positions is ignored.
  void AddWay(const std::vector<GeoPoint>& points, const std::vector<PlanePoint>& plane, int rule,
              std::string name, bool street, int oneway);
  // Splits the ways into edges: a vertex that ends a way or that two ways (or one way
  // twice) share becomes a node. Very long edges are split so that their lines fit a
  // record.
  void Build();
  // Marks the core: the largest set of nodes that all reach one another over edges
  // whose road type is enabled (all edges when none is).
  void FindReachableCore(const std::vector<bool>& enabledRule);
  // The nearest core node to p that nothing is bound to yet, now bound. When the
  // nearest core node is taken and the nearest free one lies much farther (two places
  // at one spot), a new node at p is joined to the nearest core node by a link in both
  // directions that follows no road. -1 when the core is empty.
  int BindNearest(const PlanePoint& p);
  // Links made by BindNearest: (new node, core node, metres).
  struct Link {
    int node;
    int to;
    double length;
  };
  const std::vector<Link>& links() const { return links_; }
  // Splits edge e into k + 1 pieces of equal length at k new nodes, bound, and returns
  // them in order along the edge; empty (and nothing split) when the edge does not lie
  // in the core or its road type is disabled.
  std::vector<int> SplitForStops(int e, int k);
  // Room for `pieces` more edges and nodes, so that the splits that follow grow the
  // tables once instead of doubling them (which holds the old and the new table at once).
  void ReserveForStops(std::size_t pieces);
  // New node indices: the bound nodes first, in the order of their records, then the
  // others in their order; `nodeRecord` receives the record of each new index (-1 for a
  // junction). `bindings` holds (node, record) pairs.
  std::vector<int> Renumber(const std::vector<std::pair<int, int>>& bindings,
                            std::vector<std::int32_t>& nodeRecord) const;

  int EdgeCount() const { return static_cast<int>(edges_.size()); }
  int NodeCount() const { return static_cast<int>(nodes_.size()); }
  const GraphEdge& Edge(int e) const { return edges_[static_cast<std::size_t>(e)]; }
  PlanePoint NodePosition(int n) const { return nodes_[static_cast<std::size_t>(n)]; }
  bool InCore(int n) const { return core_[static_cast<std::size_t>(n)] != 0; }
  // The point halfway along the edge.
  PlanePoint Midpoint(int e) const;
  // The segment of the edge's line that holds its midpoint.
  void MiddleSegment(int e, PlanePoint& a, PlanePoint& b) const;

 private:
  struct Way {
    std::vector<GeoPoint> points;
    std::vector<PlanePoint> plane;
    int rule;
    std::string name;
    bool street;
    int oneway;
  };
  int NodeAt(const GeoPoint& g, const PlanePoint& p);
  int Nearest(const PlanePoint& p, bool onlyFree, double& distance) const;
  std::vector<Link> links_;
  void IndexNode(int n);

  std::vector<Way> ways_;
  std::vector<GraphEdge> edges_;
  std::vector<PlanePoint> nodes_;
  std::vector<char> core_;
  std::vector<char> bound_;
  std::vector<bool> enabledRule_;
  std::unordered_map<std::uint64_t, int> nodeAt_;
  // Grid of free core nodes for the nearest-node search.
  double cell_ = 1000;
  std::unordered_map<std::uint64_t, std::vector<int>> grid_;
  int gridMinX_ = 0, gridMaxX_ = 0, gridMinY_ = 0, gridMaxY_ = 0;
};

}  // namespace koltar::import
