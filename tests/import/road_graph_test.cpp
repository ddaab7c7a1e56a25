#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tools/import/road_graph.h"

namespace koltar::import {
namespace {

// Ways whose projection is drawn 1000 m a step (0.001 degree), so that the
// tests can read positions; lengths still come from the ellipsoid.
std::vector<GeoPoint> Way(std::initializer_list<std::pair<int, int>> points) {
  std::vector<GeoPoint> out;
  for (auto [x, y] : points) out.push_back({x * 10000, y * 10000});  // 0.001 degree steps
  return out;
}
std::vector<PlanePoint> Plane(const std::vector<GeoPoint>& points) {
  std::vector<PlanePoint> out;
  for (const GeoPoint& g : points) out.push_back({g.lon7 / 10.0, g.lat7 / 10.0});
  return out;
}
void Add(RoadGraph& g, std::initializer_list<std::pair<int, int>> points, int rule = 0, int oneway = 0,
         std::string name = {}) {
  const auto way = Way(points);
  g.AddWay(way, Plane(way), rule, std::move(name), true, oneway);
}

TEST(RoadGraph, WaysSplitAtSharedVerticesOnly) {
  RoadGraph g;
  Add(g, {{0, 0}, {1, 0}, {2, 0}, {3, 0}});  // crossed at (2,0)
  Add(g, {{2, -1}, {2, 0}, {2, 1}});
  Add(g, {{5, 5}, {5, 5}});  // one position twice: no way
  g.Build();
  EXPECT_EQ(g.NodeCount(), 5);  // four ends and the crossing; (1,0) is no node
  ASSERT_EQ(g.EdgeCount(), 4);
  EXPECT_EQ(g.Edge(0).points.size(), 3u);  // (0,0) (1,0) (2,0)
  EXPECT_EQ(g.Edge(0).to, g.Edge(1).from);
  EXPECT_EQ(g.Edge(2).to, g.Edge(0).to);
  // 0.002 degrees of longitude on the equator are 222.6 m.
  EXPECT_NEAR(g.Edge(0).length, 222.64, 0.01);
}

TEST(RoadGraph, ALoopBackToItsStartIsOneEdgeFromAndToOneNode) {
  RoadGraph g;
  Add(g, {{0, 0}, {1, 0}, {1, 1}, {0, 0}}, 0, 1);
  g.Build();
  ASSERT_EQ(g.EdgeCount(), 1);
  EXPECT_EQ(g.Edge(0).from, g.Edge(0).to);
  EXPECT_EQ(g.NodeCount(), 1);
}

TEST(RoadGraph, TheCoreLeavesOutDeadEndOneWaysAndDisabledRoads) {
  RoadGraph g;
  Add(g, {{0, 0}, {1, 0}});        // two-way
  Add(g, {{1, 0}, {2, 0}}, 0, 1);  // one way into a dead end
  Add(g, {{0, 0}, {0, 1}}, 1);     // a footway (rule 1, disabled)
  Add(g, {{1, 0}, {1, 1}}, 0, 1);  // a one-way ring back to (0,0)
  Add(g, {{1, 1}, {0, 0}}, 0, 1);
  g.Build();
  g.FindReachableCore({true, false});
  int inCore = 0;
  for (int n = 0; n < g.NodeCount(); ++n) inCore += g.InCore(n) ? 1 : 0;
  EXPECT_EQ(inCore, 3);  // (0,0), (1,0), (1,1)
  // The nearest core node to the dead end is (1,0).
  const int bound = g.BindNearest({2000, 0});
  EXPECT_TRUE(g.InCore(bound));
  EXPECT_DOUBLE_EQ(g.NodePosition(bound).x, 1000);
}

TEST(RoadGraph, TwoPlacesAtOneSpotGetALinkInsteadOfADistantNode) {
  RoadGraph g;
  Add(g, {{0, 0}, {10, 0}});
  g.Build();
  g.FindReachableCore({true});
  const int first = g.BindNearest({0, 0});
  const int second = g.BindNearest({1, 1});  // (10,0) is free but 10 km away
  EXPECT_DOUBLE_EQ(g.NodePosition(first).x, 0);
  EXPECT_EQ(second, 2);
  ASSERT_EQ(g.links().size(), 1u);
  EXPECT_EQ(g.links()[0].to, first);
  EXPECT_NEAR(g.links()[0].length, std::sqrt(2.0), 1e-9);
  // A third place near the far end still gets that node.
  EXPECT_DOUBLE_EQ(g.NodePosition(g.BindNearest({9500, 0})).x, 10000);
}

TEST(RoadGraph, StopsSplitAnEdgeIntoEqualPiecesOnTheCoreOnly) {
  RoadGraph g;
  Add(g, {{0, 0}, {3, 0}, {3, 3}}, 0, 0, "A");
  Add(g, {{3, 3}, {4, 3}}, 1, 0, "Path");
  g.Build();
  g.FindReachableCore({true, false});
  const double length = g.Edge(0).length;
  const std::vector<int> stops = g.SplitForStops(0, 2);
  ASSERT_EQ(stops.size(), 2u);
  EXPECT_DOUBLE_EQ(g.NodePosition(stops[0]).x, 2000);  // a third of 6000 m
  EXPECT_DOUBLE_EQ(g.NodePosition(stops[1]).x, 3000);
  EXPECT_DOUBLE_EQ(g.NodePosition(stops[1]).y, 1000);
  ASSERT_EQ(g.EdgeCount(), 4);
  EXPECT_EQ(g.Edge(0).to, stops[0]);
  EXPECT_EQ(g.Edge(2).from, stops[0]);
  EXPECT_EQ(g.Edge(3).from, stops[1]);
  EXPECT_NEAR(g.Edge(0).length + g.Edge(2).length + g.Edge(3).length, length, 1e-6);
  EXPECT_EQ(g.Edge(3).name, "A");
  // The disabled path is not split; its stops are bound elsewhere.
  EXPECT_TRUE(g.SplitForStops(1, 1).empty());
  // Stops are bound: the nearest free node to the first stop is another one.
  EXPECT_NE(g.BindNearest(g.NodePosition(stops[0])), stops[0]);
}

TEST(RoadGraph, RenumberPutsBoundNodesFirstInRecordOrder) {
  RoadGraph g;
  Add(g, {{0, 0}, {1, 0}, {2, 0}});
  Add(g, {{1, 0}, {1, 1}});
  g.Build();  // nodes: (0,0)=0, (1,0)=1, (2,0)=2, (1,1)=3
  std::vector<std::int32_t> records;
  const std::vector<int> index = g.Renumber({{3, 5}, {0, 2}}, records);
  EXPECT_EQ(records, (std::vector<std::int32_t>{2, 5, -1, -1}));
  EXPECT_EQ(index, (std::vector<int>{0, 2, 3, 1}));
}

}  // namespace
}  // namespace koltar::import
