#pragma once
// SelectTargetNode: the behaviour of the route request dialog ("Útvonal választás"),
// without a window. The user composes up to kMaxRoutePoints route points from the
// settlements of the road network's nodes (with a house number where the settlement
// category has house-number data), switches road types on and off, chooses the
// criterion and keeps a default start place; OK stores the request in MOptPath.
//
// The settlement list holds one entry per node that stands for a named settlement, in
// node order; with house-number data the consecutive objects of one street appear once.
// Typing selects the first entry whose whole name equals the typed text, letter case
// ignored; otherwise nothing is selected, and the list only points at a hint: the first
// entry that begins with the text, or, failing that, the first that begins with it when
// accents are ignored too ("Gyor" points at "Győr").
//
// A window shows this state and forwards the user's actions; it reads the state anew
// after each action. Messages are shown with owner() as their owner.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/messages.h"
#include "route/cost_table.h"
#include "route/road_data.h"

namespace koltar {

class MOptPath;
class SetCost;

class SelectTargetNode {
 public:
  // Runs the cost settings dialog on a SetCost; true when it was closed with OK (and
  // SetCost::Accept has stored its values).
  using CostDialogRunner = std::function<bool(SetCost&)>;

  // One entry of the route list: the text shown and the node it stands for.
  struct RouteEntry {
    std::string text;
    std::int32_t node = -1;
  };

  // The buttons whose enabling depends on the state.
  enum class Button { Add, TakeDefaultStart, ApplyDefaultStart, MoveUp, MoveDown, Delete, DeleteAll, Ok };

  // Opens on the network's request, default start, criterion and a copy of its cost
  // table, and fills the settlement list from `towns` (which, like `path`, must outlive
  // the dialog). When the list cannot be filled, shows "A névlista nem tölthető fel.
  // (Valószínűleg nincs elég memória.)" (system-modal) and keeps what it has.
  SelectTargetNode(MOptPath& path, const SettlementNames& towns, CostDialogRunner runCosts = nullptr,
                   WindowHandle owner = nullptr);

  WindowHandle owner() const { return owner_; }
  void SetOwner(WindowHandle owner) { owner_ = owner; }

  // ---- settlements -------------------------------------------------------------------
  std::int32_t settlementCount() const { return static_cast<std::int32_t>(settlements_.size()); }
  // Precondition: 0 <= row < settlementCount().
  const std::string& settlementText(std::int32_t row) const { return settlements_[Index(row)].text; }
  std::int32_t settlementNode(std::int32_t row) const { return settlements_[Index(row)].node; }
  // The text of the settlement field.
  const std::string& settlementField() const { return field_; }
  // The selected entry and its node; -1 for none.
  std::int32_t selectedRow() const { return selectedRow_; }
  std::int32_t selectedNode() const { return selectedNode_; }
  // The entry the list points at while nothing is selected (see above); -1 for none.
  std::int32_t hintRow() const { return hintRow_; }

  // The user typed in the settlement field (at most 62 characters count).
  void TypeSettlement(std::string_view text);
  // The user chose an entry in the list (-1: none); the field shows its text.
  void ChooseSettlement(std::int32_t row);
  // A double click on an entry: chooses it, then adds it as ">>" does.
  void DoubleClickSettlement(std::int32_t row);

  // ---- house numbers -----------------------------------------------------------------
  // The house-number field and the segment list are usable only with house-number data.
  bool houseNumbersEnabled() const { return towns_.HasHouseNumbers(); }
  const std::string& houseNumber() const { return houseNumber_; }
  void SetHouseNumber(std::string_view text) { houseNumber_ = std::string(text); }
  // The house-number ranges of the selected settlement's street, "%d%c - %d%c" or "%d%c".
  const std::vector<std::string>& segments() const { return segments_; }

  // ---- route list --------------------------------------------------------------------
  const std::vector<RouteEntry>& routeEntries() const { return route_; }
  std::int32_t selectedEntry() const { return selectedEntry_; }
  void SelectEntry(std::int32_t index);
  // ">>": adds the selected settlement (with the house number) to the route list.
  void Add();
  void Delete();
  void DeleteAll();
  void MoveUp();
  void MoveDown();

  // ---- default start place -----------------------------------------------------------
  // The name shown for the default start place ("" for none) and its node (-1 for none).
  const std::string& defaultStartText() const { return defaultStartText_; }
  std::int32_t defaultStartNode() const { return defaultStartNode_; }
  // "Felvesz": the selected settlement (with the house number) becomes the default start.
  void TakeDefaultStart();
  // "Alkalmaz": appends the default start place to the route list.
  void ApplyDefaultStart();

  // ---- road types and criterion --------------------------------------------------------
  std::int32_t roadTypeCount() const { return costs_.roadTypeCount(); }
  std::string roadTypeName(std::int32_t index) const;
  bool roadTypeEnabled(std::int32_t index) const { return costs_.roadType(index).enabled != 0; }
  // A double click on a road type switches it on or off.
  void ToggleRoadType(std::int32_t index);
  void EnableAllRoadTypes() { SetAllRoadTypes(1); }
  void DisableAllRoadTypes() { SetAllRoadTypes(0); }
  // "Távolság", "Idő", "Költség" (code page 1250), in criterion order.
  static const std::vector<std::string>& CriterionNames();
  int criterion() const { return criterion_; }
  void SetCriterion(int criterion);

  // "Költségek...": the cost settings dialog on the network's own cost table, so that its
  // changes stay even when this dialog is cancelled.
  void OpenCosts();
  // "Súgó": help topic 2.
  void ShowHelp() const;

  // ---- buttons -----------------------------------------------------------------------
  bool Enabled(Button button) const;
  // The default button: ">>" while a settlement is selected, else OK.
  Button defaultButton() const { return selectedNode_ >= 0 ? Button::Add : Button::Ok; }

  // OK: false, staying open, when two consecutive route entries are the same node (after
  // "Érvénytelen útvonal kijelölés.\nKét egymást követő település nem lehet ugyanaz.") or
  // when there are fewer than two entries. Otherwise stores the route points, the default
  // start, the criterion and the road types' enabled flags in the network; true.
  [[nodiscard]] bool Accept();

 private:
  struct Settlement {
    std::string text;
    std::int32_t node;
  };

  static std::size_t Index(std::int32_t i) { return static_cast<std::size_t>(i); }
  void FillSettlements();
  void FillSegments();
  void ClearSelection();
  void FindHint(std::string_view typed);
  // The node and the route-list text of the selected settlement with the house number;
  // false after the house-number message.
  bool ResolveSelection(std::int32_t& node, std::string& text) const;
  bool AppendEntry(std::string text, std::int32_t node);
  void SetAllRoadTypes(std::int32_t enabled);

  MOptPath& path_;
  const SettlementNames& towns_;
  CostDialogRunner runCosts_;
  WindowHandle owner_;

  std::vector<Settlement> settlements_;
  std::vector<std::string> looseKeys_;  // accent-free keys of the entries, made when first needed
  std::string field_;
  std::int32_t selectedRow_ = -1;
  std::int32_t selectedNode_ = -1;
  std::int32_t hintRow_ = -1;
  std::string houseNumber_;
  std::vector<std::string> segments_;
  std::vector<RouteEntry> route_;
  std::int32_t selectedEntry_ = -1;
  std::int32_t defaultStartNode_ = -1;
  std::string defaultStartText_;
  CostTable costs_;  // the dialog's copy, on which the enabled flags are switched
  int criterion_ = 0;
};

// "Érvénytelen útvonal kijelölés.\nKét egymást követő település nem lehet ugyanaz.": the
// same node twice in a row in a route request.
extern const char kInvalidRouteSelectionText[];

// The text of one house-number range in the segment list: "%d%c" of the first number
// when the last (number x 256 + letter) is smaller, else "%d%c - %d%c" (so 5 - 5 for an
// equal pair).
std::string FormatSegment(const HouseNumberRange& range);

}  // namespace koltar
