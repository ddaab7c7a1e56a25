#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/support/test_env.h"
#include "view/map_view_state.h"
#include "view/mouse_tools.h"

namespace koltar {
namespace {

// A map 4000 x 3000 map units of 10 m on a screen of 0.25 mm pixels, in 800 x 600
// pixels: it fits at 200000 and is shown whole at 220000, where a pixel is 5.5 map units.
ViewMapFacts Facts(MapRect extent = MapRect::Of(0, 3000, 4000, 0)) {
  return ViewMapFacts{10, PixelSize{0.25, 0.25}, extent, 100, 50000000};
}

MapViewState WholeMap(const DeviceRect& rect = DeviceRect{0, 0, 800, 600},
                      MapRect extent = MapRect::Of(0, 3000, 4000, 0)) {
  MapViewState view(Facts(extent));
  view.SetDeviceRect(rect);
  view.FitWholeMap();
  return view;
}

MapPoint MapAt(const MapViewState& view, DevicePoint p) { return DeviceToMap(view.Transform(), p); }

int Distance(MapPoint a, MapPoint b) { return std::max(std::abs(a.x - b.x), std::abs(a.y - b.y)); }

TEST(MapViewState, NewViewHasNoScaleAndStandsOnTheExtentsMiddle) {
  const MapViewState view(Facts());
  EXPECT_FALSE(view.HasScale());
  EXPECT_EQ(view.scale(), -1);
  EXPECT_EQ(view.centre(), (MapPoint{2000, 1500}));
  EXPECT_FALSE(view.Scrollable());
  EXPECT_EQ(MapViewState(Facts(MapRect::Empty())).centre(), (MapPoint{0, 0}));
}

TEST(MapViewState, SetScaleRoundsClampsAndShowsNothing) {
  test::ScopedTestServices services;
  MapViewState view(Facts());
  EXPECT_EQ(view.SetScale(2549), 3000);
  EXPECT_EQ(view.scale(), 3000);
  EXPECT_EQ(view.SetScale(50), 100);
  EXPECT_EQ(view.SetScale(2147483647), 50000000);
  EXPECT_EQ(services.status.scale, "");  // the window shows the scale, not the view
}

TEST(MapViewState, WholeMapFitsTheExtentWithATenthToSpare) {
  const MapViewState view = WholeMap();
  EXPECT_EQ(view.scale(), 220000);
  EXPECT_EQ(view.centre(), (MapPoint{2000, 1500}));
  // The visible rectangle: 400 and 300 pixels of 5.5 units either side of the centre,
  // each corner rounded by adding a half and dropping the fraction toward zero.
  EXPECT_EQ(view.VisibleMapRect(), MapRect::Of(-199, 3150, 4200, -149));
  // A window without size asks for the widest scale, a map without objects for the
  // narrowest, centred on the origin.
  EXPECT_EQ(WholeMap(DeviceRect{0, 0, 0, 600}).scale(), 50000000);
  const MapViewState empty = WholeMap(DeviceRect{0, 0, 800, 600}, MapRect::Empty());
  EXPECT_EQ(empty.scale(), 100);
  EXPECT_EQ(empty.centre(), (MapPoint{0, 0}));
}

TEST(MapViewState, MiddlesAreHalvedTowardZeroInSixtyFourBits) {
  EXPECT_EQ(MiddleOf(MapRect::Of(-3, 0, 0, -3)), (MapPoint{-1, -1}));
  EXPECT_EQ(MiddleOf(MapRect::Of(1, 4, 4, 1)), (MapPoint{2, 2}));
  EXPECT_EQ(MiddleOf(MapRect::Of(2147483000, 10, 2147483647, 0)), (MapPoint{2147483323, 5}));
  EXPECT_EQ(MiddleOf(MapRect::Of(-2147483647, 0, -2147483000, -3)), (MapPoint{-2147483323, -1}));
  // An odd extent: the whole map view stands on the rounded middle.
  EXPECT_EQ(WholeMap(DeviceRect{0, 0, 801, 601}, MapRect::Of(-5, 3001, 3999, 0)).centre(),
            (MapPoint{1997, 1500}));
}

TEST(RouteView, FitTimesOnePointTwoAroundTheMiddle) {
  RouteView v = RouteViewOf(MapRect::Of(0, 50, 150, 0), 1000);
  EXPECT_EQ(v.scale, 1200);
  EXPECT_EQ(v.centre, (MapPoint{75, 25}));
  v = RouteViewOf(MapRect::Of(-3, 0, 0, -3), 2999);  // halves toward zero, fraction dropped
  EXPECT_EQ(v.scale, 3598);
  EXPECT_EQ(v.centre, (MapPoint{-1, -1}));
  v = RouteViewOf(MapRect::Of(2147483000, 10, 2147483647, 0), 2000000000);
  EXPECT_EQ(v.scale, 2147483647);
  EXPECT_EQ(v.centre.x, 2147483323);
}

TEST(MapViewState, ShowRouteFitsTheBoundsTimesOnePointTwo) {
  MapViewState view = WholeMap();
  // 1000 x 1000 units: the height decides, 1000 * 10 * 1000 / (600 * 0.25) = 66666,
  // times 1.2 is 79999, rounded to 80000.
  view.ShowRoute(MapRect::Of(0, 1000, 1000, 0));
  EXPECT_EQ(view.scale(), 80000);
  EXPECT_EQ(view.centre(), (MapPoint{500, 500}));
}

TEST(MapViewState, ZoomAroundKeepsThePointUnderTheMouse) {
  for (const DeviceRect rect : {DeviceRect{0, 0, 800, 600}, DeviceRect{0, 0, 801, 601}}) {
    for (const DevicePoint at : {DevicePoint{600, 200}, DevicePoint{0, 0}, DevicePoint{799, 599}}) {
      for (const double factor : {0.5, 2.0}) {
        MapViewState view = WholeMap(rect);
        view.SetScale(100000);
        const MapPoint under = MapAt(view, at);
        ASSERT_TRUE(view.ZoomAround(at, factor));
        EXPECT_EQ(view.scale(), factor < 1 ? 50000 : 200000);
        EXPECT_LE(Distance(MapAt(view, at), under), 2) << at.x << "," << at.y << " x" << factor;
      }
    }
  }
}

TEST(MapViewState, ZoomAroundAtTheEndOfTheRangeLeavesTheCentre) {
  MapViewState view = WholeMap();
  view.SetScale(100);
  const MapPoint centre = view.centre();
  EXPECT_FALSE(view.ZoomAround(DevicePoint{10, 10}, 0.5));
  EXPECT_EQ(view.scale(), 100);
  EXPECT_EQ(view.centre(), centre);
}

TEST(MapViewState, PanMovesTheCentreAgainstTheDragAndStaysInTheExtent) {
  MapViewState view = WholeMap();
  view.PanBy(DevicePoint{80, 40});  // picture dragged right and down: the view looks west and north
  EXPECT_EQ(view.centre(), (MapPoint{2000 - 440, 1500 + 220}));
  view.PanBy(DevicePoint{-2000, 0});
  EXPECT_EQ(view.centre().x, 4000);
  view.PanBy(DevicePoint{0, -2000});
  EXPECT_EQ(view.centre().y, 0);
  view.PanBy(DevicePoint{2000, 2000});
  EXPECT_EQ(view.centre(), (MapPoint{0, 3000}));
  // Without an extent nothing holds the centre back.
  MapViewState open = WholeMap(DeviceRect{0, 0, 800, 600}, MapRect::Empty());
  open.SetScale(220000);
  open.PanBy(DevicePoint{-100, 0});
  EXPECT_EQ(open.centre(), (MapPoint{550, 0}));
}

TEST(MapViewState, BandZoomsInAndOutAroundItsMiddle) {
  const DeviceRect band{100, 100, 300, 200};  // a quarter of the width, a sixth of the height
  const MapViewState whole = WholeMap();
  const MapPoint a = MapAt(whole, DevicePoint{100, 100});
  const MapPoint b = MapAt(whole, DevicePoint{300, 200});
  const MapPoint middle{(a.x + b.x) / 2, (a.y + b.y) / 2};

  MapViewState in = whole;
  ASSERT_TRUE(in.ZoomToBand(band));
  EXPECT_EQ(in.scale(), 55000);
  EXPECT_EQ(in.centre(), middle);

  MapViewState out = whole;
  ASSERT_TRUE(out.ShrinkIntoBand(band));
  EXPECT_EQ(out.scale(), 880000);
  EXPECT_EQ(out.centre(), middle);

  // A band without width or height changes nothing.
  MapViewState flat = whole;
  EXPECT_FALSE(flat.ZoomToBand(DeviceRect{100, 100, 100, 200}));
  EXPECT_FALSE(flat.ShrinkIntoBand(DeviceRect{100, 100, 300, 100}));
  EXPECT_EQ(flat.view().scale, whole.scale());
  EXPECT_EQ(flat.centre(), whole.centre());
}

TEST(MapViewState, ZoomToolClickHalvesTheScaleOnThePoint) {
  MapViewState view = WholeMap();
  const DevicePoint at{200, 150};
  const MapPoint target = MapAt(view, at);
  ASSERT_TRUE(view.ZoomToBand(BandRect(ZoomBandAt(at, view.deviceRect()))));
  EXPECT_EQ(view.scale(), 110000);
  EXPECT_LE(Distance(view.centre(), target), 1);
}

TEST(MapViewState, ScrollStepsByTenthsAndPagesAndStopsAtTheEnds) {
  MapViewState view = WholeMap();
  ASSERT_TRUE(view.Scrollable());
  // A window is 800 x 5.5 = 4400 units across and 3300 down.
  EXPECT_EQ(view.ScrollTarget(ScrollAxis::Horizontal, ScrollStep::LineForward), 2440);
  EXPECT_EQ(view.ScrollTarget(ScrollAxis::Horizontal, ScrollStep::LineBack), 1560);
  EXPECT_EQ(view.ScrollTarget(ScrollAxis::Vertical, ScrollStep::LineForward), 1500 - 330);  // down is south
  EXPECT_EQ(view.ScrollTarget(ScrollAxis::Vertical, ScrollStep::LineBack), 1500 + 330);
  EXPECT_EQ(view.ScrollTarget(ScrollAxis::Horizontal, ScrollStep::PageForward), 4000);  // kept in the extent
  EXPECT_EQ(view.ScrollTarget(ScrollAxis::Vertical, ScrollStep::PageForward), 0);
  EXPECT_EQ(view.ScrollTarget(ScrollAxis::Vertical, ScrollStep::PageBack), 3000);
  EXPECT_EQ(view.ScrollTarget(ScrollAxis::Horizontal, ScrollStep::ToStart), 0);
  EXPECT_EQ(view.ScrollTarget(ScrollAxis::Horizontal, ScrollStep::ToEnd), 4000);
  EXPECT_EQ(view.ScrollTarget(ScrollAxis::Vertical, ScrollStep::ToStart), 3000);  // the top
  EXPECT_EQ(view.ScrollTarget(ScrollAxis::Vertical, ScrollStep::ToEnd), 0);

  // The move in pixels, for shifting what is drawn.
  EXPECT_EQ(view.ScrollTo(ScrollAxis::Horizontal, 2440), 80);
  EXPECT_EQ(view.centre(), (MapPoint{2440, 1500}));
  EXPECT_EQ(view.ScrollTo(ScrollAxis::Vertical, 1170), -60);
  EXPECT_EQ(view.ScrollTo(ScrollAxis::Horizontal, 4000), 283);  // 1560 units, fraction dropped
  EXPECT_EQ(view.ScrollPosition(ScrollAxis::Horizontal, 1000), 1000);
  EXPECT_EQ(view.CoordinateAtScrollPosition(ScrollAxis::Horizontal, 250, 1000), 1000);
}

TEST(MapViewState, APageIsAtLeastOneUnit) {
  MapViewState view = WholeMap(DeviceRect{0, 0, 1, 1});
  view.SetScale(100);  // 0.0025 units a pixel: the one-pixel window is no unit wide
  const MapPoint c = view.centre();
  EXPECT_EQ(view.ScrollTarget(ScrollAxis::Horizontal, ScrollStep::PageForward), c.x + 1);
  EXPECT_EQ(view.ScrollTarget(ScrollAxis::Vertical, ScrollStep::PageForward), c.y - 1);
  EXPECT_EQ(view.ScrollTarget(ScrollAxis::Horizontal, ScrollStep::LineForward),
            c.x);  // a tenth of a unit rounds to nothing
}

TEST(MapViewState, NothingToScrollWithoutScaleOrExtent) {
  EXPECT_FALSE(MapViewState(Facts()).Scrollable());
  EXPECT_FALSE(WholeMap(DeviceRect{0, 0, 800, 600}, MapRect::Empty()).Scrollable());
}

}  // namespace
}  // namespace koltar
