#include "platform/qt/picture_file.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <string>

namespace koltar {
namespace {

TEST(PictureFile, FormatFollowsTheExtension) {
  EXPECT_STREQ(PictureFormatOf("a/map.png"), "PNG");
  EXPECT_STREQ(PictureFormatOf("map.BMP"), "BMP");
  EXPECT_STREQ(PictureFormatOf("map.ppm"), "PPM");
  EXPECT_STREQ(PictureFormatOf("map.jpg"), "JPG");
  EXPECT_STREQ(PictureFormatOf("map.JPEG"), "JPG");
  EXPECT_STREQ(PictureFormatOf("map"), "PNG");
  EXPECT_STREQ(PictureFormatOf("dir.bmp/map"), "PNG");
  EXPECT_STREQ(PictureFormatOf("map.tiff"), "PNG");
}

// Every format reads back with Qt as that format, at the size drawn; the lossless
// ones pixel for pixel.
TEST(PictureFile, WrittenPicturesReadBack) {
  QImage image(37, 21, QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgb(x * 6, y * 11, (x + y) % 2 ? 255 : 0));
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (const char* ext : {"png", "bmp", "ppm", "jpg"}) {
    SCOPED_TRACE(ext);
    const std::string file = dir.filePath(QString("map.") + ext).toStdString();
    ASSERT_TRUE(SavePicture(image, file));
    QImageReader reader(QString::fromStdString(file));
    reader.setDecideFormatFromContent(true);
    EXPECT_EQ(reader.format().toLower().toStdString(), std::string(ext) == "jpg" ? "jpeg" : ext);
    const QImage back = reader.read();
    ASSERT_FALSE(back.isNull()) << reader.errorString().toStdString();
    EXPECT_EQ(back.size(), image.size());
    if (std::string(ext) != "jpg") {
      EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), image);
    }
  }
  EXPECT_FALSE(SavePicture(image, dir.filePath("missing/map.png").toStdString()));
}

}  // namespace
}  // namespace koltar
