#pragma once
// Pictures: symbol bitmaps, their transparency masks, saved screen areas. A Bitmap is
// made by the platform (ImageService), which keeps it in the form its devices draw
// fastest; the core reads and writes its pixels and hands it to DeviceContext::StretchBlt.

#include <memory>
#include <string_view>

#include "platform/color.h"

namespace koltar {

class Bitmap {
 public:
  virtual ~Bitmap() = default;
  virtual int width() const = 0;
  virtual int height() const = 0;
  // Pixels outside the bitmap read as black and are not written.
  virtual ColorRef GetPixel(int x, int y) const = 0;
  virtual void SetPixel(int x, int y, ColorRef color) = 0;
  virtual std::unique_ptr<Bitmap> Clone() const = 0;
};

class ImageService {
 public:
  virtual ~ImageService() = default;
  // A new bitmap of that size, all black; null when it cannot be made.
  virtual std::unique_ptr<Bitmap> CreateBitmap(int width, int height) = 0;
  // The picture of a BMP file named by a model file name; null when the file cannot be
  // read or decoded. Shows no message.
  virtual std::unique_ptr<Bitmap> LoadBitmapFile(std::string_view fileName) = 0;
};

}  // namespace koltar
