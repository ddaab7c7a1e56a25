#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <numeric>
#include <set>

#include "tools/import/road_generator.h"

namespace koltar::import {
namespace {

// A 9 x 9 grid of places 0.2 degree apart with a large one in the middle and four big
// towns near the corners; the border cuts the north-east corner off.
std::vector<GeneratorSettlement> Grid() {
  std::vector<GeneratorSettlement> out;
  for (int i = 0; i < 9; ++i)
    for (int j = 0; j < 9; ++j) {
      GeneratorSettlement s;
      // A little offset keeps the places off a perfect lattice.
      s.at = {static_cast<std::int32_t>((190000 + i * 2000 + (j * 37) % 100) * 1000),
              static_cast<std::int32_t>((470000 + j * 1400 + (i * 53) % 100) * 1000)};
      s.name = "P" + std::to_string(i) + "_" + std::to_string(j);
      s.population = 1500;
      if ((i == 1 || i == 7) && (j == 1 || j == 7)) s.population = 80000;
      if (i == 4 && j == 4) s.population = 1000000;
      out.push_back(s);
    }
  return out;
}

std::vector<Ring> Border() {
  Ring r;
  for (auto [lon, lat] : std::vector<std::pair<double, double>>{
           {18.9, 46.9}, {20.7, 46.9}, {20.7, 47.7}, {20.1, 48.2}, {18.9, 48.2}, {18.9, 46.9}})
    r.points.push_back({static_cast<std::int32_t>(lon * 1e7), static_cast<std::int32_t>(lat * 1e7)});
  return {r};
}

TEST(RoadGenerator, EveryPlaceIsJoinedAndTheResultRepeats) {
  const auto places = Grid();
  const auto roads = GenerateRoads(places, Border());
  ASSERT_FALSE(roads.empty());
  std::vector<int> parent(places.size());
  std::iota(parent.begin(), parent.end(), 0);
  auto find = [&](int x) {
    while (parent[static_cast<std::size_t>(x)] != x) x = parent[static_cast<std::size_t>(x)];
    return x;
  };
  for (const auto& r : roads) {
    parent[static_cast<std::size_t>(find(r.from))] = find(r.to);
    // Roads start and end exactly at their places, so that they join there.
    EXPECT_EQ(r.points.front(), places[static_cast<std::size_t>(r.from)].at);
    EXPECT_EQ(r.points.back(), places[static_cast<std::size_t>(r.to)].at);
  }
  for (std::size_t i = 0; i < places.size(); ++i)
    EXPECT_EQ(find(static_cast<int>(i)), find(0)) << places[i].name;
  // Deterministic.
  EXPECT_EQ(RoadsToGeoJson(GenerateRoads(places, Border())), RoadsToGeoJson(roads));
  // Not a complete graph: about three roads per place at most.
  EXPECT_LT(roads.size(), places.size() * 3);
}

TEST(RoadGenerator, MotorwaysLeaveTheCapitalAndMainRoadsAreNumbered) {
  const auto places = Grid();
  const auto roads = GenerateRoads(places, Border());
  int motorwaysAtCapital = 0, primaries = 0;
  for (const auto& r : roads) {
    if (r.highway == "motorway" && (r.from == 40 || r.to == 40)) ++motorwaysAtCapital;
    if (r.highway == "motorway") {
      EXPECT_EQ(r.name[0], 'M');
    }
    if (r.highway == "primary") {
      ++primaries;
      EXPECT_NE(r.name.find(". sz. f"), std::string::npos) << r.name;
    }
  }
  EXPECT_GE(motorwaysAtCapital, 3);
  EXPECT_GT(primaries, 0);
  // The GeoJSON marks motorways as one line for both directions.
  EXPECT_NE(RoadsToGeoJson(roads).find("\"highway\":\"motorway\",\"oneway\":\"no\""), std::string::npos);
}

TEST(RoadGenerator, CorridorsReadWithTheirClassesAndBadLinesNamed) {
  std::vector<Corridor> corridors;
  std::string error;
  ASSERT_TRUE(
      ParseCorridors("# numbered roads\n\nM1 | motorway | P4_4, P1_1 ,P1_7\n"
                     "4. sz. f\xC5\x91\xC3\xBAt|primary|P4_4,P7_7  # east\r\n",
                     corridors, error))
      << error;
  ASSERT_EQ(corridors.size(), 2u);
  EXPECT_EQ(corridors[0].name, "M1");
  EXPECT_EQ(corridors[0].highway, "motorway");
  EXPECT_EQ(corridors[0].towns, (std::vector<std::string>{"P4_4", "P1_1", "P1_7"}));
  EXPECT_EQ(corridors[1].towns, (std::vector<std::string>{"P4_4", "P7_7"}));
  for (std::string_view bad : {"M1 | motorway | P4_4", "M1 | trunk | A, B", "M1 | motorway | A,, B",
                               "| motorway | A, B", "M1 | motorway"}) {
    std::vector<Corridor> out;
    EXPECT_FALSE(ParseCorridors("M0 | motorway | A, B\n" + std::string(bad), out, error)) << bad;
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
  }
}

TEST(RoadGenerator, CorridorsNumberTheRoadsThroughTheirTownsInOrder) {
  const auto places = Grid();
  auto index = [&](const std::string& name) {
    for (std::size_t i = 0; i < places.size(); ++i)
      if (places[i].name == name) return static_cast<int>(i);
    return -1;
  };
  const std::vector<Corridor> corridors = {
      {"M3", "motorway", {"P4_4", "P4_7", "P7_7"}},
      {"8. sz. f\xC5\x91\xC3\xBAt", "primary", {"P1_1", "P1_4", "P1_7"}},
      {"M9", "motorway", {"P1_1", "Nowhere", "P4_4"}},
  };
  std::vector<std::string> unknown;
  const auto roads = GenerateRoads(places, Border(), corridors, &unknown);
  EXPECT_EQ(unknown, std::vector<std::string>{"Nowhere"});
  // The motorway is a road of its own from town to town, in order, meeting the others
  // only there; the unknown name is passed over.
  std::set<std::pair<int, int>> motorways;
  for (const auto& r : roads)
    if (r.highway == "motorway") motorways.emplace(std::min(r.from, r.to), std::max(r.from, r.to));
  EXPECT_EQ(motorways, (std::set<std::pair<int, int>>{{index("P4_4"), index("P4_7")},
                                                      {index("P4_7"), index("P7_7")},
                                                      {index("P1_1"), index("P4_4")}}));
  // The main road follows the neighbours' roads: a chain of roads of its name from its
  // first town through the second to the last.
  std::map<int, std::vector<int>> main;
  for (const auto& r : roads)
    if (r.highway == "primary") {
      EXPECT_EQ(r.name, "8. sz. f\xC5\x91\xC3\xBAt");
      main[r.from].push_back(r.to);
      main[r.to].push_back(r.from);
    }
  for (const char* town : {"P1_1", "P1_4", "P1_7"}) EXPECT_TRUE(main.count(index(town))) << town;
  EXPECT_EQ(main[index("P1_1")].size(), 1u);
  EXPECT_EQ(main[index("P1_7")].size(), 1u);
  for (const auto& [place, next] : main) {
    if (place != index("P1_1") && place != index("P1_7")) {
      EXPECT_EQ(next.size(), 2u) << places[static_cast<std::size_t>(place)].name;
    }
  }
  // The links between large towns, main roads without corridors, are secondary roads.
  EXPECT_TRUE(std::any_of(roads.begin(), roads.end(),
                          [](const GeneratedRoad& r) { return r.highway == "secondary"; }));
}

TEST(RoadGenerator, TooFewPlacesGiveNoRoads) {
  EXPECT_TRUE(GenerateRoads({}, {}).empty());
  EXPECT_TRUE(GenerateRoads({GeneratorSettlement{}}, {}).empty());
}

}  // namespace
}  // namespace koltar::import
