#include "map/road_binding.h"

#include "categories/line.h"
#include "categories/point.h"
#include "geometry/records.h"

namespace koltar {

std::int32_t PointSettlements::Count() const { return points_ ? points_->recordCount() : 0; }

std::string PointSettlements::NameWithHouseNumbers(std::int32_t index) const {
  return points_ ? points_->GetObjectName(index, true) : std::string();
}

std::string PointSettlements::PlainName(std::int32_t index) const {
  return points_ ? points_->GetObjectName(index, false) : std::string();
}

std::int32_t PointSettlements::FindByName(std::string_view name) const {
  return points_ ? points_->FindByName(name) : -1;
}

bool PointSettlements::HasHouseNumbers() const { return points_ && points_->hasHouseNumbers(); }

std::optional<HouseNumberRange> PointSettlements::HouseRangeOf(std::int32_t index) const {
  const std::uint8_t* e = points_ ? points_->EntityRecordAt(index) : nullptr;
  if (!e || (EntityRecord::Flags(e) & EntityRecord::kHasRange) == 0) return std::nullopt;
  return HouseNumberRange{EntityRecord::First(e), EntityRecord::FirstLetter(e), EntityRecord::Last(e),
                          EntityRecord::LastLetter(e)};
}

std::int32_t PointSettlements::FindHouseNumber(std::int32_t first, std::string_view houseNumber) const {
  return points_ ? points_->FindHouseNumber(first, houseNumber) : first;
}

RoadData RoadDataOf(const MLine* roads) {
  RoadData data;
  if (!roads) return data;
  if (roads->records().present()) {
    data.records = roads->records().block().data();
    data.recordCount = roads->records().count();
  }
  if (roads->coords().present()) {
    data.coords = roads->coords().block().data();
    data.pointCount = roads->coords().count();
  }
  data.usable = [roads](std::int32_t road) { return roads->IsUsable(road); };
  return data;
}

}  // namespace koltar
