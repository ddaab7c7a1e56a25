#include <gtest/gtest.h>

#include <numeric>

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

TEST(RoadGenerator, TooFewPlacesGiveNoRoads) {
  EXPECT_TRUE(GenerateRoads({}, {}).empty());
  EXPECT_TRUE(GenerateRoads({GeneratorSettlement{}}, {}).empty());
}

}  // namespace
}  // namespace koltar::import
