#pragma once
// Bitmaps held as QImages, and the image service that makes and loads them for the
// Qt devices.

#include <QImage>
#include <QRgb>
#include <memory>
#include <string_view>

#include "platform/bitmap.h"
#include "platform/color.h"

namespace koltar {

// A colour reference as an opaque Qt pixel value, and back (alpha dropped).
constexpr QRgb ToQRgb(ColorRef c) { return qRgb(RedOf(c), GreenOf(c), BlueOf(c)); }
constexpr ColorRef ToColorRef(QRgb p) { return Rgb(qRed(p), qGreen(p), qBlue(p)); }

// A bitmap over a QImage of Format_RGB32, the format the raster devices blend fastest.
class QtBitmap final : public Bitmap {
 public:
  // A width x height bitmap, all black; null image when a side is not positive.
  QtBitmap(int width, int height);
  // Takes the picture, converted to Format_RGB32 when it has another format.
  explicit QtBitmap(QImage image);

  int width() const override { return image_.width(); }
  int height() const override { return image_.height(); }
  ColorRef GetPixel(int x, int y) const override;
  void SetPixel(int x, int y, ColorRef color) override;
  std::unique_ptr<Bitmap> Clone() const override;

  const QImage& image() const { return image_; }

 private:
  QImage image_;
};

// The pixels of any bitmap as a Format_RGB32 image: a QtBitmap's own image, or a copy
// made pixel by pixel from other kinds.
QImage ToQImage(const Bitmap& bitmap);

class QtImageService final : public ImageService {
 public:
  std::unique_ptr<Bitmap> CreateBitmap(int width, int height) override;
  // Decodes the BMP file that the model file name names (see LocalFileName).
  std::unique_ptr<Bitmap> LoadBitmapFile(std::string_view fileName) override;
};

}  // namespace koltar
