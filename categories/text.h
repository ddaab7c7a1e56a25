#pragma once
// The text category: construction, extent and drawing. (Its records and operations come
// with the category itself; for now it only takes part in the map's load and draw.)

#include <cstdint>
#include <string>
#include <string_view>

#include "document/geometry.h"
#include "document/transform.h"

namespace koltar {

class DeviceContext;
class MCartoSymb;

class MText {
 public:
  MText(std::string_view categoryName, std::string_view mapDirectory, std::string_view mapFileName);
  MText(const MText&) = delete;
  MText& operator=(const MText&) = delete;

  const std::string& name() const { return name_; }
  MapRect GetExtent() const { return MapRect::Empty(); }
  void Draw(DeviceContext&, const LCTransform&, const DeviceRect&, const MapRect&, std::int32_t,
            const MCartoSymb&, std::int32_t) {}

 private:
  std::string name_;
};

}  // namespace koltar
