#pragma once
// The map's own categories as route planning sees them: the settlement category (a
// point category) through SettlementNames, the road category (a line category) as
// RoadData over its loaded blocks.

#include <cstdint>
#include <string>
#include <string_view>

#include "route/road_data.h"

namespace koltar {

class MLine;
class MPoint;

// The objects of a point category as settlements; with no category there are none.
// The category must outlive the view.
class PointSettlements final : public SettlementNames {
 public:
  explicit PointSettlements(const MPoint* points) : points_(points) {}

  std::int32_t Count() const override;
  // The name with the house-number range, as the map shows it ("" for records the
  // category refused as damaged).
  std::string NameWithHouseNumbers(std::int32_t index) const override;
  std::string PlainName(std::int32_t index) const override;
  std::int32_t FindByName(std::string_view name) const override;
  bool HasHouseNumbers() const override;
  std::optional<HouseNumberRange> HouseRangeOf(std::int32_t index) const override;
  std::int32_t FindHouseNumber(std::int32_t first, std::string_view houseNumber) const override;

 private:
  const MPoint* points_;
};

// The road category's records and points, with its verdict on damaged records; an
// empty view without category. The category must outlive the view.
RoadData RoadDataOf(const MLine* roads);

}  // namespace koltar
