// The style pickers' lists and what their items draw, on the recording device context.

#include "symbology/style_pickers.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/support/memory_bitmap.h"
#include "tests/support/recording_dc.h"
#include "tests/support/u8.h"

namespace koltar {
namespace {

using Lines = std::vector<std::string>;
using test::TranscriptIs;

constexpr DeviceRect kItem{0, 16, 100, 32};

TEST(StyleLists, ItemsOfAValue) {
  ASSERT_EQ(SymbologyPalette().size(), 84u);
  // Magenta is entries 11 and 72; the later one shows it.
  EXPECT_EQ(SymbologyPalette()[11], SymbologyPalette()[72]);
  EXPECT_EQ(PaletteIndexOf(Rgb(255, 0, 255)), 72);
  EXPECT_EQ(PaletteIndexOf(Rgb(192, 101, 192)), 77);
  EXPECT_EQ(PaletteIndexOf(Rgb(1, 2, 3)), -1);
  EXPECT_EQ(HatchIndexOf(-1), 0);
  EXPECT_EQ(HatchIndexOf(0), 5);
  EXPECT_EQ(HatchIndexOf(6), -1);
}

TEST(StyleItems, ColourLineAndHatchItems) {
  test::RecordingDeviceContext dc;
  DrawColorItem(dc, kItem, {}, Rgb(10, 20, 30));
  DrawLineStyleItem(dc, kItem, {}, 3);
  DrawLineStyleItem(dc, kItem, {.focused = true}, 2);
  DrawHatchItem(dc, kItem, {}, 5);
  DrawHatchItem(dc, kItem, {.focused = true}, -1);
  EXPECT_TRUE(
      TranscriptIs(dc.Transcript(),
                   {"PEN 0,0,0 1 SOLID", "BRUSH SOLID 10,20,30", "RECTANGLE 1,17 99,31",
                    "PEN 0,0,0 1 DASHDOT", "POLYLINE 2,24 98,24", "PEN 255,255,255 1 DOT",
                    "POLYLINE 2,24 98,24", "BRUSH HATCH 5 0,0,0", "RECTANGLE 1,17 99,31",
                    "TEXTCOLOR 255,255,255", "BKMODE TRANSPARENT", "ALIGN TOPLEFT", "TEXT 0,16 \"Nincs\""}));
}

TEST(StyleItems, DisabledItemsDrawNothingAndTheFocusIsXored) {
  test::RecordingDeviceContext dc;
  DrawColorItem(dc, kItem, {.disabled = true}, kBlack);
  DrawLineStyleItem(dc, kItem, {.disabled = true}, 0);
  DrawHatchItem(dc, kItem, {.disabled = true}, 1);
  EXPECT_TRUE(dc.Transcript().empty());
  DrawFocusRect(dc, kItem);
  EXPECT_TRUE(TranscriptIs(test::PaintingCalls(dc.Transcript()),
                           {"MODE XOR", "PEN 255,255,255 1 DOT", "BRUSH HOLLOW", "RECTANGLE 0,16 100,32"}));
  EXPECT_EQ(dc.GetDrawMode(), DrawMode::Copy);
}

CartoLayer NamedLayer(std::string name, std::int32_t visible) {
  CartoLayer layer;
  layer.name = std::move(name);
  layer.visible = visible;
  return layer;
}

TEST(StyleItems, LayerItemsShowTheSwitchAndTheName) {
  const std::vector<CartoCategory> records = {
      {"Utak", {}, -1, -1}, {"Nevek", {NamedLayer("Város", 1), NamedLayer("Falu", 0)}, -1, -1}};
  EXPECT_EQ(LayerItemData(1, 1), 65537u);
  ASSERT_EQ(LayerOfItem(records, 65537u), &records[1].layers[1]);
  EXPECT_EQ(LayerOfItem(records, 1u), &records[1].layers[0]);
  EXPECT_EQ(LayerOfItem(records, 0u), nullptr);  // Utak has no layers
  EXPECT_EQ(LayerOfItem(records, 2u * 65536u + 1u), nullptr);

  test::MemoryBitmap on(12, 12), off(12, 12);
  test::RecordingDeviceContext dc;
  dc.SetFont(LogicalFont{.height = 10, .faceName = "MS Sans Serif"});
  dc.ClearTranscript();
  DrawLayerItem(dc, {0, 20, 120, 30}, true, *LayerOfItem(records, 65537u), &on, &off);
  DrawLayerItem(dc, {0, 30, 120, 40}, false, *LayerOfItem(records, 1u), &on, nullptr);
  // The name's cell: 4 characters of half the height each (the recorder's model).
  EXPECT_TRUE(
      TranscriptIs(test::PaintingCalls(dc.Transcript()),
                   {"STRETCHBLT 2,21 12x12 <- 0,0 12x12 COPY", "PEN 0,0,128 0 NULL", "BRUSH SOLID 0,0,128",
                    "RECTANGLE 14,20 34,30", "TEXTCOLOR 255,255,255", "BKMODE TRANSPARENT", "ALIGN TOPLEFT",
                    "TEXT 14,20 \"Falu\"", "STRETCHBLT 2,31 12x12 <- 0,0 12x12 COPY",
                    "PEN 255,255,255 0 NULL", "BRUSH SOLID 255,255,255", "RECTANGLE 14,30 39,40",
                    "TEXTCOLOR 0,0,0", test::U8(u8"TEXT 14,30 \"Város\"")}));
  // Without the picture of its state only the name is drawn.
  dc.ClearTranscript();
  DrawLayerItem(dc, {0, 30, 120, 40}, false, *LayerOfItem(records, 65537u), &on, nullptr);
  EXPECT_EQ(dc.Transcript().size(), 7u);
}

}  // namespace
}  // namespace koltar
