#include "route/select_target_node.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

#include "platform/format.h"
#include "platform/help.h"
#include "platform/progress.h"
#include "platform/services.h"
#include "platform/text.h"
#include "route/opt_path.h"
#include "route/set_cost.h"

namespace koltar {
namespace {

constexpr std::size_t kTypedLength = 62;
constexpr std::size_t kHouseNumberLength = 18;
constexpr std::size_t kDefaultStartLength = 30;
constexpr int kRouteHelpTopic = 2;

constexpr char kListNotFilled[] = "A névlista nem tölthető fel. (Valószínűleg nincs elég memória.)";
constexpr char kHouseNumberNotFound[] = "Házszám nincs megadva, vagy nem található a térképen.";
constexpr char kTooManyPoints[] = "Az útvonal legfeljebb %d csomópontból állhat.";

std::string_view Prefix(std::string_view text, std::size_t length) {
  return text.substr(0, std::min(text.size(), length));
}

// A house number with its letter as one key; the letter counts as a signed byte.
int HouseKey(std::int16_t number, char letter) { return number * 256 + static_cast<signed char>(letter); }

}  // namespace

const char kInvalidRouteSelectionText[] =
    "Érvénytelen útvonal kijelölés.\nKét egymást követő település nem lehet ugyanaz.";

std::string FormatSegment(const HouseNumberRange& r) {
  std::string text = HouseKey(r.last, r.lastLetter) < HouseKey(r.first, r.firstLetter)
                         ? StringPrintf("%d%c", r.first, r.firstLetter)
                         : StringPrintf("%d%c - %d%c", r.first, r.firstLetter, r.last, r.lastLetter);
  // A zero letter ends the text, as it would end a C string.
  text.resize(std::strlen(text.c_str()));
  return text;
}

SelectTargetNode::SelectTargetNode(MOptPath& path, const SettlementNames& towns, CostDialogRunner runCosts,
                                   WindowHandle owner)
    : path_(path), towns_(towns), runCosts_(std::move(runCosts)), owner_(owner) {
  FillSettlements();
  const RouteRequest& request = path_.routeState().request();
  for (const RoutePoint& point : request.routePoints())
    route_.push_back(RouteEntry{std::string(FixedText(point.name)), point.node});
  defaultStartNode_ = request.defaultStartNode();
  if (defaultStartNode_ != -1) defaultStartText_ = std::string(request.defaultStartName());
  criterion_ = path_.costTable().criterion();
  try {
    costs_ = path_.costTable();
  } catch (const std::bad_alloc&) {
    costs_ = CostTable();  // no road types to switch; OK then leaves every flag as it is
  }
}

void SelectTargetNode::FillSettlements() {
  ScopedWaitCursor wait;
  const RoadGraph& graph = path_.graph();
  const bool streets = towns_.HasHouseNumbers();
  try {
    for (std::int32_t node = 0; node < graph.nodeCount(); ++node) {
      const std::int32_t settlement = graph.SettlementOfNode(node, towns_);
      if (settlement < 0) continue;
      std::string name = towns_.PlainName(settlement);
      if (name.empty()) continue;
      // The consecutive segments of one street stand in the list once.
      if (streets && !settlements_.empty() && EqualsNoCase(name, settlements_.back().text)) continue;
      settlements_.push_back(Settlement{std::move(name), node});
    }
  } catch (const std::bad_alloc&) {
    ShowMessage(kListNotFilled, MessageKind::SystemModal, owner_);
  }
  ClearSelection();
}

void SelectTargetNode::ClearSelection() {
  field_.clear();
  selectedRow_ = selectedNode_ = hintRow_ = -1;
  segments_.clear();
  houseNumber_.clear();
}

void SelectTargetNode::TypeSettlement(std::string_view text) {
  field_ = std::string(text);
  const std::string_view typed = Prefix(text, kTypedLength);
  segments_.clear();
  houseNumber_.clear();
  selectedRow_ = selectedNode_ = hintRow_ = -1;
  // Only a whole name selects; the first such entry in list order wins.
  if (!typed.empty()) {
    for (std::int32_t row = 0; row < settlementCount(); ++row) {
      if (EqualsNoCase(settlements_[Index(row)].text, typed)) {
        selectedRow_ = hintRow_ = row;
        selectedNode_ = settlements_[Index(row)].node;
        FillSegments();
        return;
      }
    }
  }
  FindHint(typed);
}

void SelectTargetNode::FindHint(std::string_view typed) {
  hintRow_ = -1;
  if (typed.empty()) return;
  for (std::int32_t row = 0; row < settlementCount(); ++row) {
    if (StartsWithNoCase(settlements_[Index(row)].text, typed)) {
      hintRow_ = row;
      return;
    }
  }
  try {
    if (looseKeys_.size() != settlements_.size()) {
      looseKeys_.clear();
      looseKeys_.reserve(settlements_.size());
      for (const Settlement& s : settlements_) looseKeys_.push_back(SearchKey(s.text));
    }
  } catch (const std::bad_alloc&) {
    looseKeys_.clear();
    return;  // no hint then
  }
  const std::string key = SearchKey(typed);
  for (std::size_t row = 0; row < looseKeys_.size(); ++row) {
    if (looseKeys_[row].starts_with(key)) {
      hintRow_ = static_cast<std::int32_t>(row);
      return;
    }
  }
}

void SelectTargetNode::ChooseSettlement(std::int32_t row) {
  if (row < 0 || row >= settlementCount()) {
    ClearSelection();
    return;
  }
  selectedRow_ = hintRow_ = row;
  selectedNode_ = settlements_[Index(row)].node;
  field_ = settlements_[Index(row)].text;
  FillSegments();
}

void SelectTargetNode::DoubleClickSettlement(std::int32_t row) {
  ChooseSettlement(row);
  Add();
}

void SelectTargetNode::FillSegments() {
  segments_.clear();
  houseNumber_.clear();
  if (!towns_.HasHouseNumbers() || selectedNode_ < 0) return;
  const std::int32_t first = path_.graph().SettlementOfNode(selectedNode_, towns_);
  if (first < 0) return;
  const std::string street = towns_.PlainName(first);
  // The street's objects follow one another; objects without a name do not end it.
  for (std::int32_t i = first; i < towns_.Count(); ++i) {
    const std::string name = towns_.PlainName(i);
    if (!name.empty() && !EqualsNoCase(name, street)) break;
    if (const std::optional<HouseNumberRange> range = towns_.HouseRangeOf(i))
      segments_.push_back(FormatSegment(*range));
  }
}

bool SelectTargetNode::ResolveSelection(std::int32_t& node, std::string& text) const {
  const RoadGraph& graph = path_.graph();
  const std::int32_t settlement = graph.SettlementOfNode(selectedNode_, towns_);
  const bool streets = towns_.HasHouseNumbers();
  const std::string house(Prefix(houseNumber_, kHouseNumberLength));
  std::int32_t object = settlement;
  if (streets) {
    object = towns_.FindHouseNumber(settlement, house);
    node = graph.FindNodeOfPoint(object);
  } else {
    node = selectedNode_;
  }
  if (node < 0) {
    ShowMessage(kHouseNumberNotFound, MessageKind::Exclamation, owner_);
    return false;
  }
  text = object >= 0 ? towns_.PlainName(object) : std::string();
  if (streets) text += " " + house;
  return true;
}

bool SelectTargetNode::AppendEntry(std::string text, std::int32_t node) {
  if (route_.size() >= static_cast<std::size_t>(kMaxRoutePoints)) {
    ShowMessage(StringPrintf(kTooManyPoints, kMaxRoutePoints), MessageKind::Exclamation, owner_);
    return false;
  }
  try {
    route_.push_back(RouteEntry{std::move(text), node});
  } catch (const std::bad_alloc&) {
    ShowMessage(kListNotFilled, MessageKind::Exclamation, owner_);
    return false;
  }
  return true;
}

void SelectTargetNode::Add() {
  if (selectedNode_ < 0) return;
  std::int32_t node = -1;
  std::string text;
  if (!ResolveSelection(node, text)) return;
  if (!AppendEntry(std::move(text), node)) return;
  ClearSelection();
}

void SelectTargetNode::SelectEntry(std::int32_t index) {
  selectedEntry_ = index >= 0 && index < static_cast<std::int32_t>(route_.size()) ? index : -1;
}

void SelectTargetNode::Delete() {
  if (selectedEntry_ < 0) return;
  route_.erase(route_.begin() + selectedEntry_);
  selectedEntry_ = -1;
}

void SelectTargetNode::DeleteAll() {
  route_.clear();
  selectedEntry_ = -1;
}

void SelectTargetNode::MoveUp() {
  if (selectedEntry_ <= 0) return;
  std::swap(route_[Index(selectedEntry_)], route_[Index(selectedEntry_ - 1)]);
  --selectedEntry_;
}

void SelectTargetNode::MoveDown() {
  if (selectedEntry_ < 0 || selectedEntry_ + 1 >= static_cast<std::int32_t>(route_.size())) return;
  std::swap(route_[Index(selectedEntry_)], route_[Index(selectedEntry_ + 1)]);
  ++selectedEntry_;
}

void SelectTargetNode::TakeDefaultStart() {
  if (selectedNode_ < 0) return;
  std::int32_t node = -1;
  std::string text;
  if (!ResolveSelection(node, text)) {
    defaultStartNode_ = -1;
    defaultStartText_.clear();
    return;
  }
  defaultStartNode_ = node;
  defaultStartText_ = std::move(text);
}

void SelectTargetNode::ApplyDefaultStart() {
  if (defaultStartNode_ < 0) return;
  (void)AppendEntry(std::string(Prefix(defaultStartText_, kDefaultStartLength)), defaultStartNode_);
}

std::string SelectTargetNode::roadTypeName(std::int32_t index) const {
  return std::string(FixedText(costs_.roadType(index).name));
}

void SelectTargetNode::ToggleRoadType(std::int32_t index) {
  if (index < 0 || index >= roadTypeCount()) return;
  RoadType& type = costs_.roadType(index);
  type.enabled = type.enabled != 0 ? 0 : 1;
}

void SelectTargetNode::SetAllRoadTypes(std::int32_t enabled) {
  for (std::int32_t i = 0; i < roadTypeCount(); ++i) costs_.roadType(i).enabled = enabled;
}

const std::vector<std::string>& SelectTargetNode::CriterionNames() {
  static const std::vector<std::string> names = {"Távolság", "Idő", "Költség"};
  return names;
}

void SelectTargetNode::SetCriterion(int criterion) {
  if (criterion >= kCriterionDistance && criterion <= kCriterionCost) criterion_ = criterion;
}

void SelectTargetNode::OpenCosts() {
  SetCost costs(path_.costTable(), owner_);
  if (runCosts_) (void)runCosts_(costs);
}

void SelectTargetNode::ShowHelp() const { Help().ShowContext(Program().helpFile, kRouteHelpTopic); }

bool SelectTargetNode::Enabled(Button button) const {
  const std::int32_t entries = static_cast<std::int32_t>(route_.size());
  switch (button) {
    case Button::Add:
    case Button::TakeDefaultStart: return selectedNode_ >= 0;
    case Button::ApplyDefaultStart: return defaultStartNode_ >= 0;
    case Button::MoveUp: return selectedEntry_ > 0;
    case Button::MoveDown: return selectedEntry_ >= 0 && selectedEntry_ + 1 < entries;
    case Button::Delete: return selectedEntry_ >= 0;
    case Button::DeleteAll: return entries > 0;
    case Button::Ok: return entries >= 2;
  }
  return false;
}

bool SelectTargetNode::Accept() {
  for (std::size_t i = 0; i + 1 < route_.size(); ++i) {
    if (route_[i].node == route_[i + 1].node) {
      ShowMessage(kInvalidRouteSelectionText, MessageKind::Exclamation, owner_);
      return false;
    }
  }
  if (route_.size() < 2) return false;
  RouteRequest& request = path_.routeState().request();
  request.ClearRoutePoints();
  for (const RouteEntry& entry : route_) (void)request.AddRoutePoint(entry.node, entry.text);
  request.SetDefaultStart(defaultStartNode_, Prefix(defaultStartText_, kDefaultStartLength));
  CostTable& table = path_.costTable();
  table.SetCriterion(criterion_);
  table.TakeEnabledFlags(costs_);
  return true;
}

}  // namespace koltar
