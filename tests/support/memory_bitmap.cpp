#include "tests/support/memory_bitmap.h"

namespace koltar::test {

std::unique_ptr<Bitmap> MemoryImageService::LoadBitmapFile(std::string_view fileName) {
  std::unique_ptr<Bitmap> bitmap = pixels_.LoadBitmapFile(fileName);
  if (bitmap) ++loads;
  return bitmap;
}

}  // namespace koltar::test
