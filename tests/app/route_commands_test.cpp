// The route commands of the main frame on a map with a road network: deleting the
// route and positioning the map on it, and when the route commands are enabled.

#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <algorithm>

#include "app/command_window.h"
#include "app/commands.h"
#include "app/main_frame.h"
#include "app/map_window.h"
#include "map/mmap.h"
#include "route/opt_path.h"
#include "route/route_search.h"
#include "tests/support/test_env.h"
#include "tools/mapwriter/map_writer.h"

namespace koltar {
namespace {

class RouteCommands : public test::ServicesTest {
 protected:
  RouteCommands() {
    Program().settingsFile = dir.Model("koltar.INI");
    frame = std::make_unique<MainFrame>();
    frame->resize(1000, 700);
    frame->show();
    QApplication::processEvents();
  }
  ~RouteCommands() override { frame.reset(); }

  // Alma (0,0) - Bukk (1000,0) - Cser (1000,1000) on two roads, a third road far off;
  // map units of 10 m. The names are ASCII, the same in UTF-8 and in code page 1250.
  std::string WriteMap(bool houseNumbers) {
    MapWriter w(dir.path());
    w.name = "Utak";
    w.townCategory = "Helysegek";
    w.roadCategory = "Utak";
    PolyCategoryWriter& roads = w.AddLines("Utak", {"Ut"});
    roads.Add(1, {{0, 0}, {1000, 0}}, "");
    roads.Add(1, {{1000, 0}, {1000, 1000}}, "");
    roads.Add(1, {{5000, 5000}, {6000, 6000}}, "");
    RoadNetworkWriter& net = w.AddRoadNetwork("Halozat", {"Utvonal"});
    net.costs = {{"Ut", 1, 1.0, 50.0, 10.0}};
    net.nodes = {0, 1, 2, -1, -1};
    net.edges = {{0, 1, 0, 10000}, {1, 0, 0, 10000}, {1, 2, 1, 10000},
                 {2, 1, 1, 10000}, {3, 4, 2, 14000}, {4, 3, 2, 14000}};
    PointCategoryWriter& towns = w.AddPoints("Helysegek", {"Falu"});
    towns.Add(1, {0, 0}, "Alma");
    towns.Add(1, {1000, 0}, "Bukk");
    towns.Add(1, {1000, 1000}, "Cser");
    if (houseNumbers) towns.SetHouseRange(0, {3, 1, ' ', 9, ' '});
    w.symbology.AddCategory("Utak").AddLayer("Ut").Set("LINEWIDTH", "20");
    w.symbology.AddCategory("Halozat")
        .AddLayer("Utvonal")
        .Set("LINECOLOR", "255,0,255")
        .Set("LINEWIDTH", "200");
    EXPECT_TRUE(w.Write());
    return w.MapFileName();
  }

  void PlanAlmaToCser(MMap& map) {
    MOptPath& net = *map.roadNetwork();
    ASSERT_TRUE(net.routeState().request().AddRoutePoint(0, "Alma"));
    ASSERT_TRUE(net.routeState().request().AddRoutePoint(2, "Cser"));
    std::string error;
    ASSERT_EQ(SearchRoute(net, map.Settlements(), map.Roads(), error), 2);
    commands().UpdateCommands();
  }
  // The colour of a map point in a window's drawing.
  static QColor ColourAt(MapWindow& view, MapPoint p) {
    view.RenderNow();
    const DevicePoint d = MapToDevice(view.Transform(), p);
    return view.buffer().pixelColor(d.x, d.y);
  }

  CommandWindow& commands() { return *frame->commandWindow(); }
  bool Enabled(int id) { return frame->action(id)->isEnabled(); }

  test::TempDir dir;
  std::unique_ptr<MainFrame> frame;
};

TEST_F(RouteCommands, PositionOnTheRouteAndDeleteIt) {
  ASSERT_TRUE(commands().OpenMap(WriteMap(false)));
  MMap& map = *commands().ActiveMap();
  MapWindow& view = *commands().ActiveMapFrame()->mapWindow();
  commands().Execute(cmd::kNewWindow);
  MapWindow& other = *commands().ActiveMapFrame()->mapWindow();
  EXPECT_TRUE(commands().Context().roadNetworkLoaded);
  EXPECT_TRUE(commands().Context().batchPlanningPossible);
  EXPECT_FALSE(Enabled(cmd::kDeleteRoute));
  EXPECT_FALSE(Enabled(cmd::kPositionRoute));

  PlanAlmaToCser(map);
  EXPECT_TRUE(commands().Context().routeExists);
  EXPECT_TRUE(Enabled(cmd::kDeleteRoute));
  EXPECT_TRUE(Enabled(cmd::kPositionRoute));
  const MapPoint onRoute{1000, 500};
  EXPECT_EQ(ColourAt(other, onRoute), QColor(255, 0, 255));

  // The active window: the scale that fits the route, times 1.2, rounded and limited,
  // centred on the route's middle.
  const MapRect bounds = map.GetRouteBounds();
  ASSERT_EQ(bounds, MapRect::Of(0, 1000, 1000, 0));
  const std::int32_t expected = std::clamp(RoundScale(MultiplyScale(other.FitScale(bounds), 1.2)),
                                           map.smallestScale(), map.largestScale());
  commands().Execute(cmd::kPositionRoute);
  EXPECT_EQ(other.view().scale, expected);
  EXPECT_EQ(other.view().centre, (MapPoint{500, 500}));
  EXPECT_EQ(ColourAt(other, onRoute), QColor(255, 0, 255));
  // The other window of the map keeps its view and is drawn anew, with the route.
  EXPECT_NE(view.view().scale, expected);
  EXPECT_EQ(ColourAt(view, onRoute), QColor(255, 0, 255));

  commands().Execute(cmd::kDeleteRoute);
  EXPECT_EQ(map.roadNetwork()->routeState().stepCount(), 0);
  EXPECT_FALSE(Enabled(cmd::kDeleteRoute));
  EXPECT_FALSE(Enabled(cmd::kPositionRoute));
  // Every window of the map is drawn anew, without the route.
  EXPECT_EQ(ColourAt(other, onRoute), QColor(0, 0, 0));
  EXPECT_EQ(ColourAt(view, onRoute), QColor(0, 0, 0));
  EXPECT_TRUE(services.messages.messages().empty());
}

TEST_F(RouteCommands, BatchPlanningNeedsSettlementsWithoutHouseNumbers) {
  ASSERT_TRUE(commands().OpenMap(WriteMap(true)));
  const CommandContext c = commands().Context();
  EXPECT_TRUE(c.roadNetworkLoaded);
  EXPECT_FALSE(c.batchPlanningPossible);
  EXPECT_FALSE(c.routeExists);
}

}  // namespace
}  // namespace koltar
