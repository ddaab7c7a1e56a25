#pragma once
// CartoSymbDlg: the behaviour of the symbology editor ("Térkép megjelenítése"), without
// a window. It edits a working copy of the symbology's category and layer records (the
// copies share the symbol bitmaps with the symbology and never release them); OK copies
// the layers back into the symbology, Cancel leaves it as it was. The window shows the
// state read through the accessors and forwards the user's actions to the events; each
// control is named by the id of the dialog's layout (SymbControl).
//
// A property can be changed only where the symbology file gives its key for the layer
// (the "given" flags, which the editor never changes) and where the category's drawing
// uses it (the caller tells, per category, as kUses... bits).
//
// A preview hands the working copy to the symbology for a moment, so that the map
// windows draw with it; Cancel, and the destruction of a dialog that was neither
// accepted nor cancelled, put the symbology's own records back.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/color.h"
#include "platform/messages.h"
#include "symbology/cartosymb.h"

namespace koltar {

// The layer properties a category's drawing uses.
inline constexpr std::uint32_t kUsesLineColor = 0x01;
inline constexpr std::uint32_t kUsesFillColor = 0x02;
inline constexpr std::uint32_t kUsesHatchStyle = 0x04;
inline constexpr std::uint32_t kUsesLineStyle = 0x08;
inline constexpr std::uint32_t kUsesLineWidth = 0x10;
inline constexpr std::uint32_t kUsesFont = 0x20;
inline constexpr std::uint32_t kUsesBitmap = 0x40;
inline constexpr std::uint32_t kUsesEverything = 0x7F;

// The editor's controls by their ids.
enum class SymbControl : int {
  Categories = 2100,    // drop-down list of the category names
  Layers = 2101,        // the layer list with the visibility switches
  AllVisible = 119,     // button
  AllInvisible = 120,   // button
  LineColor = 112,      // colour picker (label 111)
  FillColor = 114,      // colour picker (label 113)
  HatchStyle = 116,     // hatch picker (label 115)
  LineStyle = 118,      // line-style picker (label 117)
  LineWidth = 122,      // edit (label 121)
  FontFace = 131,       // sorted list of typefaces (label 130)
  FontColor = 133,      // colour picker (label 132)
  Bold = 135,           // check box
  Italic = 136,         // check box
  Underline = 137,      // check box
  FontHeight = 139,     // edit (label 138)
  FontWidth = 141,      // edit (label 140)
  BitmapFile = 143,     // static text (label 142)
  BitmapHeight = 145,   // edit (label 144)
  CategoryRange = 156,  // static text
  ScaleMin = 153,       // edit
  ScaleMax = 154,       // edit
  RangeToAll = 155,     // button
};

class CartoSymbDlg {
 public:
  // The editor of the symbology's records, set up as the dialog opens: the first
  // category and its first layer selected and shown. `usedProperties[i]` is what the
  // drawing of category i uses (categories beyond the list: everything); `faces` are
  // the installed typefaces (code page 1250) in any order.
  CartoSymbDlg(MCartoSymb& symbology, std::vector<std::uint32_t> usedProperties,
               std::vector<std::string> faces);
  // Puts the symbology's own records back when a preview is still shown.
  ~CartoSymbDlg();
  CartoSymbDlg(const CartoSymbDlg&) = delete;
  CartoSymbDlg& operator=(const CartoSymbDlg&) = delete;

  // False, after saying so (stop icon, owned by `owner`), when the symbology holds no
  // category: there is nothing to edit then.
  [[nodiscard]] static bool CanEdit(const MCartoSymb& symbology, WindowHandle owner);

  // ---- what the controls show ----
  const std::vector<CartoCategory>& workingCopy() const { return working_; }
  int selectedCategory() const { return category_; }
  // The selected row of the layer list; -1 when the category has no layers.
  int selectedLayer() const { return layer_; }
  // The rows of the layer list: the layers of the selected category.
  int layerCount() const;
  // The data word of a row: layer index x 65536 + category index.
  std::uint32_t LayerItem(int row) const;
  // The items of the typeface list: the installed faces and those the symbology names,
  // sorted without regard to letter case.
  const std::vector<std::string>& faces() const { return faces_; }
  // "1 : 5 000   -  1 : 200 000 ": the selected category's display-scale range.
  std::string CategoryRangeText() const;
  bool IsEnabled(SymbControl control) const;
  // The selected item of a picker or of the typeface list; -1 when none is selected.
  int Selection(SymbControl picker) const;
  // The text of an edit or of the bitmap file name.
  std::string Text(SymbControl control) const;
  bool IsChecked(SymbControl box) const;
  // The most characters an edit takes; 0 for no limit.
  static int MaxLength(SymbControl edit);
  // The selected layer's line, fill or font colour (which the palette may not hold);
  // none without a layer.
  std::optional<ColorRef> LayerColor(SymbControl picker) const;
  // The same as "#RRGGBB"; "" without a layer.
  std::string ColorText(SymbControl picker) const;
  // Counts the changes the user made to the working copy.
  std::uint64_t changeCount() const { return changes_; }

  // ---- what the user does ----
  void SelectCategory(int index);
  void SelectLayer(int row);
  // A double click on a layer: its visibility flips.
  void ToggleVisibility(int row);
  // "Látható (mind)" and "Nem látható (mind)": every layer of the category.
  void SetAllVisible(bool visible);
  // An item chosen in a picker or in the typeface list; stored into the selected layer.
  void Pick(SymbControl picker, int item);
  void SetChecked(SymbControl box, bool ticked);
  // The text of an edit changed; its value is stored into the selected layer.
  void SetText(SymbControl edit, std::string_view text);
  // A colour typed as "#RRGGBB" (the "#" may be left out) for a colour picker: stored,
  // and the palette entry of that colour selected when there is one. False, changing
  // nothing, for any other text.
  [[nodiscard]] bool SetColorText(SymbControl picker, std::string_view text);
  // "Minden rétegre": the selected layer's range to every layer of the category.
  void RangeToAllLayers();
  // The focus leaves a scale field: false, after saying so (warning, owned by `owner`),
  // when its value lies outside the category's range. An unset bound (-1) is no value.
  [[nodiscard]] bool CheckRange(SymbControl field, WindowHandle owner) const;
  // "Súgó": the program's help at the editor's topic.
  static void ShowHelp();

  // Lets the symbology draw with the working copy until Accept or Cancel.
  void Preview();
  // OK: every category of the working copy that has layers replaces the layers of the
  // symbology's category at the same place.
  void Accept();
  // Mégsem: the symbology keeps (or gets back) its own records. True when a preview was
  // shown, so that the map has to be drawn again.
  bool Cancel();

 private:
  CartoLayer* Layer();
  const CartoLayer* Layer() const;
  std::uint32_t UsedHere() const;
  void RefillLayers(int row);
  void ShowLayer();
  void StoreText(SymbControl edit);
  void StoreColor(SymbControl picker, ColorRef color);
  std::vector<CartoCategory> Merged() const;

  MCartoSymb& symbology_;
  std::vector<CartoCategory> original_;
  std::vector<CartoCategory> working_;
  std::vector<std::uint32_t> used_;
  std::vector<std::string> faces_;
  int category_ = -1;
  int layer_ = -1;
  std::map<SymbControl, int> selection_;
  std::map<SymbControl, std::string> texts_;
  std::uint64_t changes_ = 0;
  bool previewShown_ = false;
  bool finished_ = false;
};

}  // namespace koltar
