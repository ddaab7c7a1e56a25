#pragma once
// The pens, brushes and lengths that the symbology's values stand for, shared by every
// kind of map content that draws with them (the categories and the route).

#include <cstdint>

#include "platform/color.h"
#include "platform/dc.h"

namespace koltar {

// The pen style of a symbology line style >= 0: 0 ... 5 as they are, larger values
// solid (the platform draws its other pen styles solid).
PenStyle PenStyleOf(std::int32_t style);

// The brush of a fill colour and hatch style: solid for -1, hatched for 0 ... 5, and
// solid for any other value (a pattern the platform does not have).
Brush FillBrush(ColorRef color, std::int32_t hatchStyle);

// A length in ground metres as map units: floor(metres / unit + 0.5), saturating.
std::int32_t GroundToMapLength(double metres, std::int32_t unit);

}  // namespace koltar
