#include <gtest/gtest.h>

#include <cmath>

#include "tools/import/geo.h"
#include "tools/import/import_config.h"

namespace koltar::import {
namespace {

TEST(Projection, MeridianArcsAndSymmetry) {
  // Meridian arc of WGS 84 from the equator to 45 degrees: 4 984 944.378 m.
  EXPECT_NEAR(TransverseMercator(0, 45).OriginNorthing(), 4984944.378, 0.01);
  const TransverseMercator tm(19.5, 47.0);
  const auto [x, y] = ToPlane(tm, {195000000, 470000000});
  EXPECT_NEAR(x, 0, 1e-6);
  EXPECT_NEAR(y, 0, 1e-6);
  // East and west of the central meridian mirror each other; north of the origin, y
  // grows by the meridian arc.
  const auto [xe, ye] = ToPlane(tm, {225000000, 475000000});
  const auto [xw, yw] = ToPlane(tm, {165000000, 475000000});
  EXPECT_NEAR(xe, -xw, 1e-6);
  EXPECT_NEAR(ye, yw, 1e-6);
  // Three degrees of longitude at 47.5 degrees are about 226 km; the projection keeps
  // scale 1 on the meridian and grows slowly away from it.
  const double ground = EllipsoidDistance({195000000, 475000000}, {225000000, 475000000});
  EXPECT_GT(xe, ground * 0.999);
  EXPECT_LT(xe, ground * 1.001);
}

TEST(EllipsoidDistance, KnownLengths) {
  // One degree of longitude on the equator: 111 319.491 m; one degree of latitude from
  // the equator: 110 574.389 m.
  EXPECT_NEAR(EllipsoidDistance({0, 0}, {10000000, 0}), 111319.491, 0.01);
  EXPECT_NEAR(EllipsoidDistance({0, 0}, {0, 10000000}), 110574.389, 0.01);
  EXPECT_EQ(EllipsoidDistance({190000000, 470000000}, {190000000, 470000000}), 0.0);
  // Nearly antipodal points do not converge and fall back to the sphere: half the globe.
  EXPECT_NEAR(EllipsoidDistance({0, 0}, {1799999999, 0}), 20015e3, 30e3);
}

TEST(GeoPoints, OffTheGlobeIsRefused) {
  GeoPoint p;
  EXPECT_TRUE(MakeGeoPoint(19.0400001, 47.4979, p));
  EXPECT_EQ(p, (GeoPoint{190400001, 474979000}));
  EXPECT_FALSE(MakeGeoPoint(181, 0, p));
  EXPECT_FALSE(MakeGeoPoint(0, -91, p));
  EXPECT_FALSE(MakeGeoPoint(std::nan(""), 0, p));
}

TEST(Simplify, KeepsEndsAndCorners) {
  const std::vector<PlanePoint> line{{0, 0}, {1, 0.1}, {2, 0}, {3, 5}, {4, 0}};
  EXPECT_EQ(SimplifyIndices(line, 0.5), (std::vector<std::size_t>{0, 2, 3, 4}));
  EXPECT_EQ(SimplifyIndices(line, 10), (std::vector<std::size_t>{0, 4}));
  EXPECT_EQ(SimplifyIndices({{0, 0}}, 1), (std::vector<std::size_t>{0}));
}

TEST(Config, DefaultParsesAndFiltersMatch) {
  ImportConfig config;
  std::string error;
  ASSERT_TRUE(ParseConfig(DefaultConfigText(), config, error)) << error;
  EXPECT_EQ(config.roads.size(), 11u);
  EXPECT_EQ(config.roads[0].speed, 110);
  EXPECT_FALSE(config.roads[9].enabled);  // paths are not for cars
  Tags border;
  border.Add("boundary", "administrative");
  border.Add("admin_level", "2");
  Tags county;
  county.Add("boundary", "administrative");
  county.Add("admin_level", "6");
  EXPECT_TRUE(config.areas[0].filter.Matches(border));
  EXPECT_FALSE(config.areas[0].filter.Matches(county));
  TagFilter any;
  ASSERT_TRUE(any.Parse("name=* highway=x"));
  Tags named;
  named.Add("name", "A");
  EXPECT_TRUE(any.Matches(named));
  EXPECT_FALSE(any.Matches(county));
}

TEST(Config, BadLinesAreNamed) {
  ImportConfig config;
  std::string error;
  EXPECT_FALSE(ParseConfig("road | Út | fast | 10 | 1 | minor | highway=road\n", config, error));
  EXPECT_EQ(error, "line 1: road | \xDAt | fast | 10 | 1 | minor | highway=road");
  EXPECT_FALSE(ParseConfig("place | Falu | village | place\n", config, error));
  EXPECT_FALSE(ParseConfig("road | A | 1 | 1 | 1 | minor | highway=a\n", config, error));
  EXPECT_NE(error.find("category line is missing"), std::string::npos);
}

}  // namespace
}  // namespace koltar::import
