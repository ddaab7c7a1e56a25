// The categories drawn on Qt into an image, checked at chosen pixels. (Names are ASCII:
// this file is compiled as UTF-8, the model's names are code page 1250.)

#include <gtest/gtest.h>

#include <QImage>
#include <optional>
#include <string>

#include "categories/area.h"
#include "categories/line.h"
#include "categories/point.h"
#include "categories/text.h"
#include "platform/qt/qt_device_context.h"
#include "platform/qt/qt_images.h"
#include "tests/categories/category_fixture.h"
#include "tests/qt/pixels.h"

namespace koltar {
namespace {

constexpr ColorRef kRed = Rgb(220, 0, 0);
constexpr ColorRef kGreen = Rgb(0, 200, 0);
constexpr ColorRef kBlue = Rgb(0, 0, 255);
constexpr ColorRef kYellow = Rgb(255, 220, 0);

// One map unit is one pixel; device x = map x, device y = 200 - map y (see DrawTest).
class Rendering : public test::DrawTest {
 protected:
  Rendering() : image(200, 200, QImage::Format_RGB32) {
    InstalledServices().images = &qtImages;  // the fixture puts its own back afterwards
    Fill(kWhite);
  }
  void Fill(ColorRef c) { image.fill(ToQRgb(c)); }
  void Render(MapCategory& category) {
    QtDeviceContext qtDc(image);
    category.Draw(RenderContext{qtDc, View(), kDevice, kMapExtent, 4000, *symbology, 1, Progress()});
  }
  ColorRef Pixel(int x, int y) const { return ToColorRef(image.pixel(x, y)); }

  QtImageService qtImages;
  QImage image;
};

TEST_F(Rendering, SymbolsWithAndWithoutTransparency) {
  // Left half red, right half white; the white is transparent in the first layer only.
  BmpPicture picture = test::Picture(4, 4, kWhite);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 2; ++x) picture.pixels[static_cast<std::size_t>(y) * 4 + x] = kRed;
  writer.AddBitmap("jel.bmp", picture);
  PointCategoryWriter& points = writer.AddPoints("Pontok", {"Atlatszo", "Fedo"});
  points.Add(1, {50, 100}, "");
  points.Add(2, {150, 100}, "");
  auto& c = writer.symbology.AddCategory("Pontok");
  c.AddLayer("Atlatszo").Set("BITMAP", "jel.bmp,40").Set("TRANSPARENTCOLOR", "255,255,255");
  c.AddLayer("Fedo").Set("BITMAP", "jel.bmp,40");
  MPoint category = LoadWithSymbology<MPoint>("Pontok");
  Fill(kGreen);
  Render(category);
  // The symbols cover 30 ... 69 and 130 ... 169 across, 80 ... 119 down.
  EXPECT_EQ(Pixel(35, 100), kRed);
  EXPECT_EQ(Pixel(65, 100), kGreen);  // the background shows through
  EXPECT_EQ(Pixel(135, 100), kRed);
  EXPECT_EQ(Pixel(165, 100), kWhite);
  EXPECT_EQ(Pixel(35, 75), kGreen);  // outside the symbol
  EXPECT_EQ(Pixel(35, 125), kGreen);
}

TEST_F(Rendering, ThreeStrokesPaintedPassByPass) {
  PolyCategoryWriter& roads = writer.AddLines("Utak", {"Fout"});
  roads.Add(1, {{100, 0}, {100, 200}}, "");
  roads.Add(1, {{0, 100}, {200, 100}}, "");  // later, yet its casing goes under the other's fill
  writer.symbology.AddCategory("Utak")
      .AddLayer("Fout")
      .Set("FILLCOLOR", "255,220,0")
      .Set("LINEWIDTH", "20")
      .Set("WIDTHFACTOR", "100,50,10");
  MLine lines = LoadWithSymbology<MLine>("Utak");
  Render(lines);
  // Across the horizontal road away from the crossing: centre line, fill, casing.
  EXPECT_EQ(Pixel(160, 100), kBlack);
  EXPECT_EQ(Pixel(160, 97), kYellow);
  EXPECT_EQ(Pixel(160, 103), kYellow);
  EXPECT_EQ(Pixel(160, 92), kBlack);
  EXPECT_EQ(Pixel(160, 108), kBlack);
  EXPECT_EQ(Pixel(160, 113), kWhite);
  // In the crossing the fills lie over both casings and the centre lines over the fills.
  EXPECT_EQ(Pixel(97, 92), kYellow);
  EXPECT_EQ(Pixel(92, 97), kYellow);
  EXPECT_EQ(Pixel(100, 92), kBlack);
  EXPECT_EQ(Pixel(92, 100), kBlack);
}

TEST_F(Rendering, DashedLine) {
  PolyCategoryWriter& roads = writer.AddLines("Utak", {"Foldut"});
  roads.Add(1, {{10, 20}, {190, 20}}, "");
  writer.symbology.AddCategory("Utak").AddLayer("Foldut").Set("LINESTYLE", "1").Set("LINEWIDTH", "1");
  MLine lines = LoadWithSymbology<MLine>("Utak");
  Render(lines);
  int dashes = 0, inked = 0;
  for (int x = 10; x <= 190; ++x) {
    const bool ink = Pixel(x, 180) == kBlack;
    inked += ink;
    if (ink && (x == 10 || Pixel(x - 1, 180) != kBlack)) ++dashes;
  }
  EXPECT_GE(dashes, 5);
  EXPECT_GT(inked, 60);
  EXPECT_LT(inked, 170);
  EXPECT_EQ(Pixel(100, 178), kWhite);
  EXPECT_EQ(Pixel(100, 182), kWhite);
}

TEST_F(Rendering, HatchedAndSolidAreas) {
  PolyCategoryWriter& areas = writer.AddAreas("Teruletek", {"Erdo", "To"});
  areas.Add(1, {{20, 20}, {20, 80}, {80, 80}, {80, 20}, {20, 20}}, "");
  areas.Add(2, {{120, 20}, {120, 80}, {180, 80}, {180, 20}, {120, 20}}, "");
  auto& c = writer.symbology.AddCategory("Teruletek");
  c.AddLayer("Erdo").Set("FILLCOLOR", "0,0,255").Set("HATCHSTYLE", "2").Set("LINECOLOR", "0,200,0");
  c.AddLayer("To").Set("FILLCOLOR", "0,0,255").Set("LINECOLOR", "0,200,0");
  MArea category = LoadWithSymbology<MArea>("Teruletek");
  Fill(kRed);
  Render(category);
  // The hatch shows the red below through its gaps; the solid fill covers it.
  int blue = 0, red = 0;
  for (int y = 130; y < 170; ++y)
    for (int x = 30; x < 70; ++x) {
      blue += Pixel(x, y) == kBlue;
      red += Pixel(x, y) == kRed;
    }
  EXPECT_GT(blue, 100);
  EXPECT_GT(red, 800);
  EXPECT_EQ(blue + red, 1600);
  for (int y = 130; y < 170; y += 7)
    for (int x = 130; x < 170; x += 7) EXPECT_EQ(Pixel(x, y), kBlue) << x << "," << y;
  // Outlined in the line colour, one pixel wide.
  EXPECT_EQ(Pixel(20, 150), kGreen);
  EXPECT_EQ(Pixel(150, 120), kGreen);
  EXPECT_EQ(Pixel(10, 150), kRed);
}

TEST_F(Rendering, TurnedLabelStandsOnItsAnchorAndIsHitWhereItIsDrawn) {
  TextCategoryWriter& labels = writer.AddTexts("Nevek", {"Viz"});
  labels.Add(1, {100, 100}, 90.0f, "Dunakanyar");
  labels.Add(1, {20, 40}, 0.0f, "Duna");
  writer.symbology.AddCategory("Nevek").AddLayer("Viz").Set("FONT", "Arial CE,220,0,0,0,0,0,20,0");
  MText text = LoadWithSymbology<MText>("Nevek");
  Render(text);

  // The turned label runs up from its anchor (device 100, 100) with its glyphs to the
  // left of the baseline (a 20 pixel cell: about 16 above the baseline, 4 below), as
  // long as its unturned rectangle is wide.
  const QRect turned = test::PixelsOf(image.copy(60, 0, 80, 110), kRed).translated(60, 0);
  const MapRect rect = text.GetLabelRect(0);
  ASSERT_FALSE(turned.isEmpty());
  EXPECT_EQ(rect.left, 100);
  EXPECT_EQ(rect.top - rect.bottom, 20);
  EXPECT_GE(turned.left(), 100 - 16);
  EXPECT_LE(turned.right(), 100 + 4);
  EXPECT_LE(turned.bottom(), 100);
  EXPECT_GE(turned.bottom(), 95);
  EXPECT_GE(turned.top(), 100 - (rect.right - rect.left));
  EXPECT_LT(turned.top(), 10);
  // The unturned label lies along its baseline at device y 160.
  const QRect flat = test::PixelsOf(image.copy(0, 120, 100, 80), kRed).translated(0, 120);
  ASSERT_FALSE(flat.isEmpty());
  EXPECT_GE(flat.left(), 20);
  EXPECT_LE(flat.left(), 22);
  EXPECT_GE(flat.top(), 160 - 16);
  EXPECT_LE(flat.bottom(), 160 + 4);
  EXPECT_GT(flat.width(), 2 * flat.height());

  // Every inked pixel of the turned label is found by the hit test (map y = 200 -
  // device y); the unturned rectangle's far end, where nothing is drawn, is not.
  for (int y = turned.top(); y <= turned.bottom(); ++y)
    for (int x = turned.left(); x <= turned.right(); ++x)
      if (Pixel(x, y) == kRed) {
        EXPECT_EQ(text.HitTestLabel({x, 200 - y}), 0) << x << "," << y;
      }
  EXPECT_EQ(Pixel(rect.right - 2, 200 - 101), kWhite);
  EXPECT_EQ(text.HitTestLabel({rect.right - 2, 101}), std::nullopt);
}

}  // namespace
}  // namespace koltar
