#include <gtest/gtest.h>

#include <vector>

#include "platform/repaint.h"
#include "tests/support/recording_dc.h"
#include "view/text_outline.h"

namespace koltar {
namespace {

// One map unit per pixel, map y up: map (x, y) lands on device (x, 100 - y).
LCTransform UnitTransform() {
  LCTransform t;
  t.wx = t.wy = t.vx = 1;
  t.vy = -1;
  t.mapOriginX = 0;
  t.mapOriginY = 0;
  t.deviceOriginX = 0;
  t.deviceOriginY = 100;
  return t;
}

// The rectangle whose device corners are x 100 ... 180 and y 40 ... 60, anchored at its
// lower left (device (100, 60)).
const MapRect kLabel = MapRect::Of(100, 60, 180, 40);
const MapPoint kAnchor{100, 40};

std::vector<DevicePoint> Offsets(const TextOutline& o) { return {o.offsets().begin(), o.offsets().end()}; }

TEST(TextOutline, UnturnedLabelGrowsByFourPixels) {
  const TextOutline outline(UnitTransform(), kAnchor, kLabel, 0.0);
  EXPECT_EQ(Offsets(outline), (std::vector<DevicePoint>{{-4, 4}, {-4, -24}, {84, -24}, {84, 4}, {-4, 4}}));
  const auto at = outline.PointsAt(MapPoint{110, 50});
  EXPECT_EQ(at[0], (DevicePoint{106, 54}));
}

TEST(TextOutline, QuarterTurnCounterClockwiseTruncated) {
  const TextOutline outline(UnitTransform(), kAnchor, kLabel, 90.0);
  // (x, y) turns into (y, -x) on the screen, each value truncated toward zero after
  // the floating-point turn, so the first offset (-4, 4) becomes (3, 4).
  const auto o = Offsets(outline);
  EXPECT_EQ(o[0], (DevicePoint{3, 4}));
  EXPECT_EQ(o[1], (DevicePoint{-24, 3}));
  EXPECT_EQ(o[2], (DevicePoint{-23, -84}));
  EXPECT_EQ(o[4], o[0]);
}

TEST(TextOutline, DrawsInXorAndLeavesTheStateAlone) {
  const TextOutline outline(UnitTransform(), kAnchor, kLabel, 0.0);
  test::RecordingDeviceContext dc;
  dc.SetPen(Pen{Rgb(1, 2, 3), PenStyle::Dash, 3});
  outline.Draw(dc, kAnchor);
  EXPECT_EQ(dc.GetPen(), (Pen{Rgb(1, 2, 3), PenStyle::Dash, 3}));
  EXPECT_EQ(dc.GetDrawMode(), DrawMode::Copy);
  bool polyline = false;
  for (const std::string& line : dc.Transcript())
    polyline |= line == "POLYLINE 96,64 96,36 184,36 184,64 96,64";
  EXPECT_TRUE(polyline);
}

TEST(TextOutline, InvalidatesItsPolygon) {
  struct Window final : RepaintTarget {
    void InvalidatePolygon(const DevicePoint* p, int n) override { points.assign(p, p + n); }
    std::vector<DevicePoint> points;
  } window;
  const TextOutline outline(UnitTransform(), kAnchor, kLabel, 0.0);
  outline.InvalidateArea(window, MapPoint{100, 40});
  EXPECT_EQ(window.points, (std::vector<DevicePoint>{{96, 64}, {96, 36}, {184, 36}, {184, 64}, {96, 64}}));
}

}  // namespace
}  // namespace koltar
