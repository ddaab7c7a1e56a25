#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "categories/area.h"
#include "categories/line.h"
#include "tests/categories/category_fixture.h"

namespace koltar {
namespace {

using Lines = std::vector<std::string>;
using test::TranscriptIs;

class LineDrawing : public test::DrawTest {
 protected:
  LineDrawing() : roads(writer.AddLines("Utak", {"Főút", "Mellékút", "Ösvény", "Határ"})) {
    auto& c = writer.symbology.AddCategory("Utak");
    c.AddLayer("Főút").Set("FILLCOLOR", "255,200,0").Set("LINEWIDTH", "10").Set("WIDTHFACTOR", "100,60,10");
    c.AddLayer("Mellékút").Set("LINECOLOR", "100,100,100").Set("LINEWIDTH", "4").Set("LINESTYLE", "1");
    c.AddLayer("Ösvény").Set("LINEWIDTH", "4").Set("LINESTYLE", "-1");
    c.AddLayer("Határ").Set("LINEWIDTH", "0.4");  // rounds to 0 map units
  }
  PolyCategoryWriter& roads;
};

TEST_F(LineDrawing, ThreeStrokesInThreePasses) {
  roads.Add(1, {{0, 100}, {200, 100}}, "Egyes");
  roads.Add(2, {{100, 0}, {100, 200}}, "");
  roads.Add(1, {{0, 50}, {200, 50}}, "Kettes");
  MLine lines = LoadWithSymbology<MLine>("Utak");
  Draw(lines);
  // All casings first, then all fills, then all centre lines.
  EXPECT_TRUE(TranscriptIs(
      Painted(),
      {"PEN 0,0,0 10 SOLID", "POLYLINE 0,100 200,100", "PEN 100,100,100 4 DASH", "POLYLINE 100,200 100,0",
       "PEN 0,0,0 10 SOLID", "POLYLINE 0,150 200,150", "PEN 255,200,0 6 SOLID", "POLYLINE 0,100 200,100",
       "POLYLINE 0,150 200,150", "PEN 0,0,0 1 SOLID", "POLYLINE 0,100 200,100", "POLYLINE 0,150 200,150"}));
  EXPECT_EQ(lines.GetObjectName(2), "Kettes");
  EXPECT_EQ(lines.GetBounds(1), MapRect::Of(100, 200, 100, 0));
  EXPECT_EQ(lines.GetExtent(), MapRect::Of(0, 200, 200, 0));
}

TEST_F(LineDrawing, HitWithinHalfTheCasingWidth) {
  roads.Add(1, {{0, 100}, {100, 100}, {200, 100}}, "Egyes");
  roads.Add(2, {{100, 0}, {100, 200}}, "Keresztút");
  MLine lines = LoadWithSymbology<MLine>("Utak");
  Draw(lines);
  EXPECT_EQ(lines.HitTest({50, 104}), 0);
  EXPECT_EQ(lines.HitTest({50, 96}), 0);
  EXPECT_EQ(lines.HitTest({50, 105}), std::nullopt);   // half of 10 is not greater than 5
  EXPECT_EQ(lines.HitTest({101, 100}), 1);             // the later line lies on top
  EXPECT_EQ(lines.HitTest({0, 100}), 0);               // the first vertex
  EXPECT_EQ(lines.HitTest({200, 100}), 0);             // and the last one
  EXPECT_EQ(lines.HitTest({203, 100}), std::nullopt);  // beyond the end, though within the grown rectangle
  EXPECT_EQ(lines.HitTest({99, 150}), 1);
  EXPECT_EQ(lines.HitTest({98, 150}), std::nullopt);
}

TEST_F(LineDrawing, OnePointLinesAndThinLayers) {
  roads.Add(1, {{150, 150}}, "Pont");
  roads.Add(4, {{0, 20}, {100, 20}}, "Határ");
  roads.Add(3, {{0, 30}, {100, 30}}, "Ösvény");
  MLine lines = LoadWithSymbology<MLine>("Utak");
  Draw(lines);
  EXPECT_TRUE(TranscriptIs(
      Painted(), {"PEN 0,0,0 10 SOLID", "POLYLINE 150,50", "PEN 0,0,0 0 SOLID", "POLYLINE 0,180 100,180",
                  "PEN 255,200,0 6 SOLID", "POLYLINE 150,50", "PEN 0,0,0 1 SOLID", "POLYLINE 150,50"}));
  EXPECT_TRUE(lines.IsDrawn(0));
  EXPECT_EQ(lines.HitTest({150, 150}), std::nullopt);  // no segment: never hit
  // Width 0: only the vertices themselves.
  EXPECT_EQ(lines.HitTest({0, 20}), 1);
  EXPECT_EQ(lines.HitTest({100, 20}), 1);
  EXPECT_EQ(lines.HitTest({50, 20}), std::nullopt);
  // A layer without any stroke draws nothing and keeps its flag.
  EXPECT_FALSE(lines.IsDrawn(2));
  EXPECT_EQ(lines.HitTest({0, 30}), std::nullopt);
}

TEST_F(LineDrawing, HiddenAndOutOfScaleLayersClearTheirFlags) {
  roads.Add(1, {{0, 100}, {200, 100}}, "");
  roads.Add(2, {{100, 0}, {100, 200}}, "");
  writer.symbology.categories[0].layers[1].Set("DISPLAYSCALE", "100,3000");
  MLine lines = LoadWithSymbology<MLine>("Utak");
  Draw(lines, 2000);
  EXPECT_TRUE(lines.IsDrawn(1));
  Draw(lines, 4000);
  EXPECT_TRUE(lines.IsDrawn(0));
  EXPECT_FALSE(lines.IsDrawn(1));
  EXPECT_EQ(lines.HitTest({100, 50}), std::nullopt);
  std::vector<CartoCategory> edited = symbology->categories();
  edited[0].layers[0].visible = 0;
  symbology->ReplaceCategories(edited);
  Draw(lines, 4000);
  EXPECT_TRUE(TranscriptIs(Painted(), {}));
  EXPECT_FALSE(lines.IsDrawn(0));
}

TEST_F(LineDrawing, OutOfViewLinesAreMarkedDrawnWithoutPainting) {
  roads.Add(2, {{1000, 1000}, {1100, 1000}}, "");
  MLine lines = LoadWithSymbology<MLine>("Utak");
  Draw(lines);
  EXPECT_TRUE(TranscriptIs(Painted(), {}));
  EXPECT_TRUE(lines.IsDrawn(0));
  EXPECT_EQ(lines.HitTest({1050, 1001}), 0);
}

TEST_F(LineDrawing, EscapeEndsEveryPass) {
  roads.Add(1, {{0, 100}, {200, 100}}, "");
  roads.Add(1, {{0, 50}, {200, 50}}, "");
  MLine lines = LoadWithSymbology<MLine>("Utak");
  services.progress.PressEscAtPoll(2);
  Draw(lines);
  EXPECT_TRUE(TranscriptIs(Painted(), {"PEN 0,0,0 10 SOLID", "POLYLINE 0,100 200,100"}));
  EXPECT_EQ(services.progress.polls(), 4);  // one per pass after the press
  EXPECT_FALSE(lines.IsDrawn(1));
}

class AreaDrawing : public test::DrawTest {
 protected:
  AreaDrawing() : areas(writer.AddAreas("Területek", {"Erdő", "Tó", "Rejtett"})) {
    auto& c = writer.symbology.AddCategory("Területek");
    c.AddLayer("Erdő")
        .Set("LINECOLOR", "0,64,0")
        .Set("FILLCOLOR", "0,128,0")
        .Set("HATCHSTYLE", "2")
        .Set("LINEWIDTH", "2");
    c.AddLayer("Tó").Set("FILLCOLOR", "0,0,255");
    c.AddLayer("Rejtett").Set("LINESTYLE", "-1");
  }
  PolyCategoryWriter& areas;
};

TEST_F(AreaDrawing, HatchedAndSolidFillsWithOutlines) {
  areas.Add(1, {{20, 20}, {20, 80}, {80, 80}, {80, 20}, {20, 20}}, "Erdő");
  areas.Add(2, {{50, 50}, {50, 150}, {150, 150}, {50, 50}}, "Tó");
  MArea layer = LoadWithSymbology<MArea>("Területek");
  Draw(layer);
  EXPECT_TRUE(TranscriptIs(
      Painted(), {"FILL WINDING", "PEN 0,64,0 2 SOLID", "BRUSH HATCH 2 0,128,0", "BKMODE TRANSPARENT",
                  "POLYGON 20,180 20,120 80,120 80,180 20,180", "PEN 0,0,0 0 SOLID", "BRUSH SOLID 0,0,255",
                  "POLYGON 50,150 50,50 150,50 50,150"}));
  EXPECT_EQ(layer.HitTest({30, 50}), 0);
  EXPECT_EQ(layer.HitTest({60, 70}), 1);             // inside both: the later one
  EXPECT_EQ(layer.HitTest({30, 80}), 0);             // the top edge is inside
  EXPECT_EQ(layer.HitTest({30, 20}), std::nullopt);  // the bottom edge outside
  EXPECT_EQ(layer.GetObjectName(1), "Tó");
}

TEST_F(AreaDrawing, UnpaintedAndOutOfViewAreasCanBeHit) {
  areas.Add(3, {{20, 20}, {20, 80}, {80, 80}, {80, 20}, {20, 20}}, "");
  areas.Add(2, {{1000, 1000}, {1000, 1100}, {1100, 1100}, {1000, 1000}}, "");
  MArea layer = LoadWithSymbology<MArea>("Területek");
  Draw(layer);
  EXPECT_TRUE(TranscriptIs(Painted(), {}));
  EXPECT_EQ(layer.HitTest({50, 50}), 0);
  EXPECT_EQ(layer.HitTest({1010, 1050}), 1);
}

TEST_F(AreaDrawing, HiddenLayersAndTheCategoryScale) {
  areas.Add(1, {{20, 20}, {20, 80}, {80, 80}, {80, 20}, {20, 20}}, "");
  writer.symbology.categories[0].displayScale = "1000,5000";
  writer.symbology.categories[0].layers[0].Set("VISIBLE", "0");
  MArea layer = LoadWithSymbology<MArea>("Területek");
  Draw(layer, 6000);
  EXPECT_TRUE(dc.Transcript().empty());  // outside the category's range
  Draw(layer, 4000);
  EXPECT_TRUE(TranscriptIs(Painted(), {}));
  EXPECT_FALSE(layer.IsDrawn(0));
  EXPECT_EQ(layer.HitTest({50, 50}), std::nullopt);
}

}  // namespace
}  // namespace koltar
