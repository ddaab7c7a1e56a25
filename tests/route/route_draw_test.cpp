#include "route/route_draw.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "route/opt_path.h"
#include "symbology/cartosymb.h"
#include "tests/route/route_net.h"
#include "tests/support/recording_dc.h"
#include "tests/support/test_env.h"
#include "tools/mapwriter/map_writer.h"

namespace koltar {
namespace {

using test::PaintingCalls;
using test::TranscriptIs;

// Road i of the nets runs from (100 i, 100 i) to (100 i + 50, 100 i + 50). The view
// makes one map unit one pixel: device x = map x, device y = 200 - map y.
constexpr const char* kNet =
    "type main 1 1 90 10\n"
    "Alma -- Bükk 100 main\n"   // road 0: 0,200 50,150
    "Bükk -- Cser 100 main\n"   // road 1: 100,100 150,50
    "Cser -> x     10 -\n"      // no road object
    "x    -> Dió   10 main\n";  // road 3: 300,-99 350,-149 (halves toward zero)

class RouteDrawing : public test::ServicesTest {
 protected:
  // The network's layer "Route" in the symbology, with the keys given.
  void Symbology(std::vector<std::pair<std::string, std::string>> keys) {
    SymbologyWriter writer;
    SymbologyWriter::Layer& layer = writer.AddCategory("NET").AddLayer("Route");
    for (auto& [key, value] : keys) layer.Set(key, value);
    symbology = std::make_unique<MCartoSymb>(dir.Write("symb.ini", writer.Text()));
  }
  std::vector<std::string> Draw(const RoadData& roads, std::int32_t scale = 4000, std::int32_t unit = 1) {
    dc.ClearTranscript();
    const LCTransform view =
        BuildTransform(4000, {100, 100}, DeviceRect{0, 0, 200, 200}, 1, PixelSize{0.25, 0.25});
    DrawRoute(net.path(), dc, view, scale, *symbology, unit, roads);
    return dc.Transcript();
  }
  std::vector<std::string> Draw() { return Draw(net.roads()); }

  test::TempDir dir;
  test::RouteNet net{kNet};
  std::unique_ptr<MCartoSymb> symbology;
  test::RecordingDeviceContext dc;
};

TEST_F(RouteDrawing, EveryStepDrawsItsWholeRoadWithTheFirstLayersPen) {
  Symbology({{"LINECOLOR", "255,0,255"}, {"LINEWIDTH", "7"}, {"LINESTYLE", "2"}});
  EXPECT_TRUE(Draw().empty());  // no route yet

  // There and back: a road used by two steps is drawn twice.
  net.Request({"Alma", "Cser", "Alma"});
  ASSERT_EQ(net.Plan(kCriterionDistance), 4);
  EXPECT_TRUE(TranscriptIs(PaintingCalls(Draw()),
                           {"PEN 255,0,255 7 DOT", "POLYLINE 0,200 50,150", "POLYLINE 100,100 150,50",
                            "POLYLINE 100,100 150,50", "POLYLINE 0,200 50,150"}));
  EXPECT_EQ(Draw().back(), "PEN 0,0,0 0 SOLID");  // the device's pen is given back
  // The width is ground metres: 7 m at 2 m per map unit rounds to 4 units.
  EXPECT_EQ(Draw(net.roads(), 4000, 2).front(), "PEN 255,0,255 4 DOT");
  EXPECT_EQ(net.path().GetRouteBounds(net.roads()), MapRect::Of(0, 150, 150, 0));

  net.path().routeState().DeleteRoute();
  EXPECT_TRUE(Draw().empty());
}

TEST_F(RouteDrawing, StepsWithoutUsableRoadDrawNothing) {
  Symbology({{"LINEWIDTH", "3"}});
  net.Request({"Cser", "Dió"});
  ASSERT_EQ(net.Plan(kCriterionDistance), 2);
  EXPECT_TRUE(TranscriptIs(PaintingCalls(Draw()), {"PEN 0,0,0 3 SOLID", "POLYLINE 300,-99 350,-149"}));

  // A road the road category refused, or whose points lie outside its coordinates.
  RoadData roads = net.roads();
  roads.usable = [](std::int32_t road) { return road != 3; };
  EXPECT_TRUE(Draw(roads).empty());
  EXPECT_EQ(net.path().GetRouteBounds(roads), MapRect::Empty());
  roads = net.roads();
  roads.pointCount = 7;
  EXPECT_TRUE(Draw(roads).empty());
  EXPECT_EQ(net.path().GetRouteBounds(roads), MapRect::Of(300, 350, 350, 300));
}

TEST_F(RouteDrawing, HiddenLayerOrScaleOutsideItsRange) {
  net.Request({"Alma", "Bükk"});
  ASSERT_EQ(net.Plan(kCriterionDistance), 1);
  Symbology({{"DISPLAYSCALE", "1000,5000"}});
  EXPECT_FALSE(Draw(net.roads(), 1000).empty());
  EXPECT_FALSE(Draw(net.roads(), 5000).empty());
  EXPECT_TRUE(Draw(net.roads(), 999).empty());
  EXPECT_TRUE(Draw(net.roads(), 5001).empty());
  Symbology({{"VISIBLE", "0"}});
  EXPECT_TRUE(Draw().empty());
  Symbology({{"LINESTYLE", "-1"}});  // no line
  EXPECT_TRUE(Draw().empty());
  EXPECT_EQ(net.path().routeState().stepCount(), 1);  // the route is still there
}

TEST_F(RouteDrawing, WithoutSymbologyEntryTheThinnestBlackLine) {
  symbology = std::make_unique<MCartoSymb>(dir.Model("missing.ini"));
  services.messages.Clear();
  net.Request({"Alma", "Bükk"});
  ASSERT_EQ(net.Plan(kCriterionDistance), 1);
  EXPECT_TRUE(TranscriptIs(PaintingCalls(Draw()), {"PEN 0,0,0 0 SOLID", "POLYLINE 0,200 50,150"}));
}

}  // namespace
}  // namespace koltar
