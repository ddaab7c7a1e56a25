// The style pickers' items drawn on Qt, compared pixel by pixel with the map's own
// drawing of the same style: a line category's line for the line styles, an area
// category's fill for the hatches and the colours. (Names are ASCII: this file is
// compiled as UTF-8, the model's names are code page 1250.)

#include <gtest/gtest.h>

#include <QImage>
#include <string>
#include <vector>

#include "categories/area.h"
#include "categories/line.h"
#include "platform/qt/qt_device_context.h"
#include "platform/qt/qt_images.h"
#include "symbology/style_pickers.h"
#include "tests/categories/category_fixture.h"
#include "tests/qt/pixels.h"

namespace koltar {
namespace {

using test::Row;

// One map unit is one pixel; device x = map x, device y = 200 - map y (see DrawTest).
class PickerPixels : public test::DrawTest {
 protected:
  static QImage White() { return test::Canvas(200, 200, kWhite); }
  void Render(MapCategory& category, QImage& image) {
    QtDeviceContext qtDc(image);
    category.Draw(RenderContext{qtDc, View(), kDevice, kMapExtent, 4000, *symbology, 1, Progress()});
  }
  static constexpr DeviceRect kItem{0, 16, 200, 32};  // its line runs along y = 24
};

TEST_F(PickerPixels, LineStyleItemsDashLikeTheMapsLines) {
  PolyCategoryWriter& lines = writer.AddLines("Utak", {"S0", "S1", "S2", "S3", "S4"});
  auto& styles = writer.symbology.AddCategory("Utak");
  for (int style = 0; style < kLineStyleCount; ++style) {
    // Each style's line from x = 2 to 198 at its own row, as thin as the picker's.
    lines.Add(static_cast<std::int16_t>(style + 1), {{2, 176 - 20 * style}, {198, 176 - 20 * style}}, "");
    styles.AddLayer("S" + std::to_string(style))
        .Set("LINESTYLE", std::to_string(style))
        .Set("LINEWIDTH", "1");
  }
  MLine category = LoadWithSymbology<MLine>("Utak");
  QImage map = White();
  Render(category, map);
  for (int style = 0; style < kLineStyleCount; ++style) {
    SCOPED_TRACE(style);
    QImage item = White();
    {
      QtDeviceContext itemDc(item);
      DrawLineStyleItem(itemDc, kItem, {}, style);
    }
    const std::string picked = Row(item, 24, 0, 200, kBlack);
    EXPECT_EQ(picked, Row(map, 24 + 20 * style, 0, 200, kBlack));
    EXPECT_NE(picked.find('#'), std::string::npos);
    if (style > 0) {
      EXPECT_NE(picked.find("#."), std::string::npos) << "a broken line";
    }
  }
}

TEST_F(PickerPixels, HatchItemsFillLikeTheMapsAreas) {
  PolyCategoryWriter& areas = writer.AddAreas("Foltok", {"H0", "H1", "H2", "H3", "H4", "H5"});
  auto& layers = writer.symbology.AddCategory("Foltok");
  for (int h = 0; h < 6; ++h) {
    // A square over the whole picture, one layer per hatch, drawn one at a time below.
    areas.Add(static_cast<std::int16_t>(h + 1), {{-10, -10}, {-10, 210}, {210, 210}, {210, -10}, {-10, -10}},
              "");
    layers.AddLayer("H" + std::to_string(h)).Set("FILLCOLOR", "0,0,0").Set("HATCHSTYLE", std::to_string(h));
  }
  MArea category = LoadWithSymbology<MArea>("Foltok");
  const std::vector<CartoCategory> all = symbology->categories();
  for (int h : std::vector<std::int32_t>(HatchStyleList().begin() + 1, HatchStyleList().end())) {
    SCOPED_TRACE(h);
    std::vector<CartoCategory> one = all;
    for (CartoLayer& l : one[0].layers) l.visible = l.hatchStyle == h;
    symbology->ReplaceCategories(one);
    QImage map = White();
    Render(category, map);
    QImage item = White();
    {
      QtDeviceContext itemDc(item);
      DrawHatchItem(itemDc, kItem, {}, h);
    }
    // Inside the item's outline (rows 18 ... 29, columns 2 ... 197) the patterns agree.
    for (int y = 18; y < 30; ++y) EXPECT_EQ(Row(item, y, 2, 198, kBlack), Row(map, y, 2, 198, kBlack)) << y;
    EXPECT_EQ(Row(item, 16, 0, 200, kBlack), std::string(200, '.'));  // the item's own edge is free
    EXPECT_EQ(Row(item, 17, 1, 199, kBlack), std::string(198, '#'));  // the outline
  }
}

TEST_F(PickerPixels, ColourItemsShowTheColourInABlackFrame) {
  PolyCategoryWriter& areas = writer.AddAreas("Foltok", {"F"});
  areas.Add(1, {{-10, -10}, {-10, 210}, {210, 210}, {210, -10}, {-10, -10}}, "");
  writer.symbology.AddCategory("Foltok").AddLayer("F").Set("FILLCOLOR", "0,0,0");
  MArea category = LoadWithSymbology<MArea>("Foltok");
  for (std::size_t i : {std::size_t{0}, std::size_t{11}, std::size_t{37}, std::size_t{83}}) {
    const ColorRef colour = SymbologyPalette()[i];
    SCOPED_TRACE(i);
    std::vector<CartoCategory> records = symbology->categories();
    records[0].layers[0].fillColor = colour;
    symbology->ReplaceCategories(records);
    QImage map = White();
    Render(category, map);
    QImage item = White();
    {
      QtDeviceContext itemDc(item);
      DrawColorItem(itemDc, kItem, {}, colour);
    }
    EXPECT_EQ(test::At(item, 100, 24), test::At(map, 100, 24));
    EXPECT_EQ(test::At(item, 100, 24), colour);
    EXPECT_EQ(test::At(item, 1, 24), kBlack);
    EXPECT_EQ(test::At(item, 198, 24), kBlack);
    EXPECT_EQ(test::At(item, 0, 24), kWhite);
  }
}

}  // namespace
}  // namespace koltar
