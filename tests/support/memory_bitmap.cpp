#include "tests/support/memory_bitmap.h"

#include <fstream>
#include <sstream>

#include "platform/paths.h"

namespace koltar::test {

MemoryBitmap::MemoryBitmap(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height, kBlack) {}

MemoryBitmap::MemoryBitmap(const BmpPicture& picture)
    : width_(picture.width), height_(picture.height), pixels_(picture.pixels) {}

ColorRef MemoryBitmap::GetPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return kBlack;
  return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

void MemoryBitmap::SetPixel(int x, int y, ColorRef color) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<std::size_t>(y) * width_ + x] = color;
}

std::unique_ptr<Bitmap> MemoryBitmap::Clone() const { return std::make_unique<MemoryBitmap>(*this); }

std::unique_ptr<Bitmap> MemoryImageService::CreateBitmap(int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  return std::make_unique<MemoryBitmap>(width, height);
}

std::unique_ptr<Bitmap> MemoryImageService::LoadBitmapFile(std::string_view fileName) {
  std::ifstream in(LocalFileName(fileName), std::ios::binary);
  if (!in) return nullptr;
  std::ostringstream all;
  all << in.rdbuf();
  BmpPicture picture;
  if (!DecodeBmp(all.str(), picture)) return nullptr;
  ++loads;
  return std::make_unique<MemoryBitmap>(picture);
}

}  // namespace koltar::test
