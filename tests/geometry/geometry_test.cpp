#include <gtest/gtest.h>

#include <vector>

#include "geometry/geometry.h"

namespace koltar {
namespace {

TEST(MapRect, UnionStartsFromTheEmptyRectangle) {
  const MapRect empty = MapRect::Empty();
  EXPECT_EQ(empty, MapRect::Of(2147483647, -2147483647, -2147483647, 2147483647));
  EXPECT_TRUE(empty.IsEmpty());
  EXPECT_EQ(empty.United(MapRect::Of(10, 50, 40, 20)), MapRect::Of(10, 50, 40, 20));
  EXPECT_EQ(MapRect::Of(10, 50, 40, 20).United(MapRect::Of(-5, 30, 20, -10)), MapRect::Of(-5, 50, 40, -10));
}

TEST(MapRect, IntersectionAndTouchingRectangles) {
  const MapRect a = MapRect::Of(0, 10, 10, 0);
  EXPECT_EQ(a.Intersected(MapRect::Of(5, 20, 20, 5)), MapRect::Of(5, 10, 10, 5));
  EXPECT_TRUE(a.Intersects(MapRect::Of(10, 5, 20, 0)));    // touches on the right edge
  EXPECT_TRUE(a.Intersects(MapRect::Of(10, 20, 20, 10)));  // touches at a corner
  EXPECT_FALSE(a.Intersects(MapRect::Of(11, 5, 20, 0)));
  EXPECT_FALSE(a.Intersects(MapRect::Empty()));
}

TEST(MapRect, ContainsIsInclusiveOnAllEdges) {
  const MapRect a = MapRect::Of(0, 10, 10, 0);
  for (MapPoint p : {MapPoint{0, 0}, MapPoint{10, 10}, MapPoint{0, 10}, MapPoint{5, 5}})
    EXPECT_TRUE(a.Contains(p)) << p.x << "," << p.y;
  for (MapPoint p : {MapPoint{-1, 5}, MapPoint{11, 5}, MapPoint{5, 11}, MapPoint{5, -1}})
    EXPECT_FALSE(a.Contains(p)) << p.x << "," << p.y;
}

TEST(MapRect, OffsetAndInflateSaturate) {
  MapRect a = MapRect::Of(0, 10, 10, 0);
  a.Offset(5, -5);
  EXPECT_EQ(a, MapRect::Of(5, 5, 15, -5));
  EXPECT_EQ(a.Inflated(2, 3), MapRect::Of(3, 8, 17, -8));
  MapRect big = MapRect::Of(2147483000, 2147483000, 2147483600, 0);
  big.Offset(1000, 1000);
  EXPECT_EQ(big, MapRect::Of(2147483647, 2147483647, 2147483647, 1000));
}

// The square (0,0)-(10,10) as a closed ring.
const std::vector<MapPoint> kSquare = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};

bool InSquare(MapPoint p) { return PointInPolygon(kSquare.data(), 5, p); }

TEST(PointInPolygon, SquareInteriorAndExterior) {
  EXPECT_TRUE(InSquare({5, 5}));
  EXPECT_TRUE(InSquare({1, 9}));
  EXPECT_FALSE(InSquare({15, 5}));
  EXPECT_FALSE(InSquare({5, 15}));
  EXPECT_FALSE(InSquare({5, -1}));
  EXPECT_FALSE(InSquare({-5, 5}));
}

TEST(PointInPolygon, SquareBoundaryPointsFallAsTheRayCounts) {
  // Top edge: the ray upward meets only that edge: inside. Bottom edge: the point lies
  // on the bottom edge, which counts, and the ray meets the top edge too: outside.
  EXPECT_TRUE(InSquare({5, 10}));
  EXPECT_FALSE(InSquare({5, 0}));
  // Left edge: the ray runs up the edge to vertex (0,10); the edge's direction (sign 0)
  // differs from that of the vertex's other neighbour (10,10): one crossing, inside.
  EXPECT_TRUE(InSquare({0, 5}));
  // Right edge: likewise at vertex (10,10) with its neighbours (10,0) and (0,10).
  EXPECT_TRUE(InSquare({10, 5}));
}

TEST(PointInPolygon, ClockwiseSquareEdgesAndCorners) {
  // The same square traced the other way round: top and side edges and the top corners
  // are inside, the bottom edge and its corners outside.
  const std::vector<MapPoint> ring = {{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}};
  for (MapPoint p :
       {MapPoint{5, 5}, MapPoint{5, 10}, MapPoint{0, 5}, MapPoint{10, 5}, MapPoint{0, 10}, MapPoint{10, 10}})
    EXPECT_TRUE(PointInPolygon(ring.data(), 5, p)) << p.x << "," << p.y;
  for (MapPoint p :
       {MapPoint{5, 0}, MapPoint{0, 0}, MapPoint{10, 0}, MapPoint{5, 11}, MapPoint{-1, 5}, MapPoint{5, -1}})
    EXPECT_FALSE(PointInPolygon(ring.data(), 5, p)) << p.x << "," << p.y;
}

TEST(PointInPolygon, RayThroughAVertex) {
  // A diamond: the ray from (5, 0) upward passes through the top vertex (5, 10).
  const std::vector<MapPoint> diamond = {{5, -10}, {15, 0}, {5, 10}, {-5, 0}, {5, -10}};
  // Neighbours of (5,10) lie on opposite sides: one crossing, so (5,0) is inside.
  EXPECT_TRUE(PointInPolygon(diamond.data(), 5, {5, 0}));
  // Below the diamond the ray passes through both the bottom and the top vertex.
  EXPECT_FALSE(PointInPolygon(diamond.data(), 5, {5, -20}));

  // A spike: vertex (5,10) whose two neighbours both lie to its right.
  const std::vector<MapPoint> spike = {{5, 10}, {20, 20}, {20, 0}, {5, 10}};
  EXPECT_FALSE(PointInPolygon(spike.data(), 4, {5, 0}));
  EXPECT_TRUE(PointInPolygon(spike.data(), 4, {15, 10}));
}

TEST(PointInPolygon, DegenerateRings) {
  const MapPoint one[] = {{0, 0}};
  EXPECT_FALSE(PointInPolygon(one, 1, {0, 0}));
  EXPECT_FALSE(PointInPolygon(one, 0, {0, 0}));
  // Coordinates at the ends of the range do not overflow.
  const std::vector<MapPoint> huge = {{-2147483647, -2147483647},
                                      {2147483647, -2147483647},
                                      {2147483647, 2147483647},
                                      {-2147483647, 2147483647},
                                      {-2147483647, -2147483647}};
  EXPECT_TRUE(PointInPolygon(huge.data(), 5, {0, 0}));
}

}  // namespace
}  // namespace koltar
