#include <gtest/gtest.h>

#include "geometry/transform.h"
#include "tests/support/test_env.h"

namespace koltar {
namespace {

constexpr PixelSize kQuarterMm{0.25, 0.25};
constexpr DeviceRect kScreen{0, 0, 800, 600};

TEST(BuildTransform, RatioTableExamples) {
  // S = 25000, UNIT 10: e = 0.625, n = 1000, d = 1600, halved 500 / 800.
  LCTransform t = BuildTransform(25000, {0, 0}, kScreen, 10, kQuarterMm);
  EXPECT_EQ(t.wx, 500);
  EXPECT_EQ(t.vx, 800);
  EXPECT_EQ(t.wy, 500);
  EXPECT_EQ(t.vy, -800);
  EXPECT_EQ(MapLengthToDevice(t, 100), 160);

  // S = 4000, UNIT 1: e = 1 exactly.
  t = BuildTransform(4000, {0, 0}, kScreen, 1, kQuarterMm);
  EXPECT_EQ(t.wx, 5000);
  EXPECT_EQ(t.vx, 5000);

  // S = 100000, UNIT 1: e = 25, n = 2500, d = 100.
  t = BuildTransform(100000, {0, 0}, kScreen, 1, kQuarterMm);
  EXPECT_EQ(t.wx, 1250);
  EXPECT_EQ(t.vx, 50);
}

TEST(BuildTransform, OriginsAndDirections) {
  const LCTransform t =
      BuildTransform(25000, {1000, 2000}, DeviceRect{10, 20, 811, 621}, 10, PixelSize{0.25, 0.5});
  EXPECT_EQ(t.mapOriginX, 1000);
  EXPECT_EQ(t.mapOriginY, 2000);
  EXPECT_EQ(t.deviceOriginX, 410);  // (10 + 811) / 2, fraction dropped
  EXPECT_EQ(t.deviceOriginY, 320);
  // Vertically e = 1.25: n = 1250, d = 1000, halved 625 / 500, negated.
  EXPECT_EQ(t.wy, 625);
  EXPECT_EQ(t.vy, -500);
}

TEST(BuildTransform, RatiosNeverCollapseToZero) {
  // At the widest scales e exceeds 1000: d = 1 would halve to 0 and fold the map into
  // one point. The exact ratio is kept instead.
  LCTransform t = BuildTransform(50000000, {0, 0}, kScreen, 10, kQuarterMm);  // e = 1250
  EXPECT_EQ(t.wx, 1250);
  EXPECT_EQ(t.vx, 1);
  EXPECT_EQ(MapToDevice(t, MapPoint{12500, 0}).x, 410);
  EXPECT_EQ(DeviceToMap(t, DevicePoint{410, 300}).x, 12500);
  // At the most detailed scales of a coarse unit e falls below 0.001: n = 1 is kept.
  t = BuildTransform(100, {0, 0}, kScreen, 100, kQuarterMm);  // e = 0.00025
  EXPECT_EQ(t.wx, 1);
  EXPECT_EQ(t.vx, 4000);
  EXPECT_EQ(MapLengthToDevice(t, 1), 4000);
}

TEST(BuildTransform, NoScaleYetGivesAUsableTransform) {
  // A view that has no size yet has scale -1.
  const LCTransform t = BuildTransform(-1, {0, 0}, kScreen, 10, kQuarterMm);
  EXPECT_GT(t.wx, 0);
  EXPECT_GT(t.vx, 0);
  EXPECT_LT(t.vy, 0);
}

TEST(Conversions, RoundingAddsHalfThenTruncatesTowardZero) {
  // 1 map unit = 2 pixels: wx / vx = 1/2.
  LCTransform t;
  t.wx = 1;
  t.vx = 2;
  t.wy = 1;
  t.vy = -2;
  // Device x 3 maps to 1.5 -> 2; device x -9 maps to -4.5 + 0.5 = -4.
  EXPECT_EQ(DeviceToMap(t, DevicePoint{3, 0}).x, 2);
  EXPECT_EQ(DeviceToMap(t, DevicePoint{-9, 0}).x, -4);
  // Device y runs down: 5 pixels down is -2.5 map units, + 0.5 gives -2.
  EXPECT_EQ(DeviceToMap(t, DevicePoint{0, 5}).y, -2);

  // -3.7 gives -3 and 3.7 gives 4 (10 pixels per 37 map units).
  t.wx = 37;
  t.vx = 10;
  EXPECT_EQ(DeviceToMap(t, DevicePoint{-1, 0}).x, -3);
  EXPECT_EQ(DeviceToMap(t, DevicePoint{1, 0}).x, 4);
}

TEST(Conversions, MapToDeviceAndBack) {
  const LCTransform t = BuildTransform(25000, {5000, 5000}, kScreen, 10, kQuarterMm);
  EXPECT_EQ(MapToDevice(t, MapPoint{5000, 5000}), (DevicePoint{400, 300}));
  EXPECT_EQ(MapToDevice(t, MapPoint{5100, 5100}), (DevicePoint{560, 140}));
  EXPECT_EQ(DeviceToMap(t, DevicePoint{560, 140}), (MapPoint{5100, 5100}));

  const MapPoint in[] = {{5000, 5000}, {4900, 4900}};
  DevicePoint out[2];
  MapToDevice(t, in, out, 2);
  EXPECT_EQ(out[1], (DevicePoint{240, 460}));
}

TEST(Conversions, ResultsClampAtTheInt32Range) {
  LCTransform t;
  t.wx = 1;
  t.vx = 10000;
  t.wy = 1;
  t.vy = -10000;
  EXPECT_EQ(MapToDevice(t, MapPoint{2147483647, -2147483647}), (DevicePoint{2147483647, 2147483647}));
  EXPECT_EQ(MapToDevice(t, MapPoint{-2147483647, 2147483647}), (DevicePoint{-2147483647, -2147483647}));
  EXPECT_EQ(MapLengthToDevice(t, 1e9), 2147483647);
  EXPECT_EQ(DeviceLengthToMap(t, 25000), 2);
}

TEST(SetScale, RoundsToHundredsOrThousandsThenClamps) {
  test::ScopedTestServices services;
  MapView view;
  EXPECT_EQ(SetScale(view, 2549, 100, 50000000), 3000);
  EXPECT_EQ(SetScale(view, 2499, 100, 50000000), 2000);
  EXPECT_EQ(SetScale(view, 949, 100, 50000000), 900);
  EXPECT_EQ(SetScale(view, 951, 100, 50000000), 1000);
  EXPECT_EQ(SetScale(view, 50, 100, 50000000), 100);
  EXPECT_EQ(SetScale(view, 2147483647, 100, 50000000), 50000000);
  EXPECT_EQ(SetScale(view, 3000, 5000, 200000), 5000);
  EXPECT_EQ(view.scale, 5000);
  // The caller shows the scale; the transform layer touches no status bar.
  EXPECT_EQ(ScaleText(view.scale), "1 : 5 000 ");
  EXPECT_EQ(ScaleText(SetScale(view, 25000050, 100, 50000000)), "1 : 25 000 000 ");
  EXPECT_EQ(services.status.scale, "");
}

TEST(FitScale, LargerOfTheTwoDirections) {
  // 4000 x 3000 map units of 10 m in 800 x 600 pixels of 0.25 mm:
  // Sx = 1000 * 10 * 4000 / (800 * 0.25) = 200000, Sy the same.
  const MapRect r = MapRect::Of(0, 3000, 4000, 0);
  EXPECT_EQ(FitScale(r, kScreen, 10, kQuarterMm), 200000);
  EXPECT_EQ(MultiplyScale(200000, 1.1), 220000);
  // A tall rectangle: the vertical direction decides.
  EXPECT_EQ(FitScale(MapRect::Of(0, 6000, 100, 0), kScreen, 10, kQuarterMm), 400000);
}

TEST(FitScale, DeviceWithoutSizeAsksForTheWidestScale) {
  const MapRect r = MapRect::Of(0, 3000, 4000, 0);
  EXPECT_EQ(FitScale(r, DeviceRect{0, 0, 0, 600}, 10, kQuarterMm), 2147483647);
  EXPECT_EQ(FitScale(r, DeviceRect{0, 0, 800, 0}, 10, kQuarterMm), 2147483647);
  EXPECT_EQ(MultiplyScale(2147483647, 1.1), 2147483647);
  // The empty extent of a map without objects fits at any scale.
  EXPECT_LT(FitScale(MapRect::Empty(), kScreen, 10, kQuarterMm), 100);
}

TEST(ScrollPositions, MapToScrollAndBack) {
  const MapRect e = MapRect::Of(0, 3000, 4000, 0);
  EXPECT_EQ(ScrollPosFromMap(e, ScrollAxis::Horizontal, 0), 0);
  EXPECT_EQ(ScrollPosFromMap(e, ScrollAxis::Horizontal, 4000), 1000);
  EXPECT_EQ(ScrollPosFromMap(e, ScrollAxis::Horizontal, 2003), 501);  // 500.75
  EXPECT_EQ(ScrollPosFromMap(e, ScrollAxis::Horizontal, 9000), 1000);
  // Vertical position 0 is the top, the largest y.
  EXPECT_EQ(ScrollPosFromMap(e, ScrollAxis::Vertical, 3000), 0);
  EXPECT_EQ(ScrollPosFromMap(e, ScrollAxis::Vertical, 0), 1000);
  EXPECT_EQ(MapFromScrollPos(e, ScrollAxis::Horizontal, 250), 1000);
  EXPECT_EQ(MapFromScrollPos(e, ScrollAxis::Vertical, 250), 2250);
  EXPECT_EQ(MapFromScrollPos(e, ScrollAxis::Vertical, 2000), 0);  // clamped into the extent
}

TEST(ScrollPositions, ExtentWithoutSizeGivesTheMiddle) {
  const MapRect line = MapRect::Of(5, 3000, 5, 0);
  EXPECT_EQ(ScrollPosFromMap(line, ScrollAxis::Horizontal, 77), 500);
  EXPECT_EQ(MapFromScrollPos(line, ScrollAxis::Horizontal, 900), 5);
  EXPECT_EQ(MapFromScrollPos(MapRect::Empty(), ScrollAxis::Horizontal, 500), 0);
  EXPECT_EQ(MapFromScrollPos(MapRect::Empty(), ScrollAxis::Vertical, 500), 0);
}

}  // namespace
}  // namespace koltar
