#include "resources/resources.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QSet>
#include <string>
#include <vector>

namespace koltar {
namespace {

// Every command that shows an icon in a tool bar or a menu.
const std::vector<int> kIconCommands = {1001, 1002, 1003, 1004, 1005, 1006, 1007,  1008,  1009, 1010,
                                        1011, 1012, 1013, 1014, 1015, 1016, 1017,  1018,  1019, 1020,
                                        1021, 1022, 1023, 1024, 1025, 1026, 24361, 24362, 24364};

const char* const kCursorNames[] = {"DISPLAYNAME", "ZOOM", "ZOOMWND", "NAMEPOS"};

QImage ImageOf(const QIcon& icon, int size) {
  return icon.pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_ARGB32);
}

int OpaquePixels(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += qAlpha(image.pixel(x, y)) >= 128;
  }
  return count;
}

TEST(CommandIcons, EveryCommandHasBothSizesWithAFigureOnTransparentCorners) {
  for (int command : kIconCommands) {
    SCOPED_TRACE(command);
    const QIcon icon = CommandIcon(command);
    ASSERT_FALSE(icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    for (int size : {16, 32}) {
      SCOPED_TRACE(size);
      EXPECT_TRUE(sizes.contains(QSize(size, size)));
      const QImage image = ImageOf(icon, size);
      ASSERT_EQ(image.size(), QSize(size, size));
      // A figure, not a speck: at least an eighth of the square is covered.
      EXPECT_GE(OpaquePixels(image), size * size / 8);
      const int last = size - 1;
      for (QPoint corner : {QPoint(0, 0), QPoint(last, 0), QPoint(0, last), QPoint(last, last)}) {
        EXPECT_EQ(qAlpha(image.pixel(corner)), 0) << corner.x() << "," << corner.y();
      }
    }
  }
}

TEST(CommandIcons, NoTwoCommandsShareAPicture) {
  QSet<QByteArray> seen;
  for (int command : kIconCommands) {
    for (int size : {16, 32}) {
      const QImage image = ImageOf(CommandIcon(command), size);
      const QByteArray pixels(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
      EXPECT_FALSE(seen.contains(pixels)) << command << " at " << size;
      seen.insert(pixels);
    }
  }
}

TEST(CommandIcons, CommandsWithoutAPictureGiveANullIcon) {
  EXPECT_TRUE(CommandIcon(1999).isNull());
  EXPECT_TRUE(CommandIcon(1000).isNull());
  EXPECT_TRUE(CommandIcon(-1).isNull());
}

TEST(WindowIcons, ProgramAndMapIconsHaveAllFourSizes) {
  for (const QIcon& icon : {ProgramIcon(), MapIcon()}) {
    const QList<QSize> sizes = icon.availableSizes();
    ASSERT_EQ(sizes.size(), 4);
    for (int size : {16, 32, 48, 256}) {
      SCOPED_TRACE(size);
      EXPECT_TRUE(sizes.contains(QSize(size, size)));
      const QImage image = ImageOf(icon, size);
      ASSERT_EQ(image.size(), QSize(size, size));
      EXPECT_GE(OpaquePixels(image), size * size / 2);
      EXPECT_EQ(qAlpha(image.pixel(size / 2, size / 2)), 255);
    }
  }
  // The folded sheet leaves the corners free.
  const QImage sheet = ImageOf(MapIcon(), 32);
  EXPECT_EQ(qAlpha(sheet.pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(sheet.pixel(31, 31)), 0);
}

bool IsBlack(QRgb pixel) { return pixel == qRgba(0, 0, 0, 255); }
bool IsWhite(QRgb pixel) { return pixel == qRgba(255, 255, 255, 255); }

TEST(ToolCursors, BlackFiguresWithACompleteWhiteOutlineAndTheHotSpotOnThem) {
  for (const char* name : kCursorNames) {
    SCOPED_TRACE(name);
    const QCursor cursor = ToolCursor(name);
    ASSERT_EQ(cursor.shape(), Qt::BitmapCursor);
    const QImage image = cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(image.size(), QSize(32, 32));
    const QPoint hotspot = cursor.hotSpot();
    ASSERT_TRUE(image.rect().contains(hotspot)) << hotspot.x() << "," << hotspot.y();
    EXPECT_TRUE(IsBlack(image.pixel(hotspot)));
    int black = 0;
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x) {
        const QRgb pixel = image.pixel(x, y);
        ASSERT_TRUE(IsBlack(pixel) || IsWhite(pixel) || qAlpha(pixel) == 0) << x << "," << y;
        if (!IsBlack(pixel)) continue;
        ++black;
        // Black never touches the transparent background or the picture's edge, so the
        // figure shows on dark maps as well.
        for (int dy = -1; dy <= 1; ++dy) {
          for (int dx = -1; dx <= 1; ++dx) {
            const QPoint next(x + dx, y + dy);
            ASSERT_TRUE(image.rect().contains(next)) << x << "," << y;
            EXPECT_NE(qAlpha(image.pixel(next)), 0) << x << "," << y;
          }
        }
      }
    }
    EXPECT_GE(black, 40);
  }
}

TEST(ToolCursors, UnknownNamesFallBackToTheArrow) {
  EXPECT_EQ(ToolCursor("NOSUCHCURSOR").shape(), Qt::ArrowCursor);
  EXPECT_EQ(ToolCursor("").shape(), Qt::ArrowCursor);
  EXPECT_EQ(ToolCursor(nullptr).shape(), Qt::ArrowCursor);
  EXPECT_EQ(ToolCursor("../bitmaps/SWITCHON").shape(), Qt::ArrowCursor);
}

// The switch bitmaps pixel by pixel: D dark grey, L light grey, K black, W white.
const char* const kSwitchOff[12] = {
    "DDDDDDDDDDDL", "DKKKKKKKKKWL", "DKWWWWWWWWWL", "DKWWWWWWWWWL", "DKWWWWWWWWWL", "DKWWWWWWWWWL",
    "DKWWWWWWWWWL", "DKWWWWWWWWWL", "DKWWWWWWWWWL", "DKWWWWWWWWWL", "DWWWWWWWWWWL", "LLLLLLLLLLLL",
};
const char* const kSwitchOn[12] = {
    "DDDDDDDDDDDL", "DKKKKKKKKKWL", "DKWWWWWWWWWL", "DKWWWWWWWKWL", "DKWWWWWWKKWL", "DKWKWWWKKKWL",
    "DKWKKWKKKWWL", "DKWKKKKKWWWL", "DKWWKKKWWWWL", "DKWWWKWWWWWL", "DWWWWWWWWWWL", "LLLLLLLLLLLL",
};

QRgb ColourOf(char code) {
  switch (code) {
    case 'D': return qRgb(128, 128, 128);
    case 'L': return qRgb(192, 192, 192);
    case 'K': return qRgb(0, 0, 0);
    default: return qRgb(255, 255, 255);
  }
}

void ExpectPixels(const char* name, const char* const (&rows)[12]) {
  SCOPED_TRACE(name);
  const QImage image = ResourceBitmap(name).toImage().convertToFormat(QImage::Format_ARGB32);
  ASSERT_EQ(image.size(), QSize(12, 12));
  for (int y = 0; y < 12; ++y) {
    std::string row;
    for (int x = 0; x < 12; ++x) {
      const QRgb pixel = image.pixel(x, y);
      char code = '?';
      for (char candidate : {'D', 'L', 'K', 'W'}) {
        if (pixel == (ColourOf(candidate) | 0xff000000u)) code = candidate;
      }
      row += code;
    }
    EXPECT_EQ(row, rows[y]) << "row " << y;
  }
}

TEST(SwitchBitmaps, SunkenBoxesWithAndWithoutTheTick) {
  ExpectPixels("SWITCHOFF", kSwitchOff);
  ExpectPixels("SWITCHON", kSwitchOn);
  // Stored as 16-colour pictures.
  for (const char* file : {":/bitmaps/SWITCHON.png", ":/bitmaps/SWITCHOFF.png"}) {
    const QImage stored(QString::fromLatin1(file));
    EXPECT_EQ(stored.format(), QImage::Format_Indexed8) << file;
    EXPECT_LE(stored.colorCount(), 16) << file;
  }
  EXPECT_TRUE(ResourceBitmap("NOSUCHBITMAP").isNull());
  EXPECT_TRUE(ResourceBitmap(nullptr).isNull());
  EXPECT_TRUE(ResourceBitmap("../cursors/ZOOM").isNull());
}

}  // namespace
}  // namespace koltar
