// The map object with a road network: the network bound to the settlement and road
// categories, the route drawn at the network's place in the draw order, its bounds and
// its deletion.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "categories/line.h"
#include "categories/point.h"
#include "map/mmap.h"
#include "route/opt_path.h"
#include "route/route_search.h"
#include "tests/support/recording_dc.h"
#include "tests/support/test_env.h"
#include "tools/mapwriter/map_writer.h"

namespace koltar {
namespace {

using Lines = std::vector<std::string>;
using test::TranscriptIs;

// Roads on a one-unit-per-pixel view (device y = 200 - map y): Alma (10,10) - Bükk
// (90,10) - Cser (90,90), a railway drawn after the network, and a street with house
// numbers as one more settlement.
class MapRoute : public test::ServicesTest {
 protected:
  MapRoute() {
    writer.unit = 1;
    writer.townCategory = "Helységek";
    writer.roadCategory = "Utak";
    roads.Add(1, {{10, 10}, {90, 10}}, "Első");
    roads.Add(1, {{90, 10}, {90, 90}}, "Második");
    network.layers = {"Útvonal"};
    network.costs = {{"Főút", 1, 1.0, 60.0, 10.0}};
    towns.Add(1, {10, 10}, "Alma");
    towns.Add(1, {90, 10}, "Bükk");
    towns.Add(1, {90, 90}, "Cser");
    towns.SetHouseRange(towns.Add(1, {90, 50}, "Fő utca"), {3, 1, ' ', 9, ' '});
    network.nodes = {0, 1, 2, 3};
    network.edges = {{0, 1, 0, 80}, {1, 0, 0, 80}, {1, 2, 1, 80}, {2, 1, 1, 80}};
    rails.Add(1, {{0, 50}, {100, 50}}, "");
    writer.symbology.AddCategory("Utak").AddLayer("Főút").Set("LINEWIDTH", "1");
    writer.symbology.AddCategory("Hálózat")
        .AddLayer("Útvonal")
        .Set("LINECOLOR", "255,0,0")
        .Set("LINEWIDTH", "5");
    writer.symbology.AddCategory("Vasutak")
        .AddLayer("Vasút")
        .Set("LINECOLOR", "0,0,255")
        .Set("LINEWIDTH", "1");
  }

  std::unique_ptr<MMap> Load() {
    EXPECT_TRUE(writer.Write());
    return std::make_unique<MMap>(writer.MapFileName());
  }
  // Plans Alma to Cser on the map's own categories.
  static std::int32_t Plan(MMap& map) {
    MOptPath& net = *map.roadNetwork();
    RouteRequest& request = net.routeState().request();
    request.ClearRoutePoints();
    EXPECT_TRUE(request.AddRoutePoint(0, "Alma"));
    EXPECT_TRUE(request.AddRoutePoint(2, "Cser"));
    map.DeleteRoute();
    std::string error;
    const std::int32_t steps = SearchRoute(net, map.Settlements(), map.Roads(), error);
    EXPECT_EQ(error, "");
    return steps;
  }
  Lines Draw(MMap& map) {
    dc.ClearTranscript();
    const LCTransform view =
        BuildTransform(4000, {100, 100}, DeviceRect{0, 0, 200, 200}, 1, PixelSize{0.25, 0.25});
    map.Draw(dc, view, DeviceRect{0, 0, 200, 200}, 4000);
    return test::PaintingCalls(dc.Transcript());
  }

  test::TempDir dir;
  MapWriter writer{dir.path()};
  PolyCategoryWriter& roads = writer.AddLines("Utak", {"Főút"});
  RoadNetworkWriter& network = writer.AddRoadNetwork("Hálózat", {});
  PolyCategoryWriter& rails = writer.AddLines("Vasutak", {"Vasút"});
  PointCategoryWriter& towns = writer.AddPoints("Helységek", {"Falu"});
  test::RecordingDeviceContext dc;
};

TEST_F(MapRoute, RouteIsDrawnAtTheNetworksPlaceInTheDrawOrder) {
  std::unique_ptr<MMap> map = Load();
  const Lines roadsThenRails = {"PEN 0,0,0 1 SOLID", "POLYLINE 10,190 90,190", "POLYLINE 90,190 90,110",
                                "PEN 0,0,255 1 SOLID", "POLYLINE 0,150 100,150"};
  EXPECT_TRUE(TranscriptIs(Draw(*map), roadsThenRails));

  ASSERT_EQ(Plan(*map), 2);
  // The railway, declared after the network, is drawn over the route.
  EXPECT_TRUE(TranscriptIs(
      Draw(*map),
      {"PEN 0,0,0 1 SOLID", "POLYLINE 10,190 90,190", "POLYLINE 90,190 90,110", "PEN 255,0,0 5 SOLID",
       "POLYLINE 10,190 90,190", "POLYLINE 90,190 90,110", "PEN 0,0,255 1 SOLID", "POLYLINE 0,150 100,150"}));
  EXPECT_EQ(map->GetRouteBounds(), MapRect::Of(10, 90, 90, 10));

  map->DeleteRoute();
  EXPECT_EQ(map->roadNetwork()->routeState().stepCount(), 0);
  EXPECT_TRUE(TranscriptIs(Draw(*map), roadsThenRails));
  EXPECT_EQ(map->GetRouteBounds(), MapRect::Empty());
  EXPECT_TRUE(map->CheckRouteCategories());
  EXPECT_TRUE(services.messages.messages().empty());
}

// The network's entry stands where its line stands, names the network's layers, adds
// nothing to the extent and is passed over by the name tool.
TEST_F(MapRoute, NetworkHasItsPlaceInTheDrawOrder) {
  std::unique_ptr<MMap> map = Load();
  const auto& order = map->drawOrder();
  ASSERT_EQ(order.size(), 4u);
  EXPECT_EQ(order[0].get(), map->lines()[0]);
  const MapCategory& route = *order[1];
  EXPECT_EQ(route.kind(), CategoryKind::OptPath);
  EXPECT_EQ(route.name(), "Hálózat");
  EXPECT_EQ(route.layerCount(), 1);
  EXPECT_EQ(route.LayerName(0), "Útvonal");
  EXPECT_EQ(route.recordCount(), 0);
  EXPECT_TRUE(route.GetExtent().IsEmpty());
  EXPECT_EQ(order[2].get(), map->lines()[1]);
  EXPECT_EQ(order[3].get(), map->points()[0]);
  EXPECT_EQ(map->extent(), MapRect::Of(0, 90, 100, 10));

  ASSERT_EQ(Plan(*map), 2);
  (void)Draw(*map);
  // On the route, over the first road: the road is found, not the route declared after it.
  const std::optional<ObjectHit> hit = map->HitTest({50, 10});
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->category, map->lines()[0]);
  EXPECT_EQ(hit->object, 0);
}

TEST_F(MapRoute, SettlementsAreTheTownCategoryWithHouseNumbers) {
  std::unique_ptr<MMap> map = Load();
  const PointSettlements settlements = map->Settlements();
  EXPECT_EQ(settlements.Count(), 4);
  EXPECT_EQ(settlements.NameWithHouseNumbers(3), "Fő utca 1  - 9 ");
  EXPECT_EQ(settlements.FindByName("Fő utca"), 3);
  EXPECT_EQ(settlements.FindByName("fő utca"), -1);
  ASSERT_EQ(Plan(*map), 2);
  ItineraryItem item;
  ASSERT_EQ(map->roadNetwork()->routeState().GetItineraryEntry(1, item), 1);
  EXPECT_EQ(item.name, "Bükk");
  EXPECT_EQ(item.distance, 80.0f);
  const RoadData r = map->Roads();
  EXPECT_EQ(r.recordCount, 2);
  EXPECT_EQ(r.pointCount, 4);
  EXPECT_EQ(r.Point(1, 1), (MapPoint{90, 90}));
}

// What the line category refused as damaged is neither drawn nor part of the bounds.
TEST_F(MapRoute, DamagedRoadsAreLeftOut) {
  roads.AddRaw({1, 2, 1000, -1, MapRect::Of(0, 5000, 5000, 0)});  // points beyond COORDFILE
  network.edges.push_back({2, 3, 2, 40});
  network.edges.push_back({3, 2, 2, 40});
  std::unique_ptr<MMap> map = Load();
  services.messages.Clear();
  MOptPath& net = *map->roadNetwork();
  EXPECT_TRUE(net.routeState().request().AddRoutePoint(1, "Bükk"));
  EXPECT_TRUE(net.routeState().request().AddRoutePoint(3, "Fő utca"));
  std::string error;
  ASSERT_EQ(SearchRoute(net, map->Settlements(), map->Roads(), error), 2);
  EXPECT_EQ(map->GetRouteBounds(), MapRect::Of(90, 90, 90, 10));
  const Lines drawn = Draw(*map);
  EXPECT_EQ(std::count(drawn.begin(), drawn.end(), "POLYLINE 90,190 90,110"), 2);
}

TEST_F(MapRoute, WithoutEitherCategoryNothingIsBoundAndPlanningCannotStart) {
  writer.roadCategory = "";
  network.nodes.push_back(99);  // names no settlement: reported only when the network is bound
  std::unique_ptr<MMap> map = Load();
  EXPECT_TRUE(services.messages.messages().empty());
  EXPECT_FALSE(map->CheckRouteCategories());
  EXPECT_EQ(services.messages.Transcript(),
            (Lines{"KOLTAR32|EXCLAMATION|A 'LINE' objektumok között nincs megadva az utak kategóriája.\n"
                   "(A térkép leíró file-ban hiányzik a 'CONNECTIONS' szekció 'ROADCATEGORY' bejegyzése.)"}));
  EXPECT_EQ(map->Roads().records, nullptr);
  EXPECT_EQ(map->GetRouteBounds(), MapRect::Empty());

  services.messages.Clear();
  writer.roadCategory = "Utak";
  writer.townCategory = "Utak";  // a line category: no settlements
  map = Load();
  EXPECT_FALSE(map->CheckRouteCategories());
  EXPECT_EQ(
      services.messages.Transcript(),
      (Lines{"KOLTAR32|EXCLAMATION|A 'POINT' objektumok között nincs megadva a települések kategóriája.\n"
             "(A térkép leíró file-ban hiányzik a 'CONNECTIONS' szekció 'TOWNCATEGORY' bejegyzése.)"}));
  EXPECT_EQ(map->Settlements().Count(), 0);
}

TEST_F(MapRoute, NetworkIsCheckedAgainstBothCategoriesAtLoad) {
  network.nodes.push_back(99);
  network.edges.push_back({4, 0, 7, 10});
  std::unique_ptr<MMap> map = Load();
  const std::string nodes = dir.Model("c02.nod"), edges = dir.Model("c02.edg");
  EXPECT_EQ(services.messages.Transcript(),
            (Lines{"KOLTAR32|EXCLAMATION|'" + nodes +
                       "' file 1 csomópontja nem létező településre hivatkozik. Ezeket a program "
                       "útkereszteződésnek tekinti.",
                   "KOLTAR32|EXCLAMATION|'" + edges +
                       "' file 1 éle nem létező útra hivatkozik. Ezek az élek nem járhatók."}));
}

}  // namespace
}  // namespace koltar
