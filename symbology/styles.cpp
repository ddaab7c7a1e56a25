#include "symbology/styles.h"

#include <cmath>

#include "platform/narrow.h"

namespace koltar {

PenStyle PenStyleOf(std::int32_t style) {
  return style >= 0 && style <= 5 ? static_cast<PenStyle>(style) : PenStyle::Solid;
}

Brush FillBrush(ColorRef color, std::int32_t hatchStyle) {
  if (hatchStyle < 0 || hatchStyle > 5) return Brush{Brush::Kind::Solid, color, HatchStyle::Horizontal};
  return Brush{Brush::Kind::Hatched, color, static_cast<HatchStyle>(hatchStyle)};
}

std::int32_t GroundToMapLength(double metres, std::int32_t unit) {
  return ClampToInt32(std::floor(metres / unit + 0.5));
}

}  // namespace koltar
