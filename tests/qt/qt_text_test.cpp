#include <gtest/gtest.h>

#include <QFontInfo>

#include "platform/qt/qt_device_context.h"
#include "tests/qt/pixels.h"

namespace koltar {
namespace {

using test::At;
using test::Canvas;
using test::PixelsOf;

constexpr ColorRef kPaper = Rgb(200, 220, 160);
constexpr ColorRef kRed = Rgb(255, 0, 0);

LogicalFont Font(const char* face, int height, int weight = 400) {
  LogicalFont font;
  font.faceName = face;
  font.height = height;
  font.weight = weight;
  return font;
}

TEST(QtFonts, WindowsFaceNamesResolveToInstalledFonts) {
  struct Case {
    const char* face;
    const char* installed;
  };
  const Case cases[] = {{"ARIAL CE", "Liberation Sans"},
                        {"Arial CE", "Liberation Sans"},
                        {"arial", "Liberation Sans"},
                        {"Helvetica", "Liberation Sans"},
                        {"MS Sans Serif", "Liberation Sans"},
                        {"System", "Liberation Sans"},
                        {"Times New Roman CE", "Liberation Serif"},
                        {"TIMES NEW ROMAN", "Liberation Serif"},
                        {"Courier New", "Liberation Mono"},
                        {"", "Liberation Sans"}};
  for (const Case& c : cases)
    EXPECT_EQ(QFontInfo(ToQFont(Font(c.face, 20))).family(), QString::fromLatin1(c.installed)) << c.face;
}

TEST(QtFonts, CellHeightIsAscentPlusDescent) {
  QtDeviceContext dc(10, 10);
  for (int height : {6, 10, 13, 20, 37, 100}) {
    dc.SetFont(Font("Arial CE", height));
    const TextMetrics m = dc.GetTextMetrics();
    EXPECT_EQ(m.height, m.ascent + m.descent);
    EXPECT_LE(m.height, height);
    EXPECT_GE(m.height, height - 1) << height;
    EXPECT_GT(m.averageCharWidth, 0);
    EXPECT_GT(m.ascent, 2 * m.descent);
  }
  // A negative height is the character height without internal leading: a taller cell.
  dc.SetFont(Font("Arial CE", -20));
  EXPECT_GT(dc.GetTextMetrics().height, 20);
  // Absurd heights are held to a size the glyph cache can take.
  dc.SetFont(Font("Arial CE", 2000000000));
  EXPECT_LE(dc.GetTextMetrics().height, 10000);
}

TEST(QtFonts, ExtentsGrowWithTheTextAndTheWidth) {
  QtDeviceContext dc(10, 10);
  LogicalFont font = Font("Arial CE", 20);
  dc.SetFont(font);
  const TextSize duna = dc.GetTextExtent("Duna");
  const TextSize longer = dc.GetTextExtent(
      "Dunakeszi \xE9s V\xE1"
      "c");  // code page 1250
  EXPECT_GT(duna.cx, 0);
  EXPECT_GT(longer.cx, duna.cx);
  EXPECT_EQ(duna.cy, dc.GetTextMetrics().height);
  EXPECT_EQ(longer.cy, duna.cy);
  EXPECT_EQ(dc.GetTextExtent("").cx, 0);
  // Turning does not change the measure.
  font.escapement = 900;
  dc.SetFont(font);
  EXPECT_EQ(dc.GetTextExtent("Duna"), duna);

  // A width twice the natural average character width makes the text twice as wide.
  font.escapement = 0;
  const int natural = dc.GetTextMetrics().averageCharWidth;
  font.width = 2 * natural;
  dc.SetFont(font);
  EXPECT_NEAR(dc.GetTextMetrics().averageCharWidth, 2 * natural, 1);
  const TextSize wide = dc.GetTextExtent("Duna");
  EXPECT_GE(wide.cx, 2 * duna.cx - 2);
  EXPECT_LE(wide.cx, 2 * duna.cx + 2);
  EXPECT_EQ(wide.cy, duna.cy);

  // Bold is wider than normal.
  dc.SetFont(Font("Arial CE", 20, 700));
  EXPECT_GT(dc.GetTextExtent("Duna").cx, duna.cx);
}

TEST(QtText, BaselineLeftPutsTheGlyphsAboveTheAnchor) {
  for (TextAlign align : {TextAlign::BaselineLeft, TextAlign::TopLeft}) {
    QImage image = Canvas(120, 80, kPaper);
    QtDeviceContext dc(image);
    dc.SetFont(Font("Arial CE", 20));
    dc.SetBackgroundMode(BackgroundMode::Transparent);
    dc.SetTextColor(kRed);
    dc.SetTextAlign(align);
    dc.TextOut({20, 40}, "HEH");
    const TextMetrics m = dc.GetTextMetrics();
    const QRect glyphs = PixelsOf(image, kRed);
    ASSERT_FALSE(glyphs.isEmpty());
    EXPECT_GE(glyphs.left(), 20);
    EXPECT_LE(glyphs.right(), 20 + dc.GetTextExtent("HEH").cx);
    if (align == TextAlign::BaselineLeft) {
      EXPECT_EQ(glyphs.bottom(), 39);  // capitals stand on the baseline
      EXPECT_GE(glyphs.top(), 40 - m.ascent);
    } else {
      EXPECT_GE(glyphs.top(), 40);
      EXPECT_EQ(glyphs.bottom(), 40 + m.ascent - 1);
    }
    // No antialiasing: every pixel is either the text colour or untouched.
    for (int y = 0; y < 80; ++y)
      for (int x = 0; x < 120; ++x) {
        const ColorRef c = At(image, x, y);
        ASSERT_TRUE(c == kRed || c == kPaper) << x << "," << y;
      }
  }
}

TEST(QtText, EscapementTurnsTheTextAboutItsAnchor) {
  QImage image = Canvas(100, 160, kPaper);
  QtDeviceContext dc(image);
  LogicalFont font = Font("Arial CE", 20);
  font.escapement = 900;  // a quarter turn counter-clockwise: the text reads upwards
  dc.SetFont(font);
  dc.SetBackgroundMode(BackgroundMode::Transparent);
  dc.SetTextColor(kRed);
  dc.SetTextAlign(TextAlign::BaselineLeft);
  dc.TextOut({50, 140}, "HEHEH");
  const TextMetrics m = dc.GetTextMetrics();
  const QRect glyphs = PixelsOf(image, kRed);
  ASSERT_FALSE(glyphs.isEmpty());
  EXPECT_LT(glyphs.bottom(), 140);
  EXPECT_EQ(glyphs.right(), 49);  // the baseline runs up the column left of the anchor
  EXPECT_GE(glyphs.left(), 50 - m.ascent);
  EXPECT_GT(glyphs.height(), 3 * glyphs.width());
  EXPECT_GE(glyphs.top(), 140 - dc.GetTextExtent("HEHEH").cx - 1);
}

TEST(QtText, OpaqueBackgroundFillsTheCellWithWhite) {
  for (BackgroundMode mode : {BackgroundMode::Opaque, BackgroundMode::Transparent}) {
    QImage image = Canvas(100, 40, kPaper);
    QtDeviceContext dc(image);
    dc.SetFont(Font("Arial CE", 20));
    dc.SetBackgroundMode(mode);
    dc.SetTextColor(kRed);
    dc.TextOut({10, 10}, "Tv");
    const TextSize size = dc.GetTextExtent("Tv");
    const ColorRef cellColour = mode == BackgroundMode::Opaque ? kWhite : kPaper;
    EXPECT_EQ(At(image, 10, 10), cellColour);  // above the capitals
    EXPECT_EQ(At(image, 10 + size.cx - 1, 10 + size.cy - 1), cellColour);
    EXPECT_EQ(At(image, 10 + size.cx, 10), kPaper);  // just outside the cell
    EXPECT_EQ(At(image, 10, 10 + size.cy), kPaper);
    EXPECT_FALSE(PixelsOf(image, kRed).isEmpty());
  }
}

TEST(QtText, XorTextComesOffAgain) {
  QImage image = Canvas(100, 60, kPaper);
  const QImage before = image;
  QtDeviceContext dc(image);
  LogicalFont font = Font("Arial CE", 24, 700);
  font.escapement = 300;
  dc.SetFont(font);
  dc.SetTextColor(kWhite);
  dc.SetDrawMode(DrawMode::Xor);
  dc.SetTextAlign(TextAlign::BaselineLeft);
  dc.TextOut({10, 50},
             "\xC1rp\xE1"
             "d");
  EXPECT_NE(image, before);
  dc.TextOut({10, 50},
             "\xC1rp\xE1"
             "d");
  EXPECT_EQ(image, before);
}

}  // namespace
}  // namespace koltar
