#include "view/print_preview.h"

namespace koltar {

PreviewFrameGeometry PreviewFrameOf(std::int32_t pageWidth, std::int32_t pageHeight, std::int32_t screenWidth,
                                    std::int32_t screenHeight, std::int32_t caption) {
  const std::int64_t w = pageWidth > 0 && pageHeight > 0 ? pageWidth : 1;
  const std::int64_t h = pageWidth > 0 && pageHeight > 0 ? pageHeight : 1;
  const std::int64_t roomWidth = static_cast<std::int64_t>(screenWidth) - 100;
  const std::int64_t roomHeight = static_cast<std::int64_t>(screenHeight) - caption - 100;
  std::int64_t width = roomWidth;
  std::int64_t height = width * h / w;
  if (height > roomHeight) {
    height = roomHeight;
    width = height * w / h;
  }
  height += caption;
  PreviewFrameGeometry frame;
  frame.width = static_cast<std::int32_t>(width);
  frame.height = static_cast<std::int32_t>(height);
  frame.left = static_cast<std::int32_t>((roomWidth - width) / 2 + 50);
  frame.top = static_cast<std::int32_t>((roomHeight - height) / 2 + caption / 2 + 50);
  return frame;
}

}  // namespace koltar
