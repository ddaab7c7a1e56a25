#include <gtest/gtest.h>

#include <vector>

#include "categories/area.h"

namespace koltar {
namespace {

TEST(Region, BoundaryPointsOfTheSquare) {
  const std::vector<MapPoint> square{{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}};
  const LCRegion region(square.data(), static_cast<std::int32_t>(square.size()));
  // Points on the top and side edges are inside, those on the bottom edge outside.
  for (MapPoint p : std::vector<MapPoint>{{5, 5}, {5, 10}, {0, 5}, {10, 5}, {0, 10}, {10, 10}})
    EXPECT_TRUE(region.Contains(p)) << p.x << "," << p.y;
  for (MapPoint p : std::vector<MapPoint>{{5, 0}, {0, 0}, {10, 0}, {5, 11}, {-1, 5}, {5, -1}})
    EXPECT_FALSE(region.Contains(p)) << p.x << "," << p.y;
}

TEST(Region, TheCopyOutlivesTheVertices) {
  std::vector<MapPoint> triangle{{0, 0}, {10, 20}, {20, 0}, {0, 0}};
  const LCRegion region(triangle.data(), 4);
  triangle.assign(4, MapPoint{});
  EXPECT_TRUE(region.Contains({10, 5}));
}

TEST(Region, EmptyAndDegenerateRegionsHoldNothing) {
  EXPECT_FALSE(LCRegion(nullptr, 0).Contains({0, 0}));
  const MapPoint one{3, 3};
  EXPECT_FALSE(LCRegion(&one, 1).Contains({3, 3}));
  // A ring that is not closed misses its closing edge, here the top one.
  const std::vector<MapPoint> open{{0, 10}, {0, 0}, {10, 0}, {10, 10}};
  EXPECT_FALSE(LCRegion(open.data(), 4).Contains({5, 5}));
}

}  // namespace
}  // namespace koltar
