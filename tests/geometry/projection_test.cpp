#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "geometry/projection.h"

namespace koltar {
namespace {

// Forward then Inverse comes back to the position, and Inverse then Forward to the
// plane point, within a millimetre over three degrees around the centre in every
// direction, at the latitudes of both sample maps and near the equator.
TEST(TransverseMercator, InverseUndoesForwardWithinAMillimetre) {
  const double kMetresPerDegree = 111000;  // latitude; longitude is less, so this is strict
  for (const GeoPosition centre : {GeoPosition{19.5, 47.17}, GeoPosition{11.98, 57.7}, GeoPosition{-60, 1}}) {
    const TransverseMercator tm(centre.longitude, centre.latitude);
    for (double dLon = -3; dLon <= 3; dLon += 0.75)
      for (double dLat = -3; dLat <= 3; dLat += 0.75) {
        const GeoPosition p{centre.longitude + dLon, centre.latitude + dLat};
        const PlanePosition q = tm.Forward(p);
        const GeoPosition back = tm.Inverse(q);
        EXPECT_NEAR(back.longitude, p.longitude, 1e-3 / kMetresPerDegree) << dLon << " " << dLat;
        EXPECT_NEAR(back.latitude, p.latitude, 1e-3 / kMetresPerDegree) << dLon << " " << dLat;
        const PlanePosition again = tm.Forward(back);
        EXPECT_NEAR(again.x, q.x, 1e-3);
        EXPECT_NEAR(again.y, q.y, 1e-3);
      }
    // The centre is the plane's origin both ways.
    const GeoPosition c = tm.Inverse({0, 0});
    EXPECT_NEAR(c.longitude, centre.longitude, 1e-12);
    EXPECT_NEAR(c.latitude, centre.latitude, 1e-12);
  }
}

TEST(TransverseMercator, KnownPlaneDistances) {
  // Scale 1 on the central meridian: 100 km north of the centre is the meridian arc.
  const TransverseMercator tm(19.5, 47.0);
  const GeoPosition north = tm.Inverse({0, 100000});
  EXPECT_NEAR(north.longitude, 19.5, 1e-12);
  EXPECT_NEAR(TransverseMercator(19.5, north.latitude).OriginNorthing() - tm.OriginNorthing(), 100000, 1e-6);
  // East and west mirror each other.
  const GeoPosition east = tm.Inverse({50000, 20000});
  const GeoPosition west = tm.Inverse({-50000, 20000});
  EXPECT_NEAR(east.longitude - 19.5, 19.5 - west.longitude, 1e-9);
  EXPECT_NEAR(east.latitude, west.latitude, 1e-9);
}

TEST(ProjectionKey, WrittenAndReadBack) {
  EXPECT_EQ(ProjectionKeyValue(TransverseMercator(19.5, 47.17)), "tmerc,19.5,47.17");
  EXPECT_EQ(ProjectionKeyValue(TransverseMercator(-0.05, -33.9)), "tmerc,-0.05,-33.9");
  const std::optional<TransverseMercator> tm = ParseProjectionKey("tmerc,11.98,57.7");
  ASSERT_TRUE(tm.has_value());
  EXPECT_DOUBLE_EQ(tm->centralMeridian(), 11.98);
  EXPECT_DOUBLE_EQ(tm->originLatitude(), 57.7);
  for (const char* bad : {"", "tmerc", " tmerc,1,2", "tmerc,19.5", "utm,33,0", "TMERC,1,2", "tmerc,181,0",
                          "tmerc,0,90", "tmerc,nan,0", "tmerc,x,1"})
    EXPECT_FALSE(ParseProjectionKey(bad).has_value()) << bad;
}

TEST(ProjectionKey, MapPointsCountUnits) {
  // Map point (0, 0) is the projection's centre; a map unit is UNIT metres of the plane.
  const TransverseMercator tm(19.5, 47.17);
  const GeoPosition centre = MapPointToGeographic(tm, 10, {0, 0});
  EXPECT_NEAR(centre.longitude, 19.5, 1e-12);
  EXPECT_NEAR(centre.latitude, 47.17, 1e-12);
  const GeoPosition inTens = MapPointToGeographic(tm, 10, {1234, -5678});
  const GeoPosition inMetres = MapPointToGeographic(tm, 1, {12340, -56780});
  EXPECT_DOUBLE_EQ(inTens.longitude, inMetres.longitude);
  EXPECT_DOUBLE_EQ(inTens.latitude, inMetres.latitude);
  const PlanePosition q = tm.Forward(inTens);
  EXPECT_NEAR(q.x, 12340, 1e-6);
  EXPECT_NEAR(q.y, -56780, 1e-6);
}

}  // namespace
}  // namespace koltar
