// Symbol bitmaps: the input is one BMP file. A picture that decodes has one pixel per
// place, and encoding it and decoding that gives the same picture.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/bmp.h"
#include "platform/pixel_images.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace koltar;
  BmpPicture picture;
  if (!DecodeBmp(std::string_view(reinterpret_cast<const char*>(data), size), picture)) return 0;
  if (picture.pixels.size() != static_cast<std::size_t>(picture.width) * picture.height) std::abort();
  BmpPicture again;
  if (!DecodeBmp(EncodeBmp(picture), again) || again.width != picture.width ||
      again.height != picture.height || again.pixels != picture.pixels)
    std::abort();
  // The image service reads the same file through its own door.
  fuzz::FuzzWorld& world = fuzz::World();
  world.Reset();
  (void)world.images.LoadBitmapFile(
      world.Write("s.bmp", std::string_view(reinterpret_cast<const char*>(data), size)));
  return 0;
}
