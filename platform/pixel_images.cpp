#include "platform/pixel_images.h"

#include <fstream>
#include <iterator>
#include <string>

#include "platform/paths.h"

namespace koltar {

PixelBitmap::PixelBitmap(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height, kBlack) {}

PixelBitmap::PixelBitmap(const BmpPicture& picture)
    : width_(picture.width), height_(picture.height), pixels_(picture.pixels) {}

ColorRef PixelBitmap::GetPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return kBlack;
  return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

void PixelBitmap::SetPixel(int x, int y, ColorRef color) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<std::size_t>(y) * width_ + x] = color;
}

std::unique_ptr<Bitmap> PixelBitmap::Clone() const { return std::make_unique<PixelBitmap>(*this); }

std::unique_ptr<Bitmap> PixelImageService::CreateBitmap(int width, int height) {
  if (width <= 0 || height <= 0 || static_cast<long long>(width) * height > kMaxPixels) return nullptr;
  return std::make_unique<PixelBitmap>(width, height);
}

std::unique_ptr<Bitmap> PixelImageService::LoadBitmapFile(std::string_view fileName) {
  std::ifstream in(LocalFileName(fileName), std::ios::binary);
  if (!in) return nullptr;
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return nullptr;
  BmpPicture picture;
  if (!DecodeBmp(bytes, picture)) return nullptr;
  return std::make_unique<PixelBitmap>(picture);
}

}  // namespace koltar
