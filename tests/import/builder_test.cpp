#include <gtest/gtest.h>

#include <algorithm>

#include "geometry/geometry.h"
#include "map/mmap.h"
#include "platform/format.h"
#include "tests/import/import_support.h"
#include "tests/support/test_env.h"
#include "tests/support/u8.h"
#include "tools/import/map_check.h"

namespace koltar::import {
namespace {

std::string LineFeature(const std::string& properties, const std::string& coordinates) {
  return R"({"type":"Feature","properties":{)" + properties +
         R"(},"geometry":{"type":"LineString","coordinates":[)" + coordinates + "]}}";
}

std::string PointFeature(const std::string& properties, double lon, double lat) {
  return R"({"type":"Feature","properties":{)" + properties +
         R"(},"geometry":{"type":"Point","coordinates":[)" + StringPrintf("%.6f,%.6f", lon, lat) + "]}}";
}

std::string Collection(const std::vector<std::string>& features) {
  std::string out = R"({"type":"FeatureCollection","features":[)";
  for (std::size_t i = 0; i < features.size(); ++i) out += (i ? "," : "") + features[i];
  return out + "]}";
}

class GeoJsonImport : public koltar::test::ServicesTest {
 protected:
  void Run(const std::string& json) {
    ASSERT_TRUE(test::Import({dir.Write("in.geojson", json)}, dir.path(), summary, counts));
    EXPECT_EQ(CheckMap(dir.Model("t.map")), std::vector<std::string>{});
  }
  std::vector<std::string> Names(const std::string& category) const {
    const std::string names = test::CategoryFile(dir.path(), category, "NAMEFILE");
    std::vector<std::string> out;
    for (std::size_t at = 0; at < names.size(); at = names.find('\0', at) + 1)
      out.push_back(names.c_str() + at);
    return out;
  }
  koltar::test::TempDir dir;
  BuildSummary summary;
  InputCounts counts;
};

TEST_F(GeoJsonImport, StreetsOfOneNameInTwoSettlementsAreToldApart) {
  // Two villages 10 km apart, each with its own Fő utca, joined by a road.
  Run(Collection({
      PointFeature(koltar::test::U8(u8R"("place":"village","name":"Alsófalu")"), 19.0, 47.0),
      PointFeature(koltar::test::U8(u8R"("place":"village","name":"Felsőfalu")"), 19.13, 47.0),
      LineFeature(koltar::test::U8(u8R"("highway":"residential","name":"Fő utca")"),
                  "[19.0,47.0],[19.01,47.0]"),
      LineFeature(koltar::test::U8(u8R"("highway":"residential","name":"Fő utca")"),
                  "[19.13,47.0],[19.14,47.0]"),
      LineFeature(R"("highway":"secondary","ref":"4111")", "[19.01,47.0],[19.13,47.0]"),
  }));
  const std::vector<std::string> names = Names("Helys\xE9gek");
  EXPECT_NE(std::find(names.begin(), names.end(),
                      "F\xF5 utca (Als\xF3"
                      "falu)"),
            names.end());
  EXPECT_NE(std::find(names.begin(), names.end(),
                      "F\xF5 utca (Fels\xF5"
                      "falu)"),
            names.end());
  EXPECT_EQ(summary.streets, 2);
  // A road without a name is named by its reference.
  const std::vector<std::string> roads = Names("Utak");
  EXPECT_NE(std::find(roads.begin(), roads.end(), "4111"), roads.end());
}

TEST_F(GeoJsonImport, NamesAreTransliteratedAndCutAndCounted) {
  const std::string longName(40, 'x');
  Run(Collection({
      PointFeature(koltar::test::U8(u8R"("place":"town","name":"Åmål")"), 12.7, 59.05),
      PointFeature(R"("place":"town","name":")" + longName + "\"", 12.8, 59.05),
      LineFeature(R"("highway":"primary")", "[12.7,59.05],[12.8,59.05]"),
  }));
  const std::vector<std::string> names = Names("Helys\xE9gek");
  EXPECT_NE(std::find(names.begin(), names.end(), "Amal"), names.end());
  EXPECT_NE(std::find(names.begin(), names.end(), std::string(31, 'x')), names.end());
  EXPECT_EQ(summary.namesTransliterated, 1);
  EXPECT_GE(summary.namesCut, 1);
}

TEST_F(GeoJsonImport, ProjectionUnitAndOriginInTheMap) {
  Run(Collection({LineFeature(R"("highway":"primary")", "[19.0,47.0],[20.0,47.5]")}));
  const std::string map = dir.Model("t.map");
  EXPECT_EQ(ReadProfileString("MAP", "UNIT", "", 32, map), "1");
  // Centred on 19.5 E, 47.25 N: X = 500 000 m on the central meridian, Y the northing of
  // 47.25 degrees (5 235 040 m, the meridian arc).
  const std::string origin = ReadProfileString("MAP", "ORIGIN", "", 64, map);
  EXPECT_EQ(origin.substr(0, 7), "500000,");
  EXPECT_NEAR(std::stod(origin.substr(7)), 5235040, 1);
  EXPECT_DOUBLE_EQ(summary.centralMeridian, 19.5);
  // The road's ends lie symmetric about the centre, 76 km east and west of it.
  const std::string coords = test::CategoryFile(dir.path(), "Utak", "COORDFILE");
  ASSERT_EQ(coords.size(), 16u);
  EXPECT_NEAR(ReadI32(coords.data()), -ReadI32(coords.data() + 8), 400);
  EXPECT_NEAR(ReadI32(coords.data() + 8), 37800, 400);
  // The map records its projection, and the map object gives the road's ends their
  // positions back (to the metre the map units keep).
  EXPECT_EQ(ReadProfileString("MAP", "PROJECTION", "", 64, map), "tmerc,19.5,47.25");
  const MMap opened(map);
  const std::optional<GeoPosition> west =
      opened.ToGeographic({ReadI32(coords.data()), ReadI32(coords.data() + 4)});
  ASSERT_TRUE(west.has_value());
  EXPECT_NEAR(west->longitude, 19.0, 1e-5);
  EXPECT_NEAR(west->latitude, 47.0, 1e-5);
}

TEST_F(GeoJsonImport, LakesWithIslandsBecomeOneRingWithTheIslandLeftOut) {
  Run(Collection({
      R"({"type":"Feature","properties":{"natural":"water","name":"Nagy-to"},"geometry":{"type":"Polygon",
         "coordinates":[[[19,47],[19.1,47],[19.1,47.1],[19,47.1],[19,47]],
                        [[19.04,47.04],[19.04,47.06],[19.06,47.06],[19.06,47.04],[19.04,47.04]]]}})",
  }));
  const std::string data = test::CategoryFile(dir.path(), "Ter\xFCletek", "DATAFILE");
  ASSERT_EQ(data.size(), 32u);
  EXPECT_EQ(ReadI16(data.data()), 6);       // the water layer
  EXPECT_EQ(ReadI16(data.data() + 2), 11);  // 5 + 4 + the hole's closing point + the cut back
  // The lake's name is a label inside the water, not on the island.
  const std::string labels = test::CategoryFile(dir.path(), "Meg\xEDr\xE1sok", "DATAFILE");
  ASSERT_EQ(labels.size(), 64u);
  const std::string coords = test::CategoryFile(dir.path(), "Ter\xFCletek", "COORDFILE");
  std::vector<MapPoint> ring;
  for (std::size_t i = 0; i < coords.size() / 8; ++i)
    ring.push_back({ReadI32(coords.data() + i * 8), ReadI32(coords.data() + i * 8 + 4)});
  const MapPoint label{ReadI32(labels.data() + 2), ReadI32(labels.data() + 6)};
  EXPECT_TRUE(PointInPolygon(ring.data(), static_cast<int>(ring.size()), label));
  EXPECT_FALSE(PointInPolygon(ring.data(), static_cast<int>(ring.size()), MapPoint{0, 0}));  // the island
}

TEST_F(GeoJsonImport, LinesLongerThanARecordAreSplit) {
  std::string coordinates;
  for (int i = 0; i < 40000; ++i) coordinates += StringPrintf("%s[%.6f,47.0]", i ? "," : "", 19.0 + i * 1e-4);
  Run(Collection({LineFeature(R"("waterway":"river","name":"Hosszu")", coordinates)}));
  const std::string data = test::CategoryFile(dir.path(), "Vizek \xE9s hat\xE1rok", "DATAFILE");
  ASSERT_EQ(data.size(), 64u);
  EXPECT_EQ(ReadI16(data.data() + 2) + ReadI16(data.data() + 34), 40001);  // one point shared
}

}  // namespace
}  // namespace koltar::import
