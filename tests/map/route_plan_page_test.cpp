// The printed route plan page on a recording device context: where its parts lie for a
// page size and resolution, the table's rows (requested points in bold, names clipped,
// rows stopping above the header box), the map clipped to its area and the frames.

#include "map/route_plan_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/message_texts.h"
#include "platform/text.h"
#include "tests/map/route_maps.h"
#include "tests/support/recording_dc.h"
#include "tests/support/test_env.h"

namespace koltar {
namespace {

using Lines = std::vector<std::string>;

std::string RectText(const DeviceRect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

// Transcripts hold their texts in UTF-8; the expectations here are code page 1250.
bool Has(const Lines& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), Cp1250ToUtf8(line)) != lines.end();
}

TEST(RoutePlanPage, AreasOfAnA4PageAt300Dpi) {
  // The recording context measures 8 points at 300 dpi as 33 high and 16 wide a
  // character, 9 points as 37 and 18.
  test::RecordingDeviceContext dc;
  dc.dpiY = 300;
  const RoutePlanLayout page = LayOutRoutePlanPage(dc, 2480, 3508);
  EXPECT_EQ(page.margin, 59);
  EXPECT_EQ(page.gap, 23);
  EXPECT_EQ(page.rule, 11);
  EXPECT_EQ(page.innerWidth, 2362);
  EXPECT_EQ(page.innerHeight, 3390);
  EXPECT_EQ(page.lineHeight, 33);
  EXPECT_EQ(page.titleLineHeight, 37);
  // Column: 52 characters of 16 (wider than the header's first line) and two gaps.
  EXPECT_EQ(RectText(page.column), "1529,73 2407,3275");
  EXPECT_EQ(RectText(page.headerBox), "1529,3286 2407,3435");  // 37 + 2 x 23 + 2 x 33 high
  EXPECT_EQ(RectText(page.mapArea), "73,73 1518,3435");
  EXPECT_EQ(RectText(page.frame), "59,59 2419,3447");
  // Measuring leaves the context's font as it was.
  EXPECT_EQ(dc.GetFont(), LogicalFont{});
}

class RoutePlanDrawing : public test::ServicesTest {
 protected:
  // An A4 page at 96 dpi: 8 points are 10 high and 5 wide a character.
  Lines Draw(MMap& map, const MapRect& shown) {
    dc.dpiY = 96;
    DrawRoutePlanPage(map, dc, shown, 25000, 794, 1123, services.progress);
    return dc.Transcript();
  }
  test::TempDir dir;
  test::RecordingDeviceContext dc;
};

TEST_F(RoutePlanDrawing, TableHeaderBoxMapAndFrames) {
  std::unique_ptr<MMap> map = test::WriteVillages(dir.path());
  ASSERT_TRUE(test::PlanThrough(*map, {"Alma", "Őr"}));
  const Lines t = Draw(*map, MapRect{-100, 1100, 1100, -100});
  // Areas: column 495,24 769,1049; header box 495,1052 769,1098; map 24,24 492,1098.
  // Titles at x0 = 502, y 31; the columns end at x0 + 32, 42 and 52 characters.
  EXPECT_TRUE(Has(t, "FONT \"ARIAL CE\" -10 0 0 700 UNDERLINE"));
  EXPECT_TRUE(Has(t, "TEXT 502,31 \"C s o m ó p o n t\""));
  EXPECT_TRUE(Has(t, "TEXT 642,31 \"Táv.\""));
  EXPECT_TRUE(Has(t, "TEXT 687,31 \"I d ő\""));
  EXPECT_TRUE(Has(t, "TEXT 732,31 \"Költs.\""));
  // Rows from 1.5 lines below the titles; requested points bold; names clipped to 0.8 of
  // the distance column.
  auto at = std::find(t.begin(), t.end(), "TEXT 502,46 \"Alma\"");
  ASSERT_NE(at, t.end());
  EXPECT_EQ(Lines(at - 3, at + 10),
            (Lines{"FONT \"ARIAL CE\" -10 0 0 700", "SAVE", "CLIP 502,46 630,56", "TEXT 502,46 \"Alma\"",
                   "RESTORE", "TEXT 632,46 \"   0.0\"", "TEXT 687,46 \"00:00\"", "TEXT 732,46 \"   0.0\"",
                   "FONT \"ARIAL CE\" -10 0 0 400", "SAVE", "CLIP 502,56 630,66",
                   Cp1250ToUtf8("TEXT 502,56 \"Bükk\""), "RESTORE"}));
  EXPECT_TRUE(Has(t, "TEXT 502,66 \"Őr\""));
  // The header box's lines, centred, from its top + gap.
  const std::int32_t nameWidth = static_cast<std::int32_t>(std::string_view(kPublisherName).size()) * 6;
  EXPECT_TRUE(
      Has(t, "TEXT " + std::to_string(495 + (274 - nameWidth) / 2) + ",1059 \"" + kPublisherName + "\""));
  // The map within its area, clipped; then the outlines and the page frame.
  EXPECT_TRUE(Has(t, "CLIP 24,24 492,1098"));
  const Lines tail(t.end() - 8, t.end());
  EXPECT_EQ(tail, (Lines{"BRUSH HOLLOW", "PEN 0,0,0 0 SOLID", "RECTANGLE 24,24 492,1098",
                         "RECTANGLE 495,24 769,1049", "RECTANGLE 495,1052 769,1098", "PEN 0,0,0 3 SOLID",
                         "RECTANGLE 18,18 773,1102", "RESTORE"}));
  EXPECT_EQ(dc.saveDepth(), 0);
}

TEST_F(RoutePlanDrawing, RouteIsDrawnInsideTheMapArea) {
  std::unique_ptr<MMap> map = test::WriteVillages(dir.path());
  ASSERT_TRUE(test::PlanThrough(*map, {"Alma", "Őr"}));
  const Lines calls = test::PaintingCalls(Draw(*map, MapRect{-100, 1100, 1100, -100}));
  const auto pen = std::find_if(calls.begin(), calls.end(),
                                [](const std::string& l) { return l.rfind("PEN 255,0,0 ", 0) == 0; });
  ASSERT_NE(pen, calls.end());
  // Road 0 from Alma (0,0) to Bükk (1000,0), then road 1.
  EXPECT_EQ(*(pen + 1), "POLYLINE 63,756 258,752 453,756");
  EXPECT_EQ(*(pen + 2), "POLYLINE 453,366 453,756");
}

TEST_F(RoutePlanDrawing, LongRouteStopsAboveTheHeaderBox) {
  std::unique_ptr<MMap> map = test::WriteChain(dir.path(), 120);
  ASSERT_TRUE(test::PlanThrough(*map, {"Falu 1", "Falu 120"}));
  const Lines t = Draw(*map, map->extent());
  // Rows 10 high from y 46 while their top is above 1049 - 10 - 7: 99 of the 120.
  std::vector<int> tops;
  for (const std::string& line : t)
    if (line.rfind("TEXT 502,", 0) == 0) tops.push_back(std::stoi(line.substr(9)));
  ASSERT_EQ(tops.size(), 100u);  // the title and 99 rows
  EXPECT_EQ(tops[1], 46);
  EXPECT_EQ(tops.back(), 46 + 98 * 10);
  EXPECT_TRUE(Has(t, "TEXT 502,1026 \"Falu 99\""));
  EXPECT_FALSE(Has(t, "TEXT 502,1036 \"Falu 100\""));
  EXPECT_LE(tops.back() + 10, 1049 - 7);
}

}  // namespace
}  // namespace koltar
