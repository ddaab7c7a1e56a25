// The route list dialog's behaviour on a map with a planned route: its lines and texts,
// positioning the map window on a settlement, linked information, copying, saving, the
// GPX and GeoJSON exports, and what OK keeps.

#include "map/show_opt_path.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "categories/point.h"
#include "map/route_export.h"
#include "platform/help.h"
#include "route/opt_path.h"
#include "tests/map/route_maps.h"
#include "tests/support/test_env.h"

namespace koltar {
namespace {

using Lines = std::vector<std::string>;

class RecordingWindow final : public RouteListWindow {
 public:
  void PositionOnSettlement(std::int32_t scale, MapPoint at) override {
    calls.push_back("POSITION " + std::to_string(scale) + " " + std::to_string(at.x) + "," +
                    std::to_string(at.y));
  }
  void HideMarker() override { calls.push_back("HIDE"); }
  Lines calls;
};

class RecordingHelp final : public HelpService {
 public:
  void ShowIndex(const std::string&) override {}
  void ShowContext(const std::string&, int context) override { contexts.push_back(context); }
  void ShowKeyword(const std::string&, const std::string&) override {}
  void Quit() override {}
  std::vector<int> contexts;
};

class RouteListDialog : public test::ServicesTest {
 protected:
  void SetUp() override {
    map = test::WriteVillages(dir.path());
    ASSERT_TRUE(test::PlanThrough(*map, {"Alma", "Őr"}));
  }

  ShowOptPath Dialog(LinkedInfoShower linkedInfo = nullptr) {
    return ShowOptPath(*map, window, scales, std::move(linkedInfo));
  }

  static std::string Texts(const ShowOptPath& d) {
    std::string out;
    for (const RouteListLine& l : d.lines()) out += l.text + "\n";
    return out;
  }

  test::TempDir dir;
  std::unique_ptr<MMap> map;
  RecordingWindow window;
  RouteListScales scales{100, 50000000, 25000};
};

TEST_F(RouteListDialog, OpeningListsTheRouteAndHidesTheMarker) {
  ShowOptPath d = Dialog();
  ASSERT_TRUE(d.Open());
  EXPECT_EQ(Texts(d),
            "\xBB\tAlma\t  0.0\t00:00\t   0.0\n"
            " \tBükk\t  1.0\t00:01\t  10.0\n"
            "\xBB\tŐr\t  2.0\t00:02\t  20.0\n");
  EXPECT_EQ(d.rangeText(), "Megengedett tartomány:  1 : 100   -  1 : 50 000 000 ");
  EXPECT_EQ(d.scaleText(), "25000");
  EXPECT_EQ(d.selected(), -1);
  EXPECT_EQ(window.calls, (Lines{"HIDE"}));
}

TEST_F(RouteListDialog, SelectingALinePositionsTheWindowAtTheTypedScale) {
  ShowOptPath d = Dialog();
  ASSERT_TRUE(d.Open());
  d.Select(1);
  d.ScaleTyped("5000");
  EXPECT_EQ(scales.positioning, 5000);  // at once, before OK
  d.Select(2);
  d.ScaleTyped("12ab");
  d.Select(0);
  d.Select(-1);
  d.Select(3);  // no such line
  EXPECT_EQ(window.calls,
            (Lines{"HIDE", "POSITION 25000 1000,0", "POSITION 5000 1000,1000", "POSITION 12 0,0"}));
  EXPECT_EQ(d.selected(), -1);
}

TEST_F(RouteListDialog, DoubleClickOpensLinkedInformationWhenTheMapHasAny) {
  ShowOptPath without = Dialog(LinkedInfoOf(*map, nullptr));
  ASSERT_TRUE(without.Open());
  without.DoubleClick(2);
  EXPECT_EQ(services.messages.Transcript(),
            (Lines{"KOLTAR32|EXCLAMATION|Kapcsolt információ nem jeleníthető meg."}));
  // The line is selected by the double click's first click too.
  EXPECT_EQ(window.calls.back(), "POSITION 25000 1000,1000");

  Lines shown;
  ShowOptPath with = Dialog([&](std::int32_t settlement, WindowHandle) {
    const MPoint& towns = *map->points()[static_cast<std::size_t>(map->townCategory())];
    shown.push_back(towns.name() + "|" + towns.GetObjectName(settlement, true));
  });
  ASSERT_TRUE(with.Open());
  with.DoubleClick(1);
  EXPECT_EQ(shown, (Lines{"Helységek|Bükk"}));
  EXPECT_EQ(services.messages.messages().size(), 1u);
}

TEST_F(RouteListDialog, CopyPutsTheHeaderAndTheLinesOnTheClipboard) {
  ShowOptPath d = Dialog();
  ASSERT_TRUE(d.Open());
  EXPECT_TRUE(d.Copy());
  ASSERT_EQ(services.clipboard.texts().size(), 1u);
  EXPECT_EQ(services.clipboard.texts()[0],
            "\tTelepülés\tTávolság\tIdő\tKöltség\r\n"
            "\xBB\tAlma\t  0.0\t00:00\t   0.0\r\n"
            " \tBükk\t  1.0\t00:01\t  10.0\r\n"
            "\xBB\tŐr\t  2.0\t00:02\t  20.0\r\n");
  services.clipboard.Refuse(true);
  EXPECT_FALSE(d.Copy());
}

TEST_F(RouteListDialog, WithoutRouteOnlyTheHeaderIsCopiedAndSaved) {
  map->DeleteRoute();
  ShowOptPath d = Dialog();
  ASSERT_TRUE(d.Open());
  EXPECT_TRUE(d.lines().empty());
  EXPECT_TRUE(d.Copy());
  EXPECT_EQ(services.clipboard.texts().at(0), "\tTelepülés\tTávolság\tIdő\tKöltség\r\n");
  ASSERT_TRUE(d.Save(dir.Model("ures.txt")));
  EXPECT_EQ(dir.Read("ures.txt"), "\tTelepülés\tTávolság\tIdő\tKöltség\n");
  d.Select(0);
  EXPECT_EQ(window.calls, (Lines{"HIDE"}));
}

TEST_F(RouteListDialog, OkKeepsAScaleOfTheAllowedRange) {
  ShowOptPath d = Dialog();
  ASSERT_TRUE(d.Open());
  d.ScaleTyped("50");
  EXPECT_FALSE(d.Accept());
  EXPECT_EQ(services.messages.Transcript(),
            (Lines{"KOLTAR32|EXCLAMATION|Value is not in the range 100 to 50000000."}));
  EXPECT_EQ(window.calls, (Lines{"HIDE"}));
  d.ScaleTyped("30000");
  ASSERT_TRUE(d.Accept());
  EXPECT_EQ(scales.positioning, 30000);
  EXPECT_EQ(window.calls, (Lines{"HIDE", "HIDE"}));
  d.Close();
  EXPECT_EQ(window.calls.size(), 3u);
}

TEST_F(RouteListDialog, HelpIsTopicFive) {
  RecordingHelp help;
  InstalledServices().help = &help;
  Dialog().ShowHelp();
  InstalledServices().help = nullptr;
  EXPECT_EQ(help.contexts, (std::vector<int>{5}));
}

// ---- exports -------------------------------------------------------------------------

TEST_F(RouteListDialog, TrackFollowsTheRoadsInTravelOrder) {
  // Road 1 is stored from Őr to Bükk and is turned to go on from Bükk.
  const std::vector<MapPoint> track = RouteTrack(*map);
  EXPECT_EQ(track, (std::vector<MapPoint>{{0, 0}, {500, 10}, {1000, 0}, {1000, 1000}}));
  // Planned the other way, both roads are turned.
  ASSERT_TRUE(test::PlanThrough(*map, {"Őr", "Alma"}));
  EXPECT_EQ(RouteTrack(*map), (std::vector<MapPoint>{{1000, 1000}, {1000, 0}, {500, 10}, {0, 0}}));
  map->DeleteRoute();
  EXPECT_TRUE(RouteTrack(*map).empty());
}

TEST_F(RouteListDialog, GpxHasTheStopsAsRoutePointsAndTheGeometryAsTrack) {
  const std::optional<GeoRoute> route = GeoRouteOf(*map);
  ASSERT_TRUE(route);
  EXPECT_EQ(route->title, "Alma - Őr");
  ASSERT_EQ(route->track.size(), 4u);
  const GeoPosition origin = *map->ToGeographic({0, 0});
  EXPECT_DOUBLE_EQ(route->track[0].latitude, origin.latitude);
  EXPECT_DOUBLE_EQ(route->track[0].longitude, origin.longitude);

  const std::string gpx = RouteGpx(*route);
  EXPECT_EQ(gpx.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\"", 0), 0u);
  // Names in UTF-8; only the requested stops are route points.
  EXPECT_NE(gpx.find("<rtept lat=\"47.1"), std::string::npos);
  EXPECT_NE(gpx.find("<name>Alma - \xC5\x90r</name>"), std::string::npos);
  EXPECT_NE(gpx.find("<name>\xC5\x90r</name>\n      <desc>2.0 km, 00:02, 20.0 Ft</desc>"), std::string::npos);
  EXPECT_EQ(gpx.find("B\xC3\xBCkk"), std::string::npos);
  std::size_t points = 0;
  for (std::size_t at = gpx.find("<trkpt"); at != std::string::npos; at = gpx.find("<trkpt", at + 1))
    ++points;
  EXPECT_EQ(points, 4u);
}

TEST_F(RouteListDialog, GeoJsonHasTheLineWithItsTotalsAndTheStops) {
  const std::string json = RouteGeoJson(*GeoRouteOf(*map));
  EXPECT_EQ(json.rfind("{\"type\":\"FeatureCollection\",\"features\":[\n{\"type\":\"Feature\",\"geometry\":"
                       "{\"type\":\"LineString\",\"coordinates\":[[",
                       0),
            0u);
  EXPECT_NE(json.find("\"properties\":{\"name\":\"Alma - \xC5\x90r\",\"distance_km\":2.000,\"time_h\":0.0333,"
                      "\"time\":\"00:02\",\"cost_ft\":20.0,\"itinerary\":[{\"name\":\"Alma\""),
            std::string::npos);
  EXPECT_NE(json.find("{\"name\":\"B\xC3\xBCkk\",\"distance_km\":1.000"), std::string::npos);
  std::size_t points = 0;
  for (std::size_t at = json.find("\"Point\""); at != std::string::npos; at = json.find("\"Point\"", at + 1))
    ++points;
  EXPECT_EQ(points, 2u);
}

TEST_F(RouteListDialog, ExportsNeedTheMapsProjection) {
  ShowOptPath d = Dialog();
  ASSERT_TRUE(d.Open());
  ASSERT_TRUE(d.Export(RouteFormat::Gpx, dir.Model("ut.gpx")));
  EXPECT_EQ(dir.Read("ut.gpx"), RouteGpx(*GeoRouteOf(*map)));
  ASSERT_TRUE(d.Export(RouteFormat::GeoJson, dir.Model("ut.geojson")));
  EXPECT_EQ(dir.Read("ut.geojson"), RouteGeoJson(*GeoRouteOf(*map)));
  EXPECT_EQ(services.messages.messages().back().text,
            "Optimális út kiírva '" + dir.Model("ut.geojson") + "' file-ba.");

  test::TempDir other;
  std::unique_ptr<MMap> plain = test::WriteVillages(other.path(), false);
  ASSERT_TRUE(test::PlanThrough(*plain, {"Alma", "Őr"}));
  services.messages.Clear();
  EXPECT_FALSE(GeoRouteOf(*plain));
  EXPECT_FALSE(ExportRoute(*plain, RouteFormat::Gpx, other.Model("ut.gpx")));
  EXPECT_FALSE(std::filesystem::exists(other.path() / "ut.gpx"));
  EXPECT_EQ(services.messages.Transcript(),
            (Lines{std::string("KOLTAR32|EXCLAMATION|") + kNoProjectionText}));
}

}  // namespace
}  // namespace koltar
