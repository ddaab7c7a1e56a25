#pragma once
// What a window offers the core for asking parts of it to be painted again.

#include "platform/device_types.h"

namespace koltar {

class RepaintTarget {
 public:
  virtual ~RepaintTarget() = default;
  // Marks the inside of the polygon (winding fill), in device units, for repainting.
  virtual void InvalidatePolygon(const DevicePoint* points, int count) = 0;
};

}  // namespace koltar
