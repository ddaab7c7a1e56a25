#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "categories/point.h"
#include "tests/categories/category_fixture.h"

namespace koltar {
namespace {

using Lines = std::vector<std::string>;
using test::TranscriptIs;

class PointDrawing : public test::DrawTest {
 protected:
  PointDrawing() : towns(writer.AddPoints("Helyek", {"Város", "Falu", "Tanya"})) {
    writer.AddBitmap("varos.bmp", test::Picture(40, 20, Rgb(200, 0, 0)));
    auto& category = writer.symbology.AddCategory("Helyek");
    category.AddLayer("Város").Set("BITMAP", "varos.bmp,7");
    category.AddLayer("Falu").Set("BITMAP", "varos.bmp,4").Set("DISPLAYSCALE", "5000,10000");
    category.AddLayer("Tanya");  // no bitmap
  }
  PointCategoryWriter& towns;
};

TEST_F(PointDrawing, SymbolRectangleAndHitTest) {
  towns.Add(1, {100, 100}, "Szeged");
  MPoint points = LoadWithSymbology<MPoint>("Helyek");
  EXPECT_EQ(points.HitTest({100, 100}), std::nullopt);  // nothing is hit before it was drawn
  Draw(points);
  // 40 x 20 pixels at a height of 7 map units: 14 wide; left 93, top 103, right 107,
  // bottom 96, so the device rectangle starts at 93, 200 - 103.
  EXPECT_TRUE(TranscriptIs(dc.Transcript(), {"STRETCHBLT 93,97 14x7 <- 0,0 40x20 COPY"}));
  for (MapPoint in : {MapPoint{93, 103}, MapPoint{107, 96}, MapPoint{100, 100}})
    EXPECT_EQ(points.HitTest(in), 0) << in.x << "," << in.y;
  for (MapPoint out : {MapPoint{92, 100}, MapPoint{108, 100}, MapPoint{100, 104}, MapPoint{100, 95}})
    EXPECT_EQ(points.HitTest(out), std::nullopt) << out.x << "," << out.y;
}

TEST_F(PointDrawing, LaterPointsCoverEarlierOnesAndWinTheHitTest) {
  towns.Add(1, {100, 100}, "A");
  towns.Add(1, {104, 100}, "B");
  MPoint points = LoadWithSymbology<MPoint>("Helyek");
  Draw(points);
  EXPECT_TRUE(TranscriptIs(dc.Transcript(), {"STRETCHBLT 93,97 14x7 <- 0,0 40x20 COPY",
                                             "STRETCHBLT 97,97 14x7 <- 0,0 40x20 COPY"}));
  EXPECT_EQ(points.HitTest({102, 100}), 1);
  EXPECT_EQ(points.HitTest({95, 100}), 0);
}

TEST_F(PointDrawing, DrawnFlagsFollowLayersScalesAndTheView) {
  towns.Add(1, {100, 100}, "Látszik");
  towns.Add(2, {50, 50}, "Falu");        // layer shown only from 1:5000 to 1:10000
  towns.Add(3, {60, 60}, "Tanya");       // no symbol
  towns.Add(1, {5000, 5000}, "Messze");  // outside the view
  writer.symbology.categories[0].layers[0].Set("DISPLAYSCALE", "1000,20000");
  MPoint points = LoadWithSymbology<MPoint>("Helyek");

  Draw(points, 8000);
  EXPECT_TRUE(points.IsDrawn(0));
  EXPECT_TRUE(points.IsDrawn(1));
  EXPECT_FALSE(points.IsDrawn(2));
  EXPECT_FALSE(points.IsDrawn(3));  // out of view: the flag keeps its value
  EXPECT_EQ(dc.Transcript().size(), 2u);

  Draw(points, 4000);  // the village's layer is out of scale now
  EXPECT_TRUE(points.IsDrawn(0));
  EXPECT_FALSE(points.IsDrawn(1));
  EXPECT_EQ(points.HitTest({50, 50}), std::nullopt);

  // Outside the category's range nothing changes: the flags of the last drawing stay.
  writer.symbology.categories[0].displayScale = "1000,2000";
  services.messages.Clear();
  MPoint other = LoadWithSymbology<MPoint>("Helyek");
  Draw(other, 4000);
  EXPECT_TRUE(dc.Transcript().empty());
  EXPECT_EQ(other.HitTest({100, 100}), std::nullopt);
  Draw(other, 1500);
  EXPECT_EQ(other.HitTest({100, 100}), 0);
  Draw(other, 3000);
  EXPECT_EQ(other.HitTest({100, 100}), 0);
}

TEST_F(PointDrawing, HiddenLayerClearsItsFlags) {
  towns.Add(1, {100, 100}, "Szeged");
  MPoint points = LoadWithSymbology<MPoint>("Helyek");
  Draw(points);
  ASSERT_EQ(points.HitTest({100, 100}), 0);
  // The editor stores the edited records as a whole.
  std::vector<CartoCategory> edited = symbology->categories();
  edited[0].layers[0].visible = 0;
  symbology->ReplaceCategories(edited);
  Draw(points);
  EXPECT_TRUE(dc.Transcript().empty());
  EXPECT_EQ(points.HitTest({100, 100}), std::nullopt);
}

TEST_F(PointDrawing, TransparentSymbolsGoThroughTheirMasks) {
  writer.symbology.categories[0].layers[0].Set("TRANSPARENTCOLOR", "255,255,255");
  towns.Add(1, {100, 100}, "Szeged");
  MPoint points = LoadWithSymbology<MPoint>("Helyek");
  Draw(points);
  EXPECT_TRUE(TranscriptIs(
      dc.Transcript(), {"STRETCHBLT 93,97 14x7 <- 0,0 40x20 AND", "STRETCHBLT 93,97 14x7 <- 0,0 40x20 OR"}));
}

TEST_F(PointDrawing, DevicesWithoutStretchedTransfers) {
  towns.Add(1, {100, 100}, "A");
  towns.Add(1, {120, 100}, "B");
  MPoint points = LoadWithSymbology<MPoint>("Helyek");
  dc.canStretchBlt = false;
  Draw(points);
  EXPECT_TRUE(TranscriptIs(dc.Transcript(),
                           {"STRETCHDIB 93,97 14x7 <- 0,0 40x20", "STRETCHDIB 113,97 14x7 <- 0,0 40x20"}));
  dc.canStretchDib = false;
  Draw(points);
  EXPECT_TRUE(dc.Transcript().empty());
  EXPECT_EQ(Messages(), (Lines{"KOLTAR32|EXCLAMATION|Az aktuális output eszköz (képernyő/nyomtató) nem "
                               "támogatja a bittérképek megjelenítéséhez szükséges funkciókat."}));
  EXPECT_FALSE(points.IsDrawn(0));
  EXPECT_TRUE(points.IsDrawn(1));  // after the failing one: the flag of the last drawing
}

TEST_F(PointDrawing, SymbolsTooSmallForTheUnitAreNotDrawn) {
  writer.unit = 20;  // 7 m is 0 map units (floor(0.35 + 0.5))
  towns.Add(1, {100, 100}, "Szeged");
  MPoint points = LoadWithSymbology<MPoint>("Helyek");
  points.Draw(Context(4000, kDevice, 20));
  EXPECT_TRUE(dc.Transcript().empty());
  EXPECT_FALSE(points.IsDrawn(0));
}

TEST_F(PointDrawing, EscapeEndsTheLoop) {
  for (int i = 0; i < 5; ++i) towns.Add(1, {20 * i + 10, 100}, "");
  MPoint points = LoadWithSymbology<MPoint>("Helyek");
  services.progress.PressEscAtPoll(3);
  Draw(points);
  EXPECT_EQ(dc.Transcript().size(), 2u);
  EXPECT_FALSE(points.IsDrawn(2));
}

TEST_F(PointDrawing, RefusedRecordsAreNeitherDrawnNorHit) {
  towns.AddRaw({4, {100, 100}, -1});  // layer 4 of 3
  towns.Add(1, {150, 150}, "Jó");
  MPoint points = LoadWithSymbology<MPoint>("Helyek");
  Draw(points);
  EXPECT_TRUE(TranscriptIs(dc.Transcript(), {"STRETCHBLT 143,47 14x7 <- 0,0 40x20 COPY"}));
  EXPECT_EQ(points.HitTest({100, 100}), std::nullopt);
  EXPECT_EQ(points.HitTest({150, 150}), 1);
}

}  // namespace
}  // namespace koltar
