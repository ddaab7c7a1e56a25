#include <gtest/gtest.h>

#include <optional>

#include "view/mouse_tools.h"

namespace koltar {
namespace {

constexpr DeviceRect kClient{0, 0, 800, 600};

TEST(Bands, RingRunsRoundTheRectangleAndCloses) {
  const BandRing ring = BandCorners(DevicePoint{300, 200}, DevicePoint{100, 50});
  EXPECT_EQ(ring, (BandRing{DevicePoint{300, 200}, DevicePoint{100, 200}, DevicePoint{100, 50},
                            DevicePoint{300, 50}, DevicePoint{300, 200}}));
  // Drawn up and to the left, the rectangle is still the right way round.
  EXPECT_EQ(BandRect(ring), (DeviceRect{100, 50, 300, 200}));
  EXPECT_EQ(BandRect(BandCorners(DevicePoint{7, 7}, DevicePoint{7, 7})), (DeviceRect{7, 7, 7, 7}));
}

TEST(Bands, MouseIsKeptInsideTheClient) {
  EXPECT_EQ(ClampIntoClient(DevicePoint{-5, 700}, kClient), (DevicePoint{0, 599}));
  EXPECT_EQ(ClampIntoClient(DevicePoint{900, -1}, kClient), (DevicePoint{799, 0}));
  EXPECT_EQ(ClampIntoClient(DevicePoint{400, 300}, kClient), (DevicePoint{400, 300}));
  EXPECT_EQ(ClampIntoClient(DevicePoint{40, 30}, DeviceRect{0, 0, 0, 0}), (DevicePoint{0, 0}));
}

TEST(Bands, ZoomBandIsHalfTheClientAndFollowsTheMouse) {
  EXPECT_EQ(BandRect(ZoomBandAt(DevicePoint{400, 300}, kClient)), (DeviceRect{200, 150, 600, 450}));
  // Odd sizes: a quarter with the fraction dropped on either side.
  const BandRing odd = ZoomBandAt(DevicePoint{10, 10}, DeviceRect{0, 0, 803, 607});
  EXPECT_EQ(BandRect(odd), (DeviceRect{-190, -141, 210, 161}));
  // Moved, it keeps its size; an odd width puts the extra pixel right of the mouse.
  const BandRing narrow = BandCorners(DevicePoint{0, 0}, DevicePoint{201, 101});
  EXPECT_EQ(BandRect(MovedZoomBand(narrow, DevicePoint{500, 400})), (DeviceRect{400, 350, 601, 451}));
}

TEST(Bands, ZoomBandGrowsAndShrinksWithinTheClient) {
  const BandRing band = ZoomBandAt(DevicePoint{400, 300}, kClient);
  // 20 pixels across, 20 x 600 / 800 = 15 up and down.
  std::optional<BandRing> grown = ResizedZoomBand(band, +1, kClient);
  ASSERT_TRUE(grown);
  EXPECT_EQ(BandRect(*grown), (DeviceRect{180, 135, 620, 465}));
  std::optional<BandRing> shrunk = ResizedZoomBand(band, -1, kClient);
  ASSERT_TRUE(shrunk);
  EXPECT_EQ(BandRect(*shrunk), (DeviceRect{220, 165, 580, 435}));

  // It never reaches the client's size nor loses its own.
  int steps = 0;
  for (std::optional<BandRing> b = band; (b = ResizedZoomBand(*b, +1, kClient)); ++steps)
    EXPECT_LT(BandRect(*b).width(), 800);
  EXPECT_EQ(steps, 9);  // 400 + 9 x 40 = 760; one more would be 800
  steps = 0;
  for (std::optional<BandRing> b = band; (b = ResizedZoomBand(*b, -1, kClient)); ++steps)
    EXPECT_GT(BandRect(*b).height(), 0);
  EXPECT_EQ(steps, 9);  // 300 - 9 x 30 = 30, and 400 - 9 x 40 = 40
  EXPECT_FALSE(ResizedZoomBand(band, +1, DeviceRect{0, 0, 0, 600}));
}

TEST(LabelDrag, AnchorMovesWithTheMouseAndSaturates) {
  EXPECT_EQ(DraggedAnchor(MapPoint{1000, 1000}, MapPoint{50, 60}, MapPoint{270, -40}), (MapPoint{1220, 900}));
  EXPECT_EQ(DraggedAnchor(MapPoint{2147483000, -2147483000}, MapPoint{0, 0}, MapPoint{1000, -1000}),
            (MapPoint{2147483647, -2147483647}));
}

}  // namespace
}  // namespace koltar
