#pragma once
// Where the print preview window goes: sized after the printer's printable page and
// placed in the middle of the screen, with 50 pixels to spare on each side.

#include <cstdint>

namespace koltar {

// The preview frame in screen pixels; its height includes the caption.
struct PreviewFrameGeometry {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  bool operator==(const PreviewFrameGeometry&) const = default;
};

// The frame for a printable page of pageWidth x pageHeight device units on a screen of
// screenWidth x screenHeight pixels whose windows have captions `caption` pixels high:
// as wide as the screen less 100 and as high as the page's proportion makes it, or, when
// that is higher than the screen less the caption and 100, that high and as wide as the
// proportion makes it (fractions dropped); then the caption added, and the frame centred
// in the screen less 50 on each side (halves rounded toward zero). A page without width
// or height counts as square.
PreviewFrameGeometry PreviewFrameOf(std::int32_t pageWidth, std::int32_t pageHeight, std::int32_t screenWidth,
                                    std::int32_t screenHeight, std::int32_t caption);

}  // namespace koltar
