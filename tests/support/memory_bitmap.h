#pragma once
// Bitmaps held as plain pixel arrays, and an image service that makes them and reads
// BMP files with the project's own decoder: pictures for the core tests, without Qt.

#include <memory>
#include <string_view>
#include <vector>

#include "platform/bitmap.h"
#include "platform/bmp.h"

namespace koltar::test {

class MemoryBitmap final : public Bitmap {
 public:
  MemoryBitmap(int width, int height);
  explicit MemoryBitmap(const BmpPicture& picture);

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

class MemoryImageService final : public ImageService {
 public:
  std::unique_ptr<Bitmap> CreateBitmap(int width, int height) override;
  std::unique_ptr<Bitmap> LoadBitmapFile(std::string_view fileName) override;
  int loads = 0;  // files read so far
};

}  // namespace koltar::test
