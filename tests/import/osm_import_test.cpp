#include <gtest/gtest.h>

#include <map>
#include <set>

#include "categories/find_point.h"
#include "categories/point.h"
#include "map/mmap.h"
#include "tests/import/import_support.h"
#include "tests/support/test_env.h"
#include "tests/support/u8.h"
#include "tools/import/geo.h"
#include "tools/import/map_check.h"

namespace koltar::import {
namespace {

// Fő utca runs west to east through A (19.000) - B (19.010) - C (19.020); Kossuth utca
// leaves B northwards, one way; a roundabout east of C is joined to C and, by Petőfi
// utca, to the end of Kossuth utca. Kisfalu lies by A, Nagyvár by the roundabout. Fő utca
// has odd numbers on its south side and even ones on its north side, with an
// interpolation line 15-21 on its second block.
constexpr const char8_t* kOsm =
    u8R"(<?xml version="1.0" encoding="UTF-8"?>
<osm version="0.6">
 <node id="1" lat="47.500" lon="19.000"/>
 <node id="2" lat="47.500" lon="19.010"/>
 <node id="3" lat="47.500" lon="19.020"/>
 <node id="4" lat="47.510" lon="19.010"/>
 <node id="5" lat="47.505" lon="19.030"/>
 <node id="6" lat="47.510" lon="19.035"/>
 <node id="7" lat="47.515" lon="19.030"/>
 <node id="8" lat="47.510" lon="19.025"/>
 <node id="9" lat="47.5005" lon="19.0005"><tag k="place" v="village"/><tag k="name" v="Kisfalu"/></node>
 <node id="10" lat="47.516" lon="19.031"><tag k="place" v="town"/><tag k="name" v="Nagyvár"/><tag k="population" v="12000"/></node>
 <node id="20" lat="47.4998" lon="19.002"><tag k="addr:street" v="Fő utca"/><tag k="addr:housenumber" v="1"/></node>
 <node id="21" lat="47.4998" lon="19.004"><tag k="addr:street" v="Fő utca"/><tag k="addr:housenumber" v="3"/></node>
 <node id="22" lat="47.5002" lon="19.003"><tag k="addr:street" v="Fő utca"/><tag k="addr:housenumber" v="2"/></node>
 <node id="23" lat="47.5002" lon="19.006"><tag k="addr:street" v="Fő utca"/><tag k="addr:housenumber" v="4"/></node>
 <node id="24" lat="47.5002" lon="19.014"><tag k="addr:street" v="Fő utca"/><tag k="addr:housenumber" v="12/A"/></node>
 <node id="25" lat="47.4998" lon="19.012"><tag k="addr:street" v="Fő utca"/><tag k="addr:housenumber" v="13"/></node>
 <node id="26" lat="47.4998" lon="19.014"><tag k="addr:street" v="Fő utca"/><tag k="addr:housenumber" v="15"/></node>
 <node id="27" lat="47.4998" lon="19.018"><tag k="addr:street" v="Fő utca"/><tag k="addr:housenumber" v="21"/></node>
 <node id="30" lat="47.6" lon="19.1"><tag k="amenity" v="bench"/></node>
 <way id="100"><nd ref="1"/><nd ref="2"/><nd ref="3"/><tag k="highway" v="residential"/><tag k="name" v="Fő utca"/></way>
 <way id="101"><nd ref="2"/><nd ref="4"/><tag k="highway" v="residential"/><tag k="name" v="Kossuth utca"/><tag k="oneway" v="yes"/></way>
 <way id="102"><nd ref="3"/><nd ref="5"/><tag k="highway" v="tertiary"/></way>
 <way id="103"><nd ref="5"/><nd ref="6"/><nd ref="7"/><nd ref="8"/><nd ref="5"/><tag k="highway" v="primary"/><tag k="junction" v="roundabout"/></way>
 <way id="104"><nd ref="8"/><nd ref="4"/><tag k="highway" v="residential"/><tag k="name" v="Petőfi utca"/></way>
 <way id="105"><nd ref="26"/><nd ref="27"/><tag k="addr:interpolation" v="odd"/></way>
 <way id="106"><nd ref="1"/><tag k="highway" v="service"/></way>
 <way id="107"><nd ref="1"/><nd ref="999"/><tag k="highway" v="service"/></way>
</osm>
)";

struct Point {
  int layer, x, y;
  std::string name;
  int flags = 0, first = 0, last = 0;
  char firstLetter = ' ', lastLetter = ' ';
};

class OsmImport : public koltar::test::ServicesTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test::Import({dir.Write("small.osm", koltar::test::U8(kOsm))}, dir.path(), summary, counts));
    const std::string data = test::CategoryFile(dir.path(), "Helys\xE9gek", "DATAFILE");
    const std::string names = test::CategoryFile(dir.path(), "Helys\xE9gek", "NAMEFILE");
    const std::string entities = test::CategoryFile(dir.path(), "Helys\xE9gek", "ENTITYFILE");
    ASSERT_EQ(entities.size() * 2, data.size());
    for (std::size_t i = 0; i < data.size() / 16; ++i) {
      const char* p = data.data() + i * 16;
      const char* e = entities.data() + i * 8;
      towns.push_back({ReadI16(p), ReadI32(p + 2), ReadI32(p + 6), test::NameAt(names, ReadI32(p + 10)),
                       static_cast<unsigned char>(e[0]), ReadI16(e + 2), ReadI16(e + 5), e[4], e[7]});
    }
    roadData = test::CategoryFile(dir.path(), "Utak", "DATAFILE");
    roadNames = test::CategoryFile(dir.path(), "Utak", "NAMEFILE");
    nodes = test::CategoryFile(dir.path(), "\xDAtvonal", "NODEFILE");
    edges = test::CategoryFile(dir.path(), "\xDAtvonal", "EDGEFILE");
  }
  std::string RoadName(std::int32_t road) const {
    return test::NameAt(roadNames, ReadI32(roadData.data() + road * 32 + 8));
  }
  int RoadLayer(std::int32_t road) const { return ReadI16(roadData.data() + road * 32); }

  koltar::test::TempDir dir;
  BuildSummary summary;
  InputCounts counts;
  std::vector<Point> towns;
  std::string roadData, roadNames, nodes, edges;
};

TEST_F(OsmImport, TheFilesAreConsistent) {
  MapCheckCounts n;
  EXPECT_EQ(CheckMap(dir.Model("t.map"), &n), std::vector<std::string>{});
  EXPECT_EQ(n.nodes, summary.nodes);
  EXPECT_EQ(n.edges, summary.edges);
  // The one-node way and the way with a missing node are skipped and counted, the bench
  // has no use.
  EXPECT_EQ(counts.brokenGeometry, 2);
  EXPECT_EQ(summary.unusedFeatures, 1);
}

TEST_F(OsmImport, SettlementsThenStreetsSortedByName) {
  std::vector<std::string> order;
  for (const Point& p : towns)
    if (order.empty() || order.back() != p.name) order.push_back(p.name);
  EXPECT_EQ(order, (std::vector<std::string>{"Kisfalu", "Nagyv\xE1r", "F\xF5 utca", "Kossuth utca",
                                             "Pet\xF5"
                                             "fi utca"}));
  EXPECT_EQ(towns[0].layer, 3);  // village
  EXPECT_EQ(towns[1].layer, 2);  // town
  EXPECT_EQ(towns[0].flags, 0);
  for (std::size_t i = 2; i < towns.size(); ++i) EXPECT_EQ(towns[i].layer, 6) << i;  // the street layer
}

TEST_F(OsmImport, HouseNumbersBySideAndBlock) {
  std::vector<const Point*> main;
  for (const Point& p : towns)
    if (p.name == "F\xF5 utca") main.push_back(&p);
  ASSERT_EQ(main.size(), 4u);
  // First block: odd 1-3 and even 2-4; second block: even 12a alone and odd 13-21 with
  // the interpolated 17 and 19.
  EXPECT_EQ(main[0]->flags, 3);
  EXPECT_EQ(std::make_pair(main[0]->first, main[0]->last), std::make_pair(1, 3));
  EXPECT_EQ(main[1]->flags, 2);
  EXPECT_EQ(std::make_pair(main[1]->first, main[1]->last), std::make_pair(2, 4));
  EXPECT_EQ(std::make_pair(main[2]->first, main[2]->last), std::make_pair(12, 12));
  EXPECT_EQ(main[2]->firstLetter, 'a');
  EXPECT_EQ(std::make_pair(main[3]->first, main[3]->last), std::make_pair(13, 21));
  EXPECT_EQ(main[3]->firstLetter, ' ');
  EXPECT_EQ(summary.addresses, 10);  // eight tagged, two interpolated
  // Streets without numbers: one record per block, no flags.
  for (const Point& p : towns) {
    if (p.name == "Kossuth utca") {
      EXPECT_EQ(p.flags, 0);
    }
  }
}

TEST_F(OsmImport, OneWayStreetsAndRoundaboutsHaveOneDirection) {
  std::map<std::int32_t, std::vector<std::pair<std::int32_t, std::int32_t>>> byRoad;
  for (std::size_t i = 0; i < edges.size() / 16; ++i) {
    const char* p = edges.data() + i * 16;
    if (ReadI32(p + 8) >= 0) byRoad[ReadI32(p + 8)].emplace_back(ReadI32(p), ReadI32(p + 4));
  }
  const std::int32_t roadCount = static_cast<std::int32_t>(roadData.size() / 32);
  ASSERT_EQ(static_cast<std::int32_t>(byRoad.size()), roadCount);  // every line is an edge
  for (const auto& [road, arcs] : byRoad) {
    const bool oneWay = RoadName(road) == "Kossuth utca" || RoadLayer(road) == 3;  // primary: the roundabout
    EXPECT_EQ(arcs.size(), oneWay ? 1u : 2u) << RoadName(road);
    if (arcs.size() == 2) {
      EXPECT_EQ(arcs[0], std::make_pair(arcs[1].second, arcs[1].first));
    }
  }
  // Kossuth utca is followed from Fo utca (where the way starts) northwards.
  std::set<std::int32_t> mainNodes;
  for (const auto& [road, arcs] : byRoad) {
    if (RoadName(road) == "F\xF5 utca")
      for (const auto& [from, to] : arcs) mainNodes.insert({from, to});
  }
  int leaving = 0;
  for (const auto& [road, arcs] : byRoad)
    if (RoadName(road) == "Kossuth utca") {
      leaving += static_cast<int>(mainNodes.count(arcs[0].first));
      EXPECT_FALSE(mainNodes.count(arcs[0].second));
    }
  EXPECT_EQ(leaving, 1);
}

TEST_F(OsmImport, LengthsOnTheEllipsoidAndSettlementsAtTheirNodes) {
  // The blocks of Fő utca, split at their street stops, add up to the way's length.
  double total = 0;
  for (std::size_t i = 0; i < edges.size() / 16; ++i) {
    const char* p = edges.data() + i * 16;
    if (ReadI32(p + 8) >= 0 && RoadName(ReadI32(p + 8)) == "F\xF5 utca") total += ReadI32(p + 12) / 2.0;
  }
  const double expected = EllipsoidDistance({190000000, 475000000}, {190200000, 475000000});
  EXPECT_NEAR(total, expected, 4.0);
  // Bound nodes come first, in record order; every record has a node.
  std::set<std::int32_t> bound;
  for (std::size_t i = 0; i < nodes.size() / 4; ++i) {
    const std::int32_t r = ReadI32(nodes.data() + i * 4);
    if (r >= 0) {
      EXPECT_EQ(static_cast<std::size_t>(r), bound.size());
      bound.insert(r);
    }
  }
  EXPECT_EQ(bound.size(), towns.size());
  EXPECT_EQ(summary.unboundSettlements, 0);
}

TEST_F(OsmImport, TheMapLoadsQuietlyAndFindsHouseNumbers) {
  MMap map(dir.Model("t.map"));
  EXPECT_EQ(services.messages.Transcript(), std::vector<std::string>{});
  ASSERT_GE(map.townCategory(), 0);
  const MPoint& category = *map.points()[static_cast<std::size_t>(map.townCategory())];
  const std::int32_t street = category.FindByName("F\xF5 utca");
  ASSERT_EQ(street, 2);
  auto found = [&](const char* number) {
    return category.GetObjectName(category.FindHouseNumber(street, number), true);
  };
  EXPECT_EQ(found("3"), "F\xF5 utca 1  - 3 ");
  EXPECT_EQ(found("4"), "F\xF5 utca 2  - 4 ");
  EXPECT_EQ(found("17"), "F\xF5 utca 13  - 21 ");  // interpolated
  EXPECT_EQ(found("12a"), "F\xF5 utca 12a");
  EXPECT_EQ(found("40"), "F\xF5 utca 12a");  // the nearest even range
  services.messages.Clear();
}

// The place search on the imported street: one entry for its blocks, their ranges on
// both sides, and OK finding the block of a house number.
TEST_F(OsmImport, ThePlaceSearchListsTheStreetsSegments) {
  MMap map(dir.Model("t.map"));
  const MPoint* category = map.points()[static_cast<std::size_t>(map.townCategory())];
  FindPointData data{100, 50000000, 25000};
  PlaceCategories categories;
  categories.points = {category};
  FindPoint dialog(categories, data);
  dialog.Open();
  ASSERT_TRUE(dialog.houseNumbersEnabled());
  dialog.NameTyped("f\xF5 utca");
  ASSERT_GE(dialog.chosenName(), 0);
  EXPECT_EQ(dialog.segments(), (std::vector<std::string>{"1  - 3 ", "2  - 4 ", "12a", "13  - 21 "}));
  for (const auto& [house, range] : std::map<std::string, std::string>{
           {"17", "13  - 21 "}, {"4", "2  - 4 "}, {"12a", "12a"}, {"99", "13  - 21 "}}) {
    dialog.HouseNumberTyped(house);
    ASSERT_TRUE(dialog.Accept()) << house;
    EXPECT_EQ(category->GetObjectName(data.object), "F\xF5 utca " + range) << house;
    dialog.NameTyped("f\xF5 utca");
  }
  EXPECT_EQ(services.messages.Transcript(), std::vector<std::string>{});
}

}  // namespace
}  // namespace koltar::import
