#include <gtest/gtest.h>

#include <QFile>

#include "platform/bmp.h"
#include "platform/qt/qt_device_context.h"
#include "platform/qt/qt_images.h"
#include "tests/qt/pixels.h"
#include "tests/support/memory_bitmap.h"
#include "tests/support/test_env.h"

namespace koltar {
namespace {

using test::At;
using test::Canvas;

constexpr ColorRef kPaper = Rgb(200, 220, 160);
constexpr ColorRef kRed = Rgb(255, 0, 0);
constexpr ColorRef kGreen = Rgb(0, 255, 0);
constexpr ColorRef kBlue = Rgb(0, 0, 255);
constexpr ColorRef kGrey = Rgb(128, 128, 128);

// Pixel (x, y) of a 4 x 4 source: every pixel different.
ColorRef Source(int x, int y) { return Rgb(40 + 50 * x, 40 + 50 * y, 7); }

QtBitmap FourByFour() {
  QtBitmap bitmap(4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) bitmap.SetPixel(x, y, Source(x, y));
  return bitmap;
}

TEST(QtBitmaps, PixelsAndTheirBounds) {
  QtBitmap bitmap(3, 2);
  EXPECT_EQ(bitmap.width(), 3);
  EXPECT_EQ(bitmap.height(), 2);
  EXPECT_EQ(bitmap.GetPixel(2, 1), kBlack);
  bitmap.SetPixel(2, 1, Rgb(1, 2, 3));
  bitmap.SetPixel(3, 0, kRed);  // outside: ignored
  bitmap.SetPixel(-1, 0, kRed);
  EXPECT_EQ(bitmap.GetPixel(2, 1), Rgb(1, 2, 3));
  EXPECT_EQ(bitmap.GetPixel(3, 0), kBlack);
  EXPECT_EQ(bitmap.GetPixel(0, -1), kBlack);
  auto clone = bitmap.Clone();
  bitmap.SetPixel(0, 0, kRed);
  EXPECT_EQ(clone->GetPixel(0, 0), kBlack);  // the clone does not share later writes
  EXPECT_EQ(clone->GetPixel(2, 1), Rgb(1, 2, 3));
}

TEST(QtBitmaps, ImageServiceMakesAndLoadsBitmaps) {
  QtImageService images;
  auto made = images.CreateBitmap(5, 4);
  ASSERT_TRUE(made);
  EXPECT_EQ(made->GetPixel(4, 3), kBlack);
  EXPECT_EQ(images.CreateBitmap(0, 4), nullptr);

  test::TempDir dir;
  BmpPicture picture{2, 2, {kRed, kGreen, kBlue, kGrey}};
  dir.Write("SYMBOL.BMP", EncodeBmp(picture));
  dir.Write("broken.bmp", "BM not really");
  auto loaded = images.LoadBitmapFile(dir.Model("symbol.bmp"));  // letter case differs
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->width(), 2);
  EXPECT_EQ(loaded->GetPixel(1, 0), kGreen);
  EXPECT_EQ(loaded->GetPixel(0, 1), kBlue);
  EXPECT_EQ(images.LoadBitmapFile(dir.Model("broken.bmp")), nullptr);
  EXPECT_EQ(images.LoadBitmapFile(dir.Model("missing.bmp")), nullptr);
}

TEST(QtStretchBlt, EnlargingRepeatsPixelsInBlocks) {
  test::MemoryBitmap bitmap(2, 2);  // not a QtBitmap: converted through its pixels
  bitmap.SetPixel(0, 0, kRed);
  bitmap.SetPixel(1, 0, kGreen);
  bitmap.SetPixel(0, 1, kBlue);
  bitmap.SetPixel(1, 1, kGrey);
  QImage image = Canvas(16, 16, kPaper);
  QtDeviceContext dc(image);
  dc.StretchBlt({4, 4, 12, 12}, bitmap, {0, 0, 2, 2}, RasterOp::Copy);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      ColorRef want = kPaper;
      if (x >= 4 && x < 12 && y >= 4 && y < 12) want = bitmap.GetPixel((x - 4) / 4, (y - 4) / 4);
      EXPECT_EQ(At(image, x, y), want) << x << "," << y;
    }
}

TEST(QtStretchBlt, ShrinkingDropsRowsAndColumns) {
  const QtBitmap bitmap = FourByFour();
  QImage image = Canvas(4, 4, kPaper);
  QtDeviceContext dc(image);
  dc.StretchBlt({0, 0, 2, 2}, bitmap, {0, 0, 4, 4}, RasterOp::Copy);
  // Each target pixel is one whole source pixel, taken from the middle of its share.
  EXPECT_EQ(At(image, 0, 0), Source(1, 1));
  EXPECT_EQ(At(image, 1, 0), Source(3, 1));
  EXPECT_EQ(At(image, 0, 1), Source(1, 3));
  EXPECT_EQ(At(image, 1, 1), Source(3, 3));
  EXPECT_EQ(At(image, 2, 0), kPaper);
  // A part of the source, and a source reaching past the bitmap (black there).
  dc.StretchBlt({0, 0, 1, 1}, bitmap, {2, 1, 3, 2}, RasterOp::Copy);
  EXPECT_EQ(At(image, 0, 0), Source(2, 1));
  dc.StretchBlt({2, 2, 4, 4}, bitmap, {3, 3, 5, 5}, RasterOp::Copy);
  EXPECT_EQ(At(image, 2, 2), Source(3, 3));
  EXPECT_EQ(At(image, 3, 3), kBlack);
}

TEST(QtStretchBlt, MaskAndThenSymbolKeepTheBackgroundWhereTransparent) {
  // A symbol whose left half has the transparent colour, prepared as the point
  // category does: transparent pixels made black, and an inverse mask white there.
  QtBitmap symbol(2, 1), inverseMask(2, 1);
  symbol.SetPixel(0, 0, kBlack);
  symbol.SetPixel(1, 0, kRed);
  inverseMask.SetPixel(0, 0, kWhite);
  inverseMask.SetPixel(1, 0, kBlack);
  QImage image(8, 4, QImage::Format_RGB32);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) image.setPixel(x, y, qRgb(30 * x, 60 * y, 99));
  const QImage background = image;
  QtDeviceContext dc(image);
  dc.StretchBlt({0, 0, 8, 4}, inverseMask, {0, 0, 2, 1}, RasterOp::And);
  dc.StretchBlt({0, 0, 8, 4}, symbol, {0, 0, 2, 1}, RasterOp::Or);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) {
      if (x < 4)
        EXPECT_EQ(image.pixel(x, y), background.pixel(x, y)) << x << "," << y;
      else
        EXPECT_EQ(At(image, x, y), kRed) << x << "," << y;
    }
}

TEST(QtStretchBlt, HugeTargetsAreCutToTheDevice) {
  const QtBitmap bitmap = FourByFour();
  QImage image = Canvas(10, 10, kPaper);
  QtDeviceContext dc(image);
  // A symbol of a huge scale: only its visible corner is made.
  dc.StretchBlt({-1000000000, -1000000000, 1000000000, 1000000000}, bitmap, {0, 0, 4, 4}, RasterOp::Copy);
  EXPECT_EQ(At(image, 0, 0), Source(2, 2));  // the device shows the middle of the symbol
  EXPECT_EQ(At(image, 9, 9), Source(2, 2));
  // Empty or turned-round rectangles draw nothing.
  QImage before = image;
  dc.StretchBlt({5, 5, 5, 9}, bitmap, {0, 0, 4, 4}, RasterOp::Copy);
  dc.StretchBlt({5, 5, 9, 9}, bitmap, {4, 0, 0, 4}, RasterOp::Copy);
  EXPECT_EQ(image, before);
}

TEST(QtStretchBlt, DibCopyAndSavedAreasComeBack) {
  QImage image = Canvas(20, 20, kPaper);
  QtDeviceContext dc(image);
  const QtBitmap bitmap = FourByFour();
  dc.StretchDib({0, 0, 4, 4}, bitmap, {0, 0, 4, 4});
  EXPECT_EQ(At(image, 3, 2), Source(3, 2));

  auto saved = dc.CopyArea({1, 1, 11, 6});
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->width(), 10);
  EXPECT_EQ(saved->height(), 5);
  EXPECT_EQ(saved->GetPixel(2, 1), Source(3, 2));
  EXPECT_EQ(saved->GetPixel(9, 4), kPaper);
  const QImage before = image;
  dc.SetPen({kRed, PenStyle::Solid, 0});
  dc.SetBrush({Brush::Kind::Solid, Rgb(255, 255, 0), HatchStyle::Horizontal});
  dc.Rectangle({1, 1, 11, 6});
  dc.StretchBlt({1, 1, 11, 6}, *saved, {0, 0, 10, 5}, RasterOp::Copy);
  EXPECT_EQ(image, before);
  EXPECT_EQ(dc.CopyArea({3, 3, 3, 8}), nullptr);
}

}  // namespace
}  // namespace koltar
