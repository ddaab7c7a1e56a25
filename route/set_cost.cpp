#include "route/set_cost.h"

#include <algorithm>
#include <new>

#include "platform/format.h"
#include "platform/help.h"
#include "platform/message_texts.h"
#include "platform/scan.h"
#include "platform/services.h"

namespace koltar {
namespace {

constexpr std::size_t kFieldNumberLength = 39;
constexpr int kCostHelpTopic = 3;

}  // namespace

float ReadFieldNumber(std::string_view text) {
  std::string number(text.substr(0, std::min(text.size(), kFieldNumberLength)));
  // Hungarian writes a decimal comma; the list shows a point.
  std::replace(number.begin(), number.end(), ',', '.');
  float value = 0;
  if (ScanValues(number, "%f", value) != 1) return 0;
  return value;
}

SetCost::SetCost(CostTable& table, WindowHandle owner) : table_(table), owner_(owner) {
  try {
    copy_ = table;
    copied_ = true;
  } catch (const std::bad_alloc&) {
    copy_ = CostTable();
    ShowNoMemory(owner_);
  }
}

std::string SetCost::Line(std::int32_t index) const {
  const RoadType& type = copy_.roadType(index);
  return StringPrintf("%s\t%7.2f\t%7.2f", std::string(FixedText(type.name)).c_str(),
                      static_cast<double>(type.speed), static_cast<double>(type.unitCost));
}

void SetCost::Select(std::int32_t index) {
  if (speedPending_) LeaveSpeed();
  if (costPending_) LeaveCost();
  if (index < 0 || index >= lineCount()) {
    selected_ = listSelection_ = -1;
    label_.clear();
    speedText_.clear();
    costText_.clear();
    return;
  }
  selected_ = listSelection_ = index;
  const RoadType& type = copy_.roadType(index);
  label_ = StringPrintf("%s:", std::string(FixedText(type.name)).c_str());
  speedText_ = StringPrintf("%.2f", static_cast<double>(type.speed));
  costText_ = StringPrintf("%.2f", static_cast<double>(type.unitCost));
}

void SetCost::EditSpeed(std::string_view text) {
  speedText_ = std::string(text);
  speedPending_ = true;
}

void SetCost::EditCost(std::string_view text) {
  costText_ = std::string(text);
  costPending_ = true;
}

void SetCost::LeaveSpeed() { Store(true); }
void SetCost::LeaveCost() { Store(false); }

void SetCost::Store(bool speed) {
  (speed ? speedPending_ : costPending_) = false;
  if (selected_ < 0 || selected_ >= lineCount()) return;
  RoadType& type = copy_.roadType(selected_);
  (speed ? type.speed : type.unitCost) = ReadFieldNumber(speed ? speedText_ : costText_);
  Refill();
}

void SetCost::Refill() {
  // The fields keep showing the type being edited; only the list loses its selection.
  listSelection_ = -1;
  ++listVersion_;
}

void SetCost::Accept() {
  if (speedPending_) LeaveSpeed();
  if (costPending_) LeaveCost();
  if (copied_) table_ = copy_;
}

void SetCost::ShowHelp() const { Help().ShowContext(Program().helpFile, kCostHelpTopic); }

}  // namespace koltar
