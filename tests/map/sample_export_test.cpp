// The route's export in geographic coordinates on the Hungary sample, against the
// settlements' coordinates as GeoNames gives them, and the projection's inverse over
// the sample's whole extent.
//
// The sample lives in data/samples/hungary (KOLTAR_SAMPLES_DIR overrides the folder of
// the samples); the test is skipped where it is absent.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "map/mmap.h"
#include "map/route_export.h"
#include "tests/map/route_maps.h"
#include "tests/support/test_env.h"

namespace koltar {
namespace {

std::filesystem::path SampleFolder() {
  if (const char* dir = std::getenv("KOLTAR_SAMPLES_DIR")) return std::filesystem::path(dir) / "hungary";
  return std::filesystem::path(KOLTAR_SOURCE_DIR) / "data" / "samples" / "hungary";
}

// Metres between two positions on a sphere of the Earth's mean radius.
double GroundDistance(const GeoPosition& a, const GeoPosition& b) {
  constexpr double kRadius = 6371008.8;
  constexpr double kDegree = 3.14159265358979323846 / 180;
  const double dLat = (b.latitude - a.latitude) * kDegree;
  const double dLon = (b.longitude - a.longitude) * kDegree;
  const double h = std::sin(dLat / 2) * std::sin(dLat / 2) + std::cos(a.latitude * kDegree) *
                                                                 std::cos(b.latitude * kDegree) *
                                                                 std::sin(dLon / 2) * std::sin(dLon / 2);
  return 2 * kRadius * std::asin(std::sqrt(h));
}

class HungarySample : public test::ServicesTest {
 protected:
  void SetUp() override {
    const std::filesystem::path sample = SampleFolder();
    if (!std::filesystem::exists(sample / "hungary.map")) GTEST_SKIP() << "no sample at " << sample;
    // A copy, so that closing the map writes its settings back there.
    std::filesystem::copy(sample, dir.path(), std::filesystem::copy_options::recursive);
    map = std::make_unique<MMap>(dir.Model("hungary.map"));
  }
  test::TempDir dir;
  std::unique_ptr<MMap> map;
};

TEST_F(HungarySample, RouteEndsLieAtTheSettlementsKnownPlaces) {
  ASSERT_TRUE(test::PlanThrough(*map, {"Budapest", "Szeged"}));
  const std::optional<GeoRoute> route = GeoRouteOf(*map);
  ASSERT_TRUE(route);
  ASSERT_GE(route->track.size(), 10u);
  // GeoNames: Budapest 47.49835 N 19.04045 E, Szeged 46.253 N 20.14824 E.
  const GeoPosition budapest{19.04045, 47.49835};
  const GeoPosition szeged{20.14824, 46.253};
  EXPECT_LT(GroundDistance(route->track.front(), budapest), 100.0);
  EXPECT_LT(GroundDistance(route->track.back(), szeged), 100.0);
  ASSERT_EQ(route->entries.size(), 8u);
  EXPECT_LT(GroundDistance(route->entries.front().at, budapest), 100.0);
  EXPECT_LT(GroundDistance(route->entries.back().at, szeged), 100.0);
  // Each step of the track is short: the roads join up in travel order.
  for (std::size_t i = 1; i < route->track.size(); ++i)
    ASSERT_LT(GroundDistance(route->track[i - 1], route->track[i]), 20000.0) << i;
}

TEST_F(HungarySample, InverseProjectionMatchesTheForwardOneOverTheExtent) {
  ASSERT_TRUE(map->projection());
  const TransverseMercator& tm = *map->projection();
  const MapRect e = map->extent();
  double worst = 0;
  for (int i = 0; i <= 20; ++i) {
    for (int j = 0; j <= 20; ++j) {
      const PlanePosition q{(e.left + (static_cast<double>(e.right) - e.left) * i / 20) * map->unit(),
                            (e.bottom + (static_cast<double>(e.top) - e.bottom) * j / 20) * map->unit()};
      const PlanePosition back = tm.Forward(tm.Inverse(q));
      worst = std::max(worst, std::hypot(back.x - q.x, back.y - q.y));
    }
  }
  EXPECT_LT(worst, 0.001);
}

}  // namespace
}  // namespace koltar
