#include <gtest/gtest.h>

#include "platform/binary.h"
#include "platform/bmp.h"
#include "tests/support/test_env.h"

namespace koltar {
namespace {

BmpPicture Checker(int w, int h) {
  BmpPicture p{w, h, {}};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.pixels.push_back((x + y) % 2 ? Rgb(255, 0, 0) : Rgb(x, y, 200));
  return p;
}

TEST(Bmp, EncodedPicturesDecodeToTheSamePixels) {
  for (int w : {1, 3, 4, 7}) {  // row padding to four bytes
    const BmpPicture in = Checker(w, 5);
    BmpPicture out;
    ASSERT_TRUE(DecodeBmp(EncodeBmp(in), out)) << w;
    EXPECT_EQ(out.width, w);
    EXPECT_EQ(out.height, 5);
    EXPECT_EQ(out.pixels, in.pixels) << w;
  }
}

TEST(Bmp, PalettedTopDownPicture) {
  // A 2 x 2 picture with 1 bit per pixel, stored top-down, palette black and yellow.
  std::string f(14 + 40 + 8 + 8, '\0');
  auto* p = reinterpret_cast<unsigned char*>(f.data());
  p[0] = 'B';
  p[1] = 'M';
  WriteU32(p + 10, 14 + 40 + 8);
  WriteU32(p + 14, 40);
  WriteI32(p + 18, 2);
  WriteI32(p + 22, -2);
  WriteU16(p + 26, 1);
  WriteU16(p + 28, 1);
  p[54 + 4] = 0x00;  // palette entry 1: blue 0, green 255, red 255
  p[54 + 5] = 0xFF;
  p[54 + 6] = 0xFF;
  p[62] = 0x80;  // top row: 1 0
  p[66] = 0x40;  // bottom row: 0 1
  BmpPicture out;
  ASSERT_TRUE(DecodeBmp(f, out));
  EXPECT_EQ(out.At(0, 0), Rgb(255, 255, 0));
  EXPECT_EQ(out.At(1, 0), kBlack);
  EXPECT_EQ(out.At(0, 1), kBlack);
  EXPECT_EQ(out.At(1, 1), Rgb(255, 255, 0));
}

TEST(Bmp, DamagedFilesAreRefused) {
  BmpPicture out;
  const std::string good = EncodeBmp(Checker(4, 4));
  EXPECT_FALSE(DecodeBmp("", out));
  EXPECT_FALSE(DecodeBmp("BM", out));
  EXPECT_FALSE(DecodeBmp(good.substr(0, good.size() - 1), out));  // pixels cut short
  std::string compressed = good;
  compressed[30] = 1;  // run-length encoded: not read
  EXPECT_FALSE(DecodeBmp(compressed, out));
  std::string huge = good;
  WriteI32(huge.data() + 18, 1 << 30);
  EXPECT_FALSE(DecodeBmp(huge, out));
}

TEST(Bmp, TestImageServiceLoadsFiles) {
  test::ScopedTestServices services;
  test::TempDir dir;
  const std::string f = dir.Write("SYM.BMP", EncodeBmp(Checker(40, 20)));
  auto bitmap = Images().LoadBitmapFile(dir.Model("sym.bmp"));
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(bitmap->width(), 40);
  EXPECT_EQ(bitmap->height(), 20);
  EXPECT_EQ(bitmap->GetPixel(1, 0), Rgb(255, 0, 0));
  EXPECT_EQ(Images().LoadBitmapFile(dir.Model("none.bmp")), nullptr);
}

}  // namespace
}  // namespace koltar
