#pragma once
// Pictures without the windowing platform: bitmaps held as plain pixel arrays and an
// image service that makes them and reads BMP files with the project's own decoder.
// The command line uses it where it draws nothing, so that no toolkit has to start.

#include <memory>
#include <string_view>
#include <vector>

#include "platform/bitmap.h"
#include "platform/bmp.h"

namespace koltar {

class PixelBitmap final : public Bitmap {
 public:
  // All black.
  PixelBitmap(int width, int height);
  explicit PixelBitmap(const BmpPicture& picture);

  int width() const override { return width_; }
  int height() const override { return height_; }
  ColorRef GetPixel(int x, int y) const override;
  void SetPixel(int x, int y, ColorRef color) override;
  std::unique_ptr<Bitmap> Clone() const override;

 private:
  int width_;
  int height_;
  std::vector<ColorRef> pixels_;
};

class PixelImageService final : public ImageService {
 public:
  // Null for a size <= 0, or beyond kMaxPixels pixels.
  std::unique_ptr<Bitmap> CreateBitmap(int width, int height) override;
  std::unique_ptr<Bitmap> LoadBitmapFile(std::string_view fileName) override;

  // The largest bitmap made: a BMP header may claim any size, its pixels must fit.
  static constexpr long long kMaxPixels = 64LL * 1024 * 1024;
};

}  // namespace koltar
