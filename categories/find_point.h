#pragma once
// FindPoint: the behaviour of the place search dialog ("Térkép pozicionálás"), without
// a window. The user picks a point, line or area category of the map, optionally one of
// its layers, then an object by its name and, on a street of a point category with
// house numbers, a house number; for points also the display scale. The Qt dialog
// (app/find_point_dialog.h) shows this state and forwards the user's actions to it.
//
// Besides the whole-name rule of the name field (the first name that begins with the
// typed text is chosen only when it is the whole text, letter case ignored), typing
// offers hints: the names that begin with the typed text when accents are ignored too,
// so that "gyor" offers "Győr". A hint only helps to choose; it never changes what the
// whole-name rule chooses.
//
// Nothing of the dialog outlives it except its data record: each opening starts with the
// first category, every layer and no name, at the scale the command hands in.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "categories/map_category.h"
#include "categories/place_names.h"
#include "platform/messages.h"

namespace koltar {

class MArea;
class MLine;
class MPoint;

// What the dialog exchanges with its command: the command fills the scales, the dialog
// stores the rest on OK.
struct FindPointData {
  std::int32_t smallestScale = 100;      // the map's smallest allowed scale denominator
  std::int32_t largestScale = 50000000;  // the map's largest
  std::int32_t displayScale = 0;         // in: the map's find scale; out: the scale typed
  std::int32_t type = -1;                // out: CategoryKind Point (1), Line (2) or Area (3)
  std::int32_t category = -1;            // out: index within the map's list of that kind
  std::int32_t object = -1;              // out: the object's record index
};

// The categories a place search offers, each list in the map's order.
struct PlaceCategories {
  std::vector<const MPoint*> points;
  std::vector<const MLine*> lines;
  std::vector<const MArea*> areas;
};

class FindPoint {
 public:
  // The most hints offered at a time.
  static constexpr std::size_t kHintLimit = 100;

  // `data` must outlive the dialog; messages are shown with `owner` as their owner.
  // `capacity` is the most names the name list takes.
  FindPoint(PlaceCategories categories, FindPointData& data, WindowHandle owner = nullptr,
            std::size_t capacity = PlaceNameList::kMaxEntries);

  // The opening: every point, then line, then area category in the category list, the
  // first one chosen (and its names listed), the range text and the scale.
  void Open();

  // The category list's entry `entry` was chosen: its layers after "[Minden elem]",
  // the house-number and scale controls enabled as the kind allows, all its names.
  void CategoryChanged(std::int32_t entry);
  // The layer list's entry `entry` was chosen (0 "[Minden elem]", else layer `entry`):
  // the name list filled anew under the wait cursor, no name chosen.
  void LayerChanged(std::int32_t entry);
  // The name field's text became `text`: the first name that begins with it (letter case
  // ignored) is chosen when it is the whole text; otherwise none is, and hints are
  // offered.
  void NameTyped(std::string_view text);
  // Name list entry `entry` was selected (-1: none); the name field shows it.
  void NameChosen(std::int32_t entry);
  // Hint `hint` of hints() was taken: its entry is chosen, as by a selection in the list.
  void HintChosen(std::int32_t hint);
  void HouseNumberTyped(std::string_view text) { houseNumber_ = text; }
  void ScaleTyped(std::string_view text) { scaleText_ = text; }
  // Opens the program's help at the place search's topic (context 1).
  void ShowHelp() const;
  // OK: checks the scale's range and that an object is chosen (each with its message),
  // stores the choice in the data record, and is true when the dialog may close.
  [[nodiscard]] bool Accept();

  // The controls' contents.
  const std::vector<std::string>& categoryTexts() const { return categoryTexts_; }
  std::int32_t categoryChoice() const { return categoryChoice_; }
  const std::vector<std::string>& layerTexts() const { return layerTexts_; }
  std::int32_t layerChoice() const { return layerChoice_; }
  const PlaceNameList& names() const { return names_; }
  // The chosen name list entry; -1 when none.
  std::int32_t chosenName() const { return chosenName_; }
  const std::string& nameText() const { return nameText_; }
  // The hints offered for the typed text, as name list entries.
  const std::vector<std::int32_t>& hints() const { return hints_; }
  const std::vector<std::string>& segments() const { return segments_; }
  const std::string& houseNumber() const { return houseNumber_; }
  const std::string& scaleText() const { return scaleText_; }
  // "Megengedett tartomány:  1 : <smallest>  -  1 : <largest>" (grouped numbers).
  const std::string& rangeText() const { return rangeText_; }
  // The house-number field and the road-segment list: a point category with house numbers.
  bool houseNumbersEnabled() const { return houseNumbersEnabled_; }
  // The scale controls: a point category (lines and areas are fitted to their extent).
  bool scaleEnabled() const { return scaleEnabled_; }
  // OK: a name is chosen.
  bool okEnabled() const { return chosenName_ >= 0; }

 private:
  struct Choice {
    CategoryKind kind;
    std::int32_t index;  // within the list of its kind
    const MapCategory* category;
    const MPoint* point;  // for point categories
  };

  const Choice* ChosenCategory() const;
  bool HouseNumbersApply() const;
  void FillSegments();

  PlaceCategories categories_;
  FindPointData& data_;
  WindowHandle owner_;
  std::size_t capacity_;
  std::vector<Choice> choices_;

  std::vector<std::string> categoryTexts_;
  std::int32_t categoryChoice_ = -1;
  std::vector<std::string> layerTexts_;
  std::int32_t layerChoice_ = -1;
  PlaceNameList names_;
  std::int32_t chosenName_ = -1;
  std::string nameText_;
  std::vector<std::int32_t> hints_;
  std::vector<std::string> segments_;
  std::string houseNumber_;
  std::string scaleText_;
  std::string rangeText_;
  bool houseNumbersEnabled_ = true;
  bool scaleEnabled_ = true;
};

}  // namespace koltar
