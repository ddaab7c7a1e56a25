// The stages of a map build one by one: each test runs the stages before the one it
// checks on a small hand-made input and looks at what that stage left in the state.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <set>

#include "platform/paths.h"
#include "platform/profile.h"
#include "tests/import/import_support.h"
#include "tests/support/test_env.h"
#include "tests/support/u8.h"
#include "tools/import/plane_geometry.h"
#include "tools/import/stages.h"
#include "tools/import/style.h"

namespace koltar::import {
namespace {

using koltar::test::U8;
using Stage = void (*)(BuildState&);

// Every stage before the files are written, in the order of MapBuilder::Write.
constexpr Stage kStages[] = {PlaceSettlements,   BuildRoadGraph,   BuildStreets,     PlanLabelLayers,
                             AddAreaCategory,    AddLineCategory,  AddOverviewRoads, AddRoadCategory,
                             AddNetworkCategory, AddOverviewTowns, AddTowns,         LinkNetwork,
                             AddLabelCategory,   AddSymbology};

GeoPoint At(double lon, double lat) {
  GeoPoint p;
  EXPECT_TRUE(MakeGeoPoint(lon, lat, p));
  return p;
}

std::vector<GeoPoint> Points(std::initializer_list<std::pair<double, double>> points) {
  std::vector<GeoPoint> out;
  for (auto [lon, lat] : points) out.push_back(At(lon, lat));
  return out;
}

// A closed square ring with its south-west corner at (lon, lat).
Ring Square(double lon, double lat, double side, bool outer = true) {
  return {Points({{lon, lat}, {lon + side, lat}, {lon + side, lat + side}, {lon, lat + side}, {lon, lat}}),
          outer};
}

class Stages : public ::testing::Test {
 protected:
  template <typename Rule>
  static int RuleOf(const std::vector<Rule>& rules, std::string_view style) {
    for (std::size_t i = 0; i < rules.size(); ++i)
      if (rules[i].style == style) return static_cast<int>(i);
    ADD_FAILURE() << "no rule of style " << style;
    return 0;
  }
  int Place(std::string_view style) const { return RuleOf(config.places, style); }
  int Road(std::string_view style) const { return RuleOf(config.roads, style); }

  void AddSettlement(const std::string& name, std::string_view style, double lon, double lat,
                     double population = 0) {
    input.settlements.push_back({At(lon, lat), Place(style), name, population});
    input.Extend(input.settlements.back().at);
  }
  void AddRoad(std::string_view style, std::initializer_list<std::pair<double, double>> points,
               const std::string& name = {}, int oneway = 0) {
    input.roads.push_back({Points(points), Road(style), name, !name.empty(), oneway});
    input.Extend(input.roads.back().points);
  }
  void AddArea(std::string_view style, std::vector<Ring> rings, const std::string& name = {}) {
    for (const Ring& r : rings) input.Extend(r.points);
    input.areas.push_back({std::move(rings), RuleOf(config.areas, style), name});
  }
  void AddLine(std::string_view style, std::initializer_list<std::pair<double, double>> points,
               const std::string& name) {
    input.lines.push_back({Points(points), RuleOf(config.lines, style), name});
    input.Extend(input.lines.back().points);
  }
  void AddAddress(const std::string& number, double lon, double lat) {
    input.addresses.push_back({At(lon, lat), U8(u8"Fő utca"), number});
  }

  // Runs the stages up to and including `last` on the input.
  BuildState& RunUntil(Stage last) {
    state =
        std::make_unique<BuildState>(config, input, ChooseProjection(input), summary, dir.path(), "t.map");
    for (Stage stage : kStages) {
      stage(*state);
      if (stage == last) break;
    }
    return *state;
  }
  PlanePoint Project(double lon, double lat) const { return state->conv.Project(At(lon, lat)); }
  std::vector<std::string> RecordNames(const PointCategoryWriter& c) const {
    std::vector<std::string> out;
    for (const auto& r : c.records) out.push_back(test::NameAt(c.names.bytes(), r.nameOffset));
    return out;
  }

  ImportConfig config = test::DefaultConfig();
  ImportInput input;
  BuildSummary summary;
  koltar::test::TempDir dir;
  std::unique_ptr<BuildState> state;
};

TEST_F(Stages, ProjectionCentresOnTheDataAtATidyHundredth) {
  EXPECT_TRUE(input.empty());
  input.Extend(At(19.003, 47.001));
  input.Extend(At(19.019, 47.018));
  EXPECT_FALSE(input.empty());
  const MapProjection p = ChooseProjection(input);
  EXPECT_DOUBLE_EQ(p.centralMeridian, 19.01);
  EXPECT_DOUBLE_EQ(p.originLatitude, 47.01);
  EXPECT_EQ(p.unit, 1);
  EXPECT_EQ(p.origin.x, 500000);
  // The southern corners lie 0.009 degrees (1 km) south of the origin latitude.
  EXPECT_NEAR(p.halfExtent, 1000.6, 1);
  BuildSummary s;
  const Converter conv(p, s);
  const PlanePoint centre = conv.Project(At(19.01, 47.01));
  EXPECT_NEAR(centre.x, 0, 1e-6);
  EXPECT_NEAR(centre.y, 0, 1e-6);
}

TEST(Converter, RoundsToUnitsDroppingRepeatsAndCountsChangedNames) {
  MapProjection p;
  p.unit = 10;
  BuildSummary summary;
  Converter conv(p, summary);
  const std::vector<MapPoint> points =
      conv.ToMap(std::vector<PlanePoint>{{14, -15}, {6, -6}, {16, -14}, {14, -15}});
  EXPECT_EQ(points, (std::vector<MapPoint>{{1, -2}, {1, -1}, {2, -1}, {1, -2}}));
  EXPECT_EQ(conv.ToMap(std::vector<PlanePoint>{{4, 4}, {-4, -4}}).size(), 1u);  // both round to 0,0
  EXPECT_EQ(conv.Name(U8(u8"Fő tér"), 31), "F\xF5 t\xE9r");  // in code page 1250: unchanged
  EXPECT_EQ(summary.namesTransliterated, 0);
  const std::string amal = U8(u8"Åmål");  // outside the macro, which would quote it in code page 1250
  EXPECT_EQ(conv.Name(amal, 31), "Amal");
  EXPECT_EQ(summary.namesTransliterated, 1);
  EXPECT_EQ(conv.Name("abc def", 4), "abc");  // cut, and the blank at the cut dropped
  EXPECT_EQ(summary.namesCut, 1);
}

TEST_F(Stages, SettlementsSortedByNameWithRepeatedNamesToldApart) {
  AddSettlement(U8(u8"Nagyváros"), "city", 19.10, 47.50, 200000);
  AddSettlement(U8(u8"kisváros"), "village", 19.12, 47.50, 300);  // the same name in lower case
  AddSettlement(U8(u8"Kisváros"), "town", 19.30, 47.50, 9000);
  AddSettlement("Tanya", "hamlet", 19.121, 47.50);  // nearer the village, but of a smaller class
  const BuildState& s = RunUntil(PlaceSettlements);
  std::vector<std::string> names;
  for (const Settlement& settlement : s.settlements) names.push_back(settlement.name);
  // The town, larger, keeps the name; the village gets its nearest neighbour of no smaller class.
  EXPECT_EQ(names,
            (std::vector<std::string>{"Kisv\xE1ros", "kisv\xE1ros (Nagyv\xE1ros)", "Nagyv\xE1ros", "Tanya"}));
  EXPECT_EQ(s.settlements[0].rule, Place("town"));
  EXPECT_EQ(summary.settlements, 4);
}

TEST(UniqueNames, SettlementFirstThenANumberWithTheSuffixKeptWhenCut) {
  const std::vector<Settlement> settlements = {{{}, 0, "Szentendre", 0}, {{}, 0, "Fo utca", 0}};
  const std::string longName(30, 'x');
  const std::vector<std::string> names = UniqueNames({{"Fo utca", 0},
                                                      {"FO UTCA", 0},
                                                      {"Fo utca", 1},  // lies in a settlement of its own name
                                                      {"Fo utca", -1},
                                                      {longName, 0},
                                                      {longName, -1}},
                                                     settlements, 31, false);
  EXPECT_EQ(names, (std::vector<std::string>{"Fo utca (Szentendre)", "FO UTCA (Szentendre) 2", "Fo utca",
                                             "Fo utca 2", std::string(18, 'x') + " (Szentendre)", longName}));
  EXPECT_EQ(UniqueNames({{"Alma", 0}, {"Alma", 0}}, settlements, 31, true),
            (std::vector<std::string>{"Alma", "Alma (Szentendre)"}));
}

TEST_F(Stages, RoadGraphGivesEverySettlementANodeOfItsOwn) {
  AddRoad("primary", {{19.00, 47.5}, {19.01, 47.5}});
  AddRoad("primary", {{19.01, 47.5}, {19.02, 47.5}});
  AddRoad("track", {{19.02, 47.5}, {19.03, 47.5}});  // a disabled road type: out of the core
  AddSettlement("A", "village", 19.0001, 47.5001);
  AddSettlement("B", "village", 19.0001, 47.5001);  // at the same spot
  AddSettlement("C", "village", 19.0299, 47.5);     // at the end of the track
  const BuildState& s = RunUntil(BuildRoadGraph);
  EXPECT_EQ(s.graph.EdgeCount(), 3);
  ASSERT_EQ(s.settlementNode.size(), 3u);
  auto near = [&](int node, double lon) {
    return std::abs(s.graph.NodePosition(node).x - Project(lon, 47.5).x) < 1;
  };
  EXPECT_TRUE(near(s.settlementNode[0], 19.00));
  // B finds A's node taken and the next one far: a new node, linked to A's.
  ASSERT_EQ(s.graph.links().size(), 1u);
  EXPECT_EQ(s.graph.links()[0].node, s.settlementNode[1]);
  EXPECT_EQ(s.graph.links()[0].to, s.settlementNode[0]);
  EXPECT_TRUE(near(s.settlementNode[2], 19.02));  // the core's end, not the track's
}

// Fő utca runs west to east in two blocks (a road leaves northwards between them) by
// Kisfalu; its odd numbers lie south of it, its even ones north, with an interpolation
// line 15-21 on the second block. A Fő utca 7 lies by Távol, 15 km away.
class StreetStage : public Stages {
 protected:
  void SetUp() override {
    AddSettlement("Kisfalu", "village", 19.0005, 47.5005);
    AddSettlement(U8(u8"Távol"), "village", 19.2, 47.5);
    AddRoad("residential", {{19.00, 47.5}, {19.01, 47.5}, {19.02, 47.5}}, U8(u8"Fő utca"));
    AddRoad("tertiary", {{19.01, 47.5}, {19.01, 47.51}});
    AddRoad("tertiary", {{19.02, 47.5}, {19.2, 47.5}});
    AddAddress("1", 19.002, 47.4998);
    AddAddress("3", 19.004, 47.4998);
    AddAddress("2", 19.003, 47.5002);
    AddAddress("12/A", 19.014, 47.5002);
    AddAddress("13", 19.012, 47.4998);
    AddAddress("15", 19.014, 47.4998);
    AddAddress("21", 19.018, 47.4998);
    AddAddress("7", 19.2, 47.5003);
    AddAddress("nincs", 19.005, 47.4998);  // no number
    input.interpolations.push_back({Points({{19.014, 47.4998}, {19.018, 47.4998}}), "odd", ""});
  }
};

TEST_F(StreetStage, HouseNumbersGatheredPerBlockAndSide) {
  const BuildState& s = RunUntil(BuildStreets);
  ASSERT_EQ(s.streets.size(), 2u);
  EXPECT_EQ(s.streets[0].name, "F\xF5 utca (Kisfalu)");
  EXPECT_EQ(s.streets[1].name, "F\xF5 utca (T\xE1vol)");  // known only from its address
  const std::vector<StreetSegment>& seg = s.streets[0].segments;
  ASSERT_EQ(seg.size(), 4u);
  std::vector<std::string> ranges;  // parity: low-high, by the lowest number
  for (const StreetSegment& g : seg)
    ranges.push_back(std::to_string(g.parity) + ": " + std::to_string(g.low) + g.lowLetter + "-" +
                     std::to_string(g.high));
  EXPECT_EQ(ranges, (std::vector<std::string>{"1: 1 -3", "2: 2 -2", "2: 12a-12", "1: 13 -21"}));
  EXPECT_EQ(seg[0].edge, seg[1].edge);
  EXPECT_EQ(seg[2].edge, seg[3].edge);
  EXPECT_NE(seg[0].edge, seg[2].edge);
  EXPECT_EQ(summary.houseRanges, 5);
  EXPECT_EQ(summary.addresses, 10);  // 17 and 19 from the interpolation line
  EXPECT_EQ(summary.brokenGeometry, 1);
  EXPECT_EQ(summary.streets, 2);
  // Every segment and settlement has a node of its own; the blocks' nodes lie on them.
  std::set<int> nodes(s.settlementNode.begin(), s.settlementNode.end());
  for (const Street& street : s.streets)
    for (const StreetSegment& segment : street.segments) {
      EXPECT_GE(segment.node, 0);
      nodes.insert(segment.node);
    }
  EXPECT_EQ(nodes.size(), 7u);
  EXPECT_GT(seg[0].at.x, Project(19.0, 47.5).x);
  EXPECT_LT(seg[0].at.x, Project(19.01, 47.5).x);
}

TEST_F(StreetStage, NoStreetsWithoutAStreetLayer) {
  config.streetLayer.clear();
  const BuildState& s = RunUntil(BuildStreets);
  EXPECT_TRUE(s.streets.empty());
  EXPECT_EQ(summary.addresses, 0);
}

TEST_F(Stages, LabelLayersPerPlaceClassAndBandThenWatersAreasStreets) {
  AddSettlement("Varos", "city", 19.0, 47.5);
  const LabelLayers& l = RunUntil(PlanLabelLayers).labelLayers;
  // City and town in all four bands, villages in three, hamlets and suburbs close up.
  ASSERT_EQ(l.names.size(), 16u);
  EXPECT_EQ(l.place.size(), 13u);
  EXPECT_EQ(l.names[static_cast<std::size_t>(l.place.at({Place("city"), static_cast<int>(Band::Far)}) - 1)],
            "Nagyv\xE1ros - t\xE1voli");
  EXPECT_EQ(l.place.count({Place("village"), static_cast<int>(Band::Far)}), 0u);
  EXPECT_EQ(l.names[static_cast<std::size_t>(l.water - 1)], "V\xEDzn\xE9v");
  EXPECT_EQ(l.names[static_cast<std::size_t>(l.area - 1)], "Ter\xFCletn\xE9v");
  EXPECT_EQ(l.street, 16);
}

TEST_F(Stages, AreasWithOneLabelForCloseNamedPiecesAndNoneForSmallOnes) {
  AddArea("water", {Square(19.0, 47.0, 0.1), Square(19.04, 47.04, 0.02, false)}, U8(u8"Nagy-tó"));
  AddArea("forest", {Square(19.2, 47.0, 0.002), Square(19.2025, 47.0, 0.002)}, "Erdo");  // 40 m apart
  AddArea("park", {Square(19.3, 47.0, 0.0003)}, "Kert");                                 // 760 square metres
  AddArea("country", {Square(18.9, 46.9, 0.6)}, U8(u8"Ország"));
  AddArea("builtup", {Square(19.5, 47.5, 0.0000001)});  // one map point after rounding
  const BuildState& s = RunUntil(AddAreaCategory);
  ASSERT_EQ(s.areas->records.size(), 5u);
  EXPECT_EQ(s.areas->records[0].layer, RuleOf(config.areas, "water") + 1);
  EXPECT_EQ(s.areas->records[0].pointCount, 11);  // the island joined in by a cut
  EXPECT_EQ(summary.brokenGeometry, 1);
  ASSERT_EQ(s.labels.size(), 2u);
  EXPECT_EQ(s.labels[0].layer, s.labelLayers.water);
  EXPECT_EQ(s.labels[0].name, "Nagy-t\xF3");
  EXPECT_EQ(s.labels[1].layer, s.labelLayers.area);
  EXPECT_EQ(s.labels[1].name, "Erdo");
}

TEST_F(Stages, LinesWithTheNamesOfRiversOnTheirMiddlePoint) {
  AddLine("river", {{19.0, 47.0}, {19.1, 47.01}, {19.2, 47.0}}, "Duna");
  AddLine("railway", {{19.0, 47.1}, {19.2, 47.1}}, "Fovonal");
  AddLine("stream", {{19.0, 47.2}, {19.1, 47.2}}, "");
  const BuildState& s = RunUntil(AddLineCategory);
  ASSERT_EQ(s.lines->records.size(), 3u);
  EXPECT_EQ(s.lines->records[1].layer, RuleOf(config.lines, "railway") + 1);
  ASSERT_EQ(s.labels.size(), 1u);
  EXPECT_EQ(s.labels[0].layer, s.labelLayers.water);
  EXPECT_NEAR(s.labels[0].at.x, Project(19.1, 47.01).x, 1e-6);
  EXPECT_NEAR(s.labels[0].at.y, Project(19.1, 47.01).y, 1e-6);
}

TEST_F(Stages, LargeRiversAndLakesNamedAtSmallScalesToo) {
  AddLine("river", {{19.0, 47.0}, {19.5, 47.0}, {20.0, 47.0}}, "Tisza");  // 76 km
  AddLine("river", {{19.0, 47.3}, {19.3, 47.3}}, "Zagyva");               // 23 km
  AddArea("water", {Square(17.5, 46.7, 0.3)}, "Balaton");                 // 750 square km
  AddArea("water", {Square(18.5, 46.7, 0.1)}, "Velencei-to");             // 84 square km
  config.wideRivers = true;
  const BuildState& s = RunUntil(AddLineCategory);
  const int* large = s.labelLayers.largeWater;
  ASSERT_GT(large[0], 0);
  EXPECT_EQ(s.labelLayers.names[static_cast<std::size_t>(large[2] - 1)], "V\xEDzn\xE9v - t\xE1voli");
  std::map<std::string, std::vector<int>> layers;
  for (const Label& l : s.labels) layers[l.name].push_back(l.layer);
  EXPECT_EQ(layers["Tisza"], (std::vector<int>{s.labelLayers.water, large[0], large[1], large[2]}));
  EXPECT_EQ(layers["Balaton"], (std::vector<int>{s.labelLayers.water, large[0], large[1], large[2]}));
  EXPECT_EQ(layers["Zagyva"], std::vector<int>{s.labelLayers.water});
  EXPECT_EQ(layers["Velencei-to"], std::vector<int>{s.labelLayers.water});
  // The large river is drawn again, wider, on layers of the small scales.
  const std::size_t rules = config.lines.size();
  ASSERT_EQ(s.lines->layers.size(), rules + 2);
  EXPECT_EQ(s.lines->layers[rules], "Foly\xF3 - k\xF6zepes");
  EXPECT_EQ(s.lines->layers[rules + 1], "Foly\xF3 - t\xE1voli");
  std::vector<int> tisza;
  for (const auto& r : s.lines->records)
    if (test::NameAt(s.lines->names.bytes(), r.nameOffset) == "Tisza") tisza.push_back(r.layer);
  EXPECT_EQ(tisza, (std::vector<int>{RuleOf(config.lines, "river") + 1, static_cast<int>(rules) + 1,
                                     static_cast<int>(rules) + 2}));
  // The river's name halfway along it.
  for (const Label& l : s.labels) {
    if (l.name == "Tisza" && l.layer == large[2]) {
      EXPECT_LT(Distance(l.at, Project(19.5, 47.0)), 100);
    }
  }
}

TEST_F(Stages, MapsWithoutLargeWatersHaveNoLayersForThem) {
  AddLine("river", {{19.0, 47.3}, {19.3, 47.3}}, "Zagyva");
  config.wideRivers = true;
  const BuildState& s = RunUntil(AddLineCategory);
  const LabelLayers& l = s.labelLayers;
  EXPECT_EQ(l.names.size(), 16u);
  EXPECT_EQ(l.largeWater[0] + l.largeWater[1] + l.largeWater[2], 0);
  EXPECT_EQ(s.lines->layers.size(), config.lines.size());
  EXPECT_EQ(s.lines->records.size(), 1u);
}

TEST_F(Stages, ThinnedLabelsGiveWayToLargerPlacesAtSmallScalesOnly) {
  // Kisvaros lies where the city's name runs at small scales; Elso and Masik, far off,
  // lie side by side.
  AddSettlement("Nagyvaros", "city", 19.0, 47.5, 200000);
  AddSettlement("Kisvaros", "town", 19.2, 47.5, 9000);
  AddSettlement("Elso", "town", 20.0, 47.0, 20000);
  AddSettlement("Masik", "town", 20.03, 47.0, 6000);
  config.declutterLabels = true;
  const BuildState& s = RunUntil(AddTowns);
  std::map<std::string, std::set<int>> bands;
  for (const auto& [key, layer] : s.labelLayers.place)
    for (const Label& l : s.labels)
      if (l.layer == layer) bands[l.name].insert(key.second);
  const int far = static_cast<int>(Band::Far);
  EXPECT_TRUE(bands["Nagyvaros"].count(far));
  EXPECT_FALSE(bands["Kisvaros"].count(far));
  // Of two towns side by side the more populous keeps its label.
  EXPECT_TRUE(bands["Elso"].count(far));
  EXPECT_FALSE(bands["Masik"].count(far));
  // Closer up there is room for every label.
  for (const char* name : {"Nagyvaros", "Kisvaros", "Elso", "Masik"})
    EXPECT_EQ(
        bands[name].count(static_cast<int>(Band::Near)) + bands[name].count(static_cast<int>(Band::Regional)),
        2u)
        << name;
  // Without thinning every label stays.
  config.declutterLabels = false;
  EXPECT_EQ(RunUntil(AddTowns).labels.size(), 16u);
}

TEST_F(Stages, OverviewRoadsPerBandSimplifiedForTheBand) {
  AddRoad("motorway", {{19.0, 47.5}, {19.05, 47.50045}, {19.1, 47.5}}, "M0");  // a kink of 50 m
  AddRoad("tertiary", {{19.0, 47.6}, {19.1, 47.6}});
  AddRoad("residential", {{19.0, 47.7}, {19.1, 47.7}}, "Utca");
  const BuildState& s = RunUntil(AddOverviewRoads);
  const PolyCategoryWriter& c = *s.overviewRoads;
  ASSERT_EQ(c.layers.size(), 16u);  // far: 4 classes, medium and regional: 6 each
  EXPECT_EQ(c.layers[0], "Aut\xF3p\xE1lya - t\xE1voli");
  // Band by band, the minor classes first; residential streets are left out.
  std::vector<int> layers;
  for (const auto& r : c.records) layers.push_back(r.layer);
  EXPECT_EQ(layers, (std::vector<int>{1, 9, 5, 15, 11}));
  EXPECT_EQ(c.records[0].pointCount, 2);  // far: the kink simplified away
  EXPECT_EQ(c.records[4].pointCount, 3);  // regional: kept
}

TEST_F(Stages, RoadsMinorClassesFirstWithTheirRecordPerEdge) {
  AddRoad("primary", {{19.0, 47.5}, {19.01, 47.5}});
  AddRoad("residential", {{19.01, 47.5}, {19.02, 47.5}});
  const BuildState& s = RunUntil(AddRoadCategory);
  ASSERT_EQ(s.roads->records.size(), 2u);
  EXPECT_EQ(s.roads->records[0].layer, Road("residential") + 1);
  ASSERT_EQ(s.roadRecord.size(), 2u);
  for (int e = 0; e < 2; ++e)
    EXPECT_EQ(s.roads->records[static_cast<std::size_t>(s.roadRecord[static_cast<std::size_t>(e)])].layer,
              s.graph.Edge(e).rule + 1);
}

TEST_F(Stages, NetworkNodesBoundFirstAndOneWayRoadsOneWay) {
  AddRoad("primary", {{19.00, 47.5}, {19.01, 47.5}});
  AddRoad("residential", {{19.01, 47.5}, {19.02, 47.5}}, "Utca", 1);
  AddSettlement("A", "village", 19.0001, 47.5001);
  AddSettlement("B", "village", 19.0001, 47.5001);  // linked to A's node
  config.streetLayer.clear();
  const BuildState& s = RunUntil(LinkNetwork);
  const RoadNetworkWriter& n = *s.network;
  ASSERT_EQ(n.costs.size(), config.roads.size());
  EXPECT_EQ(n.costs[static_cast<std::size_t>(Road("track"))].enabled, 0);
  EXPECT_EQ(n.nodes, (std::vector<std::int32_t>{0, 1, -1, -1}));  // A, B, then the junctions
  // Primary both ways, the one-way street forward only, the link both ways.
  ASSERT_EQ(n.edges.size(), 5u);
  EXPECT_TRUE(std::is_sorted(n.edges.begin(), n.edges.end(),
                             [](const auto& a, const auto& b) { return a.from < b.from; }));
  const std::size_t street = s.graph.Edge(0).rule == Road("residential") ? 0 : 1;
  int links = 0, oneWay = 0, twoWay = 0;
  for (const auto& e : n.edges) {
    links += e.road < 0 ? 1 : 0;
    oneWay += e.road == s.roadRecord[street] ? 1 : 0;
    twoWay += e.road == s.roadRecord[1 - street] ? 1 : 0;
  }
  EXPECT_EQ(links, 2);
  EXPECT_EQ(oneWay, 1);
  EXPECT_EQ(twoWay, 2);
  EXPECT_EQ(summary.nodes, 4);
  EXPECT_EQ(summary.edges, 5);
}

TEST_F(Stages, OverviewTownsOnlyTheClassesOfSmallScales) {
  AddSettlement("Varos", "city", 19.0, 47.5);
  AddSettlement("Kozseg", "village", 19.1, 47.5);
  AddSettlement("Mezo", "town", 19.2, 47.5);
  const BuildState& s = RunUntil(AddOverviewTowns);
  EXPECT_EQ(s.overviewTowns->layers.size(), 2u);  // cities and towns
  EXPECT_EQ(RecordNames(*s.overviewTowns), (std::vector<std::string>{"Mezo", "Varos"}));
}

TEST_F(StreetStage, TownsSettlementsThenStreetsWithRangesBindingsAndLabels) {
  const BuildState& s = RunUntil(AddTowns);
  const PointCategoryWriter& towns = *s.towns;
  EXPECT_EQ(towns.layers.back(), "Utca");
  EXPECT_EQ(RecordNames(towns), (std::vector<std::string>{"Kisfalu", "T\xE1vol", "F\xF5 utca (Kisfalu)",
                                                          "F\xF5 utca (Kisfalu)", "F\xF5 utca (Kisfalu)",
                                                          "F\xF5 utca (Kisfalu)", "F\xF5 utca (T\xE1vol)"}));
  // The first record of a numbered street says so; every numbered record holds its range.
  EXPECT_EQ(towns.houseRanges.at(2).flags, 3);
  EXPECT_EQ(towns.houseRanges.at(3).flags, 2);
  EXPECT_EQ(towns.houseRanges.at(4).first, 12);
  EXPECT_EQ(towns.houseRanges.at(4).firstLetter, 'a');
  EXPECT_EQ(towns.houseRanges.at(5).last, 21);
  EXPECT_EQ(s.bindings.size(), 7u);
  EXPECT_EQ(summary.unboundSettlements, 0);
  // Villages are labelled in three bands, beside and below their symbol; the street
  // along its longest block, level since the street runs west to east.
  int village = 0, street = 0;
  for (const Label& l : s.labels) {
    if (l.name == "Kisfalu") {
      ++village;
      EXPECT_GT(l.at.x, Project(19.0005, 47.5005).x);
      EXPECT_LT(l.at.y, Project(19.0005, 47.5005).y);
    }
    if (l.layer == s.labelLayers.street) {
      ++street;
      EXPECT_EQ(l.name, "F\xF5 utca (Kisfalu)");
      EXPECT_NEAR(l.angle, 0, 0.5);
    }
  }
  EXPECT_EQ(village, 3);
  EXPECT_EQ(street, 1);
}

TEST_F(Stages, StreetLabelsReadLeftToRightAndAStreetNamedLikeTheSettlementBeforeItStandsApart) {
  AddSettlement("Alma", "village", 19.0, 47.5);
  // Drawn from east to west, rising westwards.
  AddRoad("residential", {{19.02, 47.5}, {19.0, 47.502}}, "Alma");
  const BuildState& s = RunUntil(AddTowns);
  EXPECT_EQ(RecordNames(*s.towns), (std::vector<std::string>{"Alma", "", "Alma"}));
  ASSERT_FALSE(s.labels.empty());
  const Label& label = s.labels.back();
  ASSERT_EQ(label.layer, s.labelLayers.street);
  EXPECT_LT(label.angle, 0);  // falls from west to east
  EXPECT_GT(label.angle, -10);
  // The text, 40 m long, runs along the street from its anchor.
  const double angle = label.angle * 3.14159265358979 / 180;
  const std::vector<PlanePoint> street = s.conv.Project(Points({{19.02, 47.5}, {19.0, 47.502}}));
  const PlanePoint end{label.at.x + 40 * std::cos(angle), label.at.y + 40 * std::sin(angle)};
  EXPECT_LT(DistanceToPolyline(street, label.at, nullptr), 10);
  EXPECT_LT(DistanceToPolyline(street, end, nullptr), 10);
}

TEST_F(StreetStage, LabelsWrittenInTheOrderGathered) {
  const BuildState& s = RunUntil(AddLabelCategory);
  ASSERT_EQ(s.texts->records.size(), s.labels.size());
  for (std::size_t i = 0; i < s.labels.size(); ++i) {
    EXPECT_EQ(s.texts->records[i].layer, s.labels[i].layer);
    EXPECT_EQ(s.texts->records[i].anchor, s.conv.ToMap(s.labels[i].at));
    EXPECT_EQ(test::NameAt(s.texts->names.bytes(), s.texts->records[i].nameOffset), s.labels[i].name);
  }
}

TEST_F(StreetStage, SymbologyForEveryCategoryInTheirOrder) {
  const BuildState& s = RunUntil(AddSymbology);
  const std::vector<SymbologyWriter::Category>& c = s.map.symbology.categories;
  std::vector<std::string> names;
  for (const auto& category : c) names.push_back(category.name);
  EXPECT_EQ(names,
            (std::vector<std::string>{s.areas->name, s.lines->name, s.overviewRoads->name, s.roads->name,
                                      s.network->name, s.overviewTowns->name, s.towns->name, s.texts->name}));
  EXPECT_EQ(c[2].layers.size(), s.overviewRoadLayer.size());
  EXPECT_EQ(c[7].layers.size(), s.labelLayers.names.size());
  // Suburbs have no symbol of their own; streets are found, not drawn.
  const auto& towns = c[6].layers;
  ASSERT_EQ(towns.size(), config.places.size() + 1);
  EXPECT_EQ(towns[static_cast<std::size_t>(Place("suburb"))].keys,
            (std::vector<std::pair<std::string, std::string>>{{"VISIBLE", "0"}}));
  EXPECT_EQ(towns.back().keys, (std::vector<std::pair<std::string, std::string>>{{"VISIBLE", "1"}}));
}

TEST_F(StreetStage, MapFilesWrittenWithTheSummaryOfTheCategories) {
  BuildState& s = RunUntil(AddSymbology);
  std::string error;
  ASSERT_TRUE(WriteMapFiles(s, U8(u8"Próba"), error)) << error;
  ASSERT_EQ(summary.categories.size(), 8u);
  EXPECT_EQ(summary.categories[4].kind, "OPTPATH");
  EXPECT_EQ(summary.categories[4].objects, summary.edges);
  EXPECT_EQ(summary.categories[6].name, U8(u8"Helységek"));
  EXPECT_EQ(summary.originX, 500000);
  const std::string map = ModelFileName(dir.path() / "t.map");
  EXPECT_EQ(ReadProfileString("MAP", "NAME", "", 64, map),
            "Pr\xF3"
            "ba");
  EXPECT_EQ(ReadProfileString("MAP", "CARTOSYMB", "", 64, map), "t.sym");
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "t_village.bmp"));
}

TEST_F(StreetStage, MapFilesThatCannotBeWrittenAreReported) {
  const std::filesystem::path blocked = dir.path() / "file";
  dir.Write("file", "not a folder");
  BuildState s(config, input, ChooseProjection(input), summary, blocked, "t.map");
  for (Stage stage : kStages) stage(s);
  std::string error;
  EXPECT_FALSE(WriteMapFiles(s, "Teszt", error));
  EXPECT_NE(error.find(blocked.string()), std::string::npos);
}

TEST(PlaneGeometry, HolesJoinedIntoOneRingOfTheAreaLeft) {
  const std::vector<PlanePoint> outer = {{0, 0}, {0, 100}, {100, 100}, {100, 0}, {0, 0}};   // clockwise
  const std::vector<PlanePoint> hole = {{40, 40}, {60, 40}, {60, 60}, {40, 60}, {40, 40}};  // anticlockwise
  const std::vector<PlanePoint> joined =
      JoinHoles(outer, {hole, {{1, 1}, {2, 2}, {1, 1}}});  // the second too small
  EXPECT_EQ(joined.size(), 11u);
  EXPECT_DOUBLE_EQ(RingArea(joined), 10000 - 400);
  const PlanePoint label = InteriorPoint(outer, {hole});
  EXPECT_DOUBLE_EQ(label.y, 50);
  EXPECT_TRUE(label.x < 40 || label.x > 60);  // beside the hole, not on it
  double along = 0;
  EXPECT_DOUBLE_EQ(DistanceToPolyline({{0, 0}, {100, 0}, {100, 100}}, {110, 30}, &along), 10);
  EXPECT_DOUBLE_EQ(along, 130);
}

TEST(HouseNumbers, NumberAndTheLetterRightAfterIt) {
  auto parsed = [](std::string_view text) {
    int number = 0;
    char letter = '?';
    return ParseHouseNumber(text, number, letter) ? std::to_string(number) + letter : std::string("none");
  };
  EXPECT_EQ(parsed("12"), "12 ");
  EXPECT_EQ(parsed(" 12a"), "12a");
  EXPECT_EQ(parsed("12/A"), "12a");
  EXPECT_EQ(parsed("12 b"), "12b");
  EXPECT_EQ(parsed("12ab"), "12 ");  // a word, not a letter
  EXPECT_EQ(parsed("4-6"), "4 ");
  EXPECT_EQ(parsed("0"), "none");
  EXPECT_EQ(parsed("32768"), "none");
  EXPECT_EQ(parsed("A12"), "none");
}

}  // namespace
}  // namespace koltar::import
