#include <gtest/gtest.h>

#include <filesystem>

#include "categories/point.h"
#include "map/mmap.h"
#include "route/opt_path.h"
#include "route/road_data.h"
#include "route/route_search.h"
#include "tests/import/import_support.h"
#include "tests/support/test_env.h"

namespace koltar::import {
namespace {

// A sample copied into a scratch folder (closing a map writes its settings back).
class SampleMap : public koltar::test::ServicesTest {
 protected:
  std::string Copy(const std::string& sample, const std::string& mapFile) {
    std::filesystem::copy(std::filesystem::path(KOLTAR_SOURCE_DIR) / "data" / "samples" / sample, dir.path(),
                          std::filesystem::copy_options::recursive);
    return dir.Model(mapFile);
  }
  // Plans a route between two objects of the towns category by time; the itinerary's
  // names out.
  std::vector<std::string> Route(MMap& map, const std::string& from, const std::string& to) {
    const MPoint& towns = *map.points()[static_cast<std::size_t>(map.townCategory())];
    const PointSettlements names = map.Settlements();
    const RoadData roads = map.Roads();
    MOptPath& path = *map.roadNetwork();
    RouteState& state = path.routeState();
    state.DeleteRoute();
    state.request().ClearRoutePoints();
    path.costTable().SetCriterion(kCriterionTime);
    for (const std::string& name : {from, to}) {
      const std::int32_t node = path.graph().FindNodeOfPoint(towns.FindByName(name));
      EXPECT_GE(node, 0) << name;
      EXPECT_TRUE(state.request().AddRoutePoint(node, name));
    }
    std::string error;
    EXPECT_GT(SearchRoute(path, names, roads, error), 0);
    EXPECT_EQ(error, "");
    std::vector<std::string> out;
    ItineraryItem item;
    for (std::int32_t i = 0; i <= state.stepCount(); ++i)
      if (state.GetItineraryEntry(i, item)) out.push_back(item.name);
    return out;
  }
  koltar::test::TempDir dir;
};

TEST_F(SampleMap, HungaryLoadsQuietlyAndRoutesAcrossTheCountry) {
  MMap map(Copy("hungary", "hungary.map"));
  EXPECT_EQ(services.messages.Transcript(), std::vector<std::string>{});
  ASSERT_GE(map.townCategory(), 0);
  ASSERT_GE(map.roadCategory(), 0);
  ASSERT_NE(map.roadNetwork(), nullptr);
  EXPECT_GT(map.points()[static_cast<std::size_t>(map.townCategory())]->recordCount(), 800);
  // Szeged in the south to Győr in the north-west, through the towns on the way.
  const std::vector<std::string> stops = Route(map, "Szeged", "Gy\xF5r");
  ASSERT_GE(stops.size(), 3u);
  EXPECT_EQ(stops.front(), "Szeged");
  EXPECT_EQ(stops.back(), "Gy\xF5r");
  services.messages.Clear();
}

TEST_F(SampleMap, ClosingASampleLeavesItsFilesAsTheyWere) {
  // The files are written as the program writes its settings back, so that opening and
  // closing a sample (as ./run.sh does) changes nothing in the repository.
  const std::string mapFile = Copy("hungary", "hungary.map");
  const std::string map = dir.Read("hungary.map"), symbology = dir.Read("hungary.sym");
  { MMap opened(mapFile); }
  EXPECT_EQ(dir.Read("hungary.map"), map);
  EXPECT_EQ(dir.Read("hungary.sym"), symbology);
  services.messages.Clear();
}

TEST_F(SampleMap, GothenburgLoadsQuietlyAndRoutesBetweenStreets) {
  MMap map(Copy("gothenburg", "gothenburg.map"));
  EXPECT_EQ(services.messages.Transcript(), std::vector<std::string>{});
  const MPoint& towns = *map.points()[static_cast<std::size_t>(map.townCategory())];
  EXPECT_TRUE(towns.hasHouseNumbers());
  EXPECT_GE(towns.FindByName("G\xF6teborg"), 0);
  const std::vector<std::string> stops = Route(map, "Galateagatan", "Gamlestadsv\xE4gen");
  ASSERT_GE(stops.size(), 2u);
  EXPECT_EQ(stops.front(), "Galateagatan");
  EXPECT_EQ(stops.back(), "Gamlestadsv\xE4gen");
  services.messages.Clear();
}

}  // namespace
}  // namespace koltar::import
