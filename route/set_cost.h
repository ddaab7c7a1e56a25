#pragma once
// SetCost: the behaviour of the cost settings dialog ("Költségek beállítása"), without a
// window. It edits, per road type, the speed (km/h) and the unit cost (Ft/km) on a copy
// of a cost table and copies the whole copy back on OK; the enabled flags and the
// distance factors are not edited here.
//
// The two fields take their text into the copy when they lose the focus (LeaveSpeed,
// LeaveCost). Text typed and not yet taken (EditSpeed, EditCost) is taken too before
// another road type is chosen and when OK is pressed, so that a value confirmed with
// Enter while its field still has the focus is not lost.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/messages.h"
#include "route/cost_table.h"

namespace koltar {

class SetCost {
 public:
  // Copies `table`, which must outlive the dialog. When the copy cannot be made, shows
  // "Nincs elég memória." (system-modal) and works on no road types; OK then changes
  // nothing.
  explicit SetCost(CostTable& table, WindowHandle owner = nullptr);

  // The list: one line per road type of the copy, "%s\t%7.2f\t%7.2f" (name, speed,
  // unit cost).
  std::int32_t lineCount() const { return copy_.roadTypeCount(); }
  std::string Line(std::int32_t index) const;
  // The line the list shows selected: -1 after every refill that an edit causes, while
  // the road type being edited stays selected().
  std::int32_t listSelection() const { return listSelection_; }
  // Increases whenever the list is filled again.
  int listVersion() const { return listVersion_; }

  // The road type the fields edit, -1 for none.
  std::int32_t selected() const { return selected_; }
  // Chooses a line (-1: none): takes pending text of the previous type first, then
  // shows the new type's name and values ("%.2f"), or empties the fields.
  void Select(std::int32_t index);
  // "%s:" with the selected type's name; "" without selection.
  const std::string& label() const { return label_; }
  const std::string& speedText() const { return speedText_; }
  const std::string& costText() const { return costText_; }

  // The user changed a field's text.
  void EditSpeed(std::string_view text);
  void EditCost(std::string_view text);
  // A field lost the focus: its text is read as a number (at most 39 characters; text
  // that is no number reads as 0, a decimal comma counts as a point) and stored in the
  // selected type of the copy; the list is filled again.
  void LeaveSpeed();
  void LeaveCost();

  // OK: takes pending text, then copies the copy back over the caller's table.
  void Accept();
  // "Súgó": help topic 3.
  void ShowHelp() const;

  WindowHandle owner() const { return owner_; }
  void SetOwner(WindowHandle owner) { owner_ = owner; }

 private:
  void Store(bool speed);
  void Refill();

  CostTable& table_;
  CostTable copy_;
  bool copied_ = false;
  WindowHandle owner_;
  std::int32_t selected_ = -1;
  std::int32_t listSelection_ = -1;
  int listVersion_ = 0;
  std::string label_;
  std::string speedText_;
  std::string costText_;
  bool speedPending_ = false;
  bool costPending_ = false;
};

// Reads a number as the cost dialog's fields do: the first 39 characters, a leading
// decimal number with a point or a comma; 0 when there is none.
float ReadFieldNumber(std::string_view text);

}  // namespace koltar
