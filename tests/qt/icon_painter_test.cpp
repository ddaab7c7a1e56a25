#include "tools/icons/icon_painter.h"

#include <gtest/gtest.h>

#include "tools/icons/artwork.h"

namespace koltar::icons {
namespace {

QImage Blank(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

// The pixels of one row from x = 0 to the middle, as characters: '.' transparent,
// 'o' outline colour, 'f' the fill colour, '?' anything else (a smudged pixel).
std::string RowCodes(const QImage& image, int y, const QColor& fill) {
  std::string codes;
  for (int x = 0; x < image.width() / 2; ++x) {
    const QRgb pixel = image.pixel(x, y);
    if (qAlpha(pixel) == 0) {
      codes += '.';
    } else if (pixel == colour::kOutline.rgb()) {
      codes += 'o';
    } else if (pixel == fill.rgb()) {
      codes += 'f';
    } else {
      codes += '?';
    }
  }
  return codes;
}

TEST(IconPainter, ABoxOnWholeUnitsIsCrispWithItsOutlineInsideAtEverySize) {
  const QColor fill(200, 40, 30);
  struct Case {
    int size;
    int outline;  // device pixels
  };
  for (const Case c : {Case{16, 1}, Case{32, 1}, Case{48, 1}, Case{256, 6}}) {
    SCOPED_TRACE(c.size);
    QImage image = Blank(c.size);
    {
      IconPainter ip(image);
      ip.Box(QRectF(QPointF(2, 2), QPointF(14, 14)), fill);
    }
    const int edge = 2 * c.size / 16;
    const std::string expected = std::string(edge, '.') + std::string(c.outline, 'o') +
                                 std::string(c.size / 2 - edge - c.outline, 'f');
    EXPECT_EQ(RowCodes(image, c.size / 2, fill), expected);
    EXPECT_EQ(RowCodes(image.transformed(QTransform().rotate(90)), c.size / 2, fill), expected);
  }
}

TEST(IconPainter, AStrokeIsCentredOnItsPathWithAnOutlineOnBothSides) {
  const QColor colour(40, 100, 200);
  for (int size : {16, 32}) {
    SCOPED_TRACE(size);
    QImage image = Blank(size);
    {
      IconPainter ip(image);
      ip.Stroke(PathOf({{0, 8}, {16, 8}}), colour, 2, Qt::FlatCap);
    }
    const int unit = size / 16;
    const int hair = 1;
    std::string column;
    for (int y = 0; y < size; ++y) {
      const QRgb pixel = image.pixel(size / 2, y);
      column += qAlpha(pixel) == 0                ? '.'
                : pixel == colour.rgb()           ? 'f'
                : pixel == colour::kOutline.rgb() ? 'o'
                                                  : '?';
    }
    const int half = size / 2;
    const std::string expected = std::string(half - unit - hair, '.') + std::string(hair, 'o') +
                                 std::string(2 * unit, 'f') + std::string(hair, 'o') +
                                 std::string(half - unit - hair, '.');
    EXPECT_EQ(column, expected);
  }
}

TEST(IconPainter, AFrameScalesDrawingAndOutlineAndPopRestoresThem) {
  QImage image = Blank(16);
  IconPainter ip(image);
  EXPECT_DOUBLE_EQ(ip.hair(), 1.0);
  ip.Push(QPointF(8, 8), 0.5);
  EXPECT_DOUBLE_EQ(ip.hair(), 2.0);  // still one device pixel
  ip.Box(QRectF(QPointF(0, 0), QPointF(16, 16)), Qt::red);
  ip.Pop();
  EXPECT_DOUBLE_EQ(ip.hair(), 1.0);
  ip.painter().end();
  EXPECT_EQ(qAlpha(image.pixel(7, 7)), 0);
  EXPECT_EQ(image.pixel(8, 8), colour::kOutline.rgb());
  EXPECT_EQ(image.pixel(15, 15), colour::kOutline.rgb());
  EXPECT_EQ(image.pixel(9, 9), QColor(Qt::red).rgb());
}

TEST(IconPainter, ClearMakesTheShapeAndItsMarginTransparent) {
  QImage image = Blank(16);
  {
    IconPainter ip(image);
    ip.Fill(QRectF(0, 0, 16, 16), Qt::red);
    QPainterPath spot;
    spot.addRect(QRectF(6, 6, 4, 4));
    ip.Clear(spot, 2);
  }
  EXPECT_EQ(qAlpha(image.pixel(8, 8)), 0);
  EXPECT_EQ(qAlpha(image.pixel(4, 8)), 0);    // within the margin
  EXPECT_EQ(qAlpha(image.pixel(2, 8)), 255);  // beyond it
}

TEST(Artwork, UnknownPicturesAreNull) {
  EXPECT_TRUE(DrawCommandIcon(1999, 16).isNull());
  EXPECT_TRUE(DrawCursor("ARROW").image.isNull());
  EXPECT_FALSE(DrawCommandIcon(1001, 16).isNull());
}

}  // namespace
}  // namespace koltar::icons
