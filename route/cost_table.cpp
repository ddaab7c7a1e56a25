#include "route/cost_table.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "platform/format.h"
#include "platform/scan.h"

namespace koltar {
namespace {

std::string FormatFixed2(float value) {
  char buffer[64];
  const auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value), std::chars_format::fixed, 2);
  return ec == std::errc() ? std::string(buffer, end) : std::string("0.00");
}

bool IsValidCriterion(int c) { return c >= kCriterionDistance && c <= kCriterionCost; }

}  // namespace

CostTable::CostTable(std::vector<RoadType> types, int criterion) : types_(std::move(types)) {
  SetCriterion(criterion);
}

void CostTable::SetCriterion(int criterion) {
  criterion_ = IsValidCriterion(criterion) ? criterion : kCriterionDistance;
}

void CostTable::TakeEnabledFlags(const CostTable& edited) {
  const std::size_t n = std::min(types_.size(), edited.types_.size());
  for (std::size_t i = 0; i < n; ++i) types_[i].enabled = edited.types_[i].enabled;
}

RoadType ParseRoadType(std::string_view value) {
  RoadType type;
  std::string name;
  if (ScanValues(value, "%[^,]%*c%d,%f,%f,%f", name, type.enabled, type.distanceFactor, type.speed,
                 type.unitCost) > 0)
    SetFixedText(type.name, name);
  return type;
}

std::string FormatRoadType(const RoadType& type) {
  std::string out(FixedText(type.name));
  out += StringPrintf(",%d,", type.enabled);
  out += FormatFixed2(type.distanceFactor) + ",";
  out += FormatFixed2(type.speed) + ",";
  out += FormatFixed2(type.unitCost);
  return out;
}

}  // namespace koltar
