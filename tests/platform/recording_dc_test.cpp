#include <gtest/gtest.h>

#include "tests/support/memory_bitmap.h"
#include "tests/support/recording_dc.h"
#include "tests/support/u8.h"

namespace koltar {
namespace {

using test::PaintingCalls;
using test::RecordingDeviceContext;
using test::TranscriptIs;

TEST(RecordingDc, WritesOneLinePerCall) {
  RecordingDeviceContext dc;
  dc.SetPen({Rgb(0, 0, 255), PenStyle::Solid, 1});
  dc.SetBrush({Brush::Kind::Hatched, Rgb(0, 128, 0), HatchStyle::ForwardDiagonal});
  dc.SetFillMode(FillMode::Winding);
  const DevicePoint points[] = {{10, 20}, {30, 40}};
  dc.Polyline(points, 2);
  dc.SetDrawMode(DrawMode::Xor);
  dc.Rectangle({0, 0, 10, 10});
  const test::MemoryBitmap symbol(40, 20);
  dc.StretchBlt({93, 97, 107, 103}, symbol, {0, 0, 40, 20}, RasterOp::And);
  LogicalFont font;
  font.faceName = "Liberation Sans";
  font.height = 12;
  font.escapement = 900;
  font.weight = 700;
  font.italic = true;
  dc.SetFont(font);
  dc.SetTextAlign(TextAlign::BaselineLeft);
  dc.TextOut({10, 20}, "Duna");
  dc.TextOut({0, 0}, "T\xE9rk\xE9p");  // code page 1250
  dc.SetClipRect({1, 2, 3, 4});
  dc.ClearClip();
  EXPECT_TRUE(
      TranscriptIs(dc.Transcript(),
                   {"PEN 0,0,255 1 SOLID", "BRUSH HATCH 2 0,128,0", "FILL WINDING", "POLYLINE 10,20 30,40",
                    "MODE XOR", "RECTANGLE 0,0 10,10", "STRETCHBLT 93,97 14x6 <- 0,0 40x20 AND",
                    "FONT \"Liberation Sans\" 12 0 900 700 ITALIC", "ALIGN BASELINE", "TEXT 10,20 \"Duna\"",
                    "TEXT 0,0 \"" + test::U8(u8"Térkép") + "\"", "CLIP 1,2 3,4", "CLIP NONE"}));
}

TEST(RecordingDc, SaveAndRestoreBringBackTheState) {
  RecordingDeviceContext dc;
  const Pen pen{Rgb(1, 2, 3), PenStyle::Dot, 4};
  dc.SetPen(pen);
  dc.SetTextColor(Rgb(9, 9, 9));
  dc.Save();
  dc.SetPen({});
  dc.SetBrush({Brush::Kind::Hollow, kBlack, HatchStyle::Horizontal});
  dc.SetBackgroundMode(BackgroundMode::Transparent);
  dc.SetTextColor(kWhite);
  EXPECT_EQ(dc.saveDepth(), 1);
  dc.Restore();
  EXPECT_EQ(dc.GetPen(), pen);
  EXPECT_EQ(dc.GetBrush(), Brush{});
  EXPECT_EQ(dc.GetBackgroundMode(), BackgroundMode::Opaque);
  EXPECT_EQ(dc.GetTextColor(), Rgb(9, 9, 9));
  EXPECT_EQ(dc.saveDepth(), 0);
  dc.Restore();  // unmatched: recorded, state kept
  EXPECT_EQ(dc.GetPen(), pen);
  EXPECT_EQ(dc.Transcript().back(), "RESTORE");
}

TEST(RecordingDc, FixedPitchTextModel) {
  RecordingDeviceContext dc;
  LogicalFont font;
  font.height = 20;
  dc.SetFont(font);
  const TextMetrics m = dc.GetTextMetrics();
  EXPECT_EQ(m.height, 20);
  EXPECT_EQ(m.ascent, 16);
  EXPECT_EQ(m.descent, 4);
  EXPECT_EQ(dc.GetTextExtent("Duna"), (TextSize{40, 20}));
  font.width = 7;
  dc.SetFont(font);
  EXPECT_EQ(dc.GetTextExtent("Duna"), (TextSize{28, 20}));
}

TEST(RecordingDc, SavedAreasCanBeRefused) {
  RecordingDeviceContext dc;
  auto area = dc.CopyArea({5, 5, 25, 15});
  ASSERT_TRUE(area);
  EXPECT_EQ(area->width(), 20);
  EXPECT_EQ(area->height(), 10);
  dc.canCopyArea = false;
  EXPECT_EQ(dc.CopyArea({5, 5, 25, 15}), nullptr);
  EXPECT_TRUE(TranscriptIs(dc.Transcript(), {"COPYAREA 5,5 20x10", "COPYAREA 5,5 20x10"}));
}

TEST(RecordingDc, MismatchShowsALineDiff) {
  const auto result = TranscriptIs({"PEN 0,0,0 0 SOLID", "POLYLINE 1,1 2,2", "MODE COPY"},
                                   {"PEN 0,0,0 0 SOLID", "POLYLINE 1,1 2,3", "MODE COPY"});
  ASSERT_FALSE(result);
  EXPECT_STREQ(result.message(),
               "transcript differs (- expected, + recorded):\n"
               "  PEN 0,0,0 0 SOLID\n"
               "- POLYLINE 1,1 2,3\n"
               "+ POLYLINE 1,1 2,2\n"
               "  MODE COPY\n");
}

TEST(RecordingDc, PaintingCallsKeepOnlySettingsThatSomethingIsDrawnWith) {
  const std::vector<std::string> recorded = {
      "FILL WINDING",      "PEN 1,1,1 2 SOLID",       "BRUSH SOLID 0,0,255", "POLYGON 0,0 1,1 2,0",
      "PEN 0,0,0 0 SOLID", "BRUSH SOLID 255,255,255",  // restored, then replaced unused
      "PEN 2,2,2 1 SOLID", "BRUSH SOLID 0,0,255",      // the brush in effect already
      "POLYLINE 1,1 2,2",  "PEN 2,2,2 1 SOLID",       "POLYLINE 3,3 4,4",    "PEN 0,0,0 0 SOLID",
      "FILL ALTERNATE"};  // restored at the end
  EXPECT_TRUE(TranscriptIs(PaintingCalls(recorded),
                           {"FILL WINDING", "PEN 1,1,1 2 SOLID", "BRUSH SOLID 0,0,255", "POLYGON 0,0 1,1 2,0",
                            "PEN 2,2,2 1 SOLID", "POLYLINE 1,1 2,2", "POLYLINE 3,3 4,4"}));
  // A setting changed back to what the last drawing had is no change; one changed back
  // to what an earlier drawing had is.
  EXPECT_TRUE(TranscriptIs(PaintingCalls({"PEN 1", "POLYLINE a", "PEN 2", "PEN 1", "POLYLINE b", "PEN 2",
                                          "POLYLINE c", "PEN 1", "TEXT d"}),
                           {"PEN 1", "POLYLINE a", "POLYLINE b", "PEN 2", "POLYLINE c", "PEN 1", "TEXT d"}));
  // RESTORE brings back the settings of its SAVE.
  EXPECT_TRUE(TranscriptIs(PaintingCalls({"PEN 1", "SAVE", "PEN 2", "POLYLINE a", "RESTORE", "POLYLINE b"}),
                           {"PEN 2", "POLYLINE a", "PEN 1", "POLYLINE b"}));
}

}  // namespace
}  // namespace koltar
