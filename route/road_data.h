#pragma once
// What route planning takes from the two categories it is bound to: the road category's
// line records and points, and the names of the settlement category's objects.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "geometry/geometry.h"
#include "geometry/records.h"

namespace koltar {

// A view of the road category's DATAFILE and COORDFILE blocks, used in place.
struct RoadData {
  const std::uint8_t* records = nullptr;
  std::int32_t recordCount = 0;
  const std::uint8_t* coords = nullptr;
  std::int32_t pointCount = 0;
  // The road category's own verdict on a record (false for records its load check
  // refused as damaged); every record counts as usable without it.
  std::function<bool(std::int32_t)> usable = nullptr;

  bool HasRecord(std::int32_t road) const { return records != nullptr && road >= 0 && road < recordCount; }
  // HasRecord, and the category has not refused the record: its bounds and points may
  // be used.
  bool Usable(std::int32_t road) const { return HasRecord(road) && (!usable || usable(road)); }
  // Precondition for the accessors: HasRecord(road).
  const std::uint8_t* Record(std::int32_t road) const {
    return records + static_cast<std::size_t>(road) * PolyRecord::kSize;
  }
  std::int16_t Layer(std::int32_t road) const { return RecordLayer(Record(road)); }
  MapRect Bounds(std::int32_t road) const { return PolyRecord::Bounds(Record(road)); }
  std::int16_t PointCount(std::int32_t road) const { return PolyRecord::PointCount(Record(road)); }
  std::int32_t FirstPoint(std::int32_t road) const { return PolyRecord::FirstPoint(Record(road)); }
  // True when the record is usable and its points lie inside the coordinate block.
  bool HasPoints(std::int32_t road) const {
    if (!Usable(road) || coords == nullptr) return false;
    const std::int64_t first = FirstPoint(road);
    const std::int64_t count = PointCount(road);
    return first >= 0 && count >= 0 && first + count <= pointCount;
  }
  // Point j of the road; precondition HasPoints(road) and 0 <= j < PointCount(road).
  MapPoint Point(std::int32_t road, std::int32_t j) const {
    return CoordRecord::Read(coords +
                             (static_cast<std::size_t>(FirstPoint(road)) + static_cast<std::size_t>(j)) *
                                 CoordRecord::kSize);
  }
};

// The house-number range of one settlement object (a segment of a street): first and
// last number, each with its letter (a blank when it has none).
struct HouseNumberRange {
  std::int16_t first = 0;
  char firstLetter = ' ';
  std::int16_t last = 0;
  char lastLetter = ' ';
};

// The settlement category as route planning sees it. A category with house-number data
// stores a street as a run of consecutive objects of one name, one per segment.
class SettlementNames {
 public:
  virtual ~SettlementNames() = default;
  // Number of settlement objects (records of the category's DATAFILE).
  virtual std::int32_t Count() const = 0;
  // The object's name with its house-number range, if it has one (code page 1250).
  // Precondition: 0 <= index < Count().
  virtual std::string NameWithHouseNumbers(std::int32_t index) const = 0;
  // The object's name alone; "" for an object without a name. Precondition as above.
  virtual std::string PlainName(std::int32_t index) const = 0;
  // The first object (lowest index) whose plain name equals `name` exactly, letter case
  // counted; -1 when there is none.
  virtual std::int32_t FindByName(std::string_view name) const = 0;
  // Whether the category carries house-number data (an ENTITYFILE).
  virtual bool HasHouseNumbers() const = 0;
  // The object's house-number range; none without house-number data or when the object
  // holds no range.
  virtual std::optional<HouseNumberRange> HouseRangeOf(std::int32_t index) const = 0;
  // The object of the street starting at `first` whose range holds the house number
  // written in `houseNumber` (or the nearest on the same side); `first` itself without
  // house-number data or when `first` starts no numbered street.
  virtual std::int32_t FindHouseNumber(std::int32_t first, std::string_view houseNumber) const = 0;
};

}  // namespace koltar
