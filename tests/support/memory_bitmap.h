#pragma once
// Pictures for the core tests, without Qt: the platform's pixel-array bitmaps, and an
// image service over them that counts the files it has read.

#include <memory>
#include <string_view>

#include "platform/pixel_images.h"

namespace koltar::test {

using MemoryBitmap = PixelBitmap;

class MemoryImageService final : public ImageService {
 public:
  std::unique_ptr<Bitmap> CreateBitmap(int width, int height) override {
    return pixels_.CreateBitmap(width, height);
  }
  std::unique_ptr<Bitmap> LoadBitmapFile(std::string_view fileName) override;
  int loads = 0;  // files read so far

 private:
  PixelImageService pixels_;
};

}  // namespace koltar::test
